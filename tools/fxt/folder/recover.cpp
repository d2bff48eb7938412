// What the next fxt command does with the journal of a make that did not
// finish: acts on it only where this user's fxt signed it for this folder
// and the folder holds just what it says, and moves aside, untouched, a
// journal that does not. The journal is read through the handle it is
// held by, opened as itself.
#include "replace.h"

#include "checked_acts.h"
#include "file_facts.h"
#include "files.h"
#include "journal_key.h"
#include "names.h"
#include "replacement.h"

#include "tools/fxt/platform/platform.h"

namespace {

const char Undone[] = "an earlier fxt make of this folder was interrupted; the files are as they were before it";
const char Finished[] = "an earlier fxt make of this folder was interrupted once its files were in place; it is "
                        "finished now";
const char NotThisUsers[] = "was not written by this user's fxt for this folder (it came with the folder, or from "
                            "another one)";
const char WhatToDo[] = "; fxt restore puts the backups back";

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

// The journal moved aside, under the first name of its rejected ones that
// is free, nothing else touched.
FolderState Reject(Replacement *replacement, const std::string &why, std::vector<std::string> *messages,
                   const char *advice = "") {
    std::string journal = ShownPath(replacement->journalPath), aside;
    bool moved = false;
    for (int number = 1; !moved && number <= REJECTED_JOURNAL_NAMES; ++number) {
        aside = RejectedJournalNameOf(number);
        moved = RenameOpened(replacement->journalFile, InDataFolder(*replacement, aside), false);
    }
    std::string reason = moved ? "" : LastErrorText();
    LeaveJournal(replacement);
    if (moved)
        messages->push_back(journal + " " + why + ": it was not acted on and is kept as " + aside +
                            "; nothing else was changed" + advice);
    else
        messages->push_back(journal + " " + why + ": it was not acted on, and could not be moved aside (" + reason +
                            "); nothing was changed: move it away" + advice);
    return FOLDER_UNSETTLED;
}

std::string InUse(const std::string &journal) {
    return "another fxt make is working on this folder (" + journal + " is in use); try again once it has finished";
}

// The journal held as itself, unshared, and its text read through that
// handle; or what stands in the way, told, with how the folder stands.
FolderState TakeJournal(Replacement *replacement, std::string *text, std::vector<std::string> *messages) {
    std::string journal = ShownPath(replacement->journalPath);
    FileFacts facts = LookAt(replacement->journalPath, LOOK_ONLY);
    if (facts.kind == FILE_ABSENT) return FOLDER_SETTLED;
    if (facts.kind == FILE_LINK || facts.kind == FILE_SPECIAL || facts.kind == FILE_FOLDER) {
        // Moved, what a link leads to could go with it, as under Wine,
        // which moves no pipe either.
        messages->push_back(journal + " is " + KindInWords(facts.kind) + ", which fxt neither reads nor moves: remove "
                                                                          "it; nothing was changed");
        return FOLDER_UNSETTLED;
    }
    replacement->journalFile = OpenToAct(replacement->journalPath, GENERIC_READ | DELETE, 0);
    DWORD error = GetLastError();
    if (replacement->journalFile == INVALID_HANDLE_VALUE && facts.kind == FILE_UNREADABLE) error = facts.error;
    if (replacement->journalFile == INVALID_HANDLE_VALUE) {
        messages->push_back(error == ERROR_SHARING_VIOLATION
                                ? InUse(journal)
                                : "cannot read " + journal + ": " + ErrorText(error) + "; it was not acted on");
        return error == ERROR_SHARING_VIOLATION ? FOLDER_BUSY : FOLDER_UNSETTLED;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(replacement->journalFile, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        GetFileType(replacement->journalFile) != FILE_TYPE_DISK) {
        LeaveJournal(replacement);
        messages->push_back(journal + " changed while fxt looked at it: it was not acted on; nothing was changed");
        return FOLDER_UNSETTLED;
    }
    if (information.nFileSizeHigh || information.nFileSizeLow > LARGEST_JOURNAL)
        return Reject(replacement, "is larger than a journal of fxt make can be", messages, WhatToDo);
    if (!ReadWholeHandle(replacement->journalFile, text)) {
        messages->push_back("cannot read " + journal + ": " + LastErrorText() + "; it was not acted on");
        LeaveJournal(replacement);
        return FOLDER_UNSETTLED;
    }
    return FOLDER_BUSY;  // taken: read on
}

} // namespace

FolderState RecoverInterruptedMake(const std::string &folder, std::vector<std::string> *messages) {
    Replacement replacement;
    Locate(&replacement, folder);
    replacement.fromJournal = true;
    std::string text, problem;
    FolderState taken = TakeJournal(&replacement, &text, messages);
    if (replacement.journalFile == INVALID_HANDLE_VALUE) return taken;

    KeyState key = UserJournalKey(false, &replacement.seal.key, &problem);
    if (key == JOURNAL_KEY_BROKEN) {
        LeaveJournal(&replacement);
        messages->push_back(problem);
        messages->push_back(ShownPath(replacement.journalPath) + " was not acted on; nothing was changed");
        return FOLDER_UNSETTLED;
    }
    replacement.seal.folder = LookAt(replacement.dataFolder, LOOK_ONLY).identity;
    JournalProblem read = key == JOURNAL_KEY_ABSENT && !text.empty() ? JOURNAL_FOREIGN
                                            : ParseJournal(text, replacement.seal, &replacement.journal,
                                                           &replacement.stage, &problem);
    if (read == JOURNAL_FOREIGN) return Reject(&replacement, NotThisUsers, messages, WhatToDo);
    if (read == JOURNAL_MALFORMED)
        return Reject(&replacement, "is not a journal fxt make wrote (" + problem + ")", messages, WhatToDo);
    if (!NamesLanguageFiles(replacement.journal.files, "") || !NamesLanguageFiles(replacement.journal.drops, ".prev") ||
        !KnowsItsFiles(replacement.journal, replacement.stage))
        return Reject(&replacement, "is not a journal fxt make wrote (its files are not language files, each once, "
                                    "with what it wrote)",
                      messages, WhatToDo);
    std::vector<std::string> mismatches = SettleMismatches(replacement);
    if (!mismatches.empty())
        return Reject(&replacement, "does not match the folder (" + mismatches[0] + ")", messages, WhatToDo);

    std::vector<std::string> failures;
    if (!SettleMake(replacement, &mismatches, &failures) || !EndJournal(&replacement, &failures)) {
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
