// fxt make's writing: the four language files of a game folder replaced all
// or none, each replaced file kept once as NAME.bak, through a journal that
// lets the next fxt command undo a make that was killed.
#ifndef PARLYTE_FXT_REPLACE_H
#define PARLYTE_FXT_REPLACE_H

#include "text/text_store.h"

#include <string>
#include <vector>

struct ReplaceReport {
    std::vector<std::string> backups;   // one line for each backup made
    std::vector<std::string> warnings;  // what the files replaced held that no table had
    std::vector<std::string> errors;    // why nothing was replaced, and how the folder was left
};

// Writes FOLDER\GTADATA\ENGLISH.FXT and the others (FOLDER ending with a
// separator) that have an image, making the folders if need be, under
// whatever letter case the files have; those without are left alone.
// Checks first that each file can be replaced, then writes the journal, a
// copy of each old file's bytes and the new files beside the old ones,
// flushed, and then renames each new file over its old one. When any step
// fails, puts back what it had replaced, removes what it made and returns
// 0: the folder holds what it held before. Returns 1 when all are in place.
// unreached counts for each file the entries loading never reaches, which
// the backup keeps.
int ReplaceLanguageFiles(const std::string &folder, const std::string *const images[LANGUAGE_COUNT],
                         const int unreached[LANGUAGE_COUNT], ReplaceReport *report);

// When FOLDER\GTADATA holds the journal of a make that did not finish,
// undoes that make, or finishes one that had put every file in place, and
// says so in messages. Returns 1 then or when there is no journal; 0, with
// messages saying why and what is left to do, when the folder cannot be
// put back or another make is working on it.
int RecoverInterruptedMake(const std::string &folder, std::vector<std::string> *messages);

#endif
