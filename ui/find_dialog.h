// The Find dialog and the searches for a text: Ctrl+F or the system menu
// opens the dialog, its Find Next and F3 find the next key holding the last
// text searched, Shift+F3 the one before.
#ifndef PARLYTE_FIND_DIALOG_H
#define PARLYTE_FIND_DIALOG_H

#include <windows.h>

// The notification code of the commands those keys send: WM_COMMAND's
// high word is 1 for an accelerator.
enum { FROM_ACCELERATOR = 1 };

// Ctrl+F, F3 and Shift+F3; when their table cannot be made, the keys do
// nothing.
void CreateFindKeys(void);
// Whether msg was one of those keys, made the command of the window it was
// for: the Find dialog's, or else the main window's.
int TranslateFindKeys(HWND mainWindow, MSG *msg);
// A message box owned by owner, the main window or the Find dialog, which
// both take no input until it is closed.
int ShowMessageBox(HWND owner, const char *text, const char *caption, UINT type);
// Puts "Find..." in the main window's system menu.
void AddFindToSystemMenu(HWND mainWindow);
// Opens the dialog, or brings it forward, with the last text searched
// selected; not while a message box is up.
void OpenFindDialog(HWND mainWindow);
// The next key holding the last text searched, or with backwards the one
// before; opens the dialog when nothing has been searched yet.
void FindAgain(HWND mainWindow, int backwards);
// Whether msg was for the open Find dialog and it took it.
int IsFindDialogMessage(MSG *msg);

#endif
