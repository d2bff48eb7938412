// Merging what the files store as loading merges it, but through a map
// where loading walks its list; and comparing the tables merged so.
#include "rows.h"

#include "text/language_file_writer.h"

#include <algorithm>
#include <map>

namespace {

bool SameRows(const std::vector<TableRow> &left, const std::vector<TableRow> &right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i].key != right[i].key) return false;
        for (int language = 0; language < LANGUAGE_COUNT; ++language)
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

std::vector<TableRow> MergedRows(const StoredPairs (&stored)[LANGUAGE_COUNT]) {
    std::vector<TableRow> rows;
    std::map<std::string, size_t> positions;
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        for (const auto &pair : stored[language]) {
            auto found = positions.emplace(pair.first, rows.size());
            if (found.second) rows.push_back(TableRow{pair.first, {}});
            rows[found.first->second].texts[language] = pair.second;
        }
    return rows;
}

std::vector<std::string> KeysNotIn(const std::vector<TableRow> &rows, const StoredPairs (&stored)[LANGUAGE_COUNT]) {
    // A key is told once: it is marked kept then.
    std::map<std::string, size_t> kept;
    for (const TableRow &row : rows) kept.emplace(row.key, 0);
    std::vector<std::string> keys;
    for (const StoredPairs &file : stored)
        for (const auto &pair : file)
            if (kept.emplace(pair.first, 0).second) keys.push_back(pair.first);
    return keys;
}

void FindChangedFiles(const std::vector<TableRow> &rows, const StoredPairs (&stored)[LANGUAGE_COUNT],
                      const bool readable[LANGUAGE_COUNT], bool changed[LANGUAGE_COUNT]) {
    StoredPairs planned[LANGUAGE_COUNT], kept[LANGUAGE_COUNT];
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        planned[language] = LanguagePairs(rows, language);
        kept[language] = stored[language];
    }
    // One file at a time, each kept as it is while the table stays the one
    // the rows give. A file that stores the same pairs keeps it so, and one
    // that stores other pairs changes it; only the same pairs in another
    // order need the tables merged.
    std::vector<TableRow> wanted;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        changed[language] = readable[language] && planned[language] != kept[language];
        if (!readable[language] || !changed[language] || !SamePairs(planned[language], kept[language])) continue;
        if (wanted.empty()) wanted = MergedRows(planned);
        std::swap(planned[language], kept[language]);
        changed[language] = !SameRows(MergedRows(planned), wanted);
        if (changed[language]) std::swap(planned[language], kept[language]);
    }
    for (int language = 0; language < LANGUAGE_COUNT; ++language) changed[language] |= !readable[language];
}

StoredPairs LanguagePairs(const std::vector<TableRow> &rows, int language) {
    StoredPairs pairs;
    for (const TableRow &row : rows)
        if (row.texts[language]) pairs.emplace_back(row.key, *row.texts[language]);
    return pairs;
}

size_t ChangedTexts(const StoredPairs &before, const StoredPairs &after) {
    std::map<std::string, std::string> texts(before.begin(), before.end());
    size_t changed = 0;
    for (const auto &pair : after) {
        auto found = texts.find(pair.first);
        changed += found == texts.end() || found->second != pair.second;
        if (found != texts.end()) texts.erase(found);
    }
    return changed + texts.size();
}

std::string EncodeTableLanguage(const std::vector<TableRow> &rows, int language) {
    return EncodeLanguageFile(LanguagePairs(rows, language));
}

bool StillAsReplaced(const std::map<std::string, std::string> &replaced, const std::string &key,
                     const std::optional<std::string> &text) {
    auto old = replaced.find(key);
    return text && old != replaced.end() && old->second == *text;
}
