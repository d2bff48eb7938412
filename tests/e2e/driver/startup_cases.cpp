// Start-up, the game folder and the main window's frame.
#include "case_checks.h"
#include "cases.h"

#include "res/resource.h"

#include <shlobj.h>

namespace {

std::wstring DesktopFolder(void) {
    wchar_t path[MAX_PATH];
    if (SHGetFolderPathW(NULL, CSIDL_DESKTOPDIRECTORY, NULL, 0, path) != S_OK) Fail("no Desktop folder");
    return path;
}

void ExpectFirstLayout(HWND main, const std::wstring &exe);

int MainWindowCase(const CaseContext &context) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    HWND main = WaitForMainWindow(session);
    RECT frame;
    GetWindowRect(main, &frame);
    Expect(frame.left == 0 && frame.top == 0, "the main window opens at the top left");
    ExpectFirstLayout(main, context.exe);

    PressButton(main, IDC_ABOUT);
    HWND about = WaitForMessageBox(session, "About Parlyte");
    std::string text = MessageBoxText(about);
    // The version is the one the exe's properties show.
    std::string first = "Parlyte version " + ReadExeVersion(context.exe).strings["ProductVersion"] + "\n\n";
    Expect(first == "Parlyte version 0.1\n\n" && text.rfind(first, 0) == 0 && text.size() > first.size(),
           "the About box starts with \"Parlyte version 0.1\" and two line feeds: \"" + text + "\"");
    Expect(GetWindow(about, GW_OWNER) == main, "the About box is owned by the main window");
    Expect(MessageBoxIcon(about) == IDI_ASTERISK, "the About box has the information icon");
    PressButton(about, IDOK);
    WaitUntilHandled(main);
    Expect(!FindTopWindow(session, [](HWND w) { return WindowText(w) == "About Parlyte"; }), "the About box closed");

    HWND keyEdit = FindWindowExA(GetDlgItem(main, IDC_KEYLIST), NULL, "Edit", NULL);
    Require(keyEdit != NULL, "the key list has its edit field");
    PostKey(keyEdit, VK_RETURN);
    WaitUntilHandled(main);
    Expect(IsRunning(session) && IsWindow(main) && IsWindowVisible(main), "Enter in the key list does nothing");
    Expect(!FindTopWindow(session, IsMessageBox), "and opens no box");

    PostKey(keyEdit, VK_ESCAPE);
    ExpectExit(session, 0);
    return CaseResult();
}

// The window's 32 x 32 icon as the X server has it, ARGB pixels by rows, or
// nothing. Wine hands a window's icons to X as _NET_WM_ICON: width, height
// and the pixels, for each image.
std::vector<unsigned long> LargeIconPixels(HWND window, const std::wstring &workFolder) {
    HANDLE xWindow = GetPropA(window, "__wine_x11_whole_window");
    Require(xWindow != NULL, "the main window has its X window");
    char id[32];
    wsprintfA(id, "0x%lx", (unsigned long)(ULONG_PTR)xWindow);
    std::string printed = RunUnixCommand(std::string("xprop -id ") + id + " -f _NET_WM_ICON 32c _NET_WM_ICON", workFolder);
    std::vector<unsigned long> values;
    for (size_t at = printed.find('='), digit; at != std::string::npos &&
                                               (digit = printed.find_first_of("0123456789", at)) != std::string::npos;) {
        at = printed.find_first_not_of("0123456789", digit);
        values.push_back(std::stoul(printed.substr(digit, at - digit)));
    }
    for (size_t i = 0; i + 2 <= values.size() && values[i] * values[i + 1] > 0; i += 2 + values[i] * values[i + 1])
        if (values[i] == 32 && values[i + 1] == 32 && i + 2 + 32 * 32 <= values.size())
            return std::vector<unsigned long>(values.begin() + i + 2, values.begin() + i + 2 + 32 * 32);
    return {};
}

// Starts Parlyte on the case's game folder, closes its window one way and
// expects the exit code 0.
int ExpectClosingEndsWithZero(const CaseContext &context, const std::function<void(HWND main)> &close) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    close(WaitForMainWindow(session));
    ExpectExit(session, 0);
    return CaseResult();
}

