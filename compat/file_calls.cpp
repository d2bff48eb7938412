// Files and directory lookup over POSIX, with the error codes Windows sets.
#include "compat_control.h"
#include "compat_internal.h"

#include <errno.h>
#include <fcntl.h>
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

DWORD ErrorForFailedOpen(int error, const std::string &path) {
    switch (error) {
    case ENOENT: return ParentFolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG: return ERROR_PATH_NOT_FOUND;
    default: return ERROR_ACCESS_DENIED;
    }
}

} // namespace

std::string CompatNativePath(LPCSTR path) {
    std::string native(path ? path : "");
    for (char &ch : native)
        if (ch == '\\') ch = '/';
    return native;
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

// Only what the program asks for: an existing file opened for reading, with
// others allowed to read. A file someone holds an exclusive lock on stands
// for a file opened elsewhere without sharing.
HANDLE CreateFileA(LPCSTR path, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    lastOpenedPath = CompatNativePath(path);
    int fd = open(lastOpenedPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetLastError(ErrorForFailedOpen(errno, lastOpenedPath));
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    DWORD error = 0;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
        error = ERROR_ACCESS_DENIED;
    else if (flock(fd, LOCK_SH | LOCK_NB) != 0)
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

BOOL CloseHandle(HANDLE object) {
    if (object == INVALID_HANDLE_VALUE || close(DescriptorFromHandle(object)) != 0) return FALSE;
    --openHandles;
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA *found) {
    std::string native = CompatNativePath(path);
    struct stat info;
    if (stat(native.c_str(), &info) != 0) {
        SetLastError(ErrorForFailedOpen(errno, native));
        return INVALID_HANDLE_VALUE;
    }
    *found = WIN32_FIND_DATAA();
    found->dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
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
