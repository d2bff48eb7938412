// fxt make's writing: the four language files of a game folder replaced all
// or none, each replaced file kept once as NAME.bak and, until the next
// make, as NAME.prev, through a journal that lets the next fxt command undo
// a make that was killed, and only that.
#ifndef PARLYTE_FXT_REPLACE_H
#define PARLYTE_FXT_REPLACE_H

#include "text/text_store.h"

#include <string>
#include <vector>

struct ReplaceReport {
    std::vector<std::string> backups;   // one line for each backup made, or that a dry run would make
    std::vector<std::string> warnings;  // what the files replaced held that no table had
    std::vector<std::string> errors;    // why nothing was replaced, and how the folder was left
};

// What becomes of the NAME.prev files.
enum PreviousFiles {
    KEEP_PREVIOUS,      // each file replaced is kept as NAME.prev; those of files left alone go
    PUT_BACK_PREVIOUS,  // the images are the NAME.prev files, which go once they are in place
};

struct ReplaceRequest {
    const std::string *images[LANGUAGE_COUNT] = {};  // the new bytes of each file to write
    int unreached[LANGUAGE_COUNT] = {};              // entries of each that loading never reaches
    PreviousFiles previous = KEEP_PREVIOUS;
    bool dryRun = false;                             // only the checks, with nothing written
};

// Writes FOLDER\GTADATA\ENGLISH.FXT and the others (FOLDER ending with a
// separator) that have an image, making the folders if need be, under
// whatever letter case the files have; those without are left alone.
// Takes the journal first, so that no other make works beside it, then
// checks that each file can be replaced; then writes the plan, a copy of
// each old file's bytes (and its backup, the first time) and the new files
// beside the old ones, flushed, and renames each new file over its old
// one. When a step fails, puts back what it had replaced, removes what it
// made, and only that, and returns 0. Returns 1 when all are in place. The
// backup keeps the entries loading never reaches, which unreached counts.
int ReplaceLanguageFiles(const std::string &folder, const ReplaceRequest &request, ReplaceReport *report);

// How a game folder stands after looking for an interrupted make.
enum FolderState {
    FOLDER_SETTLED,    // no journal, or the make it tells of undone or finished
    FOLDER_UNSETTLED,  // a journal left as it is, or moved aside: reading may go on, writing may not
    FOLDER_BUSY,       // another fxt make is working on it
};

// When FOLDER\GTADATA holds the journal of a make that did not finish,
// undoes that make, or finishes one that had put every file in place,
// where the folder holds just what the journal says; a journal that does
// not match the folder, or is no journal, is not acted on but moved aside.
// Says in messages what it did and left, and why.
FolderState RecoverInterruptedMake(const std::string &folder, std::vector<std::string> *messages);

#endif
