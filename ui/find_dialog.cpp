// The Find dialog: modeless, owned by the main window, it keeps the last
// text searched and whether its letter case counted, for F3 and Shift+F3.
// The message boxes of both windows keep both waiting.
#include "find_dialog.h"

#include "error_box.h"
#include "main_window.h"

#include "res/resource.h"
#include "text/text_store.h"

static HWND FindDialog;
static char SearchedText[FIND_TEXT_SIZE];  // "" until the first search
static int SearchedMatchCase;
static int MessageBoxShown;
static HACCEL FindKeys;

void CreateFindKeys(void) {
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'F', IDC_FIND},
        {FVIRTKEY, VK_F3, IDC_FIND_NEXT},
        {FVIRTKEY | FSHIFT, VK_F3, IDC_FIND_PREVIOUS},
    };
    FindKeys = CreateAcceleratorTableA(keys, sizeof keys / sizeof keys[0]);
}

int TranslateFindKeys(HWND mainWindow, MSG *msg) {
    if (!FindKeys) return 0;
    HWND window = FindDialog && (msg->hwnd == FindDialog || IsChild(FindDialog, msg->hwnd)) ? FindDialog : mainWindow;
    return TranslateAcceleratorA(window, FindKeys, msg);
}

int ShowMessageBox(HWND owner, const char *text, const char *caption, UINT type) {
    // The box disables its owner; the other window waits as well.
    HWND other = owner == FindDialog ? GetWindow(FindDialog, GW_OWNER) : FindDialog;
    if (other) EnableWindow(other, FALSE);
    MessageBoxShown = 1;
    int answer = MessageBoxA(owner, text, caption, type);
    MessageBoxShown = 0;
    if (other) EnableWindow(other, TRUE);
    return answer;
}

void AddFindToSystemMenu(HWND mainWindow) {
    HMENU menu = GetSystemMenu(mainWindow, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, IDC_FIND, "&Find...\tCtrl+F");
}

static void MoveFindDialog(int x, int y) {
    SetWindowPos(FindDialog, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static int Within(int value, int low, int high) {
    return value > high ? high : value < low ? low : value;
}

// Beside the main window, clear of it: to its right, below it, to its left
// or above it, whichever fits first on the screen's work area; else in the
// work area's bottom right corner, over the window's last field and its
// buttons, until a search moves it.
static void PlaceBesideMainWindow(HWND mainWindow) {
    RECT main, own, work, overlap;
    if (!GetWindowRect(mainWindow, &main) || !GetWindowRect(FindDialog, &own) || !WorkAreaOf(mainWindow, &work)) return;
    int width = own.right - own.left, height = own.bottom - own.top;
    const POINT sides[] = {{main.right, main.top}, {main.left, main.bottom}, {main.left - width, main.top},
                           {main.left, main.top - height}};
    POINT place = {work.right - width, work.bottom - height};
    for (const POINT &side : sides) {
        POINT at = {Within(side.x, work.left, work.right - width), Within(side.y, work.top, work.bottom - height)};
        RECT there = {at.x, at.y, at.x + width, at.y + height};
        if (IntersectRect(&overlap, &there, &main)) continue;
        place = at;
        break;
    }
    MoveFindDialog(place.x, place.y);
}

// Where the dialog covers the field that holds the text found (or the key
// list, for a key), it moves above that field or else below it, as Notepad
// does, if the screen has room there.
static void MoveOffFoundText(HWND mainWindow, const TextMatch *match) {
    if (!FindDialog) return;
    int holder = match->language >= 0 ? IDC_ENGLISH + match->language : IDC_KEYLIST;
    RECT found, own, work, overlap;
    if (!GetWindowRect(GetDlgItem(mainWindow, holder), &found) || !GetWindowRect(FindDialog, &own) ||
        !IntersectRect(&overlap, &found, &own) || !WorkAreaOf(mainWindow, &work))
        return;
    int height = own.bottom - own.top;
    if (found.top - height >= work.top)
        MoveFindDialog(own.left, found.top - height);
    else if (found.bottom + height <= work.bottom)
        MoveFindDialog(own.left, found.bottom);
}

// Looks for the last text searched from the selected key on; a box owned by
// owner says when no key holds it.
static void SearchFromSelection(HWND mainWindow, HWND owner, int backwards) {
    TextMatch match;
    if (FindTextInTable(SearchedText, SearchedMatchCase, SelectedKeyPosition(), backwards, &match)) {
        ShowFoundText(mainWindow, &match, lstrlenA(SearchedText));
        MoveOffFoundText(mainWindow, &match);
        return;
    }
    char message[FIND_TEXT_SIZE + 20];
    wsprintfA(message, "Cannot find \"%s\"", SearchedText);
    ShowMessageBox(owner, message, "Parlyte", MB_OK | MB_ICONINFORMATION);
}

void FindAgain(HWND mainWindow, int backwards) {
    if (!SearchedText[0]) {
        OpenFindDialog(mainWindow);
        return;
    }
    SearchFromSelection(mainWindow, mainWindow, backwards);
}

static void UpdateFindButton(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_FIND_NEXT), GetWindowTextLengthA(GetDlgItem(dialog, IDC_FIND_TEXT)) > 0);
}

