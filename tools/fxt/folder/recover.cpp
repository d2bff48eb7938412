// What the next fxt command does with the journal of a make that did not
// finish: acts on it only where the folder holds just what it says, and
// moves aside, untouched, a journal that does not.
#include "replace.h"

#include "file_facts.h"
#include "files.h"
#include "names.h"
#include "replacement.h"

#include "tools/fxt/platform/platform.h"

namespace {

const char Undone[] = "an earlier fxt make of this folder was interrupted; the files are as they were before it";
const char Finished[] = "an earlier fxt make of this folder was interrupted once its files were in place; it is "
                        "finished now";

// Whether names are language files' (with a suffix), each once.
template <typename Named>
bool NamesLanguageFiles(const std::vector<Named> &files, const char *suffix) {
    bool seen[LANGUAGE_COUNT] = {};
    for (const Named &file : files) {
        int index = 0;
        while (index < LANGUAGE_COUNT && !SameButForCase(file.name, LanguageFileName(index) + suffix)) ++index;
        if (index == LANGUAGE_COUNT || seen[index]) return false;
        seen[index] = true;
    }
    return true;
}

// Whether each file the make wrote once it was swapping has its identity.
bool KnowsItsFiles(const Journal &journal, JournalStage stage) {
    if (stage < JOURNAL_SWAPPING) return true;
    for (const JournalFile &file : journal.files)
        if (file.newIdentity.empty() || (file.hasOld && file.copyIdentity.empty()) ||
            (file.newBackup && file.backupIdentity.empty()))
            return false;
    return true;
}

// The journal moved aside, nothing else touched.
FolderState Reject(Replacement *replacement, const std::string &why, std::vector<std::string> *messages) {
    if (replacement->journalFile != INVALID_HANDLE_VALUE) CloseHandle(replacement->journalFile);
    replacement->journalFile = INVALID_HANDLE_VALUE;
    std::string journal = ShownPath(replacement->journalPath);
    std::string aside = InDataFolder(*replacement, RejectedJournalName);
    if (!MovePath(replacement->journalPath, aside,
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        messages->push_back(journal + " " + why + ": it was not acted on, and could not be moved aside (" +
                            LastErrorText() + "); nothing was changed");
    else
        messages->push_back(journal + " " + why + ": it was not acted on and is kept as " + RejectedJournalName +
                            "; nothing else was changed");
    return FOLDER_UNSETTLED;
}

} // namespace

FolderState RecoverInterruptedMake(const std::string &folder, std::vector<std::string> *messages) {
    Replacement replacement;
    Locate(&replacement, folder);
    replacement.fromJournal = true;
    std::string journal = ShownPath(replacement.journalPath);
    FileFacts facts = LookAt(replacement.journalPath, LOOK_AT_BYTES, LARGEST_JOURNAL);
    switch (facts.kind) {
    case FILE_ABSENT:
        return FOLDER_SETTLED;
    case FILE_UNREADABLE:
        if (facts.error == ERROR_SHARING_VIOLATION) {
            messages->push_back("another fxt make is working on this folder (" + journal +
                                " is in use); try again once it has finished");
            return FOLDER_BUSY;
        }
        messages->push_back("cannot read " + journal + ": " + ErrorText(facts.error) + "; it was not acted on");
        return FOLDER_UNSETTLED;
    case FILE_LINK:
    case FILE_SPECIAL:
        // Moved, what a link leads to could go with it, as under Wine,
        // which moves no pipe either.
        messages->push_back(journal + " is " + KindInWords(facts.kind) + ", which fxt neither reads nor moves: remove "
                                                                          "it; nothing was changed");
        return FOLDER_UNSETTLED;
    case FILE_PLAIN:
        break;
    default:
        return Reject(&replacement, "is " + KindInWords(facts.kind) + ", not a journal fxt make wrote", messages);
    }
    if (!facts.kept)
        return Reject(&replacement, "is larger than a journal of fxt make can be", messages);
    // Held without sharing while it is acted on, as a make holds it.
    replacement.journalFile = OpenPath(replacement.journalPath, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (replacement.journalFile == INVALID_HANDLE_VALUE) {
        messages->push_back(GetLastError() == ERROR_SHARING_VIOLATION
                                ? "another fxt make is working on this folder (" + journal +
                                      " is in use); try again once it has finished"
                                : "cannot read " + journal + ": " + LastErrorText() + "; it was not acted on");
        return GetLastError() == ERROR_SHARING_VIOLATION ? FOLDER_BUSY : FOLDER_UNSETTLED;
    }
    std::string problem;
    if (IdentityOf(replacement.journalFile) != facts.identity)
        return Reject(&replacement, "changed while fxt read it", messages);
    if (!ParseJournal(facts.bytes, &replacement.journal, &replacement.stage, &problem))
        return Reject(&replacement, "is not a journal fxt make wrote (" + problem + ")", messages);
    if (!NamesLanguageFiles(replacement.journal.files, "") || !NamesLanguageFiles(replacement.journal.drops, ".prev") ||
        !KnowsItsFiles(replacement.journal, replacement.stage))
        return Reject(&replacement, "is not a journal fxt make wrote (its files are not language files, each once, "
                                    "with what it wrote)",
                      messages);
    std::vector<std::string> mismatches = UndoMismatches(replacement);
    if (!mismatches.empty())
        return Reject(&replacement, "does not match the folder (" + mismatches[0] + ")", messages);

    std::vector<std::string> failures;
    if (!Undo(replacement, &mismatches, &failures) || !EndJournal(&replacement, &failures)) {
        LeaveJournal(&replacement);
        messages->push_back("an earlier fxt make of this folder was interrupted, and putting the folder back failed:");
        messages->insert(messages->end(), failures.begin(), failures.end());
        messages->push_back("that is left to do; the next fxt command tries it again, and no fxt command writes here "
                            "until it succeeds");
        return FOLDER_UNSETTLED;
    }
    messages->push_back(replacement.stage == JOURNAL_DONE ? Finished : Undone);
    return FOLDER_SETTLED;
}
