// The process entry: game folder, texts, then the main window and its
// message loop. The program has no C runtime; this is where it starts.
#include "main_window.h"

#include "folder/game_folder.h"
#include "res/resource.h"
#include "text/text_store.h"

static const UINT FailureExitCode = 0xFFFFFFFF;

static HWND MainWindow;
static MSG Message;

#if defined(__i386__)
// Windows hands the entry a stack aligned to 4 bytes; the compiler assumes 16.
#define ENTRY_ALIGNMENT __attribute__((force_align_arg_pointer))
#else
#define ENTRY_ALIGNMENT
#endif

extern "C" ENTRY_ALIGNMENT void WINAPI ProgramEntry(void) {
    if (!LocateGameFolder()) ExitProcess(FailureExitCode);
    if (!LoadAllLanguageFiles()) ExitProcess(FailureExitCode);

    HINSTANCE module = GetModuleHandleA(NULL);
    MainWindow = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    if (!MainWindow) {
        // Without a window the message loop would wait forever.
        ReportLastError();
        ExitProcess(FailureExitCode);
    }
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(IDI_MAIN));
    if (icon) SendMessageA(MainWindow, WM_SETICON, ICON_BIG, (LPARAM)icon);
    ShowWindow(MainWindow, SW_SHOWDEFAULT);
    UpdateWindow(MainWindow);

    // GetMessageA gives -1 on failure; that ends the loop as well.
    while (GetMessageA(&Message, NULL, 0, 0) > 0) {
        if (!IsDialogMessageA(MainWindow, &Message)) {
            TranslateMessage(&Message);
            DispatchMessageA(&Message);
        }
    }
    ExitProcess(0);
}
