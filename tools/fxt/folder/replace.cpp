// Replacing the language files all or none. The journal is taken before
// anything else is looked at, and the plan, with the checksums of every
// file to be written, is flushed into it before the first change; each file
// the make writes has its identity recorded in memory as it is made, and
// in the journal once all are on the disk. A language file is only ever
// replaced by one rename of its new file over its name, so that it is never
// missing; its old bytes are copied first.
#include "replace.h"

#include "file_facts.h"
#include "files.h"
#include "names.h"
#include "replacement.h"

#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

#include <random>
#include <stdio.h>

namespace {

const DWORD Replacing = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// No language file comes near it; a larger one is not read whole.
const unsigned long long LargestLanguageFile = 1ull << 30;

// What the make does to one file, beside what its journal says of it.
struct Making {
    const std::string *image = nullptr;
    std::string oldBytes;
    int unreached = 0;
    bool swapped = false;
};

struct Make {
    Replacement replacement;
    Making files[LANGUAGE_COUNT];
    std::string failure;  // the step that stopped it
};

std::string RandomIdentifier(void) {
    std::random_device source;
    std::string identifier;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        snprintf(part, sizeof part, "%08x", (unsigned)source());
        identifier += part;
    }
    return identifier;
}

std::string AnotherMakeIsWorking(const Replacement &replacement) {
    return "another fxt make is working on this folder (" + ShownPath(replacement.journalPath) +
           " is in use); try again once it has finished";
}

int MakeFolder(const std::string &path, bool *made, std::string *failure) {
    if (CreateDirectoryA(path.c_str(), NULL)) {
        *made = true;
        return 1;
    }
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    *failure = FailedCall("make the folder", path);
    return 0;
}

// Finds the language file of LanguageIndex index and what stands in the way
// of replacing it with the image making has; returns that, or "" when
// nothing does, having added the file to the journal's plan.
std::string Inspect(Replacement *replacement, int index, Making *making) {
    std::string named = replacement->gameFolder + LanguageFileNames[index];
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(named.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    JournalFile file;
    file.name = search != INVALID_HANDLE_VALUE ? found.cFileName : LanguageFileName(index);
    std::string path = InDataFolder(*replacement, file.name), shown = ShownPath(path);
    FileFacts language = LookAt(path, LOOK_AT_BYTES, LargestLanguageFile), backup = LookAt(path + ".bak", LOOK_ONLY);
    if (language.kind == FILE_UNREADABLE)
        return shown + (language.error == ERROR_SHARING_VIOLATION ? " cannot be replaced: " : " cannot be read: ") +
               ErrorText(language.error);
    bool hasOld = language.kind != FILE_ABSENT;
    if (hasOld && (language.kind == FILE_FOLDER || language.kind == FILE_SPECIAL || language.identity.empty()))
        return shown + " is " + KindInWords(language.kind) + ", not a language file";
    if (hasOld && !language.kept) return shown + " is larger than a language file can be";
    if (language.readOnly) return shown + " is read-only";
    if (backup.kind != FILE_ABSENT && backup.kind != FILE_PLAIN)
        return ShownPath(path + ".bak") + " is " + KindInWords(backup.kind) + ", where fxt make keeps the backup of " +
               file.name + ": move it away";
    file.old = !hasOld ? NO_OLD_FILE : backup.kind == FILE_ABSENT ? IN_NEW_BACKUP : IN_UNDO_COPY;
    // Never written over: they may be someone's.
    for (const std::string &own : {path + ".new", file.old == IN_UNDO_COPY ? path + ".old" : std::string()})
        if (!own.empty() && LookAt(own, LOOK_ONLY).kind != FILE_ABSENT)
            return ShownPath(own) + " is in the way: fxt make writes there while it works; move it away";
    if (hasOld) {
        // What a rename needs: no one else holds the file without sharing it.
        HANDLE probe = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (probe == INVALID_HANDLE_VALUE) return shown + " cannot be replaced: " + LastErrorText();
        CloseHandle(probe);
        file.oldSum = FileSum{language.size, language.sha256};
        making->oldBytes = language.bytes;
    }
    file.newSum = FileSum{making->image->size(), Sha256Of(*making->image)};
    replacement->journal.files.push_back(file);
    return "";
}

int WriteAll(HANDLE file, const std::string &bytes) {
    DWORD count = 0;
    BOOL wrote = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &count, NULL);
    if (wrote && count != bytes.size()) {
        SetLastError(ERROR_DISK_FULL);
        wrote = FALSE;
    }
    return wrote && FlushFileBuffers(file);
}

int Record(Make *make, const std::string &text, JournalStage stage) {
    Replacement &replacement = make->replacement;
    if (!WriteAll(replacement.journalFile, text)) {
        make->failure = FailedCall("write", replacement.journalPath);
        return 0;
    }
    replacement.stage = stage;
    return 1;
}

// A file made anew, its identity noted as soon as it exists, and on the
// disk before the call returns.
int WriteNewFile(Make *make, const std::string &path, const std::string &bytes, std::string *identity) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        make->failure = FailedCall("write", path);
        return 0;
    }
    *identity = IdentityOf(file);
    int wrote = WriteAll(file, bytes);
    if (!wrote) make->failure = FailedCall("write", path);
    if (!CloseHandle(file) && wrote) {
        make->failure = FailedCall("write", path);
        wrote = 0;
    }
    return wrote;
}

