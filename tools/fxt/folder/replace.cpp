// Replacing the language files all or none. The journal is taken before
// anything else is looked at, and the plan, with the checksums of every
// file to be written, is signed and flushed into it before the first
// change; each file the make writes has its identity recorded as soon as
// it exists. A language file is only ever replaced by one rename of its new
// file over its name, so that it is never missing; its old bytes are copied
// first. Every removal and rename is made through a handle on the file
// itself.
#include "replace.h"

#include "checked_acts.h"
#include "file_facts.h"
#include "files.h"
#include "journal_key.h"
#include "names.h"
#include "replacement.h"

#include "tools/fxt/formats/sha256.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

#include <random>
#include <stdio.h>

namespace {

// No language file comes near it; a larger one is not read whole.
const unsigned long long LargestLanguageFile = 1ull << 30;

// What the make does to one file, beside what its journal says of it.
struct Making {
    const std::string *image = nullptr;
    std::string oldBytes;
    int unreached = 0;
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
    if (MakeFolderAt(path)) {
        *made = true;
        return 1;
    }
    DWORD attributes = PathAttributes(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    *failure = FailedCall("make the folder", path);
    return 0;
}

// The name the language file of LanguageIndex index has in GTADATA, in the
// letter case it has there.
std::string FoundName(const Replacement &replacement, int index) {
    FoundFile found;
    HANDLE search = FindFirstPath(replacement.gameFolder + LanguageFileNames[index], &found);
    if (search == INVALID_HANDLE_VALUE) return LanguageFileName(index);
    FindClose(search);
    return found.name;
}

// What stands where fxt make keeps a file of its own: nothing, or a file.
std::string KeptFileProblem(const std::string &path, const FileFacts &facts, const std::string &keeps) {
    if (facts.kind == FILE_UNREADABLE) return ShownPath(path) + " cannot be looked at: " + ErrorText(facts.error);
    if (facts.kind == FILE_ABSENT || facts.kind == FILE_PLAIN) return "";
    return ShownPath(path) + " is " + KindInWords(facts.kind) + ", where fxt make keeps " + keeps + ": move it away";
}

// Finds the language file of LanguageIndex index and what stands in the way
// of replacing it with the image making has; returns that, or "" when
// nothing does, having added the file to the journal's plan.
std::string Inspect(Replacement *replacement, int index, Making *making) {
    JournalFile file;
    file.name = FoundName(*replacement, index);
    std::string path = InDataFolder(*replacement, file.name), shown = ShownPath(path);
    FileFacts language = LookAt(path, LOOK_AT_BYTES, LargestLanguageFile);
    if (language.kind == FILE_UNREADABLE)
        return shown + (language.error == ERROR_SHARING_VIOLATION ? " cannot be replaced: " : " cannot be read: ") +
               ErrorText(language.error);
    file.hasOld = language.kind != FILE_ABSENT;
    if (file.hasOld && (language.kind == FILE_FOLDER || language.kind == FILE_SPECIAL || language.identity.empty()))
        return shown + " is " + KindInWords(language.kind) + ", not a language file";
    if (file.hasOld && !language.kept) return shown + " is larger than a language file can be";
    if (language.readOnly) return shown + " is read-only";
    std::string backupPath = InDataFolder(*replacement, BackupName(file));
    std::string previousPath = InDataFolder(*replacement, PreviousName(file.name));
    FileFacts backup = LookAt(backupPath, LOOK_ONLY), previous = LookAt(previousPath, LOOK_ONLY);
    std::string problem = KeptFileProblem(backupPath, backup, "the backup of " + file.name);
    if (problem.empty()) problem = KeptFileProblem(previousPath, previous, file.name + " as it was before the last make");
    if (!problem.empty()) return problem;
    file.newBackup = file.hasOld && backup.kind == FILE_ABSENT;
    // Never written over: they may be someone's.
    for (const std::string &own : {path + ".new", file.hasOld ? InDataFolder(*replacement, CopyName(file)) : "",
                                   file.newBackup ? InDataFolder(*replacement, NewBackupName(file)) : ""})
        if (!own.empty() && LookAt(own, LOOK_ONLY).kind != FILE_ABSENT)
            return ShownPath(own) + " is in the way: fxt make writes there while it works; move it away";
    if (file.hasOld) {
        // What a rename needs: no one else holds the file without sharing it.
        HANDLE probe = OpenPath(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL);
        if (probe == INVALID_HANDLE_VALUE) return shown + " cannot be replaced: " + LastErrorText();
        CloseHandle(probe);
        file.oldSum = FileSum{language.size, language.sha256};
        making->oldBytes = language.bytes;
    }
    file.newSum = FileSum{making->image->size(), Sha256Of(*making->image)};
    replacement->journal.files.push_back(file);
    return "";
}

// The NAME.prev files the make removes once done, each as it is now: every
// one there when the make keeps what it replaces (a replaced file's is
// taken by the file it replaces), or all of them when it puts them back.
std::string PlanDrops(Replacement *replacement) {
    for (int index = 0; index < LANGUAGE_COUNT; ++index) {
        std::string name = FoundName(*replacement, index), path = InDataFolder(*replacement, PreviousName(name));
        FileFacts previous = LookAt(path, LOOK_SUM);
        if (previous.kind == FILE_ABSENT) continue;
        if (previous.kind != FILE_PLAIN) return KeptFileProblem(path, previous, name + " as it was before the last make");
        if (previous.sha256.empty()) return ShownPath(path) + " cannot be read to its end";
        replacement->journal.drops.push_back(
            JournalDrop{previous.name, FileSum{previous.size, previous.sha256}, previous.identity});
    }
    return "";
}

// Each file that has an image looked at, and what the make would remove,
// with nothing written: the journal's plan, or what stops the make.
std::string PlanMake(Make *make, const ReplaceRequest &request) {
    int count = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        if (!request.images[i]) continue;
        make->files[count].image = request.images[i];
        make->files[count].unreached = request.unreached[i];
        std::string problem = Inspect(&make->replacement, i, &make->files[count++]);
        if (!problem.empty()) return problem;
    }
    return PlanDrops(&make->replacement);
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

// Lines signed onto the journal, and on the disk before the call returns.
int Record(Make *make, const std::string &lines, JournalStage stage) {
    Replacement &replacement = make->replacement;
    std::string text = SignedJournalLines(replacement.journalText, lines, replacement.seal);
    if (!WriteAll(replacement.journalFile, text)) {
        make->failure = FailedCall("write", replacement.journalPath);
        return 0;
    }
    replacement.journalText += text;
    replacement.stage = stage;
    return 1;
}

// A file made anew, its identity in the journal as soon as it exists, so
// that a kill while its bytes are written leaves it known as the make's,
// and on the disk before the call returns; then given the name it keeps,
// where that is another.
int WriteNewFile(Make *make, const std::string &name, const std::string &bytes, std::string *identity,
                 const std::string &keptName = "") {
    std::string path = InDataFolder(make->replacement, name);
    HANDLE file = OpenToAct(path, GENERIC_WRITE | DELETE, 0, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) {
        make->failure = FailedCall("write", path);
        return 0;
    }
    *identity = IdentityOf(file);
    int wrote = Record(make, JournalFileText(name, *identity), JOURNAL_PLANNED) && WriteAll(file, bytes);
    if (!wrote && make->failure.empty()) make->failure = FailedCall("write", path);
    if (wrote && !keptName.empty())
        return RenameOpenFile(file, path, InDataFolder(make->replacement, keptName), false, &make->failure);
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
        const std::string &oldBytes = make->files[i].oldBytes;
        if (file.hasOld && !WriteNewFile(make, CopyName(file), oldBytes, &file.copyIdentity)) return 0;
        if (file.newBackup &&
            !WriteNewFile(make, NewBackupName(file), oldBytes, &file.backupIdentity, BackupName(file)))
            return 0;
        if (!WriteNewFile(make, file.name + ".new", *make->files[i].image, &file.newIdentity)) return 0;
    }
    return 1;
}

int SwapFiles(Make *make) {
    Replacement &replacement = make->replacement;
    for (const JournalFile &file : replacement.journal.files) {
        std::string path = InDataFolder(replacement, file.name);
        if (!RenameChecked(path + ".new", file.newIdentity, path, true, &make->failure)) return 0;
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

// Names that Windows takes for one: refused, as fxt could not tell them apart.
int RefuseNamesOfOneFile(const std::string &folder, ReplaceReport *report) {
    std::vector<NamesOfOneFile> twins = FindNamesOfOneFile(folder);
    if (twins.empty()) return 0;
    report->errors = {ShownPath(twins[0].paths[0]) + " and " + ShownPath(twins[0].paths[1]) +
                          " are one name on Windows, which fxt cannot tell apart: keep one of them",
                      "nothing was written"};
    return 1;
}

// Every check of a make, and what it would write, with nothing written.
int DryRun(Make *make, const ReplaceRequest &request, ReplaceReport *report) {
    std::string problem = PlanMake(make, request);
    if (!problem.empty()) report->errors = {problem, "nothing was written"};
    for (const JournalFile &file : make->replacement.journal.files)
        if (file.newBackup)
            report->backups.push_back("would keep " + ShownPath(InDataFolder(make->replacement, file.name)) +
                                      " as it is now in " + BackupName(file));
    return problem.empty();
}

// The folders, the key and the journal, held without sharing while the
// make works: another make stays away. Returns 0 with what stopped it told.
int TakeJournal(Make *make, ReplaceReport *report) {
    Replacement &replacement = make->replacement;
    Journal &journal = replacement.journal;
    std::string failure;
    if (MakeFolder(replacement.gameFolder, &journal.madeGameFolder, &failure) &&
        MakeFolder(replacement.dataFolder, &journal.madeDataFolder, &failure) &&
        UserJournalKey(true, &replacement.seal.key, &failure) == JOURNAL_KEY_READ) {
        replacement.seal.folder = LookAt(replacement.dataFolder, LOOK_ONLY).identity;
        failure.clear();
        replacement.journalFile = OpenToAct(replacement.journalPath, GENERIC_WRITE | DELETE, 0, CREATE_NEW);
    }
    if (replacement.journalFile != INVALID_HANDLE_VALUE) return 1;
    DWORD error = GetLastError();
    std::vector<std::string> failures;
    RemoveMadeFolders(replacement, &failures);
    if (failure.empty() && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS))
        report->errors = {AnotherMakeIsWorking(replacement), "nothing was written"};
    else
        report->errors = {"nothing was written: " +
                          (!failure.empty() ? failure
                                            : ShownPath(replacement.dataFolder) + " cannot be written to: " + ErrorText(error))};
    report->errors.insert(report->errors.end(), failures.begin(), failures.end());
    return 0;
}

// Plan, copies and new files, the swap and the end, each recorded: 1 when
// every new file is in place.
int WriteAndSwap(Make *make) {
    Replacement &replacement = make->replacement;
    replacement.journal.make = RandomIdentifier();
    try {
        return Record(make, JournalPlanText(replacement.journal), JOURNAL_PLANNED) && WriteFiles(make) &&
               Record(make, JournalSwappingText(), JOURNAL_SWAPPING) && SwapFiles(make) &&
               Record(make, JournalDoneText(), JOURNAL_DONE);
    } catch (...) {
        // Memory can still run out in a system call's own work.
        std::vector<std::string> ignored;
        if (!SettleMake(replacement, &ignored, &ignored) || !EndJournal(&replacement, &ignored))
            LeaveJournal(&replacement);
        throw;
    }
}

// A make that stopped part of the way: what it wrote is undone.
void PutBack(Make *make, ReplaceReport *report) {
    Replacement &replacement = make->replacement;
    std::vector<std::string> mismatches, failures;
    report->errors = {make->failure};
    bool undone = SettleMake(replacement, &mismatches, &failures) && EndJournal(&replacement, &failures);
    LeaveJournal(&replacement);
    for (const std::string &left : mismatches) report->errors.push_back("left as it is: " + left);
    report->errors.insert(report->errors.end(), failures.begin(), failures.end());
    report->errors.push_back(!undone ? "the game folder could not be left as it was: the next fxt command puts back "
                                       "what is left"
                             : mismatches.empty() ? "the game folder is left as it was"
                                                  : "the game folder is left as it was, but for what is told above");
}

// Every new file in place: the copies become NAME.prev or go, then the
// journal; the backups and what loading never reached are told.
void Finish(Make *make, ReplaceReport *report) {
    Replacement &replacement = make->replacement;
    std::vector<std::string> mismatches, failures;
    if (!SettleMake(replacement, &mismatches, &failures) || !EndJournal(&replacement, &failures))
        LeaveJournal(&replacement);
    for (const std::string &left : mismatches)
        report->warnings.push_back("left as it is: " + left + "; the next fxt command finishes the make");
    for (const std::string &failed : failures)
        report->warnings.push_back(failed + "; the next fxt command finishes the make");
    const Journal &journal = replacement.journal;
    for (size_t i = 0; i < journal.files.size(); ++i) {
        const JournalFile &file = journal.files[i];
        std::string path = InDataFolder(replacement, file.name), backup = BackupName(file);
        if (file.newBackup) report->backups.push_back("kept " + ShownPath(path) + " as it was in " + backup);
        if (make->files[i].unreached)
            report->warnings.push_back(ShownPath(path) + " held " + Counted(make->files[i].unreached, "entry", "entries") +
                                       " that loading never reaches (fxt check tells where); " +
                                       (file.newBackup ? backup + " keeps them"
                                                       : "they are not in " + backup + ", kept from before"));
    }
}

} // namespace

int ReplaceLanguageFiles(const std::string &folder, const ReplaceRequest &request, ReplaceReport *report) {
    Make make;
    Locate(&make.replacement, folder);
    if (RefuseNamesOfOneFile(folder, report)) return 0;
    make.replacement.journal.keepsPrevious = request.previous == KEEP_PREVIOUS;
    bool any = false;
    for (const std::string *image : request.images) any |= image != nullptr;
    // A make that changes no file leaves the last one's NAME.prev.
    if (!any && request.previous == KEEP_PREVIOUS) return 1;
    if (request.dryRun) return DryRun(&make, request, report);
    if (!TakeJournal(&make, report)) return 0;
    std::string problem = PlanMake(&make, request);
    if (!problem.empty()) {
        Abandon(&make, problem, report);
        return 0;
    }
    if (!WriteAndSwap(&make)) {
        PutBack(&make, report);
        return 0;
    }
    Finish(&make, report);
    return 1;
}
