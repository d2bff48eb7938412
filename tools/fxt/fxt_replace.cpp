// Replacing the language files all or none. Every path is made before the
// first change, so that from then on only the system's file calls run until
// the folder is whole again; what went wrong is kept as error codes and told
// afterwards.
#include "fxt_replace.h"

#include "fxt_check.h"
#include "fxt_files.h"
#include "fxt_platform.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

namespace {

// Renames reach the disk before the call returns.
const DWORD WriteThrough = MOVEFILE_WRITE_THROUGH;

struct LanguageFile {
    std::string name;   // the file's name, in the letter case it has
    std::string path;
    std::string fresh;  // the new file, written beside the old one first
    std::string aside;  // where the old file goes: its backup, or a file removed at the end
    bool exists = false;
    bool backsUp = false;  // aside is the backup, made now
    int unreached = 0;     // entries the old file holds that loading never reaches
    // How far the swap got.
    bool written = false, movedAside = false, movedIn = false;
};

struct Folder {
    std::string path;
    bool made = false;
};

// A failed call: what it did, on which path (and to which), and its error.
struct Failure {
    const char *doing;
    const std::string *path;
    const std::string *to;
    DWORD error;
};

enum { MOST_FAILURES = 2 * TABLE_LANGUAGES + 3 };

struct Replacement {
    Folder folders[2];  // the game folder, then GTADATA
    LanguageFile files[TABLE_LANGUAGES];
    // The failure that stopped it, then those of putting the folder back.
    Failure failures[MOST_FAILURES];
    int failureCount = 0;
};

int Fail(Replacement *replacement, const char *doing, const std::string *path, const std::string *to = nullptr) {
    if (replacement->failureCount < MOST_FAILURES)
        replacement->failures[replacement->failureCount++] = Failure{doing, path, to, GetLastError()};
    return 0;
}

bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Finds the language file of LanguageIndex index and what stands in the way
// of replacing it; returns that, or "" when nothing does.
std::string Inspect(const std::string &folder, int index, LanguageFile *file) {
    std::string named = folder + LanguageFileNames[index];
    size_t nameStart = named.rfind('\\') + 1;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(named.c_str(), &found);
    file->exists = search != INVALID_HANDLE_VALUE;
    if (file->exists) FindClose(search);
    file->name = file->exists ? found.cFileName : named.substr(nameStart);
    file->path = named.substr(0, nameStart) + file->name;
    file->fresh = file->path + ".new";
    std::string backup = file->path + ".bak";
    file->backsUp = file->exists && !Exists(backup);
    file->aside = file->backsUp ? backup : file->path + ".old";
    std::string shown = ShownPath(file->path);
    if (file->exists && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return shown + " is a folder";
    if (file->exists && (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) return shown + " is read-only";
    // Never written over: they may be someone's.
    const std::string *inTheWay = Exists(file->fresh)                                       ? &file->fresh
                                  : file->exists && !file->backsUp && Exists(file->aside) ? &file->aside
                                                                                          : nullptr;
    if (inTheWay) return ShownPath(*inTheWay) + " is in the way: fxt make writes there while it works; move it away";
    if (!file->exists) return "";
    // What a rename needs: no one else holds the file without sharing it.
    HANDLE probe = CreateFileA(file->path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (probe == INVALID_HANDLE_VALUE) return shown + " cannot be replaced: " + LastErrorText();
    CloseHandle(probe);
    LanguageFileCheck check;
    if (!CheckLanguageFile(index, &check)) return shown + " cannot be read";
    file->unreached = check.unreached;
    return "";
}

int MakeFolders(Replacement *replacement) {
    for (Folder &folder : replacement->folders) {
        if (IsFolder(folder.path)) continue;
        if (!CreateDirectoryA(folder.path.c_str(), NULL)) return Fail(replacement, "cannot make the folder", &folder.path);
        folder.made = true;
    }
    return 1;
}

// The new file beside the old one, on the disk before it is swapped in.
int WriteFresh(Replacement *replacement, LanguageFile *file, const std::string &image) {
    HANDLE handle = CreateFileA(file->fresh.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) return Fail(replacement, "cannot write", &file->fresh);
    file->written = true;
    DWORD count = 0;
    BOOL wrote = WriteFile(handle, image.data(), (DWORD)image.size(), &count, NULL);
    if (wrote && count != image.size()) {
        SetLastError(ERROR_DISK_FULL);
        wrote = FALSE;
    }
    wrote = wrote && FlushFileBuffers(handle);
    DWORD error = GetLastError();
    BOOL closed = CloseHandle(handle);
    if (!wrote) SetLastError(error);
    return wrote && closed ? 1 : Fail(replacement, "cannot write", &file->fresh);
}

int SwapIn(Replacement *replacement, LanguageFile *file) {
    if (file->exists) {
        if (!MoveFileExA(file->path.c_str(), file->aside.c_str(), WriteThrough))
            return Fail(replacement, "cannot move", &file->path, &file->aside);
        file->movedAside = true;
    }
    if (!MoveFileExA(file->fresh.c_str(), file->path.c_str(), WriteThrough))
        return Fail(replacement, "cannot move", &file->fresh, &file->path);
    file->movedIn = true;
    return 1;
}

// Undoes the swap from the last file back: the old files return, the new
// ones and the folders made go.
void PutBack(Replacement *replacement) {
    for (int i = TABLE_LANGUAGES - 1; i >= 0; --i) {
        LanguageFile &file = replacement->files[i];
        if (file.movedAside) {
            if (!MoveFileExA(file.aside.c_str(), file.path.c_str(), MOVEFILE_REPLACE_EXISTING | WriteThrough))
                Fail(replacement, "cannot put back", &file.aside, &file.path);
        } else if (file.movedIn && !DeleteFileA(file.path.c_str())) {
            Fail(replacement, "cannot remove", &file.path);
        }
        if (file.written && !file.movedIn && !DeleteFileA(file.fresh.c_str()))
            Fail(replacement, "cannot remove", &file.fresh);
    }
    for (int i = 1; i >= 0; --i) {
        Folder &folder = replacement->folders[i];
        if (folder.made && !RemoveDirectoryA(folder.path.c_str())) Fail(replacement, "cannot remove the folder", &folder.path);
    }
}

std::string Told(const Failure &failure) {
    std::string line = std::string(failure.doing) + " " + ShownPath(*failure.path);
    if (failure.to) line += " to " + ShownPath(*failure.to);
    return line + ": " + ErrorText(failure.error);
}

const char Unchanged[] = "the game folder is left as it was";

} // namespace

int ReplaceLanguageFiles(const std::string &folder, const std::string images[TABLE_LANGUAGES], ReplaceReport *report) {
    Replacement replacement;
    replacement.folders[0].path = folder;
    replacement.folders[1].path = folder + "GTADATA";
    lstrcpyA(GameFolderPath, folder.c_str());
    for (int i = 0; i < TABLE_LANGUAGES; ++i) {
        std::string problem = Inspect(folder, i, &replacement.files[i]);
        if (!problem.empty()) {
            report->errors = {problem, "nothing was written"};
            return 0;
        }
    }

    bool done;
    try {
        done = MakeFolders(&replacement);
        for (int i = 0; done && i < TABLE_LANGUAGES; ++i) done = WriteFresh(&replacement, &replacement.files[i], images[i]);
        for (int i = 0; done && i < TABLE_LANGUAGES; ++i) done = SwapIn(&replacement, &replacement.files[i]);
    } catch (...) {
        // Memory can still run out in a system call's own work.
        PutBack(&replacement);
        throw;
    }
    if (!done) {
        PutBack(&replacement);
        for (int i = 0; i < replacement.failureCount; ++i) report->errors.push_back(Told(replacement.failures[i]));
        report->errors.push_back(replacement.failureCount == 1 ? Unchanged
                                                               : "the game folder could not be left as it was: see above");
        return 0;
    }

    for (LanguageFile &file : replacement.files) {
        std::string backup = file.name + ".bak";
        if (file.backsUp) report->backups.push_back("kept " + ShownPath(file.path) + " as it was in " + backup);
        if (file.unreached)
            report->warnings.push_back(
                ShownPath(file.path) + " held " + std::to_string(file.unreached) +
                (file.unreached == 1 ? " entry" : " entries") + " that loading never reaches (fxt check tells where); " +
                (file.backsUp ? backup + " keeps them" : "they are not in " + backup + ", kept from before"));
        // The old file, kept only until the new one was in place.
        if (file.exists && !file.backsUp && !DeleteFileA(file.aside.c_str()))
            report->warnings.push_back("cannot remove " + ShownPath(file.aside) + ", the file replaced: " + LastErrorText());
    }
    return 1;
}
