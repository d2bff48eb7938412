// The main window's dialog procedure: its size, closing, the About box,
// the Find commands, and the key browser's notifications.
#include "main_window.h"

#include "find_dialog.h"

#include "res/resource.h"
#include "res/version.h"

static void ShowAbout(HWND window) {
    ShowMessageBox(window,
                   "Parlyte version " PARLYTE_VERSION_TEXT "\n\n"
                   "Shows every text of Grand Theft Auto in English, French, German and Italian side by side.",
                   "About Parlyte", MB_OK | MB_ICONINFORMATION);
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        RecordTemplateLayout(window);
        StartTextFields(window);
        AddFindToSystemMenu(window);
        return StartKeyBrowser(window, (HWND)wParam);
    case WM_GETMINMAXINFO:
        LimitWindowSize((MINMAXINFO *)lParam);
        return FALSE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) LayOutControls(window, LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends without destroying the window.
        if (wParam) SaveWindowPlacement(window);
        return FALSE;
    case WM_DESTROY:
        SaveWindowPlacement(window);
        PostQuitMessage(0);
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDC_FIND) return FALSE;
        OpenFindDialog(window);
        return TRUE;
    case WM_COMMAND:
        // The Exit button and the Escape key; Enter's IDOK is ignored.
        if (wParam == IDCANCEL) {
            DestroyWindow(window);
            return TRUE;
        }
        if (wParam == IDC_ABOUT) {
            ShowAbout(window);
            return FALSE;
        }
        // The keys' code is CBN_SELCHANGE's too: the control tells them apart.
        if (HIWORD(wParam) == FROM_ACCELERATOR && LOWORD(wParam) >= IDC_FIND && LOWORD(wParam) <= IDC_FIND_PREVIOUS) {
            if (LOWORD(wParam) == IDC_FIND)
                OpenFindDialog(window);
            else
                FindAgain(window, LOWORD(wParam) == IDC_FIND_PREVIOUS);
            return TRUE;
        }
        if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS) {
            FieldFocusChanged((HWND)lParam, HIWORD(wParam) == EN_SETFOCUS);
            return FALSE;
        }
        // The key list's own notifications; another control's of the same
        // code are not the key browser's.
        if (LOWORD(wParam) != IDC_KEYLIST) return FALSE;
        if (HIWORD(wParam) == CBN_SELCHANGE) ShowEntryTexts(window);
        if (HIWORD(wParam) == CBN_EDITUPDATE) ScrollToTypedKey();
        if (HIWORD(wParam) == CBN_EDITCHANGE) FindTypedKey(window);
        if (HIWORD(wParam) == CBN_KILLFOCUS) KeyFieldLostFocus();
        return FALSE;
    default:
        return FALSE;
    }
}
