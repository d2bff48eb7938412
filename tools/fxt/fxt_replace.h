// fxt make's writing: the four language files of a game folder replaced all
// or none, each replaced file kept once as NAME.bak.
#ifndef PARLYTE_FXT_REPLACE_H
#define PARLYTE_FXT_REPLACE_H

#include "fxt_table.h"

#include <string>
#include <vector>

struct ReplaceReport {
    std::vector<std::string> backups;   // one line for each backup made
    std::vector<std::string> warnings;  // what the files replaced held that no table had
    std::vector<std::string> errors;    // why nothing was replaced, and how the folder was left
};

// Writes FOLDER\GTADATA\ENGLISH.FXT and the others (FOLDER ending with a
// separator), making the folders if need be, under whatever letter case the
// files have. Checks first that each file can be replaced, writes the new
// files beside the old ones and flushes them, then swaps them in. When any
// step fails, puts back what it had replaced, removes what it made and
// returns 0: the folder holds what it held before. Returns 1 when all four
// are in place.
int ReplaceLanguageFiles(const std::string &folder, const std::string images[TABLE_LANGUAGES], ReplaceReport *report);

#endif
