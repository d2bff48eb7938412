// Files and directory lookup over POSIX, with the error codes Windows sets
// and its way of finding names whatever their letter case.
#include "compat_control.h"
#include "compat_internal.h"
#include "native_paths.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long failingRead;
long readCount;
long openHandles;
std::string lastOpenedPath;

// A search handle only has to be told apart from INVALID_HANDLE_VALUE.
char searchHandleTag;

HANDLE HandleFromDescriptor(int fd) { return (HANDLE)(intptr_t)(fd + 1); }
int DescriptorFromHandle(HANDLE handle) { return (int)(intptr_t)handle - 1; }

bool ParentFolderExists(const std::string &path) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return true;
    struct stat info;
    return stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

DWORD ErrorForFailedCall(int error, const std::string &path) {
    switch (error) {
    case ENOENT: return ParentFolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG: return ERROR_PATH_NOT_FOUND;
    case EEXIST:
    case ENOTEMPTY: return ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    default: return ERROR_ACCESS_DENIED;
    }
}

bool Exists(const std::string &path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name but for ASCII letter case, the
// first in byte order when there are several, or "" when there is none.
std::string MatchIgnoringCase(const std::string &folder, const std::string &name) {
    std::string match;
    DIR *listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return match;
    while (const dirent *entry = readdir(listing))
        if (strcasecmp(entry->d_name, name.c_str()) == 0 && (match.empty() || match > entry->d_name))
            match = entry->d_name;
    closedir(listing);
    return match;
}

} // namespace

// Windows finds "gtadata\english.fxt" when asked for "GTADATA\ENGLISH.FXT".
// Each part of the path that is not there as written is matched here without
// regard to letter case; from the first part that matches nothing on, the
// rest stays as written.
std::string CompatNativePath(LPCSTR path) {
    std::string written(path ? path : "");
    for (char &ch : written)
        if (ch == '\\') ch = '/';
    std::string native;
    bool matching = true;
    for (size_t start = 0;;) {
        size_t slash = written.find('/', start);
        std::string part = written.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (matching && !part.empty() && part != "." && part != ".." && !Exists(native + part)) {
            std::string match = MatchIgnoringCase(native, part);
            if (match.empty())
                matching = false;
            else
                part = match;
        }
        native += part;
        if (slash == std::string::npos) return native;
        native += '/';
        start = slash + 1;
    }
}

void ResetFileCalls(void) {
    failingRead = 0;
    readCount = 0;
    lastOpenedPath.clear();
}

void CompatFailRead(long number) {
    failingRead = number == 0 ? 0 : readCount + number;
}

long CompatOpenHandleCount(void) { return openHandles; }
const std::string &CompatLastOpenedPath(void) { return lastOpenedPath; }

// What the programs ask for: an existing file opened for reading, with others
// allowed to read, or a file made anew for writing. A file someone holds an
// exclusive lock on stands for a file opened elsewhere without sharing.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD, HANDLE) {
    lastOpenedPath = CompatNativePath(path);
    bool writing = (access & GENERIC_WRITE) != 0 && disposition == CREATE_ALWAYS;
    int fd = writing ? open(lastOpenedPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)
                     : open(lastOpenedPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ErrorForFailedCall(errno, lastOpenedPath));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    DWORD error = 0;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
        error = ERROR_ACCESS_DENIED;
    else if (!writing && flock(fd, LOCK_SH | LOCK_NB) != 0)
        error = ERROR_SHARING_VIOLATION;
    if (error) {
        close(fd);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    ++openHandles;
    return HandleFromDescriptor(fd);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD delivered, LPOVERLAPPED) {
    *delivered = 0;
    if (++readCount == failingRead) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ssize_t count;
    do
        count = read(DescriptorFromHandle(file), buffer, toRead);
    while (count < 0 && errno == EINTR);
    if (count < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *delivered = (DWORD)count;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    while (*written < toWrite) {
        ssize_t count = write(DescriptorFromHandle(file), (const char *)buffer + *written, toWrite - *written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) {
            SetLastError(ErrorForFailedCall(errno, ""));
            return FALSE;
        }
        *written += (DWORD)count;
    }
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    std::string native = CompatNativePath(path);
    if (mkdir(native.c_str(), 0777) == 0) return TRUE;
    SetLastError(ErrorForFailedCall(errno, native));
    return FALSE;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    std::string nativeFrom = CompatNativePath(from), nativeTo = CompatNativePath(to);
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && Exists(nativeTo)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (rename(nativeFrom.c_str(), nativeTo.c_str()) == 0) return TRUE;
    SetLastError(ErrorForFailedCall(errno, nativeTo));
    return FALSE;
}

BOOL DeleteFileA(LPCSTR path) {
    std::string native = CompatNativePath(path);
    if (unlink(native.c_str()) == 0) return TRUE;
    SetLastError(ErrorForFailedCall(errno, native));
    return FALSE;
}

DWORD GetFileAttributesA(LPCSTR path) {
    std::string native = CompatNativePath(path);
    struct stat info;
    if (stat(native.c_str(), &info) != 0) {
        SetLastError(ErrorForFailedCall(errno, native));
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL CloseHandle(HANDLE object) {
    if (object == INVALID_HANDLE_VALUE || close(DescriptorFromHandle(object)) != 0) return FALSE;
    --openHandles;
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA *found) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return INVALID_HANDLE_VALUE;
    *found = WIN32_FIND_DATAA();
    found->dwFileAttributes = attributes;
    std::string native = CompatNativePath(path);
    std::string::size_type slash = native.rfind('/');
    std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    name.copy(found->cFileName, sizeof found->cFileName - 1);
    ++openHandles;
    return &searchHandleTag;
}

BOOL FindClose(HANDLE search) {
    if (search != &searchHandleTag) return FALSE;
    --openHandles;
    return TRUE;
}