int WriteFiles(Make *make) {
    Replacement &replacement = make->replacement;
    for (size_t i = 0; i < replacement.journal.files.size(); ++i) {
        JournalFile &file = replacement.journal.files[i];
        std::string path = InDataFolder(replacement, file.name);
        if (file.old != NO_OLD_FILE &&
            !WriteNewFile(make, InDataFolder(replacement, CopyName(file)), make->files[i].oldBytes, &file.copyIdentity))
            return 0;
        if (!WriteNewFile(make, path + ".new", *make->files[i].image, &file.newIdentity)) return 0;
    }
    return 1;
}

int SwapFiles(Make *make) {
    Replacement &replacement = make->replacement;
    for (size_t i = 0; i < replacement.journal.files.size(); ++i) {
        std::string path = InDataFolder(replacement, replacement.journal.files[i].name);
        if (!MoveFileExA((path + ".new").c_str(), path.c_str(), Replacing)) {
            make->failure = FailedCall("move", path + ".new", path);
            return 0;
        }
        make->files[i].swapped = true;
    }
    return 1;
}

// Before anything was written: the journal and the folders made go.
void Abandon(Make *make, const std::string &problem, ReplaceReport *report) {
    std::vector<std::string> failures;
    EndJournal(&make->replacement, &failures);
    report->errors = {problem};
    report->errors.insert(report->errors.end(), failures.begin(), failures.end());
    report->errors.push_back("nothing was written");
}

} // namespace

int ReplaceLanguageFiles(const std::string &folder, const std::string *const images[LANGUAGE_COUNT],
                         const int unreached[LANGUAGE_COUNT], ReplaceReport *report) {
    Make make;
    Replacement &replacement = make.replacement;
    Locate(&replacement, folder);
    std::vector<NamesOfOneFile> twins = FindNamesOfOneFile(folder);
    if (!twins.empty()) {
        report->errors = {ShownPath(twins[0].paths[0]) + " and " + ShownPath(twins[0].paths[1]) +
                              " are one name on Windows, which fxt cannot tell apart: keep one of them",
                          "nothing was written"};
        return 0;
    }
    int wanted[LANGUAGE_COUNT], count = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        if (images[i]) wanted[count++] = i;
    if (count == 0) return 1;

    std::string failure;
    Journal &journal = replacement.journal;
    // Held without sharing while the make works: another make stays away.
    if (MakeFolder(folder, &journal.madeGameFolder, &failure) &&
        MakeFolder(replacement.dataFolder, &journal.madeDataFolder, &failure))
        replacement.journalFile = CreateFileA(replacement.journalPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (replacement.journalFile == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        std::vector<std::string> failures;
        RemoveMadeFolders(replacement, &failures);
        if (failure.empty() && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
            report->errors = {AnotherMakeIsWorking(replacement), "nothing was written"};
        else
            report->errors = {"nothing was written: " + (!failure.empty() ? failure
                                                                         : ShownPath(replacement.dataFolder) +
                                                                               " cannot be written to: " + ErrorText(error))};
        report->errors.insert(report->errors.end(), failures.begin(), failures.end());
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        make.files[i].image = images[wanted[i]];
        make.files[i].unreached = unreached[wanted[i]];
        std::string problem = Inspect(&replacement, wanted[i], &make.files[i]);
        if (!problem.empty()) {
            Abandon(&make, problem, report);
            return 0;
        }
    }

    journal.make = RandomIdentifier();
    bool done;
    try {
        done = Record(&make, JournalPlanText(journal), JOURNAL_PLANNED) && WriteFiles(&make) &&
               Record(&make, JournalSwappingText(journal), JOURNAL_SWAPPING) && SwapFiles(&make) &&
               Record(&make, JournalDoneText(), JOURNAL_DONE);
    } catch (...) {
        // Memory can still run out in a system call's own work.
        std::vector<std::string> ignored;
        if (!Undo(replacement, &ignored, &ignored) || !EndJournal(&replacement, &ignored)) LeaveJournal(&replacement);
        throw;
    }

    std::vector<std::string> mismatches, failures;
    if (!done) {
        report->errors = {make.failure};
        bool undone = Undo(replacement, &mismatches, &failures) && EndJournal(&replacement, &failures);
        LeaveJournal(&replacement);
        for (const std::string &left : mismatches) report->errors.push_back("left as it is: " + left);
        report->errors.insert(report->errors.end(), failures.begin(), failures.end());
        report->errors.push_back(!undone ? "the game folder could not be left as it was: the next fxt command puts "
                                           "back what is left"
                                 : mismatches.empty() ? "the game folder is left as it was"
                                                      : "the game folder is left as it was, but for what is told above");
        return 0;
    }
    // In place: the undo copies go, then the journal.
    if (!Undo(replacement, &mismatches, &failures) || !EndJournal(&replacement, &failures)) LeaveJournal(&replacement);
    for (const std::string &left : mismatches)
        report->warnings.push_back("left as it is: " + left + "; the next fxt command finishes the make");
    for (const std::string &failed : failures)
        report->warnings.push_back(failed + "; the next fxt command finishes the make");
    for (size_t i = 0; i < journal.files.size(); ++i) {
        const JournalFile &file = journal.files[i];
        std::string path = InDataFolder(replacement, file.name), backup = file.name + ".bak";
        if (file.old == IN_NEW_BACKUP) report->backups.push_back("kept " + ShownPath(path) + " as it was in " + backup);
        if (make.files[i].unreached)
            report->warnings.push_back(ShownPath(path) + " held " + Counted(make.files[i].unreached, "entry", "entries") +
                                       " that loading never reaches (fxt check tells where); " +
                                       (file.old == IN_NEW_BACKUP ? backup + " keeps them"
                                                                  : "they are not in " + backup + ", kept from before"));
    }
    return 1;
}
