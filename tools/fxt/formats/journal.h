// The journal of fxt make: a small text file in GTADATA, written and
// flushed before the make's first change to a language file, that says what
// the make is about to do and where the old bytes of each file it replaces
// are kept. A stage line is added as the make goes on; the journal goes once
// the make has finished or been undone. The next fxt command that finds one
// puts the folder back from it.
#ifndef PARLYTE_FXT_JOURNAL_H
#define PARLYTE_FXT_JOURNAL_H

#include <string>
#include <vector>

// Its name in GTADATA.
extern const char JournalName[];

// Where the old bytes of a file the make replaces are kept until it is done.
enum OldBytes {
    NO_OLD_FILE,    // there was no such file
    IN_NEW_BACKUP,  // NAME.bak, the backup the make keeps, made by it
    IN_UNDO_COPY,   // NAME.old, removed once the make is done
};

struct JournalFile {
    std::string name;  // in GTADATA, in the letter case it has
    OldBytes old;
};

// How far the make got.
enum JournalStage {
    JOURNAL_PLANNING,  // the journal is not whole: nothing else was changed
    JOURNAL_PLANNED,   // the copies and the new files NAME.new are being written
    JOURNAL_SWAPPING,  // all of them are on the disk; the new files replace the old
    JOURNAL_DONE,      // every new file is in place; the undo copies are going
};

struct Journal {
    bool madeGameFolder = false;
    bool madeDataFolder = false;
    std::vector<JournalFile> files;
};

// The journal's text up to JOURNAL_PLANNED, and the line a later stage adds.
std::string JournalText(const Journal &journal);
std::string JournalStageLine(JournalStage stage);

// Reads a journal's text and the stage it reached. Returns 0 when the text
// is no journal of fxt make.
int ParseJournal(const std::string &text, Journal *journal, JournalStage *stage);

#endif
