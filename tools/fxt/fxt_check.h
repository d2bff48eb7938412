// fxt check: where what a language file holds does not reach the table as
// written there, found by reading the file with loading's own rules.
#ifndef PARLYTE_FXT_CHECK_H
#define PARLYTE_FXT_CHECK_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

struct CheckFinding {
    DWORD offset;  // in the file, of the "[" that begins the entry concerned
    std::string text;
};

struct LanguageFileCheck {
    std::vector<CheckFinding> findings;
    // The key and text pairs the file stores, in order, as they are stored.
    std::vector<std::pair<std::string, std::string>> stored;
    // Entries after where loading stops early (an end of the data before
    // the end of the file, an empty key, a file that does not begin with
    // "["): loading never reaches them.
    int unreached = 0;
};

// Reads the language file of LanguageIndex index below GameFolderPath with
// the decoder loading uses. Returns 0 when the file cannot be opened, which
// is reported as loading reports it.
int CheckLanguageFile(int index, LanguageFileCheck *check);

#endif
