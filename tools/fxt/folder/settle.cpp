// Settling a make that did not finish, one proved step at a time: undoing
// it, or finishing it once every new file was in place. Each file is
// looked at before anything is done, and acted on through a handle on the
// file itself whose identity is checked again: a file the make is to
// remove or rename must be a plain file under the name the journal gives
// that the make wrote, and a copy put back must hold the old bytes, so that
// a folder that is not as the journal says leads to nothing being done.
#include "replacement.h"

#include "checked_acts.h"
#include "file_facts.h"
#include "files.h"

#include "tools/fxt/platform/platform.h"

namespace {

// A file to remove, or one to move over another: a copy over its language
// file, or to NAME.prev; each with the identity it had when it was looked
// at, which it must still have.
struct SettleStep {
    std::string path;
    std::string identity;
    std::string to;  // "" to remove it
    bool replace;    // what is at to: the make's new file, which the copy puts back
};

// A file the make writes, as it looks: where the journal names it, the
// identity the make recorded, the bytes it planned, and whether it is one
// of the make's own working files (NAME.new, NAME.old, NAME.bak.new), which
// a make killed before it recorded the identity may have left empty or
// holding the planned bytes.
struct Made {
    std::string path;
    std::string name;
    FileFacts facts;
    std::string identity;
    FileSum planned;
    bool working;
};

// What settling one file finds, and the steps it plans.
struct FilePlan {
    const Replacement &replacement;
    const JournalFile &file;
    std::string path;
    FileFacts language;
    Made fresh, copy, backup, namedBackup;
    bool isOld, isNew;
    std::vector<SettleStep> *steps;
    std::vector<std::string> *mismatches;
};

bool Holds(const FileFacts &facts, const FileSum &sum) {
    return (facts.kind == FILE_PLAIN || facts.kind == FILE_LINK) && facts.size == sum.size && facts.sha256 == sum.sha256;
}

// Whether a file is one the make wrote: a plain file under the very name
// the journal gives, with the identity the make recorded; or, for a working
// file of a make killed before it recorded one, empty or holding the bytes
// it planned. A make settling its own work knows each file it made.
bool Wrote(const Replacement &replacement, const Made &made) {
    if (made.facts.kind != FILE_PLAIN || made.facts.name != made.name) return false;
    if (!made.identity.empty()) return made.facts.identity == made.identity;
    return made.working && replacement.fromJournal &&
           (made.facts.size == 0 || (made.facts.size == made.planned.size && made.facts.sha256 == made.planned.sha256));
}

std::string NotWritten(const std::string &path) {
    return ShownPath(path) + " is not a file the make wrote";
}

Made LookAtMade(const Replacement &replacement, bool planned, const std::string &name, const std::string &identity,
                const FileSum &sum, bool working) {
    std::string path = planned ? InDataFolder(replacement, name) : "";
    return Made{path, name, planned ? LookAt(path, LOOK_SUM) : FileFacts(), identity, sum, working};
}

bool Present(const Made &made) {
    return !made.path.empty() && made.facts.kind != FILE_ABSENT;
}

// Removes a file the make wrote, where it is there.
void Remove(FilePlan &plan, const Made &made) {
    if (!Present(made)) return;
    if (Wrote(plan.replacement, made)) plan.steps->push_back({made.path, made.facts.identity, "", false});
    else plan.mismatches->push_back(NotWritten(made.path));
}

// The plan was not whole: the make wrote no file.
void PlanUnplanned(FilePlan &plan) {
    for (const Made *own : {&plan.fresh, &plan.copy, &plan.backup, &plan.namedBackup})
        if (Present(*own)) plan.mismatches->push_back(NotWritten(own->path));
}

// Done: each copy becomes NAME.prev, or goes; the backup stays.
void PlanFinish(FilePlan &plan) {
    const Made &copy = plan.copy;
    if (!plan.isNew) {
        plan.mismatches->push_back(ShownPath(plan.path) + " is not the file the make put in place");
    } else if (!plan.replacement.journal.keepsPrevious) {
        Remove(plan, copy);
    } else if (Present(copy)) {
        std::string previous = InDataFolder(plan.replacement, PreviousName(plan.file.name));
        bool taken = false;
        for (const SettleStep &step : *plan.steps) taken |= step.path == previous && step.to.empty();
        if (!Wrote(plan.replacement, copy) || copy.identity.empty() || !Holds(copy.facts, plan.file.oldSum))
            plan.mismatches->push_back(NotWritten(copy.path));
        else if (taken || LookAt(previous, LOOK_ONLY).kind == FILE_ABSENT)
            plan.steps->push_back({copy.path, copy.facts.identity, previous, false});
        // else the NAME.prev there stays, as told of it, and the copy with it
    }
}

// Before every new file was in place: what the make wrote beside the
// language file goes, and a language file it replaced gets its copy back.
void PlanUndo(FilePlan &plan) {
    const Made &copy = plan.copy;
    Remove(plan, plan.backup);
    Remove(plan, plan.namedBackup);
    if (Present(plan.fresh)) {
        // Never put in place.
        Remove(plan, plan.fresh);
        if (!plan.isOld) plan.mismatches->push_back(ShownPath(plan.path) + " does not hold what it held before the make");
        Remove(plan, copy);
    } else if (plan.isNew && plan.replacement.stage >= JOURNAL_SWAPPING) {
        if (!plan.file.hasOld)
            plan.steps->push_back({plan.path, plan.language.identity, "", false});
        else if (Wrote(plan.replacement, copy) && Holds(copy.facts, plan.file.oldSum))
            plan.steps->push_back({copy.path, copy.facts.identity, plan.path, true});
        else
            plan.mismatches->push_back(ShownPath(copy.path) + " is not the copy of the old bytes the make kept");
    } else if (plan.isOld) {
        Remove(plan, copy);
    } else {
        plan.mismatches->push_back(ShownPath(plan.path) +
                                   " holds neither what it held before the make nor what the make wrote");
    }
}

typedef void (*StagePlan)(FilePlan &plan);
const StagePlan StagePlans[] = {PlanUnplanned, PlanUndo, PlanUndo, PlanFinish};

void PlanFile(const Replacement &replacement, const JournalFile &file, std::vector<SettleStep> *steps,
              std::vector<std::string> *mismatches) {
    std::string path = InDataFolder(replacement, file.name);
    FileFacts language = LookAt(path, LOOK_SUM);
    FilePlan plan = {replacement, file, path, language,
                     LookAtMade(replacement, true, file.name + ".new", file.newIdentity, file.newSum, true),
                     LookAtMade(replacement, file.hasOld, CopyName(file), file.copyIdentity, file.oldSum, true),
                     LookAtMade(replacement, file.newBackup, NewBackupName(file), file.backupIdentity, file.oldSum, true),
                     LookAtMade(replacement, file.newBackup, BackupName(file), file.backupIdentity, file.oldSum, false),
                     false, false, steps, mismatches};
    // What cannot be looked at cannot be proved.
    for (const auto &looked : {std::make_pair(&path, &language), std::make_pair(&plan.fresh.path, &plan.fresh.facts),
                               std::make_pair(&plan.copy.path, &plan.copy.facts),
                               std::make_pair(&plan.backup.path, &plan.backup.facts),
                               std::make_pair(&plan.namedBackup.path, &plan.namedBackup.facts)})
        if (looked.second->kind == FILE_UNREADABLE) {
            mismatches->push_back(ShownPath(*looked.first) + " cannot be looked at: " + ErrorText(looked.second->error));
            return;
        }
    bool named = language.name == file.name;
    plan.isOld = file.hasOld ? named && Holds(language, file.oldSum) : language.kind == FILE_ABSENT;
    plan.isNew = named && language.kind == FILE_PLAIN && !file.newIdentity.empty() &&
                 language.identity == file.newIdentity;
    StagePlans[replacement.stage](plan);
}

// A NAME.prev the make removes once done: the one the make found there.
void PlanDrop(const Replacement &replacement, const JournalDrop &drop, std::vector<SettleStep> *steps,
              std::vector<std::string> *mismatches) {
    std::string path = InDataFolder(replacement, drop.name);
    FileFacts facts = LookAt(path, LOOK_SUM);
    if (facts.kind == FILE_ABSENT) return;
    // Gone already, and the make's copy in its place.
    for (const JournalFile &file : replacement.journal.files)
        if (PreviousName(file.name) == drop.name && !file.copyIdentity.empty() && facts.identity == file.copyIdentity)
            return;
    if (facts.kind == FILE_PLAIN && facts.name == drop.name && facts.identity == drop.identity && Holds(facts, drop.sum))
        steps->push_back({path, facts.identity, "", false});
    else
        mismatches->push_back(ShownPath(path) + " is not the file the make found there");
}

// The steps: once done, the NAME.prev that go first, then the copies that
// take their names; before, each file from the last back.
std::vector<SettleStep> Plan(const Replacement &replacement, std::vector<std::string> *mismatches) {
    std::vector<SettleStep> steps;
    if (replacement.stage == JOURNAL_DONE)
        for (const JournalDrop &drop : replacement.journal.drops) PlanDrop(replacement, drop, &steps, mismatches);
    for (size_t i = replacement.journal.files.size(); i-- > 0;)
        PlanFile(replacement, replacement.journal.files[i], &steps, mismatches);
    return steps;
}

void RemoveMadeFolder(const std::string &folder, std::vector<std::string> *failures) {
    if (LookAt(folder, LOOK_ONLY).kind != FILE_FOLDER) return;
    BOOL removed = RemoveFolderAt(folder);
    DWORD error = GetLastError();
    // One that holds something is not the make's alone: it stays.
    if (!removed && error != ERROR_DIR_NOT_EMPTY && error != ERROR_ALREADY_EXISTS)
        failures->push_back(FailedCall("remove the folder", folder));
    else if (removed && LookAt(folder, LOOK_ONLY).kind != FILE_ABSENT)
        failures->push_back("cannot remove the folder " + ShownPath(folder) + ": it is still there");
}

} // namespace

