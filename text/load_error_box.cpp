// How Parlyte reports what stops it: the system's own text in a message box.
#include "text_store.h"

void ReportLastError(void) {
    DWORD code = GetLastError();
    if (code == 0) return;
    char *text = SystemErrorText(code);
    if (!text) return;
    MessageBoxA(NULL, text, "Parlyte", MB_OK | MB_ICONERROR);
    LocalFree(text);
}

// The path is not shown: the message names the problem, and the user knows
// the game folder.
void ReportOpenFailure(const char *) {
    ReportLastError();
}
