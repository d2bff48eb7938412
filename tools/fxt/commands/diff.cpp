// fxt diff and fxt missing: what differs between the tables of two game
// folders, and the keys one language has no text for.
#include "commands.h"

#include "output.h"

#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/wording.h"

#include <algorithm>
#include <map>

namespace {

std::string Field(const std::optional<std::string> &text) {
    return text ? EscapedText(*text) : "\\N";
}

// A line of the report: LANGUAGE, what befell the text, the key, the text
// before and after, in the table's escaping; in bytes, and in characters,
// the texts through the language's code page.
struct Report {
    std::string bytes, utf8;
};

void AddDiffLine(Report *report, const TextCoding &coding, int language, const std::string &key,
                 const std::optional<std::string> &before, const std::optional<std::string> &after) {
    const char *what = !before ? "added" : !after ? "removed" : "changed";
    std::string start = std::string(LanguageNames[language]) + "\t" + what + "\t" + EscapedText(key) + "\t";
    std::string texts = Field(before) + "\t" + Field(after) + "\n";
    report->bytes += start + texts;
    report->utf8 += Utf8OfBytes(start, *coding.gamePage) + Utf8OfBytes(texts, *CodingOf(coding, language).page);
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
    Report report;
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        for (const TableRow &row : after) {
            auto found = earlier.find(row.key);
            const std::optional<std::string> &old = found == earlier.end() ? none : found->second->texts[language];
            if (old != row.texts[language]) AddDiffLine(&report, options.coding, language, row.key, old, row.texts[language]);
        }
        for (const TableRow &row : before)
            if (row.texts[language] && !later.count(row.key))
                AddDiffLine(&report, options.coding, language, row.key, row.texts[language], none);
    }
    // The same texts listed in another order load as another table.
    bool reordered = report.bytes.empty() && before.size() == after.size() &&
                     !std::equal(before.begin(), before.end(), after.begin(),
                                 [](const TableRow &a, const TableRow &b) { return a.key == b.key; });
    if (reordered) report.bytes = report.utf8 = "the same keys and texts, listed in another order\n";
    if (!WriteReport(report.bytes, report.utf8, options.coding)) return EXIT_TROUBLE;
    return report.bytes.empty() ? EXIT_DONE : EXIT_DIFFERENT;
}

int Missing(const Options &options, int language, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    std::map<std::string, std::string> replaced;
    std::string backup;
    if (!ReplacedTexts(folder, language, false, &replaced, &backup)) return EXIT_FAILED;
    std::string keys;
    size_t absent = 0, unchanged = 0;
    for (const TableRow &row : rows) {
        bool still = StillAsReplaced(replaced, row.key, row.texts[language]);
        if (row.texts[language] && !still) continue;
        keys += EscapedText(row.key) + "\n";
        ++(still ? unchanged : absent);
    }
    if (!WriteOut(keys, options.coding)) return EXIT_FAILED;
    Say(std::string(LanguageNames[language]) + ": " + Counted(absent, "key has", "keys have") + " no text" +
        (backup.empty() ? "" : "; " + Counted(unchanged, "text is", "texts are") + " still as " + backup + " has " +
                                   (unchanged == 1 ? "it" : "them")));
    return EXIT_DONE;
}
