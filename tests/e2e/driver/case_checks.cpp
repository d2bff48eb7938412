#include "case_checks.h"

#include <algorithm>

const DWORD FailureExitCode = 0xFFFFFFFF;

namespace {

const wchar_t *const LanguageFiles[] = {L"ENGLISH.FXT", L"FRENCH.FXT", L"GERMAN.FXT", L"ITALIAN.FXT"};

std::string Hex(DWORD value) {
    char text[16];
    wsprintfA(text, "0x%08lX", (unsigned long)value);
    return text;
}

void AddToSnapshot(const std::wstring &folder, const std::wstring &relative,
                   std::map<std::wstring, std::string> *snapshot) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + relative + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = relative + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*snapshot)[path] = "<folder>";
            AddToSnapshot(folder, path, snapshot);
        } else {
            (*snapshot)[path] = ReadFileBytes(folder + path);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

void ExpectExit(Session &session, DWORD expected) {
    DWORD code = WaitForExit(session);
    Expect(code == expected, "exit code " + Hex(code) + ", expected " + Hex(expected));
}

void ExpectNoMainWindow(const Session &session) {
    Expect(!FindTopWindow(session, IsMainWindow), "no main window is shown");
}

std::string SystemText(DWORD code) {
    char *text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
                   code, 0x400, (LPSTR)&text, 0, NULL);
    std::string copy = text ? text : "(no text)";
    LocalFree(text);
    return copy;
}

ExeVersion ReadExeVersion(const std::wstring &exe) {
    ExeVersion version = {};
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoW(exe.c_str(), 0, (DWORD)block.size(), block.data())) return version;
    void *value = NULL;
    UINT size = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &size) && size >= sizeof version.fixed)
        version.fixed = *(const VS_FIXEDFILEINFO *)value;
    const DWORD usEnglish1252 = MAKELONG(0x0409, 1252);
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &size) || size < 4 ||
        std::find((const DWORD *)value, (const DWORD *)value + size / 4, usEnglish1252) == (const DWORD *)value + size / 4)
        return version;
    for (const wchar_t *name : {L"FileDescription", L"FileVersion", L"InternalName", L"OriginalFilename",
                                L"ProductName", L"ProductVersion"}) {
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + name;
        if (VerQueryValueW(block.data(), path.c_str(), &value, &size) && size > 0)
            version.strings[Narrow(name)] = Narrow((const wchar_t *)value);
    }
    return version;
}

void CopyGameData(const std::wstring &from, const std::wstring &to, const wchar_t *skip) {
    CreateDirectoryW(to.c_str(), NULL);
    CreateDirectoryW((to + L"\\GTADATA").c_str(), NULL);
    for (const wchar_t *name : LanguageFiles) {
        if (skip && lstrcmpW(name, skip) == 0) continue;
        std::wstring data = L"\\GTADATA\\" + std::wstring(name);
        if (!CopyFileW((from + data).c_str(), (to + data).c_str(), FALSE)) Fail("cannot copy " + Narrow(name));
    }
}

void RemoveGameData(const std::wstring &folder) {
    for (const wchar_t *name : LanguageFiles) DeleteFileW((folder + L"\\GTADATA\\" + name).c_str());
    RemoveDirectoryW((folder + L"\\GTADATA").c_str());
}

std::map<std::wstring, std::string> FolderSnapshot(const std::wstring &folder) {
    std::map<std::wstring, std::string> snapshot;
    AddToSnapshot(folder, L"", &snapshot);
    return snapshot;
}

void ExpectLoadFailure(const CaseContext &context, const std::wstring &game, DWORD error) {
    WriteSettings(context, game);
    std::map<std::wstring, std::string> before = FolderSnapshot(context.workFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    HWND box = WaitForMessageBox(session, "Parlyte");
    std::string text = MessageBoxText(box);
    Expect(text == SystemText(error), "the system's text for error " + std::to_string(error) + ": \"" + text + "\"");
    Expect(MessageBoxIcon(box) == IDI_HAND, "the error icon");
    ExpectNoMainWindow(session);
    PressButton(box, IDOK);
    ExpectExit(session, FailureExitCode);
    Expect(FolderSnapshot(context.workFolder) == before, "nothing changed in the work folder or the game folder");
}
