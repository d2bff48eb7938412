// The main window: its dialog procedure and the key browser inside it.
#ifndef PARLYTE_MAIN_WINDOW_H
#define PARLYTE_MAIN_WINDOW_H

#include <windows.h>

#include "text/text_store.h"

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_INITDIALOG: fills the key list and places the focus; returns what the
// dialog procedure returns.
INT_PTR StartKeyBrowser(HWND window, HWND proposedFocus);
// Shows the four texts of the key selected in the key list.
void ShowEntryTexts(HWND window);
// Notes what the key list's edit field holds before it handles an input
// from the message loop, so that the change it makes can be told apart.
void WatchKeyFieldInput(const MSG *input);
// CBN_EDITCHANGE: selects the first key that starts with the typed text
// and, when characters were added, completes the field with it.
void FindTypedKey(HWND window);
// The position of the key selected in the key list, or -1 for none.
int SelectedKeyPosition(void);
// Selects the key a search found and shows its texts, the text found
// selected and scrolled into view in every field that holds it.
void ShowFoundText(HWND window, const TextMatch *match, int length);

#endif
