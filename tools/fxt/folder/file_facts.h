// What is at a path of a game folder, trusting nothing found there: nothing,
// a file under its own name, a link, a folder, or a device or pipe; for a
// file, its identity in the file system, its size and its bytes.
#ifndef PARLYTE_FXT_FILE_FACTS_H
#define PARLYTE_FXT_FILE_FACTS_H

#include <windows.h>

#include <string>

enum FileKind {
    FILE_ABSENT,
    FILE_PLAIN,       // a regular file under its own name
    FILE_LINK,        // a link: to a regular file, read through it, or to a folder
    FILE_FOLDER,      // a folder under its own name
    FILE_SPECIAL,     // a device or a pipe, or a link to one
    FILE_UNREADABLE,  // there, but it cannot be opened: error says why
};

struct FileFacts {
    FileKind kind = FILE_ABSENT;
    DWORD error = 0;
    std::string name;      // as the folder holds it, in its letter case
    bool readOnly = false;
    // A plain file's, a link's target's or a folder's:
    std::string identity;  // the volume and the file's index on it
    unsigned long long size = 0;
    std::string sha256;    // when read: "" when it could not be read to its end
    bool kept = false;     // bytes holds them
    std::string bytes;
};

// How much of a file LookAt reads.
enum FileReading {
    LOOK_ONLY,      // its kind, identity and size
    LOOK_SUM,       // and its checksum
    LOOK_AT_BYTES,  // and, when there are at most the limit of them, its bytes
};

// Looks at path without waiting on a pipe and without following a link
// further than reading through it: a link's target is read, never moved; a
// link that leads nowhere is a link.
FileFacts LookAt(const std::string &path, FileReading reading, unsigned long long limit = 0);

// The identity of an open file, as LookAt gives it; "" when the system has
// none for it.
std::string IdentityOf(HANDLE file);

// "a folder", "a link", "a device or a pipe", for messages.
std::string KindInWords(FileKind kind);

#endif
