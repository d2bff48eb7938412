// Files and directory lookup over POSIX, with the error codes Windows sets,
// its read-only files and files held by other programs, and its way of
// finding names whatever their letter case. A file opened without sharing
// is held as other programs hold it: with an exclusive lock.
#include "compat_internal.h"
#include "native_paths.h"

#include <dirent.h>
#include <errno.h>
#include <map>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Windows' file times count 100 ns from 1601.
FILETIME FileTime(const struct timespec &time) {
    uint64_t ticks = ((uint64_t)time.tv_sec + 11644473600ULL) * 10000000 + (uint64_t)time.tv_nsec / 100;
    return FILETIME{(DWORD)ticks, (DWORD)(ticks >> 32)};
}

// Whether every name is matched in any letter case, as Windows does; else
// only names below caseBlindFolder (native, with its trailing slash), and
// none when it is empty.
bool caseBlindEverywhere = true;
std::string caseBlindFolder;

// A search: of one name, or of a folder's entries for "FOLDER\\*".
struct Search {
    DIR *listing;  // null for one name
    std::string folder;
};

HANDLE HandleFromDescriptor(int fd) { return (HANDLE)(intptr_t)(fd + 1); }
int DescriptorFromHandle(HANDLE handle) { return (int)(intptr_t)handle - 1; }

// A file opened as itself (FILE_FLAG_OPEN_REPARSE_POINT): its folder, held
// open, and its name there, which removing or renaming it acts on, the
// folder never found again by its path.
struct Named {
    int folder;
    std::string name;
};
std::map<int, Named> namedFiles;

