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
    Expect(text.rfind("Parlyte version 0.1\n\n", 0) == 0 && text.size() > 21,
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

int ExitButtonCase(const CaseContext &context) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    PressButton(WaitForMainWindow(session), IDCANCEL);
    ExpectExit(session, 0);
    return CaseResult();
}

int CloseCommandCase(const CaseContext &context) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    PostMessageW(WaitForMainWindow(session), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectExit(session, 0);
    return CaseResult();
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

} // namespace

const CaseEntry StartupCases[] = {
    {"main-window", MainWindowCase},
    {"exit-button", ExitButtonCase},
    {"close-command", CloseCommandCase},
    {"stored-folder-rejected", StoredFolderRejectedCase},
    {"missing-language-file", MissingLanguageFileCase},
    {"pick-valid-folder", PickValidFolderCase},
    {"pick-bad-folder", PickBadFolderCase},
    {NULL, NULL},
};
