// Reading a game folder: its four language files through the scanner, what
// each stores, and the table they give, as Parlyte loads it.
#ifndef PARLYTE_FXT_FOLDER_FILES_H
#define PARLYTE_FXT_FOLDER_FILES_H

#include "tools/fxt/formats/language_file.h"
#include "tools/fxt/formats/table.h"

#include <string>
#include <vector>

struct FolderFiles {
    std::string paths[LANGUAGE_COUNT];  // as fxt names them
    bool readable[LANGUAGE_COUNT];      // there, and could be opened
    DWORD openErrors[LANGUAGE_COUNT];   // why one could not be
    ScannedFile scans[LANGUAGE_COUNT];
    StoredPairs stored[LANGUAGE_COUNT];
};

// Reads one language file through the scanner, with what loading stores of
// it. Returns 0, with the reason in the last error, when it cannot be opened.
int ReadLanguageFile(const std::string &path, ScannedFile *scan, StoredPairs *stored);
// Reads the files below folder (ending with a separator), in one linear
// read of each: loading's syntax, and what lies after where loading stops.
void ReadFolderFiles(const std::string &folder, FolderFiles *files);

// The table of the files: MergedRows of what they store.
std::vector<TableRow> FolderRows(const FolderFiles &files);

// When the game folder's files were last written.
int LastWriteTime(const std::string &path, FILETIME *time);

#endif
