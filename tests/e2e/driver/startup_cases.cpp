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

int MainWindowCase(const CaseContext &context) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    HWND main = WaitForMainWindow(session);
    RECT frame;
    GetWindowRect(main, &frame);
    Expect(frame.left == 0 && frame.top == 0, "the main window opens at the top left");

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

int StoredFolderRejectedCase(const CaseContext &context) {
    ExpectStoredValueRejected(context, Narrow(context.workFolder) + "\\no game here");
    return CaseResult();
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

int PickBadFolderCase(const CaseContext &context) {
    std::wstring desktop = DesktopFolder();
    RemoveGameData(desktop);
    Session session = StartParlyte(context.exe, context.workFolder);
    PressButton(WaitForFolderDialog(session), IDOK);
    HWND warning = WaitForMessageBox(session, "Parlyte");
    std::string expected = Narrow(desktop) + "\\: wrong directory!";
    Expect(MessageBoxText(warning) == expected, "text: \"" + MessageBoxText(warning) + "\"");
    Expect(MessageBoxIcon(warning) == IDI_EXCLAMATION, "the warning icon");
    PressButton(warning, IDOK);
    PressButton(WaitForFolderDialog(session), IDCANCEL);
    ExpectExit(session, FailureExitCode);
    Expect(GetFileAttributesW(SettingsPath(context).c_str()) == INVALID_FILE_ATTRIBUTES, "no Parlyte.ini written");
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

} // namespace

const CaseEntry StartupCases[] = {
    {"main-window", MainWindowCase},
    {"window-icon", WindowIconCase},
    {"exit-button", ExitButtonCase},
    {"close-command", CloseCommandCase},
    {"stored-folder-rejected", StoredFolderRejectedCase},
    {"missing-language-file", MissingLanguageFileCase},
    {"pick-valid-folder", PickValidFolderCase},
    {"pick-bad-folder", PickBadFolderCase},
    {"planted-dll", PlantedDllCase},
    {NULL, NULL},
};