// Find Next, and F3 or Shift+F3 pressed in the dialog: the text it shows.
static void FindFromDialog(HWND dialog, int backwards) {
    char text[FIND_TEXT_SIZE];
    if (!GetDlgItemTextA(dialog, IDC_FIND_TEXT, text, sizeof text)) return;
    lstrcpyA(SearchedText, text);
    SearchedMatchCase = IsDlgButtonChecked(dialog, IDC_MATCH_CASE) == BST_CHECKED;
    SearchFromSelection(GetWindow(dialog, GW_OWNER), dialog, backwards);
}

static INT_PTR CALLBACK FindDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_FIND_TEXT, EM_LIMITTEXT, FIND_TEXT_SIZE - 1, 0);
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, SearchedText);
        CheckDlgButton(dialog, IDC_MATCH_CASE, SearchedMatchCase ? BST_CHECKED : BST_UNCHECKED);
        UpdateFindButton(dialog);
        return FALSE;  // the focus is placed once the dialog shows
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FIND_TEXT && HIWORD(wParam) == EN_CHANGE) UpdateFindButton(dialog);
        // The button's click, and the keys' commands.
        if (wParam == IDC_FIND_NEXT || wParam == MAKEWPARAM(IDC_FIND_NEXT, FROM_ACCELERATOR)) FindFromDialog(dialog, 0);
        if (wParam == MAKEWPARAM(IDC_FIND_PREVIOUS, FROM_ACCELERATOR)) FindFromDialog(dialog, 1);
        if (wParam == MAKEWPARAM(IDC_FIND, FROM_ACCELERATOR)) OpenFindDialog(GetWindow(dialog, GW_OWNER));
        if (wParam == IDCANCEL) DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        FindDialog = NULL;
        return FALSE;
    default:
        return FALSE;
    }
}

void OpenFindDialog(HWND mainWindow) {
    // The system menu's item, which a message box cannot stop.
    if (MessageBoxShown) return;
    if (!FindDialog) {
        FindDialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_FIND), mainWindow, FindDialogProc, 0);
        if (!FindDialog) {
            ReportLastError(mainWindow);
            return;
        }
        PlaceBesideMainWindow(mainWindow);
    }
    // Opened anew or brought forward, it has the focus in its text field,
    // with the text selected for typing over.
    ShowWindow(FindDialog, SW_SHOW);
    SetActiveWindow(FindDialog);
    HWND field = GetDlgItem(FindDialog, IDC_FIND_TEXT);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

int IsFindDialogMessage(MSG *msg) {
    return FindDialog && IsDialogMessageA(FindDialog, msg);
}