std::string FolderOf(const std::string &path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool ParentFolderExists(const std::string &path) {
    struct stat info;
    return stat(FolderOf(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The code Windows sets for the failure; what it has no code for keeps the
// system's own reason (CompatErrnoCode).
DWORD ErrorForFailedCall(int error, const std::string &path) {
    switch (error) {
    case ENOENT: return ParentFolderExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case EIO: return ERROR_IO_DEVICE;
    default: return CompatErrnoCode(error);
    }
}

BOOL Failed(DWORD error) {
    SetLastError(error);
    return FALSE;
}

bool Exists(const std::string &path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Windows' read-only attribute is a file without write permission bits, as
// Wine reports it.
bool IsReadOnly(const struct stat &info) {
    return !S_ISDIR(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool IsReadOnlyFile(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && IsReadOnly(info);
}

// Another program holding a file open without sharing it is an exclusive
// lock on it here.
bool IsHeldElsewhere(int fd) {
    return flock(fd, LOCK_SH | LOCK_NB) != 0;
}

bool IsHeldElsewhere(const std::string &path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool held = IsHeldElsewhere(fd);
    close(fd);
    return held;
}

// A call that opens, writes, flushes, closes, moves, makes or removes a
// file: the tests may fail it.
bool OperationGoesAhead(void) {
    return HOOK_ALLOWS(fileOperation);
}

// A rename written through to the disk: the folder's entries are synced.
void SyncFolderOf(const std::string &path) {
    int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
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
// rest stays as written. Where only a case-blind folder is, a path below it
// is matched so only below it, and any other path is taken as written.
std::string CompatNativePath(LPCSTR path) {
    std::string written(path ? path : "");
    for (char &ch : written)
        if (ch == '\\') ch = '/';
    std::string native;
    size_t start = 0;
    if (!caseBlindEverywhere) {
        if (caseBlindFolder.empty() || written.compare(0, caseBlindFolder.size(), caseBlindFolder) != 0) return written;
        native = caseBlindFolder;
        start = caseBlindFolder.size();
    }
    bool matching = true;
    for (;;) {
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

void CompatIgnoreCaseOnlyBelow(const std::string &folder) {
    caseBlindEverywhere = false;
    caseBlindFolder = folder;
    for (char &ch : caseBlindFolder)
        if (ch == '\\') ch = '/';
    if (!caseBlindFolder.empty() && caseBlindFolder.back() != '/') caseBlindFolder += '/';
}

void CompatIgnoreCaseEverywhere(void) {
    caseBlindEverywhere = true;
    caseBlindFolder.clear();
}

// A file opened as itself, relative to its folder: never through a link,
// which opens as the link, for removing or renaming it; and a file made so
// never replaces one there. Returns the descriptor, or -1 with errno set.
int OpenAsItself(const std::string &native, int mode, Named *named) {
    std::string folder = FolderOf(native);
    named->name = native.substr(native.rfind('/') + 1);
    named->folder = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (named->folder < 0) return -1;
    int fd = openat(named->folder, named->name.c_str(), mode | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0 && errno == ELOOP && !(mode & (O_WRONLY | O_RDWR)))
        fd = openat(named->folder, named->name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        int error = errno;
        close(named->folder);
        errno = error;
    }
    return fd;
}

// What the programs ask for: an existing file opened for reading, or only to
// see that it could be moved, with others allowed to read or with no one
// else; a folder opened with FILE_FLAG_BACKUP_SEMANTICS; a file or a link
// opened as itself (FILE_FLAG_OPEN_REPARSE_POINT) to be removed or renamed;
// or a file made for writing, anew (CREATE_NEW) or over an old one
// (CREATE_ALWAYS). A new file can be written again by its owner whatever
// the umask, as Windows' files without the read-only attribute can. A pipe
// or device opens without waiting, as under Wine, and tells what it is
// through GetFileType.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD flags,
                   HANDLE) {
    std::string native = CompatNativePath(path);
    HOOK_TELL(opened, native.c_str());
    if (!OperationGoesAhead()) return INVALID_HANDLE_VALUE;
    bool writing = (access & GENERIC_WRITE) != 0;
    if (writing && IsReadOnlyFile(native)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    int mode = !writing ? O_RDONLY : disposition == CREATE_NEW ? O_WRONLY | O_CREAT | O_EXCL
                                                                : O_WRONLY | O_CREAT | O_TRUNC;
    bool made = writing && !Exists(native);
    bool itself = (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0;
    Named named;
    int fd = itself ? OpenAsItself(native, mode, &named) : open(native.c_str(), mode | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorForFailedCall(errno, native));
        return INVALID_HANDLE_VALUE;
    }
    bool link = fcntl(fd, F_GETFL) & O_PATH;
    if (!link) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (made) {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, (0666 & ~mask) | S_IWUSR);
    }
    struct stat info;
    DWORD error = 0;
    if (fstat(fd, &info) != 0 || (S_ISDIR(info.st_mode) && !(flags & FILE_FLAG_BACKUP_SEMANTICS)))
        error = ERROR_ACCESS_DENIED;
    else if (!link && (share == 0 ? flock(fd, LOCK_EX | LOCK_NB) != 0 : !writing && IsHeldElsewhere(fd)))
        error = ERROR_SHARING_VIOLATION;
    if (error) {
        close(fd);
        if (itself) close(named.folder);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (itself) namedFiles[fd] = named;
    HOOK_TELL(handle, +1);
    return HandleFromDescriptor(fd);
}

DWORD GetFileType(HANDLE file) {
    struct stat info;
    if (fstat(DescriptorFromHandle(file), &info) != 0) return FILE_TYPE_UNKNOWN;
    if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) return FILE_TYPE_DISK;
    return S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ? FILE_TYPE_PIPE : FILE_TYPE_CHAR;
}

BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION *information) {
    struct stat info;
    if (fstat(DescriptorFromHandle(file), &info) != 0) return Failed(ErrorForFailedCall(errno, ""));
    *information = BY_HANDLE_FILE_INFORMATION();
    information->dwFileAttributes = S_ISLNK(info.st_mode)  ? FILE_ATTRIBUTE_REPARSE_POINT
                                    : S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY
                                    : IsReadOnly(info)      ? FILE_ATTRIBUTE_READONLY
                                                            : FILE_ATTRIBUTE_NORMAL;
    information->ftLastWriteTime = FileTime(info.st_mtim);
    information->dwVolumeSerialNumber = (DWORD)info.st_dev;
    information->nFileSizeHigh = (DWORD)((uint64_t)info.st_size >> 32);
    information->nFileSizeLow = (DWORD)info.st_size;
    information->nNumberOfLinks = (DWORD)info.st_nlink;
    information->nFileIndexHigh = (DWORD)((uint64_t)info.st_ino >> 32);
    information->nFileIndexLow = (DWORD)info.st_ino;
    return TRUE;
}

// The path the file opened really has, links followed, as the system names
// it: here the descriptor's own.
DWORD GetFinalPathNameByHandleA(HANDLE file, LPSTR path, DWORD size, DWORD) {
    char link[64], target[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", DescriptorFromHandle(file));
    ssize_t length = readlink(link, target, sizeof target);
    if (length < 0 || (size_t)length >= sizeof target) return 0;
    if ((DWORD)length >= size) return (DWORD)length + 1;
    memcpy(path, target, (size_t)length);
    path[length] = '\0';
    return (DWORD)length;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD delivered, LPOVERLAPPED) {
    *delivered = 0;
    if (!HOOK_ALLOWS(read)) return Failed(ERROR_READ_FAULT);
    ssize_t count;
    do
        count = read(DescriptorFromHandle(file), buffer, toRead);
    while (count < 0 && errno == EINTR);
    if (count < 0) return Failed(ErrorForFailedCall(errno, ""));
    *delivered = (DWORD)count;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
    *written = 0;
    if (!OperationGoesAhead()) return FALSE;
    while (*written < toWrite) {
        ssize_t count = write(DescriptorFromHandle(file), (const char *)buffer + *written, toWrite - *written);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return Failed(ErrorForFailedCall(errno, ""));
        *written += (DWORD)count;
    }
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
    if (!OperationGoesAhead()) return FALSE;
    if (fsync(DescriptorFromHandle(file)) != 0) return Failed(ErrorForFailedCall(errno, ""));
    return TRUE;
}

// The descriptor is closed even when the call is made to fail, as close()
// closes it when it reports an error.
BOOL CloseHandle(HANDLE object) {
    if (object == INVALID_HANDLE_VALUE) return FALSE;
    bool goesAhead = OperationGoesAhead();
    auto named = namedFiles.find(DescriptorFromHandle(object));
    if (named != namedFiles.end()) {
        close(named->second.folder);
        namedFiles.erase(named);
    }
    int closed = close(DescriptorFromHandle(object));
    HOOK_TELL(handle, -1);
    if (closed != 0) return Failed(ErrorForFailedCall(errno, ""));
    return goesAhead;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    std::string native = CompatNativePath(path);
    if (!OperationGoesAhead()) return FALSE;
    if (mkdir(native.c_str(), 0777) == 0) return TRUE;
    return Failed(ErrorForFailedCall(errno, native));
}

BOOL RemoveDirectoryA(LPCSTR path) {
    std::string native = CompatNativePath(path);
    if (!OperationGoesAhead()) return FALSE;
    if (rmdir(native.c_str()) == 0) return TRUE;
    return Failed(ErrorForFailedCall(errno, native));
}

// An existing target is replaced only with MOVEFILE_REPLACE_EXISTING, and a
// read-only one never; a file held elsewhere does not move. A file that
// replaces another takes its permission bits; a link is replaced as a name.
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    std::string nativeFrom = CompatNativePath(from), nativeTo = CompatNativePath(to);
    if (!OperationGoesAhead()) return FALSE;
    if (IsHeldElsewhere(nativeFrom)) return Failed(ERROR_SHARING_VIOLATION);
    if (IsReadOnlyFile(nativeTo)) return Failed(ERROR_ACCESS_DENIED);
    struct stat replaced;
    if ((flags & MOVEFILE_REPLACE_EXISTING) && stat(nativeTo.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode)) {
        int fd = open(nativeFrom.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            fchmod(fd, replaced.st_mode & 07777);
            close(fd);
        }
    }
    unsigned noReplace = (flags & MOVEFILE_REPLACE_EXISTING) ? 0 : RENAME_NOREPLACE;
    if (renameat2(AT_FDCWD, nativeFrom.c_str(), AT_FDCWD, nativeTo.c_str(), noReplace) != 0)
        return Failed(ErrorForFailedCall(errno, errno == ENOENT ? nativeFrom : nativeTo));
    if (flags & MOVEFILE_WRITE_THROUGH) SyncFolderOf(nativeTo);
    return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
    std::string native = CompatNativePath(path);
    if (!OperationGoesAhead()) return FALSE;
    if (IsReadOnlyFile(native)) return Failed(ERROR_ACCESS_DENIED);
    if (IsHeldElsewhere(native)) return Failed(ERROR_SHARING_VIOLATION);
    if (unlink(native.c_str()) == 0) return TRUE;
    return Failed(ErrorForFailedCall(errno, native));
}

// Removes or renames a file opened as itself, by its name in the folder it
// was opened in, where that name still holds it: never what a link put in
// its place leads to. A file that replaces another takes its permission
// bits, set on the file itself.
BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID information, DWORD) {
    int fd = DescriptorFromHandle(file);
    auto found = namedFiles.find(fd);
    if (found == namedFiles.end()) return Failed(ERROR_INVALID_PARAMETER);
    Named &named = found->second;
#ifdef PARLYTE_TEST_HOOKS
    char link[64], folder[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", named.folder);
    ssize_t length = readlink(link, folder, sizeof folder);
    HOOK_TELL(acting, (length > 0 ? std::string(folder, (size_t)length) + "/" + named.name : named.name).c_str());
#endif
    if (!OperationGoesAhead()) return FALSE;
    struct stat opened, there;
    if (fstat(fd, &opened) != 0 || fstatat(named.folder, named.name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        opened.st_dev != there.st_dev || opened.st_ino != there.st_ino)
        return Failed(ERROR_FILE_NOT_FOUND);
    if (IsHeldElsewhere(fd)) return Failed(ERROR_SHARING_VIOLATION);
    if (kind == FileDispositionInfo) {
        if (unlinkat(named.folder, named.name.c_str(), S_ISDIR(opened.st_mode) ? AT_REMOVEDIR : 0) == 0) return TRUE;
        return Failed(ErrorForFailedCall(errno, named.name));
    }
    if (kind != FileRenameInfo) return Failed(ERROR_INVALID_PARAMETER);
    const FILE_RENAME_INFO *rename = (const FILE_RENAME_INFO *)information;
    std::string to = CompatNativePath(std::string(rename->FileName, rename->FileNameLength).c_str());
    Named target = {open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), to.substr(to.rfind('/') + 1)};
    if (target.folder < 0) return Failed(ErrorForFailedCall(errno, to));
    struct stat replaced;
    bool replacing = rename->ReplaceIfExists &&
                     fstatat(target.folder, target.name.c_str(), &replaced, AT_SYMLINK_NOFOLLOW) == 0;
    int error = 0;
    if (replacing && S_ISREG(replaced.st_mode) && IsReadOnly(replaced))
        error = EACCES;
    else if (replacing && S_ISREG(replaced.st_mode) && !(fcntl(fd, F_GETFL) & O_PATH))
        fchmod(fd, replaced.st_mode & 07777);
    if (!error && renameat2(named.folder, named.name.c_str(), target.folder, target.name.c_str(),
                            rename->ReplaceIfExists ? 0 : RENAME_NOREPLACE) != 0)
        error = errno;
    if (error) {
        close(target.folder);
        return Failed(ErrorForFailedCall(error, to));
    }
    fsync(target.folder);
    close(named.folder);
    named = target;
    return TRUE;
}

// A symbolic link is a reparse point, as Windows shows its own links, with
// what it leads to being a folder or read-only; one that leads nowhere is
// a link to a file.
DWORD GetFileAttributesA(LPCSTR path) {
    std::string native = CompatNativePath(path);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) {
        SetLastError(ErrorForFailedCall(errno, native));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD link = 0;
    if (S_ISLNK(info.st_mode)) {
        link = FILE_ATTRIBUTE_REPARSE_POINT;
        if (stat(native.c_str(), &info) != 0) return link;
    }
    if (S_ISDIR(info.st_mode)) return link | FILE_ATTRIBUTE_DIRECTORY;
    return link | (IsReadOnly(info) ? FILE_ATTRIBUTE_READONLY : link ? 0 : FILE_ATTRIBUTE_NORMAL);
}

namespace {

void FillFound(const std::string &native, const std::string &name, WIN32_FIND_DATAA *found) {
    *found = WIN32_FIND_DATAA();
    found->dwFileAttributes = GetFileAttributesA(native.c_str());
    struct stat info;
    if (stat(native.c_str(), &info) == 0) found->ftLastWriteTime = FileTime(info.st_mtim);
    name.copy(found->cFileName, sizeof found->cFileName - 1);
}

} // namespace

// One name, or with "*" as the last part, the entries of a folder but "."
// and "..".
HANDLE FindFirstFileA(LPCSTR path, WIN32_FIND_DATAA *found) {
    std::string native = CompatNativePath(path);
    std::string::size_type slash = native.rfind('/');
    std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    Search *search = new Search{NULL, native.substr(0, slash == std::string::npos ? 0 : slash + 1)};
    if (name == "*") {
        search->listing = opendir(search->folder.empty() ? "." : search->folder.c_str());
        if (!search->listing) {
            SetLastError(ErrorForFailedCall(errno, native));
            delete search;
            return INVALID_HANDLE_VALUE;
        }
        HOOK_TELL(handle, +1);
        if (FindNextFileA(search, found)) return search;
        FindClose(search);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        delete search;
        return INVALID_HANDLE_VALUE;
    }
    FillFound(native, name, found);
    HOOK_TELL(handle, +1);
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *found) {
    Search *search = (Search *)handle;
    while (const dirent *entry = search->listing ? readdir(search->listing) : NULL) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        FillFound(search->folder + name, name, found);
        return TRUE;
    }
    return Failed(ERROR_NO_MORE_FILES);
}

BOOL FindClose(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || !handle) return FALSE;
    Search *search = (Search *)handle;
    if (search->listing) closedir(search->listing);
    delete search;
    HOOK_TELL(handle, -1);
    return TRUE;
}
