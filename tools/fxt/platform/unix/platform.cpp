// fxt on Linux: the system calls are the stand-in layer's, which finds a
// Windows path among this system's files, and whose paths are this
// system's bytes, UTF-8. A terminal shows the UTF-8 bytes fxt writes, so
// no stream is treated as a console.
#include "tools/fxt/platform/platform.h"

#include "compat/native_paths.h"

#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

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

BOOL RemoveOpened(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

BOOL RenameOpened(HANDLE file, const std::string &to, bool replace) {
    std::vector<char> block(sizeof(FILE_RENAME_INFO) + to.size());
    FILE_RENAME_INFO *rename = (FILE_RENAME_INFO *)block.data();
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = NULL;
    rename->FileNameLength = (DWORD)to.size();
    memcpy(rename->FileName, to.data(), to.size());
    return SetFileInformationByHandle(file, FileRenameInfo, rename, (DWORD)block.size());
}

std::string UserStateFolder(void) {
    const char *state = getenv("XDG_STATE_HOME"), *home = getenv("HOME");
    if (state && *state == '/') return std::string(state) + "/fxt";
    return home && *home ? std::string(home) + "/.local/state/fxt" : "";
}

// Trusted only as this user's own file, which no one else may read or
// write: not a link, not another's, no permission bits for others.
int ReadUserSecret(const std::string &path, std::string *bytes, std::string *problem) {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return 0;
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
        *problem = errno == ELOOP ? "it is a link" : strerror(errno);
        if (fd >= 0) close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid() || (info.st_mode & 077)) {
        *problem = !S_ISREG(info.st_mode) ? "it is not a file" : info.st_uid != geteuid() ? "another user owns it"
                                                                                       : "others may read or write it";
        close(fd);
        return -1;
    }
    char block[256];
    ssize_t count;
    bytes->clear();
    while ((count = read(fd, block, sizeof block)) > 0) bytes->append(block, (size_t)count);
    if (count < 0) *problem = strerror(errno);
    close(fd);
    return count < 0 ? -1 : 1;
}

int MakeUserSecret(const std::string &path, const std::string &bytes, std::string *problem) {
    // The folders that are not there yet, each this user's alone.
    for (size_t slash = 1; (slash = path.find('/', slash)) != std::string::npos; ++slash)
        if (mkdir(path.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) {
            *problem = strerror(errno);
            return 0;
        }
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool made = fd >= 0 && write(fd, bytes.data(), bytes.size()) == (ssize_t)bytes.size() && fsync(fd) == 0;
    if (!made) *problem = strerror(errno);
    if (fd >= 0 && close(fd) != 0) made = false;
    return made;
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
