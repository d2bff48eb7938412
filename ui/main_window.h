// The main window: its dialog procedure, the key browser inside it, its
// four text fields and its layout.
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
// CBN_EDITCHANGE: selects the key the field's text stands for (the key
// itself, else the first that starts with it, in the same letter case and
// then in any) and, when characters were added, completes the field with it.
void FindTypedKey(HWND window);
// CBN_EDITUPDATE, before the combo box moves its list to the first key
// that starts with the field's text in any letter case: the list goes to
// the key FindTypedKey will complete with, so that it scrolls once, not
// twice (Wine redraws a themed scroll bar in about 5 ms).
void ScrollToTypedKey(void);
// Ctrl+Home and Ctrl+End in the key field: the first and the last key.
// Whether input was one of them, which it then took.
int TakeKeyFieldKeys(HWND window, const MSG *input);
// CBN_KILLFOCUS: the key field keeps no selection it would show.
void KeyFieldLostFocus(void);
// The position of the key selected in the key list, or -1 for none.
int SelectedKeyPosition(void);
// Selects the key a search found and shows its texts, the text found
// selected and scrolled into view in every field that holds it.
void ShowFoundText(HWND window, const TextMatch *match, int length);

// The four fields (text_fields.cpp).
// Shows a text in language's field, with CR LF for its bare line feeds.
void ShowTextInField(HWND window, int language, const char *text);
// Selects length bytes of text from offset (-1: none) in language's field,
// which shows text, and scrolls them into view; that selection stays when
// the field loses the focus.
void SelectFoundText(HWND window, int language, const char *text, int offset, int length);
// WM_INITDIALOG: the fields' vertical scroll bars are kept by Parlyte,
// shown only while a text is taller than its field.
void StartTextFields(HWND window);
// The bars fitted again to fields of a new size.
void FitScrollBars(HWND window);
// EN_SETFOCUS and EN_KILLFOCUS: a text tabbed into shows its first line;
// one left keeps no selection but Find's.
void FieldFocusChanged(HWND field, int focused);

// The window's layout (window_layout.cpp).
// WM_INITDIALOG: the controls where the template puts them, at the
// window's smallest size.
void RecordTemplateLayout(HWND window);
// WM_GETMINMAXINFO: no smaller than the template.
void LimitWindowSize(MINMAXINFO *limits);
// WM_SIZE: the controls laid out in a client area of this size.
void LayOutControls(HWND window, int width, int height);
// The window's height, from the template's, at which each field shows
// this many lines of its font.
int FrameHeightShowingLines(HWND window, int lines);

// The window's size from one run to the next, in Parlyte.ini
// (window_placement.cpp).
// The work area of the screen that shows most of the window.
int WorkAreaOf(HWND window, RECT *work);
// The size kept, within the screen's work area; returns the show command.
int RestoreWindowPlacement(HWND window);
// Keeps the size, and whether the window is maximized, if they changed.
void SaveWindowPlacement(HWND window);

#endif
