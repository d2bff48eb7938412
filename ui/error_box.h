// How Parlyte reports what stops it: the system's own text for the last
// error in a message box.
#ifndef PARLYTE_ERROR_BOX_H
#define PARLYTE_ERROR_BOX_H

#include <windows.h>

// The box is owned by owner, or by no window before the main one exists.
void ReportLastError(HWND owner);

#endif
