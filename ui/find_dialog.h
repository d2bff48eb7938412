// The Find dialog and the searches for a text: Ctrl+F or the system menu
// opens the dialog, its Find Next and F3 find the next key holding the last
// text searched, Shift+F3 the one before.
#ifndef PARLYTE_FIND_DIALOG_H
#define PARLYTE_FIND_DIALOG_H

#include <windows.h>

// Ctrl+F, F3 and Shift+F3 as the main window's commands; null when the
// table cannot be made, and the keys then do nothing.
HACCEL CreateFindKeys(void);
// Puts "Find..." in the main window's system menu.
void AddFindToSystemMenu(HWND mainWindow);
// Opens the dialog, or brings it forward, with the last text searched selected.
void OpenFindDialog(HWND mainWindow);
// The next key holding the last text searched, or with backwards the one
// before; opens the dialog when nothing has been searched yet.
void FindAgain(HWND mainWindow, int backwards);
// Whether msg was for the open Find dialog and it took it.
int IsFindDialogMessage(MSG *msg);

#endif