int WindowIconCase(const CaseContext &context) {
    return ExpectClosingEndsWithZero(context, [&](HWND main) {
        std::vector<unsigned long> icon = LargeIconPixels(main, context.workFolder);
        Require(icon.size() == 32 * 32, "the window has a 32 x 32 icon");
        auto pixel = [&](int x, int y) { return icon[y * 32 + x]; };
        Expect((pixel(0, 0) >> 24) == 0, "its corner is transparent");
        Expect(pixel(4, 1) == 0xFF000000, "the page's black border");
        Expect(pixel(10, 8) == 0xFF0000FF && pixel(10, 13) == 0xFFFF0000 && pixel(10, 18) == 0xFFFFFF00 &&
                   pixel(10, 23) == 0xFF00FF00,
               "blue, red, yellow and green lines: the program's own icon");
        PressButton(main, IDCANCEL);
    });
}

int ExitButtonCase(const CaseContext &context) {
    return ExpectClosingEndsWithZero(context, [](HWND main) { PressButton(main, IDCANCEL); });
}

int CloseCommandCase(const CaseContext &context) {
    return ExpectClosingEndsWithZero(context, [](HWND main) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); });
}

int MissingLanguageFileCase(const CaseContext &context) {
    std::wstring game = context.workFolder + L"\\game";
    CopyGameData(context.gameFolder, game, L"FRENCH.FXT");
    ExpectLoadFailure(context, game, ERROR_FILE_NOT_FOUND);
    return CaseResult();
}

int PickValidFolderCase(const CaseContext &context) {
    std::wstring desktop = DesktopFolder();
    CopyGameData(context.gameFolder, desktop, NULL);
    Session session = StartParlyte(context.exe, context.workFolder);
    HWND dialog = WaitForFolderDialog(session);
    Expect(!FindTopWindow(session, IsMessageBox), "no message box before the folder dialog");
    PressButton(dialog, IDOK);
    HWND main = WaitForMainWindow(session);
    std::string settings = ReadFileBytes(SettingsPath(context));
    std::string expected = "GTAPath=" + Narrow(desktop) + "\\\r\n";
    Expect(settings.find("[GTA]\r\n") != std::string::npos && settings.find(expected) != std::string::npos,
           "Parlyte.ini holds the folder with its trailing backslash: \"" + settings + "\"");
    PressButton(main, IDCANCEL);
    ExpectExit(session, 0);
    RemoveGameData(desktop);
    return CaseResult();
}

// A folder without GTADATA, stored and then picked: the dialog opens at
// it each time, so that OK alone picks it.
int PickBadFolderCase(const CaseContext &context) {
    std::wstring picked = DesktopFolder() + L"\\Parlyte pick";
    CreateDirectoryW(picked.c_str(), NULL);
    WriteSettings(context, picked);
    Session session = StartParlyte(context.exe, context.workFolder);
    PressButton(WaitForMessageBox(session, "Parlyte"), IDOK);  // Wrong directory in Parlyte.ini!
    for (int pick = 0; pick < 2; ++pick) {
        PressButton(WaitForFolderDialog(session), IDOK);
        HWND warning = WaitForMessageBox(session, "Parlyte");
        Expect(MessageBoxText(warning) == Narrow(picked) + "\\: wrong directory!" && MessageBoxIcon(warning) == IDI_EXCLAMATION,
               "a warning: \"" + MessageBoxText(warning) + "\"");
        PressButton(warning, IDOK);
    }
    PressButton(WaitForFolderDialog(session), IDCANCEL);
    ExpectExit(session, FailureExitCode);
    RemoveDirectoryW(picked.c_str());
    return CaseResult();
}

