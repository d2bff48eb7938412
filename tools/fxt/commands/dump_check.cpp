// fxt dump and fxt check: the folder's table, and what its files hold that
// does not reach it.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/names.h"
#include "tools/fxt/formats/check.h"
#include "tools/fxt/formats/wording.h"

int Dump(const Options &options, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    std::string table = TableHeader;
    for (const TableRow &row : rows) table += FormatTableRow(row);
    return WriteOut(table, options.coding) ? EXIT_DONE : EXIT_FAILED;
}

// The findings one a line, then what the table holds of each language.
int Check(const Options &options, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    // Each file's findings through its language's code page.
    std::string report, utf8;
    size_t findings = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        for (const CheckFinding &finding : CheckFindings(files.scans[i])) {
            std::string line = LanguageFileName(i) + ":" + std::to_string(finding.offset) + ": " + finding.text + "\n";
            report += line;
            utf8 += Utf8OfBytes(line, *CodingOf(options.coding, i).page);
            ++findings;
        }
    size_t stored[LANGUAGE_COUNT] = {}, ya[LANGUAGE_COUNT] = {};
    for (const TableRow &row : rows)
        for (int i = 0; i < LANGUAGE_COUNT; ++i) {
            stored[i] += row.texts[i].has_value();
            ya[i] += row.texts[i] && row.texts[i]->find((char)CYRILLIC_YA_BYTE) != std::string::npos;
        }
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        size_t without = rows.size() - stored[i];
        // The font makers' part of writing я.
        bool yaShown = CodingOf(options.coding, i).page->number == CYRILLIC_YA_PAGE;
        std::string line = std::string(LanguageNames[i]) + ": " + Counted(stored[i], "entry", "entries") + " stored; " +
                           std::to_string(without) + " of the " + std::to_string(rows.size()) + " keys " +
                           (without == 1 ? "has" : "have") + " no " + LanguageNames[i] + " text" +
                           (yaShown ? "; " + Counted(ya[i], "text holds", "texts hold") +
                                          " the byte 0x98 for Cyrillic ya (U+044F), which the game's font must draw there"
                                    : "") +
                           "\n";
        report += line;
        utf8 += line;
    }
    if (!WriteReport(report, utf8, options.coding)) return EXIT_FAILED;
    return findings ? EXIT_FAILED : EXIT_DONE;
}
