// Undoing a make, or finishing it, one proved step at a time. Each file is
// looked at before anything is done: a file the make is to remove or rename
// must be a regular file under its own name that the make wrote, and a
// copy put back must hold the old bytes, so that a journal that lies about
// the folder (one that came with a game folder from the internet) leads
// to nothing being done.
#include "replacement.h"

#include "file_facts.h"
#include "files.h"

#include "tools/fxt/platform/platform.h"

#include <utility>

namespace {

// A rename replaces its target in one step and reaches the disk before the
// call returns.
const DWORD Replacing = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// A file to remove, or one to rename over another: a copy over its
// language file, or over NAME.prev.
struct UndoStep {
    std::string remove;
    std::string from, to;
};

// Whether a file is one the make wrote: with the identity the make
// recorded; or, known from a journal whose make was killed before it
// recorded one, empty or holding the bytes it planned. A make undoing
// itself knows each file it made, so one without an identity is not its.
bool Wrote(const Replacement &replacement, const FileFacts &facts, const std::string &identity, const FileSum &planned) {
    if (facts.kind != FILE_PLAIN) return false;
    if (!identity.empty()) return facts.identity == identity;
    return replacement.fromJournal && (facts.size == 0 || (facts.size == planned.size && facts.sha256 == planned.sha256));
}

bool Holds(const FileFacts &facts, const FileSum &sum) {
    return (facts.kind == FILE_PLAIN || facts.kind == FILE_LINK) && facts.size == sum.size && facts.sha256 == sum.sha256;
}

std::string NotWritten(const std::string &path) {
    return ShownPath(path) + " is not a file the make wrote";
}

// A file the make wrote beside the language file, as it looks.
struct Made {
    std::string path;
    FileFacts facts;
    std::string identity;
    FileSum planned;
};

void PlanFile(const Replacement &replacement, const JournalFile &file, std::vector<UndoStep> *steps,
              std::vector<std::string> *mismatches) {
    std::string path = InDataFolder(replacement, file.name);
    FileFacts language = LookAt(path, LOOK_SUM);
    // A file the plan does not have has no path, and is absent.
    auto made = [&](bool planned, const std::string &name, const std::string &identity, const FileSum &sum) {
        std::string at = planned ? InDataFolder(replacement, name) : "";
        return Made{at, planned ? LookAt(at, LOOK_SUM) : FileFacts(), identity, sum};
    };
    Made fresh = made(true, file.name + ".new", file.newIdentity, file.newSum);
    Made copy = made(file.hasOld, CopyName(file), file.copyIdentity, file.oldSum);
    Made backup = made(file.newBackup, BackupName(file), file.backupIdentity, file.oldSum);
    // What cannot be looked at cannot be proved.
    for (const auto &looked : {std::make_pair(&path, &language), std::make_pair(&fresh.path, &fresh.facts),
                               std::make_pair(&copy.path, &copy.facts), std::make_pair(&backup.path, &backup.facts)})
        if (looked.second->kind == FILE_UNREADABLE) {
            mismatches->push_back(ShownPath(*looked.first) + " cannot be looked at: " + ErrorText(looked.second->error));
            return;
        }
    bool isOld = file.hasOld ? Holds(language, file.oldSum) : language.kind == FILE_ABSENT;
    bool isNew = language.kind == FILE_PLAIN && !file.newIdentity.empty() && language.identity == file.newIdentity;
    auto remove = [&](const Made &made) {
        if (made.path.empty() || made.facts.kind == FILE_ABSENT) return;
        if (Wrote(replacement, made.facts, made.identity, made.planned)) steps->push_back({made.path, "", ""});
        else mismatches->push_back(NotWritten(made.path));
    };
    if (replacement.stage == JOURNAL_PLANNING) {
        // The plan was not whole: the make wrote no file.
        for (const Made *own : {&fresh, &copy, &backup})
            if (!own->path.empty() && own->facts.kind != FILE_ABSENT) mismatches->push_back(NotWritten(own->path));
        return;
    }
    bool provedCopy = Wrote(replacement, copy.facts, copy.identity, copy.planned) && Holds(copy.facts, file.oldSum);
    if (replacement.stage == JOURNAL_DONE) {
        // Done: the copy becomes NAME.prev, or goes; the backup stays.
        if (!isNew) mismatches->push_back(ShownPath(path) + " is not the file the make put in place");
        else if (!replacement.journal.keepsPrevious) remove(copy);
        else if (copy.facts.kind == FILE_ABSENT) return;
        else if (!provedCopy || copy.identity.empty()) mismatches->push_back(NotWritten(copy.path));
        else steps->push_back({"", copy.path, InDataFolder(replacement, PreviousName(file.name))});
        return;
    }
    remove(backup);
    if (fresh.facts.kind != FILE_ABSENT) {
        // Never put in place: what the make wrote beside the file goes.
        remove(fresh);
        if (!isOld) mismatches->push_back(ShownPath(path) + " does not hold what it held before the make");
        remove(copy);
    } else if (isNew && replacement.stage >= JOURNAL_SWAPPING) {
        if (!file.hasOld) steps->push_back({path, "", ""});
        else if (provedCopy) steps->push_back({"", copy.path, path});
        else mismatches->push_back(ShownPath(copy.path) + " is not the copy of the old bytes the make kept");
    } else if (isOld) {
        remove(copy);
    } else {
        mismatches->push_back(ShownPath(path) + " holds neither what it held before the make nor what the make wrote");
    }
}

// A NAME.prev the make removes once done: one that holds what the make saw.
void PlanDrop(const Replacement &replacement, const JournalDrop &drop, std::vector<UndoStep> *steps,
              std::vector<std::string> *mismatches) {
    if (replacement.stage != JOURNAL_DONE) return;
    std::string path = InDataFolder(replacement, drop.name);
    FileFacts facts = LookAt(path, LOOK_SUM);
    if (facts.kind == FILE_ABSENT) return;
    if (facts.kind == FILE_PLAIN && Holds(facts, drop.sum)) steps->push_back({path, "", ""});
    else mismatches->push_back(ShownPath(path) + " does not hold what it held before the make");
}

// The steps, from the last file back.
std::vector<UndoStep> Plan(const Replacement &replacement, std::vector<std::string> *mismatches) {
    std::vector<UndoStep> steps;
    for (size_t i = replacement.journal.files.size(); i-- > 0;)
        PlanFile(replacement, replacement.journal.files[i], &steps, mismatches);
    for (const JournalDrop &drop : replacement.journal.drops) PlanDrop(replacement, drop, &steps, mismatches);
    return steps;
}

// Wine says a file or folder is removed when its removal is only asked for,
// and leaves it where it cannot be removed: it is looked for again.
int Removed(BOOL said, const std::string &path, const char *what, std::vector<std::string> *failures) {
    if (!said) failures->push_back(FailedCall(what, path));
    else if (LookAt(path, LOOK_ONLY).kind != FILE_ABSENT)
        failures->push_back(std::string("cannot ") + what + " " + ShownPath(path) + ": it is still there");
    else return 1;
    return 0;
}

void RemoveMadeFolder(const std::string &folder, std::vector<std::string> *failures) {
    if (LookAt(folder, LOOK_ONLY).kind != FILE_FOLDER) return;
    BOOL removed = RemoveFolderAt(folder);
    DWORD error = GetLastError();
    // One that holds something is not the make's alone: it stays.
    if (removed || (error != ERROR_DIR_NOT_EMPTY && error != ERROR_ALREADY_EXISTS))
        Removed(removed, folder, "remove the folder", failures);
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

std::vector<std::string> UndoMismatches(const Replacement &replacement) {
    std::vector<std::string> mismatches;
    Plan(replacement, &mismatches);
    return mismatches;
}

int Undo(const Replacement &replacement, std::vector<std::string> *mismatches, std::vector<std::string> *failures) {
    size_t failed = failures->size(), unproved = mismatches->size();
    for (const UndoStep &step : Plan(replacement, mismatches)) {
        if (!step.remove.empty()) {
            Removed(DeletePath(step.remove), step.remove, "remove", failures);
        } else if (!MovePath(step.from, step.to, Replacing)) {
            failures->push_back(FailedCall("move", step.from, step.to));
        }
    }
    return failures->size() == failed && mismatches->size() == unproved;
}

void LeaveJournal(Replacement *replacement) {
    if (replacement->journalFile != INVALID_HANDLE_VALUE) CloseHandle(replacement->journalFile);
    replacement->journalFile = INVALID_HANDLE_VALUE;
}

int EndJournal(Replacement *replacement, std::vector<std::string> *failures) {
    LeaveJournal(replacement);
    return Removed(DeletePath(replacement->journalPath), replacement->journalPath, "remove", failures) &&
           RemoveMadeFolders(*replacement, failures);
}

int RemoveMadeFolders(const Replacement &replacement, std::vector<std::string> *failures) {
    size_t failed = failures->size();
    if (replacement.journal.madeDataFolder) RemoveMadeFolder(replacement.dataFolder, failures);
    if (replacement.journal.madeGameFolder)
        RemoveMadeFolder(replacement.gameFolder.substr(0, replacement.gameFolder.size() - 1), failures);
    return failures->size() == failed;
}
