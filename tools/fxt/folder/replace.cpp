// Replacing the language files all or none. The plan, with every path, is
// made before the first change and written to the journal; from then on
// only the system's file calls run until the folder is whole again, and
// what went wrong is kept as error codes and told afterwards. A language
// file is only ever replaced by one rename of its new file over its name,
// so that it is never missing; its old bytes are copied first. The same
// undoing serves a make that fails and, from its journal, one that was
// killed.
#include "replace.h"

#include "files.h"
#include "names.h"

#include "tools/fxt/formats/journal.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

namespace {

// A rename replaces its target in one step and reaches the disk before the
// call returns.
const DWORD Replacing = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

struct LanguageFile {
    std::string name;   // in GTADATA, in the letter case it has
    std::string path;
    std::string fresh;  // the new file, written beside the old one first
    std::string copy;   // where the old bytes are kept, NAME.bak or NAME.old; "" when there is no old file
    OldBytes old = NO_OLD_FILE;
    std::string oldBytes;
    const std::string *image = nullptr;  // the new bytes
    int unreached = 0;  // entries the old file holds that loading never reaches
};

// A failed call: what it did, on which path (and to which), and its error.
struct Failure {
    const char *doing;
    const std::string *path;
    const std::string *to;
    DWORD error;
};

enum { MOST_FAILURES = 3 * LANGUAGE_COUNT + 4 };

struct Replacement {
    std::string gameFolder, dataFolder, journalPath;
    Journal journal;
    LanguageFile files[LANGUAGE_COUNT];
    int fileCount = 0;
    HANDLE journalFile = INVALID_HANDLE_VALUE;
    bool journalMade = false;    // by this make, or found and taken over
    bool anotherMake = false;    // the journal was there when this make began it
    JournalStage stage = JOURNAL_PLANNING;
    // The failure that stopped it, then those of putting the folder back.
    Failure failures[MOST_FAILURES];
    int failureCount = 0;
};

int Fail(Replacement *replacement, const char *doing, const std::string *path, const std::string *to = nullptr) {
    if (replacement->failureCount < MOST_FAILURES)
        replacement->failures[replacement->failureCount++] = Failure{doing, path, to, GetLastError()};
    return 0;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void Locate(Replacement *replacement, const std::string &folder) {
    replacement->gameFolder = folder;
    replacement->dataFolder = DataFolderOf(folder);
    replacement->journalPath = replacement->dataFolder + "\\" + JournalName;
}

// The paths of a file the make replaces, by its name in GTADATA.
LanguageFile *AddFile(Replacement *replacement, const std::string &name, OldBytes old) {
    LanguageFile *file = &replacement->files[replacement->fileCount++];
    file->name = name;
    file->old = old;
    file->path = replacement->dataFolder + "\\" + name;
    file->fresh = file->path + ".new";
    file->copy = old == IN_NEW_BACKUP ? file->path + ".bak" : old == IN_UNDO_COPY ? file->path + ".old" : "";
    replacement->journal.files.push_back(JournalFile{name, old});
    return file;
}

// Finds the language file of LanguageIndex index and what stands in the way
// of replacing it with image; returns that, or "" when nothing does.
std::string Inspect(Replacement *replacement, int index, const std::string *image, int unreached) {
    std::string named = replacement->gameFolder + LanguageFileNames[index];
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(named.c_str(), &found);
    bool exists = search != INVALID_HANDLE_VALUE;
    if (exists) FindClose(search);
    std::string name = exists ? found.cFileName : named.substr(named.rfind('\\') + 1);
    bool backedUp = Exists(replacement->dataFolder + "\\" + name + ".bak");
    OldBytes old = !exists ? NO_OLD_FILE : backedUp ? IN_UNDO_COPY : IN_NEW_BACKUP;
    LanguageFile *file = AddFile(replacement, name, old);
    file->image = image;
    std::string shown = ShownPath(file->path);
    if (exists && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return shown + " is a folder";
    if (exists && (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) return shown + " is read-only";
    // Never written over: they may be someone's.
    const std::string *inTheWay = Exists(file->fresh)                            ? &file->fresh
                                  : old == IN_UNDO_COPY && Exists(file->copy) ? &file->copy
                                                                              : nullptr;
    if (inTheWay) return ShownPath(*inTheWay) + " is in the way: fxt make writes there while it works; move it away";
    if (!exists) return "";
    // What a rename needs: no one else holds the file without sharing it.
    HANDLE probe = CreateFileA(file->path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (probe == INVALID_HANDLE_VALUE) return shown + " cannot be replaced: " + LastErrorText();
    CloseHandle(probe);
    std::string error;
    if (!ReadWholeFile(file->path, &file->oldBytes, &error)) return shown + " cannot be read: " + error;
    file->unreached = unreached;
    return "";
}

std::string AnotherMakeIsWorking(const Replacement &replacement) {
    return "another fxt make is working on this folder (" + ShownPath(replacement.journalPath) +
           " is in use); try again once it has finished";
}

int MakeFolder(Replacement *replacement, const std::string &path, bool *made) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    if (!CreateDirectoryA(path.c_str(), NULL)) return Fail(replacement, "cannot make the folder", &path);
    *made = true;
    return 1;
}

int WriteBytes(Replacement *replacement, HANDLE file, const std::string &bytes, const std::string *path) {
    DWORD count = 0;
    BOOL wrote = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &count, NULL);
    if (wrote && count != bytes.size()) {
        SetLastError(ERROR_DISK_FULL);
        wrote = FALSE;
    }
    return wrote && FlushFileBuffers(file) ? 1 : Fail(replacement, "cannot write", path);
}

// A file made anew and on the disk before the call returns.
int WriteNewFile(Replacement *replacement, const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return Fail(replacement, "cannot write", &path);
    int wrote = WriteBytes(replacement, file, bytes, &path);
    DWORD error = GetLastError();
    BOOL closed = CloseHandle(file);
    if (!wrote) SetLastError(error);
    return wrote && (closed || Fail(replacement, "cannot write", &path));
}

// The journal, held without sharing while the make works, so that another
// make sees it is in use.
int StartJournal(Replacement *replacement, const std::string &text) {
    replacement->journalFile = CreateFileA(replacement->journalPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (replacement->journalFile == INVALID_HANDLE_VALUE) {
        replacement->anotherMake = GetLastError() == ERROR_FILE_EXISTS;
        return Fail(replacement, "cannot write", &replacement->journalPath);
    }
    replacement->journalMade = true;
    if (!WriteBytes(replacement, replacement->journalFile, text, &replacement->journalPath)) return 0;
    replacement->stage = JOURNAL_PLANNED;
    return 1;
}

int RecordStage(Replacement *replacement, const std::string &line, JournalStage stage) {
    if (!WriteBytes(replacement, replacement->journalFile, line, &replacement->journalPath)) return 0;
    replacement->stage = stage;
    return 1;
}

// Removes a file, which may be gone already.
void Remove(Replacement *replacement, const std::string &path) {
    if (!DeleteFileA(path.c_str()) && !IsMissing(GetLastError())) Fail(replacement, "cannot remove", &path);
}

// Closes the journal, and removes it unless something is left to do.
void EndJournal(Replacement *replacement, bool whole) {
    if (replacement->journalFile != INVALID_HANDLE_VALUE) CloseHandle(replacement->journalFile);
    replacement->journalFile = INVALID_HANDLE_VALUE;
    if (replacement->journalMade && whole) Remove(replacement, replacement->journalPath);
}

void RemoveFolder(Replacement *replacement, const std::string &path) {
    if (!RemoveDirectoryA(path.c_str()) && !IsMissing(GetLastError()))
        Fail(replacement, "cannot remove the folder", &path);
}

// Undoes the make from the last file back: a file whose new file is still
// there was never replaced, and loses only what the make wrote beside it;
// one whose new file is gone gets its old bytes back by one rename, or goes
// when there was none. Then the journal and the folders made go, unless
// something could not be put back: the journal then stays for the next try.
void PutBack(Replacement *replacement) {
    int failuresBefore = replacement->failureCount;
    for (int i = replacement->fileCount - 1; i >= 0; --i) {
        LanguageFile &file = replacement->files[i];
        bool replaced = replacement->stage >= JOURNAL_SWAPPING && !Exists(file.fresh);
        if (!replaced) {
            Remove(replacement, file.fresh);
            if (!file.copy.empty()) Remove(replacement, file.copy);
        } else if (file.copy.empty()) {
            Remove(replacement, file.path);
        } else if (!MoveFileExA(file.copy.c_str(), file.path.c_str(), Replacing) && !IsMissing(GetLastError())) {
            Fail(replacement, "cannot put back", &file.copy, &file.path);
        }
    }
    bool whole = replacement->failureCount == failuresBefore;
    EndJournal(replacement, whole);
    if (!whole) return;
    if (replacement->journal.madeDataFolder) RemoveFolder(replacement, replacement->dataFolder);
    if (replacement->journal.madeGameFolder) RemoveFolder(replacement, replacement->gameFolder);
}

// Once every new file is in place: the undo copies go, then the journal.
void Finish(Replacement *replacement) {
    int failuresBefore = replacement->failureCount;
    for (int i = 0; i < replacement->fileCount; ++i)
        if (replacement->files[i].old == IN_UNDO_COPY) Remove(replacement, replacement->files[i].copy);
    EndJournal(replacement, replacement->failureCount == failuresBefore);
}

// Whether a journal's files are language files, each once.
bool NamesLanguageFiles(const Journal &journal) {
    bool seen[LANGUAGE_COUNT] = {};
    for (const JournalFile &file : journal.files) {
        int index = 0;
        while (index < LANGUAGE_COUNT && !SameButForCase(file.name, LanguageFileName(index))) ++index;
        if (index == LANGUAGE_COUNT || seen[index]) return false;
        seen[index] = true;
    }
    return true;
}

std::string Told(const Failure &failure) {
    std::string line = std::string(failure.doing) + " " + ShownPath(*failure.path);
    if (failure.to) line += " to " + ShownPath(*failure.to);
    return line + ": " + ErrorText(failure.error);
}

const char Unchanged[] = "the game folder is left as it was";

} // namespace

int ReplaceLanguageFiles(const std::string &folder, const std::string *const images[LANGUAGE_COUNT],
                         const int unreached[LANGUAGE_COUNT], ReplaceReport *report) {
    Replacement replacement;
    Locate(&replacement, folder);
    std::vector<NamesOfOneFile> twins = FindNamesOfOneFile(folder);
    std::string problem;
    if (!twins.empty())
        problem = ShownPath(twins[0].paths[0]) + " and " + ShownPath(twins[0].paths[1]) +
                  " are one name on Windows, which fxt cannot tell apart: keep one of them";
    for (int i = 0; problem.empty() && i < LANGUAGE_COUNT; ++i)
        if (images[i]) problem = Inspect(&replacement, i, images[i], unreached[i]);
    if (!problem.empty()) {
        report->errors = {problem, "nothing was written"};
        return 0;
    }
    if (replacement.fileCount == 0) return 1;

    bool done;
    try {
        done = MakeFolder(&replacement, replacement.gameFolder, &replacement.journal.madeGameFolder) &&
               MakeFolder(&replacement, replacement.dataFolder, &replacement.journal.madeDataFolder) &&
               StartJournal(&replacement, JournalText(replacement.journal));
        for (int i = 0; done && i < replacement.fileCount; ++i) {
            const LanguageFile &file = replacement.files[i];
            done = (file.copy.empty() || WriteNewFile(&replacement, file.copy, file.oldBytes)) &&
                   WriteNewFile(&replacement, file.fresh, *file.image);
        }
        done = done && RecordStage(&replacement, JournalStageLine(JOURNAL_SWAPPING), JOURNAL_SWAPPING);
        for (int i = 0; done && i < replacement.fileCount; ++i) {
            const LanguageFile &file = replacement.files[i];
            done = MoveFileExA(file.fresh.c_str(), file.path.c_str(), Replacing) ||
                   Fail(&replacement, "cannot move", &file.fresh, &file.path);
        }
        done = done && RecordStage(&replacement, JournalStageLine(JOURNAL_DONE), JOURNAL_DONE);
    } catch (...) {
        // Memory can still run out in a system call's own work.
        PutBack(&replacement);
        throw;
    }
    if (!done) {
        PutBack(&replacement);
        if (replacement.anotherMake) {
            report->errors = {AnotherMakeIsWorking(replacement), "nothing was written"};
            return 0;
        }
        for (int i = 0; i < replacement.failureCount; ++i) report->errors.push_back(Told(replacement.failures[i]));
        report->errors.push_back(replacement.failureCount == 1 ? Unchanged
                                                               : "the game folder could not be left as it was: see above");
        return 0;
    }

    Finish(&replacement);
    for (int i = 0; i < replacement.failureCount; ++i)
        report->warnings.push_back(Told(replacement.failures[i]) + " The next fxt command removes it.");
    for (int i = 0; i < replacement.fileCount; ++i) {
        const LanguageFile &file = replacement.files[i];
        std::string backup = file.name + ".bak";
        if (file.old == IN_NEW_BACKUP) report->backups.push_back("kept " + ShownPath(file.path) + " as it was in " + backup);
        if (file.unreached)
            report->warnings.push_back(
                ShownPath(file.path) + " held " + Counted(file.unreached, "entry", "entries") +
                " that loading never reaches (fxt check tells where); " +
                (file.old == IN_NEW_BACKUP ? backup + " keeps them" : "they are not in " + backup + ", kept from before"));
    }
    return 1;
}

int RecoverInterruptedMake(const std::string &folder, std::vector<std::string> *messages) {
    Replacement replacement;
    Locate(&replacement, folder);
    // Held without sharing while it is read and acted on, as a make holds it.
    HANDLE journal = CreateFileA(replacement.journalPath.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (journal == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (IsMissing(error)) return 1;
        messages->push_back(error == ERROR_SHARING_VIOLATION ? AnotherMakeIsWorking(replacement)
                                                              : "cannot read " + ShownPath(replacement.journalPath) +
                                                                    ": " + ErrorText(error));
        return 0;
    }
    std::string text;
    Journal found;
    JournalStage stage;
    int read = ReadWholeHandle(journal, &text);
    if (!read || !ParseJournal(text, &found, &stage) || !NamesLanguageFiles(found)) {
        std::string shown = ShownPath(replacement.journalPath);
        messages->push_back(!read ? "cannot read " + shown + ": " + LastErrorText()
                                  : shown + " is not a journal fxt make wrote; move it away");
        CloseHandle(journal);
        return 0;
    }
    for (const JournalFile &file : found.files) AddFile(&replacement, file.name, file.old);
    replacement.journal = found;
    replacement.journalFile = journal;
    replacement.journalMade = true;
    replacement.stage = stage;
    if (stage == JOURNAL_DONE)
        Finish(&replacement);
    else
        PutBack(&replacement);
    if (replacement.failureCount > 0) {
        messages->push_back("an earlier fxt make of this folder was interrupted, and putting the folder back failed:");
        for (int i = 0; i < replacement.failureCount; ++i) messages->push_back(Told(replacement.failures[i]));
        messages->push_back("that is left to do; the next fxt command tries it again, and does nothing else until it succeeds");
        return 0;
    }
    messages->push_back(stage == JOURNAL_DONE ? "an earlier fxt make of this folder was interrupted once its files were "
                                                "in place; it is finished now"
                                              : "an earlier fxt make of this folder was interrupted; the files are as "
                                                "they were before it");
    return 1;
}