void Locate(Replacement *replacement, const std::string &folder) {
    replacement->gameFolder = folder;
    replacement->dataFolder = folder + DATA_FOLDER_NAME;
    replacement->journalPath = InDataFolder(*replacement, JournalName);
}

std::string InDataFolder(const Replacement &replacement, const std::string &name) {
    return replacement.dataFolder + "\\" + name;
}

std::string FailedCall(const char *doing, const std::string &path, const std::string &to) {
    std::string reason = LastErrorText();
    return std::string("cannot ") + doing + " " + ShownPath(path) + (to.empty() ? "" : " to " + ShownPath(to)) + ": " +
           reason;
}

std::vector<std::string> SettleMismatches(const Replacement &replacement) {
    std::vector<std::string> mismatches;
    Plan(replacement, &mismatches);
    return mismatches;
}

int SettleMake(const Replacement &replacement, std::vector<std::string> *mismatches, std::vector<std::string> *failures) {
    size_t failed = failures->size(), unproved = mismatches->size();
    // Steps after one that failed may need it: they are left to the next
    // command too.
    for (const SettleStep &step : Plan(replacement, mismatches)) {
        std::string failure;
        if (!(step.to.empty() ? RemoveChecked(step.path, step.identity, &failure)
                              : RenameChecked(step.path, step.identity, step.to, step.replace, &failure))) {
            failures->push_back(failure);
            break;
        }
    }
    return failures->size() == failed && mismatches->size() == unproved;
}

void LeaveJournal(Replacement *replacement) {
    if (replacement->journalFile != INVALID_HANDLE_VALUE) CloseHandle(replacement->journalFile);
    replacement->journalFile = INVALID_HANDLE_VALUE;
}

int EndJournal(Replacement *replacement, std::vector<std::string> *failures) {
    std::string failure;
    HANDLE journal = replacement->journalFile;
    replacement->journalFile = INVALID_HANDLE_VALUE;
    if (journal == INVALID_HANDLE_VALUE || !RemoveOpenFile(journal, replacement->journalPath, &failure)) {
        failures->push_back(journal == INVALID_HANDLE_VALUE ? "the journal is not open" : failure);
        return 0;
    }
    return RemoveMadeFolders(*replacement, failures);
}

int RemoveMadeFolders(const Replacement &replacement, std::vector<std::string> *failures) {
    size_t failed = failures->size();
    if (replacement.journal.madeDataFolder) RemoveMadeFolder(replacement.dataFolder, failures);
    if (replacement.journal.madeGameFolder)
        RemoveMadeFolder(replacement.gameFolder.substr(0, replacement.gameFolder.size() - 1), failures);
    return failures->size() == failed;
}
