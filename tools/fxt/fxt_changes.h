// What a make changes in a game folder: the keys it would remove, and the
// language files it must write; the others are left exactly as they are,
// entries that loading never reaches included.
#ifndef PARLYTE_FXT_CHANGES_H
#define PARLYTE_FXT_CHANGES_H

#include "fxt_table.h"

#include <string>
#include <utility>
#include <vector>

// What each language file below GameFolderPath stores, as loading stores
// it, in one linear read of each; a file that cannot be opened is reported
// as loading reports it.
struct FolderFiles {
    std::vector<std::pair<std::string, std::string>> stored[TABLE_LANGUAGES];
    bool readable[TABLE_LANGUAGES];  // there, and could be opened
    int unreached[TABLE_LANGUAGES];  // entries after where loading stops early
};
void ReadFolderFiles(FolderFiles *files);
// The table loading gives, merged from those, without loading's walk of
// its list for each key.
std::vector<TableRow> MergedRows(const FolderFiles &files);

// The keys the files store that the rows lack, in the order loading lists
// them.
std::vector<std::string> KeysNotIn(const std::vector<TableRow> &rows, const FolderFiles &files);

// The files a make of the rows must write: each that is missing or cannot
// be read, and each that the rows' table cannot be had without. A file the
// game's own encoder wrote, or whose keys come in an order that loading
// does not keep, is left alone when the table loading gives is the same.
void FindChangedFiles(const std::vector<TableRow> &rows, const FolderFiles &files, bool changed[TABLE_LANGUAGES]);

#endif
