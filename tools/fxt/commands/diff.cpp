// fxt diff and fxt missing: what differs between the tables of two game
// folders, and the keys one language has no text for.
#include "commands.h"

#include "output.h"

#include <algorithm>
#include <map>

namespace {

std::string Field(const std::optional<std::string> &text) {
    return text ? EscapedText(*text) : "\\N";
}

// A line of the report: LANGUAGE, what befell the text, the key, the text
// before and after, in the table's escaping.
std::string DiffLine(int language, const std::string &key, const std::optional<std::string> &before,
                     const std::optional<std::string> &after) {
    const char *what = !before ? "added" : !after ? "removed" : "changed";
    return std::string(LanguageNames[language]) + "\t" + what + "\t" + EscapedText(key) + "\t" + Field(before) + "\t" +
           Field(after) + "\n";
}

} // namespace

int Diff(const Options &options, const std::string &oldArgument, const std::string &newArgument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> before, after;
    if (!ReadGameFolder(oldArgument, READING, &folder, &files, &before) ||
        !ReadGameFolder(newArgument, READING, &folder, &files, &after))
        return EXIT_TROUBLE;
    std::map<std::string, const TableRow *> earlier, later;
    for (const TableRow &row : before) earlier[row.key] = &row;
    for (const TableRow &row : after) later[row.key] = &row;
    const std::optional<std::string> none;
    std::string report;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        for (const TableRow &row : after) {
            auto found = earlier.find(row.key);
            const std::optional<std::string> &old = found == earlier.end() ? none : found->second->texts[language];
            if (old != row.texts[language]) report += DiffLine(language, row.key, old, row.texts[language]);
        }
        for (const TableRow &row : before)
            if (row.texts[language] && !later.count(row.key))
                report += DiffLine(language, row.key, row.texts[language], none);
    }
    // The same texts listed in another order load as another table.
    bool reordered = report.empty() && before.size() == after.size() &&
                     !std::equal(before.begin(), before.end(), after.begin(),
                                 [](const TableRow &a, const TableRow &b) { return a.key == b.key; });
    if (reordered) report = "the same keys and texts, listed in another order\n";
    if (!WriteOut(report, options.coding)) return EXIT_TROUBLE;
    return report.empty() ? EXIT_DONE : EXIT_DIFFERENT;
}

int Missing(const Options &options, int language, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    std::string keys;
    for (const TableRow &row : rows)
        if (!row.texts[language]) keys += EscapedText(row.key) + "\n";
    return WriteOut(keys, options.coding) ? EXIT_DONE : EXIT_FAILED;
}