// Parlyte started from a folder where someone has put a DLL under the name
// of one the controls load later, uxtheme.dll, which Windows does not keep
// apart as it keeps its own core DLLs: neither the folder dialog nor the
// main window loads it from there. Wine prefers its own uxtheme; told to
// prefer a DLL of that name found on the search path (for this exe only),
// it searches as Windows does.
int PlantedDllCase(const CaseContext &context) {
    CaseContext downloads = context;
    downloads.workFolder = context.workFolder + L"\\Downloads";
    downloads.exe = downloads.workFolder + L"\\Parlyte (1).exe";
    std::wstring built = context.exe.substr(0, context.exe.rfind(L'\\'));
    Require(CreateDirectoryW(downloads.workFolder.c_str(), NULL) &&
                CopyFileW(context.exe.c_str(), downloads.exe.c_str(), TRUE) &&
                CopyFileW((built + L"\\planted.dll").c_str(), (downloads.workFolder + L"\\uxtheme.dll").c_str(), TRUE),
            "Parlyte.exe and a planted uxtheme.dll in a Downloads folder");
    HKEY overrides;
    Require(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Parlyte (1).exe\\DllOverrides", 0, NULL, 0,
                            KEY_SET_VALUE, NULL, &overrides, NULL) == ERROR_SUCCESS &&
                RegSetValueExW(overrides, L"uxtheme", 0, REG_SZ, (const BYTE *)L"native,builtin",
                               sizeof L"native,builtin") == ERROR_SUCCESS,
            "Wine prefers a uxtheme.dll found on the search path");
    RegCloseKey(overrides);
    std::wstring mark = downloads.workFolder + L"\\planted-dll-ran";

    Session session = StartParlyte(downloads.exe, downloads.workFolder);
    PressButton(WaitForFolderDialog(session), IDCANCEL);
    ExpectExit(session, FailureExitCode);
    Expect(GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES, "the folder dialog loaded no DLL from there");

    Browser browser = OpenBrowser(downloads);
    ClickItem(browser, 0);
    Close(browser);
    Expect(GetFileAttributesW(mark.c_str()) == INVALID_FILE_ATTRIBUTES, "nor did the main window");
    return CaseResult();
}

// Parlyte started in folder on the case's game, made larger, and closed,
// so that it keeps the new size if it can.
void RunMadeLarger(const CaseContext &context, const std::wstring &folder) {
    Session session = StartParlyte(context.exe, folder);
    HWND main = WaitForMainWindow(session);
    RECT frame;
    GetWindowRect(main, &frame);
    SetWindowPos(main, NULL, 0, 0, frame.right - frame.left + 40, frame.bottom - frame.top + 30,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntilHandled(main);
    PressButton(main, IDCANCEL);
    ExpectExit(session, 0);
}

// Parlyte writes its settings only through a copy it made: a link planted
// where the copy goes is left alone, and what it leads to with it, and the
// size is not kept; a stale copy a crash left goes, and the size is kept.
int SettingsCopyCase(const CaseContext &context) {
    const std::wstring copy = context.workFolder + L"\\Parlyte.ini.new", outside = context.workFolder + L"\\outside";
    WriteSettings(context, context.gameFolder);
    const std::string settings = ReadFileBytes(SettingsPath(context));
    WriteFileBytes(outside, "someone's");
    RunUnixCommand("ln -s '" + UnixPath(outside) + "' '" + UnixPath(copy) + "' && echo", context.workFolder);
    RunMadeLarger(context, context.workFolder);
    Expect(ReadFileBytes(outside) == "someone's" && ReadFileBytes(SettingsPath(context)) == settings,
           "a link planted as the copy: nothing written through it, nor in its place");
    Expect(RunUnixCommand("test -L '" + UnixPath(copy) + "' && echo link", context.workFolder) == "link\n",
           "the link is left where it is");
    RunUnixCommand("rm '" + UnixPath(copy) + "' && echo", context.workFolder);
    WriteFileBytes(copy, "stale");
    RunMadeLarger(context, context.workFolder);
    std::string kept = ReadFileBytes(SettingsPath(context));
    Expect(kept.rfind(settings, 0) == 0 && kept.find("\r\n[Window]\r\nWidth=") != std::string::npos,
           "a stale copy goes, and the size is kept: " + kept);
    Expect(GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES, "no copy is left");
    return CaseResult();
}

// On a disk with one page free, then none: the settings file of a page,
// GTAPath last in it, stays whole, and no copy is left beside it.
int FullDiskCase(const CaseContext &context) {
    const std::wstring disk = context.workFolder + L"\\disk";
    const std::string unixDisk = UnixPath(disk), last = "GTAPath=" + Narrow(context.gameFolder) + "\r\n";
    Require(CreateDirectoryW(disk.c_str(), NULL) &&
                RunUnixCommand("mount -t tmpfs -o size=16k tmpfs '" + unixDisk + "' && echo mounted", context.workFolder) ==
                    "mounted\n",
            "a disk of four pages");
    std::string settings = "[GTA]\r\n";
    size_t padding = 4096 - last.size() - settings.size();
    for (; padding > 66; padding -= 64) settings += ";" + std::string(61, '-') + "\r\n";
    settings += ";" + std::string(padding - 3, '-') + "\r\n" + last;
    WriteFileBytes(disk + L"\\Parlyte.ini", settings);
    for (const char *filled : {"2", "3"}) {
        RunUnixCommand("dd if=/dev/zero of='" + unixDisk + "/filler' bs=4096 count=" + filled + " 2>/dev/null; echo",
                       context.workFolder);
        RunMadeLarger(context, disk);
        Expect(ReadFileBytes(disk + L"\\Parlyte.ini") == settings &&
                   GetFileAttributesW((disk + L"\\Parlyte.ini.new").c_str()) == INVALID_FILE_ATTRIBUTES,
               std::string(filled) + " of 3 pages filled: Parlyte.ini as it was, and no copy beside it");
    }
    RunUnixCommand("umount '" + unixDisk + "' && echo", context.workFolder);
    return CaseResult();
}

// How far each control's left, top, right and bottom edges move from the
// template's place, in quarters of the width and the height added: the key
// list grows in height, field i and its label move down by i quarters, the
// fields grow in width, the buttons keep to the bottom right.
const int EdgeMoves[11][4] = {{0, 0, 0, 4}, {0, 0, 0, 0}, {0, 0, 4, 1}, {0, 1, 0, 1}, {0, 1, 4, 2}, {0, 2, 0, 2},
                              {0, 2, 4, 3}, {0, 3, 0, 3}, {0, 3, 4, 4}, {4, 4, 4, 4}, {4, 4, 4, 4}};

// The controls' rectangles, then the client area's.
std::vector<RECT> Rects(HWND main) {
    std::vector<RECT> rects;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        rects.emplace_back();
        GetWindowRect(child, &rects.back());
        MapWindowPoints(NULL, main, (POINT *)&rects.back(), 2);
    }
    rects.emplace_back();
    GetClientRect(main, &rects.back());
    return rects;
}

