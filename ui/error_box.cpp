// Parlyte's error box, and where loading's report of a language file that
// cannot be opened leads in Parlyte.
#include "error_box.h"

#include "text/text_store.h"

void ReportLastError(HWND owner) {
    DWORD code = GetLastError();
    if (code == 0) return;
    char *text = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  NULL, code, 0x400, (LPSTR)&text, 0, NULL);
    if (length > 0 && text) MessageBoxA(owner, text, "Parlyte", MB_OK | MB_ICONERROR);
    LocalFree(text);
}

// The path is not shown: the message names the problem, and the user knows
// the game folder. Loading runs before any window exists.
void ReportOpenFailure(const char *) {
    ReportLastError(NULL);
}
