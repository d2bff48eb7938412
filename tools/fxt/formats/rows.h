// The table as rows: the one merge of what the four language files store,
// as loading merges them, and what a make of rows changes in the files.
#ifndef PARLYTE_FXT_ROWS_H
#define PARLYTE_FXT_ROWS_H

#include "language_file.h"
#include "table.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The table loading gives of the pairs each file stores: keys in the order
// the files first store them, each file adding its texts.
std::vector<TableRow> MergedRows(const StoredPairs (&stored)[LANGUAGE_COUNT]);

// The keys the files store that the rows lack, in the order loading lists
// them.
std::vector<std::string> KeysNotIn(const std::vector<TableRow> &rows, const StoredPairs (&stored)[LANGUAGE_COUNT]);

// The files a make of the rows must write: each that cannot be read (or is
// missing), and each that the rows' table cannot be had without. A file the
// game's own encoder wrote, or whose keys come in an order that loading
// does not keep, is left alone when the table loading gives is the same.
void FindChangedFiles(const std::vector<TableRow> &rows, const StoredPairs (&stored)[LANGUAGE_COUNT],
                      const bool readable[LANGUAGE_COUNT], bool changed[LANGUAGE_COUNT]);

// The pairs of one language of the rows, in table order.
StoredPairs LanguagePairs(const std::vector<TableRow> &rows, int language);
// How many keys have another text in one file's pairs than in the other's,
// or a text in only one of them.
size_t ChangedTexts(const StoredPairs &before, const StoredPairs &after);

// Whether a text is still the one a fan translation replaced (replaced
// holds those texts by key): the work left in its language.
bool StillAsReplaced(const std::map<std::string, std::string> &replaced, const std::string &key,
                     const std::optional<std::string> &text);

// The language file of one language of the rows: the keys that have a text
// in that language, in table order.
std::string EncodeTableLanguage(const std::vector<TableRow> &rows, int language);

#endif