// Each control moved from start as EdgeMoves says, within the client area
// and on no other.
void ExpectPlaced(HWND main, const std::vector<RECT> &start, const std::string &what) {
    std::vector<RECT> now = Rects(main);
    Require(now.size() == 12, what + ": 11 controls");
    RECT &client = now[11], overlap;
    int added[4] = {client.right - start[11].right, client.bottom - start[11].bottom};
    added[2] = added[0], added[3] = added[1];
    for (size_t i = 0; i < 11; ++i) {
        bool placed = IntersectRect(&overlap, &now[i], &client) && EqualRect(&overlap, &now[i]);
        for (int edge = 0; edge < 4; ++edge)
            placed &= abs((&now[i].left)[edge] - (&start[i].left)[edge] - EdgeMoves[i][edge] * added[edge] / 4) <= 1;
        for (size_t j = i + 1; j < 11; ++j) placed &= !IntersectRect(&overlap, &now[i], &now[j]);
        Expect(placed, what + ": control " + std::to_string(i) + " in its place, within the window, on no other");
    }
}

void ExpectLaidOut(HWND main, const std::vector<RECT> &start, const std::string &what) {
    ExpectPlaced(main, start, what);
    RECT client;
    // The briefing in the English field: wrapped, its first line in view,
    // a scroll bar while it is taller than the field, and only then.
    HWND english = GetDlgItem(main, IDC_ENGLISH);
    auto ask = [&](UINT code, WPARAM value) { return SendMessageW(english, code, value, 0); };
    GetClientRect(english, &client);
    LRESULT lines = ask(EM_GETLINECOUNT, 0), last = ask(EM_POSFROMCHAR, ask(EM_LINEINDEX, lines - 1));
    bool taller = lines > 1 && (short)HIWORD(last) * lines / (lines - 1) > client.bottom;
    Expect(lines > 2 && ask(EM_GETFIRSTVISIBLELINE, 0) == 0 && taller == ((GetWindowLongW(english, GWL_STYLE) & WS_VSCROLL) != 0) &&
               (short)LOWORD(ask(EM_POSFROMCHAR, WindowText(english).size() - 1)) < client.right,
           what + ": the briefing on " + std::to_string(lines) + " lines, " + (taller ? "a scroll bar" : "no scroll bar"));
}

