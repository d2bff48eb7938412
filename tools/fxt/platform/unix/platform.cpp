// fxt on Linux: the system calls are the stand-in layer's, which finds a
// Windows path among this system's files, and whose paths are this
// system's bytes, UTF-8. A terminal shows the UTF-8 bytes fxt writes, so
// no stream is treated as a console.
#include "tools/fxt/platform/platform.h"

#include "compat/native_paths.h"

#include <iconv.h>

namespace {

void Found(const WIN32_FIND_DATAA &data, FoundFile *found) {
    found->name = data.cFileName;
    found->attributes = data.dwFileAttributes;
    found->lastWrite = data.ftLastWriteTime;
}

} // namespace

void UseBinaryStandardStreams(void) {}

std::string ShownPath(const std::string &path) {
    return CompatNativePath(path.c_str());
}

void FindNamesInAnyCaseBelow(const std::string &folder) {
    CompatIgnoreCaseOnlyBelow(folder);
}

std::string FinalPathOf(HANDLE file) {
    char path[4096];
    DWORD length = GetFinalPathNameByHandleA(file, path, sizeof path, 0);
    return length > 0 && length < sizeof path ? std::string(path, length) : "";
}

HANDLE OpenPath(const std::string &path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags) {
    return CreateFileA(path.c_str(), access, sharing, NULL, disposition, flags, NULL);
}

HANDLE FindFirstPath(const std::string &pattern, FoundFile *found) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) Found(data, found);
    return search;
}

BOOL FindNextPath(HANDLE search, FoundFile *found) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(search, &data)) return FALSE;
    Found(data, found);
    return TRUE;
}

DWORD PathAttributes(const std::string &path) {
    return GetFileAttributesA(path.c_str());
}

BOOL MakeFolderAt(const std::string &path) {
    return CreateDirectoryA(path.c_str(), NULL);
}

BOOL RemoveFolderAt(const std::string &path) {
    return RemoveDirectoryA(path.c_str());
}

BOOL DeletePath(const std::string &path) {
    return DeleteFileA(path.c_str());
}

BOOL MovePath(const std::string &from, const std::string &to, DWORD flags) {
    return MoveFileExA(from.c_str(), to.c_str(), flags);
}

std::string SystemErrorText(DWORD code) {
    char *text = NULL;
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
                   code, 0x400, (LPSTR)&text, 0, NULL);
    std::string line = text ? text : "";
    LocalFree(text);
    return line;
}

// iconv refuses the bytes a code page leaves unassigned, each on its own.
int ConvertedCharacters(int codePage, unsigned characters[256]) {
    iconv_t converter = iconv_open("UTF-32LE", ("CP" + std::to_string(codePage)).c_str());
    if (converter == (iconv_t)-1) return 0;
    for (int byte = 0; byte < 256; ++byte) {
        char in[1] = {(char)byte}, *from = in;
        unsigned char out[8] = {};
        char *to = (char *)out;
        size_t left = 1, room = sizeof out;
        bool converted = iconv(converter, &from, &left, &to, &room) != (size_t)-1 && room == 4;
        characters[byte] = converted ? out[0] | out[1] << 8 | out[2] << 16 | (unsigned)out[3] << 24 : 0;
        iconv(converter, NULL, NULL, NULL, NULL);
    }
    iconv_close(converter);
    return 1;
}

bool IsConsole(FILE *) {
    return false;
}

int WriteConsoleText(FILE *, const std::string &) {
    return 0;
}
