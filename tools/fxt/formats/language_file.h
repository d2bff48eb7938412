// A language file as the scanner reads it, and what loading stores of it.
#ifndef PARLYTE_FXT_LANGUAGE_FILE_H
#define PARLYTE_FXT_LANGUAGE_FILE_H

#include "text/text_store.h"

#include <string>
#include <utility>
#include <vector>

// An entry as read: its key and text with any decoded 0 in them.
struct FileEntry {
    DWORD offset;  // of its "["
    std::string key;
    std::string text;
};

struct ScannedFile {
    std::vector<FileEntry> entries;  // those loading reaches, in file order
    // Where and why loading stops (ScanEnding's fields).
    int stop = SCAN_NO_ENTRY;
    DWORD entryOffset = 0;
    DWORD stopOffset = 0;
    bool atFileEnd = true;
    std::string stopKey;
    // Entries after where loading stops: loading never reaches them.
    int unreached = 0;
};

// The key and text pairs a file stores, in its order.
using StoredPairs = std::vector<std::pair<std::string, std::string>>;

// What loading stores of a file: the first entry of each key, the key and
// the text each up to a decoded 0.
StoredPairs StoredPairsOf(const ScannedFile &file);

#endif
