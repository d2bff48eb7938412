// The journal of fxt make: a small text file in GTADATA that says what a
// make is about to do, and then proves what it did. Before the make's first
// change it holds the plan: a random identifier of the make, the folders it
// made, what becomes of the files it replaces, and for each language file
// it replaces, where the old bytes are kept and the size and checksum of
// the old and the new bytes, and each NAME.prev it removes. Once the copies
// and the new files are on the disk, each one's identity in the file system
// follows, then a line for each stage. Each line is signed with a secret of
// the user who ran the make, for the one GTADATA folder it works on: a
// journal that came with a game folder from the internet, or from another
// folder, proves nothing. The journal goes once the make has finished or
// been undone; the next fxt command that finds one acts on it only where
// this user's fxt wrote it and the folder holds just what it says.
#ifndef PARLYTE_FXT_JOURNAL_H
#define PARLYTE_FXT_JOURNAL_H

#include <string>
#include <vector>

// Its name in GTADATA, and the ones it is moved to when it is not acted on:
// NAME.rejected, else NAME.rejected-2 and so on up to this many.
extern const char JournalName[];
extern const char RejectedJournalName[];
enum { REJECTED_JOURNAL_NAMES = 9 };
std::string RejectedJournalNameOf(int number);
// No journal of four files comes near it: a larger file is none.
enum { LARGEST_JOURNAL = 16384 };

// What signs a journal: the user's secret, and the identity of the GTADATA
// folder it is about.
struct JournalSeal {
    std::string key;
    std::string folder;
};

// Bytes as the journal knows them.
struct FileSum {
    unsigned long long size = 0;
    std::string sha256;  // "" for none
};

// A language file the make replaces. Its old bytes, where it had some, are
// copied to NAME.old until the make is done, and to NAME.bak where there
// was no backup yet: written as NAME.bak.new, and named NAME.bak once whole.
struct JournalFile {
    std::string name;  // in GTADATA, in the letter case it has
    bool hasOld = false;
    bool newBackup = false;
    FileSum oldSum;    // of the old bytes, where there are some
    FileSum newSum;
    // The file system's identity of the new file, the copy and the backup
    // once they are on the disk; "" before.
    std::string newIdentity;
    std::string copyIdentity;
    std::string backupIdentity;
};

// A NAME.prev the make removes: as the make found it, identity and bytes.
struct JournalDrop {
    std::string name;
    FileSum sum;
    std::string identity;
};

// How far the make got.
enum JournalStage {
    JOURNAL_PLANNING,  // the plan is not whole: nothing else was changed
    JOURNAL_PLANNED,   // the copies and the new files NAME.new are being written
    JOURNAL_SWAPPING,  // all of them are on the disk; the new files replace the old
    JOURNAL_DONE,      // every new file is in place; the undo copies are going
};

struct Journal {
    std::string make;  // the make's random identifier
    bool madeGameFolder = false;
    bool madeDataFolder = false;
    // Once done, each copy NAME.old becomes NAME.prev, the file the make
    // replaced; or, for a make that puts the NAME.prev files back, goes.
    bool keepsPrevious = true;
    std::vector<JournalFile> files;
    std::vector<JournalDrop> drops;
};

// NAME.old, NAME.bak, NAME.bak.new and NAME.prev of a file.
std::string CopyName(const JournalFile &file);
std::string BackupName(const JournalFile &file);
std::string NewBackupName(const JournalFile &file);
std::string PreviousName(const std::string &name);

// The journal's lines, unsigned: the plan, up to JOURNAL_PLANNED; one
// file's identity; the line of JOURNAL_SWAPPING; and that of JOURNAL_DONE.
std::string JournalPlanText(const Journal &journal);
std::string JournalFileText(const std::string &name, const std::string &identity);
std::string JournalSwappingText(void);
std::string JournalDoneText(void);
// Lines to write after the journal's text so far, each signed.
std::string SignedJournalLines(const std::string &written, const std::string &lines, const JournalSeal &seal);

// Why a text is not acted on.
enum JournalProblem {
    JOURNAL_READ,       // it is a journal of this user's fxt, for this folder
    JOURNAL_FOREIGN,    // a line is not signed by this user's secret for this folder
    JOURNAL_MALFORMED,  // signed, but no journal of fxt make: problem says how
};

// Reads a journal's text, each line's signature checked, and the stage it
// reached. Only whole lines count: a journal cut short in its writing is
// still being planned, and a plan cut short has changed nothing; an empty
// one is of a make killed before its plan.
JournalProblem ParseJournal(const std::string &text, const JournalSeal &seal, Journal *journal, JournalStage *stage,
                            std::string *problem);

#endif
