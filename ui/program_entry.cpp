// The process entry: game folder, texts, then the main window and its
// message loop. The program has no C runtime; this is where it starts.
#include "error_box.h"
#include "find_dialog.h"
#include "main_window.h"

#include <objbase.h>

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

// DLLs loaded later, by the program or by the folder dialog's shell code,
// come from the system folder only, never from beside the exe, where
// someone may have put one. A Windows without the call still starts.
static void LoadLibrariesFromSystemOnly(void) {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesCall)(DWORD);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (found) ((SetDefaultDllDirectoriesCall)(void (*)(void))found)(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

extern "C" ENTRY_ALIGNMENT void WINAPI ProgramEntry(void) {
    // A stored folder on an empty card or disc drive is a wrong directory,
    // not Windows' box asking for a disk.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    LoadLibrariesFromSystemOnly();
    // The folder dialog's shell code needs COM on this thread, in an apartment.
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (!LocateGameFolder()) ExitProcess(FailureExitCode);
    if (!LoadAllLanguageFiles()) ExitProcess(FailureExitCode);

    HINSTANCE module = GetModuleHandleA(NULL);
    MainWindow = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0);
    if (!MainWindow) {
        // Without a window the message loop would wait forever.
        ReportLastError(NULL);
        ExitProcess(FailureExitCode);
    }
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(IDI_MAIN));
    if (icon) SendMessageA(MainWindow, WM_SETICON, ICON_BIG, (LPARAM)icon);
    ShowWindow(MainWindow, RestoreWindowPlacement(MainWindow));
    UpdateWindow(MainWindow);

    // GetMessageA gives -1 on failure; that ends the loop as well. Ctrl+F,
    // F3 and Shift+F3 work in both windows; the Find dialog takes its other
    // keys itself; Ctrl+Home and Ctrl+End go to the key list, not its field.
    CreateFindKeys();
    while (GetMessageA(&Message, NULL, 0, 0) > 0) {
        if (TranslateFindKeys(MainWindow, &Message) || IsFindDialogMessage(&Message) ||
            TakeKeyFieldKeys(MainWindow, &Message))
            continue;
        WatchKeyFieldInput(&Message);
        if (!IsDialogMessageA(MainWindow, &Message)) {
            TranslateMessage(&Message);
            DispatchMessageA(&Message);
        }
    }
    ExitProcess(0);
}
