// The backups fxt make keeps, NAME.bak beside each language file it first
// replaced, as fxt restore puts them back.
#ifndef PARLYTE_FXT_BACKUPS_H
#define PARLYTE_FXT_BACKUPS_H

#include "text/text_store.h"

#include <string>

struct Backups {
    bool any = false;
    bool differs[LANGUAGE_COUNT] = {};  // there, and not what the language file holds
    std::string names[LANGUAGE_COUNT];  // NAME.bak in the letter case it has
    std::string bytes[LANGUAGE_COUNT];
};

// Reads the backups below folder (ending with a separator). Returns 0 with
// the reason when one cannot be read.
int ReadBackups(const std::string &folder, Backups *backups, std::string *error);

#endif
