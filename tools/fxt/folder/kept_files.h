// The files fxt make keeps beside each language file it replaces, as fxt
// restore and fxt undo put them back: NAME.bak, the file as it was before
// the first make, and NAME.prev, as it was before the last.
#ifndef PARLYTE_FXT_KEPT_FILES_H
#define PARLYTE_FXT_KEPT_FILES_H

#include "tools/fxt/formats/language_file.h"

#include <string>

struct KeptFiles {
    bool any = false;
    bool differs[LANGUAGE_COUNT] = {};  // there, and not what the language file holds
    std::string names[LANGUAGE_COUNT];  // NAME.bak in the letter case it has
    std::string bytes[LANGUAGE_COUNT];
    StoredPairs stored[LANGUAGE_COUNT];  // what loading stores of each
};

// Reads the kept files with a suffix, ".bak" or ".prev", below folder
// (ending with a separator). Returns 0 with the reason when one cannot be
// read.
int ReadKeptFiles(const std::string &folder, const char *suffix, KeptFiles *kept, std::string *error);

#endif
