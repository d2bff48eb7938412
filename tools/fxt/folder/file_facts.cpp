// Files below the game folder, looked at through the system's calls. A
// link is told by the file system's own mark where it has one, and
// otherwise by the path the system opens being another than the one asked
// for: Wine shows a Unix link as a plain file, and moves or deletes what it
// leads to when asked to move or delete it.
#include "file_facts.h"

#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/platform/platform.h"

#include <stdio.h>

namespace {

// Opened only to be looked at, a file stands in no one's way.
const DWORD SharingAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

char UpperCase(char ch) {
    return ch >= 'a' && ch <= 'z' ? (char)(ch - 32) : ch == '/' ? '\\' : ch;
}

bool SamePath(const std::string &left, const std::string &right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i)
        if (UpperCase(left[i]) != UpperCase(right[i])) return false;
    return true;
}

// Whether the file open is the one its folder holds under name, not one a
// link leads to elsewhere.
bool IsUnderItsOwnName(HANDLE file, const std::string &path, const std::string &name) {
    size_t separator = path.find_last_of("\\/");
    std::string folder = separator == std::string::npos ? "." : path.substr(0, separator);
    HANDLE parent = OpenPath(folder, GENERIC_READ, SharingAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (parent == INVALID_HANDLE_VALUE) return false;
    std::string folderPath = FinalPathOf(parent), filePath = FinalPathOf(file);
    CloseHandle(parent);
    // Where the system cannot tell, it has no links to files either.
    return filePath.empty() || folderPath.empty() || SamePath(filePath, folderPath + "\\" + name);
}

// Reads in blocks, so that a file of any size is summed without being held.
void ReadBytes(HANDLE file, FileReading reading, unsigned long long limit, FileFacts *facts) {
    facts->kept = reading == LOOK_AT_BYTES;
    if (reading == LOOK_ONLY || (facts->kept && facts->size > limit)) {
        facts->kept = false;
        return;
    }
    Sha256 hash;
    StartSha256(&hash);
    char block[32768];
    unsigned long long done = 0;
    DWORD count = 0;
    while (ReadFile(file, block, sizeof block, &count, NULL) && count > 0) {
        AddToSha256(&hash, block, count);
        if (facts->kept) facts->bytes.append(block, count);
        if (facts->kept && facts->bytes.size() > limit) break;
        done += count;
    }
    if (done != facts->size) {
        facts->kept = false;
        facts->bytes.clear();
        return;
    }
    facts->sha256 = FinishSha256(&hash);
}

} // namespace

std::string IdentityOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return "";
    char identity[40];
    snprintf(identity, sizeof identity, "%lx-%lx%08lx", (unsigned long)information.dwVolumeSerialNumber,
             (unsigned long)information.nFileIndexHigh, (unsigned long)information.nFileIndexLow);
    return identity;
}

FileFacts LookAt(const std::string &path, FileReading reading, unsigned long long limit) {
    FileFacts facts;
    FoundFile found;
    HANDLE search = FindFirstPath(path, &found);
    if (search == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            facts.kind = FILE_UNREADABLE;
            facts.error = error;
        }
        return facts;
    }
    FindClose(search);
    facts.name = found.name;
    facts.readOnly = (found.attributes & FILE_ATTRIBUTE_READONLY) != 0;
    bool marked = (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (found.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        HANDLE folder = OpenPath(path, GENERIC_READ, SharingAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        if (folder == INVALID_HANDLE_VALUE) {
            facts.kind = FILE_UNREADABLE;
            facts.error = GetLastError();
            return facts;
        }
        facts.kind = !marked && IsUnderItsOwnName(folder, path, found.name) ? FILE_FOLDER : FILE_LINK;
        facts.identity = IdentityOf(folder);
        CloseHandle(folder);
        return facts;
    }
    HANDLE file = OpenPath(path, GENERIC_READ, SharingAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) {
        // Listed, yet not there to open: a link that leads nowhere, which
        // Wine lists as a file.
        DWORD error = GetLastError();
        facts.kind = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FILE_LINK : FILE_UNREADABLE;
        facts.error = error;
        return facts;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &information)) {
        facts.kind = FILE_SPECIAL;
    } else if (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        facts.kind = FILE_FOLDER;
    } else {
        bool link = marked || !IsUnderItsOwnName(file, path, found.name);
        facts.kind = link ? FILE_LINK : FILE_PLAIN;
        facts.identity = IdentityOf(file);
        facts.size = (unsigned long long)information.nFileSizeHigh << 32 | information.nFileSizeLow;
        ReadBytes(file, reading, limit, &facts);
    }
    CloseHandle(file);
    return facts;
}

std::string KindInWords(FileKind kind) {
    switch (kind) {
    case FILE_LINK: return "a link";
    case FILE_FOLDER: return "a folder";
    case FILE_SPECIAL: return "a device or a pipe";
    default: return "a file";
    }
}
