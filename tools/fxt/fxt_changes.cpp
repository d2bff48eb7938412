// Comparing the tables loading would give: the key and text pairs each file
// stores, merged as loading merges them, but through a map where loading
// walks its list.
#include "fxt_changes.h"

#include "fxt_check.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <algorithm>
#include <map>

namespace {

using StoredPairs = std::vector<std::pair<std::string, std::string>>;

// The table of four files' pairs: keys in the order the files first store
// them, each file adding its texts.
std::vector<TableRow> Merged(const StoredPairs (&files)[TABLE_LANGUAGES]) {
    std::vector<TableRow> rows;
    std::map<std::string, size_t> positions;
    for (int language = 0; language < TABLE_LANGUAGES; ++language)
        for (const auto &pair : files[language]) {
            auto found = positions.emplace(pair.first, rows.size());
            if (found.second) rows.push_back(TableRow{pair.first, {}});
            rows[found.first->second].texts[language] = pair.second;
        }
    return rows;
}

bool SameRows(const std::vector<TableRow> &left, const std::vector<TableRow> &right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i].key != right[i].key) return false;
        for (int language = 0; language < TABLE_LANGUAGES; ++language)
            if (left[i].texts[language] != right[i].texts[language]) return false;
    }
    return true;
}

// The same pairs in any order. Where a text was changed, the first pair
// that differs is nowhere in the other file, which is soon seen.
bool SamePairs(StoredPairs left, StoredPairs right) {
    if (left.size() != right.size()) return false;
    auto differ = std::mismatch(left.begin(), left.end(), right.begin());
    if (differ.first != left.end() && std::find(differ.second, right.end(), *differ.first) == right.end()) return false;
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

} // namespace

void ReadFolderFiles(FolderFiles *files) {
    for (int language = 0; language < TABLE_LANGUAGES; ++language) {
        LanguageFileCheck check;
        files->readable[language] = CheckLanguageFile(language, &check);
        files->stored[language] = check.stored;
        files->unreached[language] = check.unreached;
    }
}

std::vector<TableRow> MergedRows(const FolderFiles &files) {
    return Merged(files.stored);
}

std::vector<std::string> KeysNotIn(const std::vector<TableRow> &rows, const FolderFiles &files) {
    // A key is told once: it is marked kept then.
    std::map<std::string, size_t> kept;
    for (const TableRow &row : rows) kept.emplace(row.key, 0);
    std::vector<std::string> keys;
    for (const auto &file : files.stored)
        for (const auto &pair : file)
            if (kept.emplace(pair.first, 0).second) keys.push_back(pair.first);
    return keys;
}

void FindChangedFiles(const std::vector<TableRow> &rows, const FolderFiles &files, bool changed[TABLE_LANGUAGES]) {
    StoredPairs planned[TABLE_LANGUAGES], kept[TABLE_LANGUAGES];
    for (int language = 0; language < TABLE_LANGUAGES; ++language) {
        for (const TableRow &row : rows)
            if (row.texts[language]) planned[language].emplace_back(row.key, *row.texts[language]);
        kept[language] = files.stored[language];
    }
    // One file at a time, each kept as it is while the table stays the one
    // the rows give. A file that stores the same pairs keeps it so, and one
    // that stores other pairs changes it; only the same pairs in another
    // order need the tables merged.
    std::vector<TableRow> wanted;
    for (int language = 0; language < TABLE_LANGUAGES; ++language) {
        changed[language] = files.readable[language] && planned[language] != kept[language];
        if (!files.readable[language] || !changed[language] || !SamePairs(planned[language], kept[language])) continue;
        if (wanted.empty()) wanted = Merged(planned);
        std::swap(planned[language], kept[language]);
        changed[language] = !SameRows(Merged(planned), wanted);
        if (changed[language]) std::swap(planned[language], kept[language]);
    }
    for (int language = 0; language < TABLE_LANGUAGES; ++language) changed[language] |= !files.readable[language];
}
