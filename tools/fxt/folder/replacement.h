// What making and settling a make share: the make's files, as it knows them
// from its own work or from its journal, and the settling that proves each
// step before it takes it. Not for other layers.
#ifndef PARLYTE_FXT_REPLACEMENT_H
#define PARLYTE_FXT_REPLACEMENT_H

#include "tools/fxt/formats/journal.h"
#include "text/text_store.h"

#include <string>
#include <vector>

struct Replacement {
    std::string gameFolder;   // ending with a separator
    std::string dataFolder;   // GTADATA, without one
    std::string journalPath;
    Journal journal;
    JournalStage stage = JOURNAL_PLANNING;
    // Known from a journal, not from this make's own work: a file the make
    // writes while it works, whose identity it lacks, may still be its own,
    // killed before it said so.
    bool fromJournal = false;
    // The journal, held open as itself without sharing; its text so far and
    // what signs it.
    HANDLE journalFile = INVALID_HANDLE_VALUE;
    std::string journalText;
    JournalSeal seal;
};

void Locate(Replacement *replacement, const std::string &folder);
// A name's path in GTADATA.
std::string InDataFolder(const Replacement &replacement, const std::string &name);

// Settles a make that did not finish: puts the folder back as it was
// before the make (before JOURNAL_DONE), or finishes it (at it), taking
// only steps it has proved: each file it removes or renames is a plain file
// under the name the journal gives, with the identity the make recorded
// (or, for a file the make writes while it works and was killed before it
// said so, the bytes it planned), acted on through a handle on the file
// itself; a copy put back holds the old bytes. What it finds otherwise, or
// cannot look at, it leaves, and tells in mismatches; a step that fails is
// told in failures, and the steps after it are left. Returns 1 when the
// folder is settled: every step proved and taken.
int SettleMake(const Replacement &replacement, std::vector<std::string> *mismatches, std::vector<std::string> *failures);
// What SettleMake would find otherwise than the make left it, before any step.
std::vector<std::string> SettleMismatches(const Replacement &replacement);

// Removes the journal through its handle, then the folders the make made
// where they are empty. Returns 0 with the failure told.
int EndJournal(Replacement *replacement, std::vector<std::string> *failures);
// Closes the journal, which stays for the next fxt command.
void LeaveJournal(Replacement *replacement);
// The folders the make made, where they are empty; 0 with the failure told.
int RemoveMadeFolders(const Replacement &replacement, std::vector<std::string> *failures);

// "cannot DOING PATH[ to TO]: the system's reason", from the last error.
std::string FailedCall(const char *doing, const std::string &path, const std::string &to = "");

#endif
