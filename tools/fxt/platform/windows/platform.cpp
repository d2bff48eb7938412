// fxt on Windows: every path through the wide calls, converted from and to
// the UTF-8 fxt keeps it in.
#include "tools/fxt/platform/platform.h"

#include "tools/fxt/platform/windows/wide_text.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <string.h>

#include <vector>

namespace {

void Found(const WIN32_FIND_DATAW &data, FoundFile *found) {
    found->name = Utf8OfWide(data.cFileName);
    found->attributes = data.dwFileAttributes;
    found->lastWrite = data.ftLastWriteTime;
}

} // namespace

void UseBinaryStandardStreams(void) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string ShownPath(const std::string &path) {
    std::string shown = path;
    for (char &ch : shown)
        if (ch == '/') ch = '\\';
    return shown;
}

// Windows finds names in any letter case by itself.
void FindNamesInAnyCaseBelow(const std::string &) {}

// Found when it is called, so that fxt.exe still starts where it is not.
std::string FinalPathOf(HANDLE file) {
    typedef DWORD(WINAPI * FinalPathCall)(HANDLE, LPWSTR, DWORD, DWORD);
    static FinalPathCall call =
        (FinalPathCall)(void (*)(void))GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW");
    wchar_t path[MAX_PATH * 4];
    DWORD length = call ? call(file, path, MAX_PATH * 4, 0) : 0;
    return length > 0 && length < MAX_PATH * 4 ? Utf8OfWide(std::wstring(path, length).c_str()) : "";
}

HANDLE OpenPath(const std::string &path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags) {
    return CreateFileW(WideOfUtf8(path).c_str(), access, sharing, NULL, disposition, flags, NULL);
}

HANDLE FindFirstPath(const std::string &pattern, FoundFile *found) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(WideOfUtf8(pattern).c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) Found(data, found);
    return search;
}

BOOL FindNextPath(HANDLE search, FoundFile *found) {
    WIN32_FIND_DATAW data;
    if (!FindNextFileW(search, &data)) return FALSE;
    Found(data, found);
    return TRUE;
}

DWORD PathAttributes(const std::string &path) {
    return GetFileAttributesW(WideOfUtf8(path).c_str());
}

BOOL MakeFolderAt(const std::string &path) {
    return CreateDirectoryW(WideOfUtf8(path).c_str(), NULL);
}

BOOL RemoveFolderAt(const std::string &path) {
    return RemoveDirectoryW(WideOfUtf8(path).c_str());
}

namespace {

// Found when it is called, as FinalPathOf's call: Windows before Vista has
// none, and fxt.exe still starts there.
typedef BOOL(WINAPI *SetInformationCall)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
BOOL SetInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, void *information, DWORD size) {
    static SetInformationCall call = (SetInformationCall)(void (*)(void))GetProcAddress(
        GetModuleHandleA("kernel32.dll"), "SetFileInformationByHandle");
    if (!call) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return call(file, kind, information, size);
}

} // namespace

// Removed once the handle is closed, which the caller does next.
BOOL RemoveOpened(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetInformation(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// The new name as a whole path: a relative one would be taken from the
// current folder.
BOOL RenameOpened(HANDLE file, const std::string &to, bool replace) {
    std::wstring name = WideOfUtf8(to);
    wchar_t whole[MAX_PATH * 4];
    DWORD length = GetFullPathNameW(name.c_str(), MAX_PATH * 4, whole, NULL);
    if (length == 0 || length >= MAX_PATH * 4) return FALSE;
    std::vector<char> block(sizeof(FILE_RENAME_INFO) + (length + 1) * sizeof(wchar_t));
    FILE_RENAME_INFO *rename = (FILE_RENAME_INFO *)block.data();
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = NULL;
    rename->FileNameLength = length * sizeof(wchar_t);
    memcpy(rename->FileName, whole, (length + 1) * sizeof(wchar_t));
    return SetInformation(file, FileRenameInfo, rename, (DWORD)block.size());
}

std::string UserStateFolder(void) {
    wchar_t folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? Utf8OfWide(folder) + "\\fxt" : "";
}

// Under %LOCALAPPDATA%, in the user's profile, whose folders Windows lets
// no other user read.
int ReadUserSecret(const std::string &path, std::string *bytes, std::string *problem) {
    HANDLE file = CreateFileW(WideOfUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 0;
        *problem = SystemErrorText(error);
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION information;
    char block[256];
    DWORD count = 0;
    bytes->clear();
    int read = GetFileInformationByHandle(file, &information) &&
               !(information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
    while (read && (read = ReadFile(file, block, sizeof block, &count, NULL)) && count > 0) bytes->append(block, count);
    if (!read) *problem = "it is not a file of fxt's";
    CloseHandle(file);
    return read ? 1 : -1;
}

int MakeUserSecret(const std::string &path, const std::string &bytes, std::string *problem) {
    CreateDirectoryW(WideOfUtf8(path.substr(0, path.find_last_of('\\'))).c_str(), NULL);
    HANDLE file = CreateFileW(WideOfUtf8(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written = 0;
    int made = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL) &&
               written == bytes.size() && FlushFileBuffers(file);
    if (!made) *problem = SystemErrorText(GetLastError());
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file)) made = 0;
    return made;
}

std::string SystemErrorText(DWORD code) {
    wchar_t *text = NULL;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
                   code, 0x400, (LPWSTR)&text, 0, NULL);
    std::string line = text ? Utf8OfWide(text) : "";
    LocalFree(text);
    return line;
}

// A byte the code page leaves unassigned is refused, not replaced; and a
// character that comes back as another byte (a best fit) is none.
int ConvertedCharacters(int codePage, unsigned characters[256]) {
    if (!IsValidCodePage((UINT)codePage)) return 0;
    for (int byte = 0; byte < 256; ++byte) {
        char in = (char)byte, back = 0;
        wchar_t character = 0;
        BOOL lost = FALSE;
        characters[byte] = 0;
        if (MultiByteToWideChar((UINT)codePage, MB_ERR_INVALID_CHARS, &in, 1, &character, 1) != 1) continue;
        if (WideCharToMultiByte((UINT)codePage, WC_NO_BEST_FIT_CHARS, &character, 1, &back, 1, NULL, &lost) == 1 &&
            !lost && back == in)
            characters[byte] = character;
    }
    return 1;
}

bool IsConsole(FILE *stream) {
    DWORD mode;
    return GetConsoleMode((HANDLE)_get_osfhandle(_fileno(stream)), &mode) != 0;
}

int WriteConsoleText(FILE *stream, const std::string &utf8) {
    std::wstring characters = WideOfUtf8(utf8);
    HANDLE console = (HANDLE)_get_osfhandle(_fileno(stream));
    for (size_t done = 0; done < characters.size();) {
        DWORD chunk = (DWORD)std::min<size_t>(characters.size() - done, 16384), written = 0;
        if (!WriteConsoleW(console, characters.data() + done, chunk, &written, NULL) || written == 0) return 0;
        done += written;
    }
    return 1;
}