// What the window shows first, in tab order: the key list, each language's
// label left of its field, one row below the other, and the buttons at the
// bottom right, About before Exit; the client area that of a dialog made
// here from the exe's template of 391 x 119 dialog units, every control in
// it and on no other.
// The client area of a dialog made here from the exe's template, in
// pixels, and 4 lines of its font (32 dialog units).
struct TemplateSize {
    SIZE client;
    int fourLines;
};

TemplateSize TemplateSizeOf(const std::wstring &exe) {
    HMODULE resources = LoadLibraryExW(exe.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HWND copy = CreateDialogParamW(resources, MAKEINTRESOURCEW(IDD_MAIN), NULL,
                                   [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    Require(copy != NULL, "a dialog is made from the exe's template");
    RECT client, units = {0, 0, 391, 119}, lines = {0, 0, 0, 32};
    GetClientRect(copy, &client);
    MapDialogRect(copy, &units);
    MapDialogRect(copy, &lines);
    DestroyWindow(copy);
    FreeLibrary(resources);
    Expect(client.right == units.right && client.bottom == units.bottom, "the template is 391 x 119 dialog units");
    return {{client.right, client.bottom}, lines.bottom};
}

void ExpectFirstLayout(HWND main, const std::wstring &exe) {
    const TemplateSize sizes = TemplateSizeOf(exe);
    const SIZE templateSize = sizes.client;
    const char *const shown[11][2] = {{"ComboBox", ""},     {"Static", "English:"}, {"Edit", ""},
                                      {"Static", "French:"}, {"Edit", ""},          {"Static", "German:"},
                                      {"Edit", ""},          {"Static", "Italian:"}, {"Edit", ""},
                                      {"Button", "&About..."}, {"Button", "E&xit"}};
    std::vector<RECT> rects = Rects(main);
    Require(rects.size() == 12, "11 controls");
    HWND child = GetWindow(main, GW_CHILD);
    for (int i = 0; i < 11; ++i, child = GetWindow(child, GW_HWNDNEXT))
        Expect(ClassName(child) == shown[i][0] && WindowText(child) == shown[i][1],
               "control " + std::to_string(i) + ": " + ClassName(child) + " \"" + WindowText(child) + "\"");
    bool fourLines = true;
    for (int field = 2; field <= 8; field += 2) {
        int height = rects[field].bottom - rects[field].top;
        fourLines &= height >= sizes.fourLines && height < sizes.fourLines * 5 / 4 + 8;
    }
    Expect(rects[11].right == templateSize.cx && fourLines,
           "with no size kept, the template's width and each field four lines high: " +
               std::to_string(rects[11].right) + " x " + std::to_string(rects[11].bottom) + " pixels here");
    bool rows = true;
    for (int field = 2; field <= 8; field += 2) {
        const RECT &label = rects[field - 1], &text = rects[field], &list = rects[0];
        rows &= list.right < label.left && label.right <= text.left && label.top < text.bottom && text.top < label.bottom;
        if (field > 2) rows &= rects[field - 2].bottom <= text.top;
    }
    Expect(rows, "the key list, then a label and its field on each row, English to Italian down");
    std::vector<int> tabOrder;
    for (HWND at = GetDlgItem(main, IDC_KEYLIST); tabOrder.size() < 7;) {
        at = GetNextDlgTabItem(main, at, FALSE);
        tabOrder.push_back(GetDlgCtrlID(at));
    }
    Expect(tabOrder == std::vector<int>{IDC_ENGLISH, IDC_FRENCH, IDC_GERMAN, IDC_ITALIAN, IDC_ABOUT, IDCANCEL, IDC_KEYLIST},
           "Tab goes from the key list through the fields and the buttons, and back");
    Expect(rects[8].bottom <= rects[9].top && rects[9].right <= rects[10].left && rects[10].top == rects[9].top &&
               templateSize.cx - rects[10].right < templateSize.cx / 20,
           "About and Exit below the fields, at the right");
    ExpectPlaced(main, rects, "at first");
}

SIZE Resize(HWND main, int width, int height) {
    if (width) SetWindowPos(main, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntilHandled(main);
    RECT frame;
    GetWindowRect(main, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Smaller, larger and maximized; then the size kept for the next start.
int WindowSizeCase(const CaseContext &context, DWORD dpi) {
    Browser browser = OpenBrowser(context);
    HDC screen = GetDC(NULL);
    Require(GetDeviceCaps(screen, LOGPIXELSY) == (int)dpi, "the screen is at " + std::to_string(dpi) + " DPI");
    ReleaseDC(NULL, screen);
    Session &session = browser.session;
    HWND main = browser.main;
    std::string settings = ReadFileBytes(SettingsPath(context)), at = std::to_string(dpi) + " DPI, ";
    ClickItem(browser, 2);  // the briefing, wrapped
    SIZE smallest = Resize(main, 1, 1), larger = {smallest.cx + 300, smallest.cy + 200};
    RECT client;
    GetClientRect(main, &client);
    const SIZE templateSize = TemplateSizeOf(context.exe).client;
    Expect(client.right == templateSize.cx && client.bottom == templateSize.cy,
           at + "the smallest is the template's size, " + std::to_string(templateSize.cx) + " x " +
               std::to_string(templateSize.cy));
    std::vector<RECT> start = Rects(main);
    SaveScreenshot(main, context.workFolder + L"\\smallest-" + std::to_wstring(dpi) + L"dpi.bmp");
    Expect((GetWindowLongW(GetDlgItem(main, IDC_ENGLISH), GWL_STYLE) & WS_VSCROLL) != 0, "at the smallest, a scroll bar");
    for (SIZE added : std::vector<SIZE>{{1, 3}, {2, 401}, {517, 2}, {0, 0}, {300, 200}}) {
        Resize(main, smallest.cx + added.cx, smallest.cy + added.cy);
        ExpectLaidOut(main, start, at + std::to_string(added.cx) + " x " + std::to_string(added.cy) + " more");
    }
    SaveScreenshot(main, context.workFolder + L"\\larger-" + std::to_wstring(dpi) + L"dpi.bmp");
    PostMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    WaitUntilHandled(main);
    ExpectLaidOut(main, start, at + "maximized");
    Expect(!(GetWindowLongW(GetDlgItem(main, IDC_ENGLISH), GWL_STYLE) & WS_VSCROLL), "maximized, the briefing fits");
    PressButton(main, IDCANCEL);
    ExpectExit(session, 0);
    std::string kept = ReadFileBytes(SettingsPath(context));
    Expect(kept.rfind(settings, 0) == 0 && kept.find("\r\nMaximized=1\r\n") != std::string::npos, "GTAPath kept: " + kept);
    // Wine at 144 DPI keeps the size before maximizing scaled down by
    // 96/144; the next start is checked at 96.
    if (dpi != 96) return CaseResult();
    session = StartParlyte(context.exe, context.workFolder);
    main = WaitForMainWindow(session);
    bool maximized = IsZoomed(main);
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    SIZE size = Resize(main, 0, 0);
    Expect(maximized && size.cx == larger.cx && size.cy == larger.cy, "it opens maximized, restored to the size it was left: " +
                                                                         std::to_string(size.cx) + " x " + std::to_string(size.cy));
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectExit(session, 0);
    return CaseResult();
}

} // namespace

const CaseEntry StartupCases[] = {
    {"main-window", MainWindowCase},
    {"window-icon", WindowIconCase},
    {"exit-button", ExitButtonCase},
    {"close-command", CloseCommandCase},
    {"missing-language-file", MissingLanguageFileCase},
    {"pick-valid-folder", PickValidFolderCase},
    {"pick-bad-folder", PickBadFolderCase},
    {"planted-dll", PlantedDllCase},
    {"settings-copy", SettingsCopyCase},
    {"full-disk", FullDiskCase},
    {"window-size", [](const CaseContext &context) { return WindowSizeCase(context, 96); }},
    {"window-size-144dpi", [](const CaseContext &context) { return WindowSizeCase(context, 144); }},
    {NULL, NULL},
};
