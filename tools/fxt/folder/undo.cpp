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

// A file to remove, or a copy to rename over its language file.
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

void PlanFile(const Replacement &replacement, const JournalFile &file, std::vector<UndoStep> *steps,
              std::vector<std::string> *mismatches) {
    bool hasOld = file.old != NO_OLD_FILE;
    std::string path = InDataFolder(replacement, file.name), fresh = path + ".new";
    std::string copy = hasOld ? InDataFolder(replacement, CopyName(file)) : "";
    FileFacts language = LookAt(path, LOOK_SUM), made = LookAt(fresh, LOOK_SUM);
    FileFacts kept = hasOld ? LookAt(copy, LOOK_SUM) : FileFacts();
    // What cannot be looked at cannot be proved.
    for (const auto &looked : {std::make_pair(&path, &language), std::make_pair(&fresh, &made), std::make_pair(&copy, &kept)})
        if (looked.second->kind == FILE_UNREADABLE) {
            mismatches->push_back(ShownPath(*looked.first) + " cannot be looked at: " + ErrorText(looked.second->error));
            return;
        }
    bool isOld = hasOld ? Holds(language, file.oldSum) : language.kind == FILE_ABSENT;
    bool isNew = language.kind == FILE_PLAIN && !file.newIdentity.empty() && language.identity == file.newIdentity;
    auto removeCopy = [&] {
        if (kept.kind == FILE_ABSENT) return;
        if (Wrote(replacement, kept, file.copyIdentity, file.oldSum)) steps->push_back({copy, "", ""});
        else mismatches->push_back(NotWritten(copy));
    };
    if (replacement.stage == JOURNAL_PLANNING) {
        // The plan was not whole: the make wrote no file.
        for (const std::string &own : {fresh, copy})
            if (!own.empty() && LookAt(own, LOOK_ONLY).kind != FILE_ABSENT) mismatches->push_back(NotWritten(own));
        return;
    }
    if (replacement.stage == JOURNAL_DONE) {
        if (!isNew) mismatches->push_back(ShownPath(path) + " is not the file the make put in place");
        else if (file.old == IN_UNDO_COPY) removeCopy();
        return;
    }
    if (made.kind != FILE_ABSENT) {
        // Never put in place: what the make wrote beside the file goes.
        if (Wrote(replacement, made, file.newIdentity, file.newSum)) steps->push_back({fresh, "", ""});
        else mismatches->push_back(NotWritten(fresh));
        if (!isOld) mismatches->push_back(ShownPath(path) + " does not hold what it held before the make");
        removeCopy();
    } else if (isNew && replacement.stage >= JOURNAL_SWAPPING) {
        if (!hasOld) steps->push_back({path, "", ""});
        else if (Wrote(replacement, kept, file.copyIdentity, file.oldSum) && Holds(kept, file.oldSum))
            steps->push_back({"", copy, path});
        else mismatches->push_back(ShownPath(copy) + " is not the copy of the old bytes the make kept");
    } else if (isOld) {
        removeCopy();
    } else {
        mismatches->push_back(ShownPath(path) + " holds neither what it held before the make nor what the make wrote");
    }
}

// The steps, from the last file back.
std::vector<UndoStep> Plan(const Replacement &replacement, std::vector<std::string> *mismatches) {
    std::vector<UndoStep> steps;
    for (size_t i = replacement.journal.files.size(); i-- > 0;)
        PlanFile(replacement, replacement.journal.files[i], &steps, mismatches);
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
    BOOL removed = RemoveDirectoryA(folder.c_str());
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
            Removed(DeleteFileA(step.remove.c_str()), step.remove, "remove", failures);
        } else if (!MoveFileExA(step.from.c_str(), step.to.c_str(), Replacing)) {
            failures->push_back(FailedCall("put back", step.from, step.to));
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
    return Removed(DeleteFileA(replacement->journalPath.c_str()), replacement->journalPath, "remove", failures) &&
           RemoveMadeFolders(*replacement, failures);
}

int RemoveMadeFolders(const Replacement &replacement, std::vector<std::string> *failures) {
    size_t failed = failures->size();
    if (replacement.journal.madeDataFolder) RemoveMadeFolder(replacement.dataFolder, failures);
    if (replacement.journal.madeGameFolder)
        RemoveMadeFolder(replacement.gameFolder.substr(0, replacement.gameFolder.size() - 1), failures);
    return failures->size() == failed;
}
