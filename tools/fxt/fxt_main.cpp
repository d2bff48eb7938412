// fxt: prints the merged table of a game folder's four language files,
// writes language files from such a table, and tells what the files hold
// that never reaches the table. The same source on Windows and on Linux.
#include "fxt_check.h"
#include "fxt_encoder.h"
#include "fxt_files.h"
#include "fxt_platform.h"
#include "fxt_table.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <stdio.h>
#include <string.h>

namespace {

const char Usage[] =
    "usage: fxt dump GAMEFOLDER        print GAMEFOLDER's four language files as one table\n"
    "       fxt make TABLE GAMEFOLDER  write GAMEFOLDER/GTADATA/*.FXT from TABLE (- for standard input)\n"
    "       fxt check GAMEFOLDER       tell what the language files hold that does not reach the table\n";

// The longest game folder the program accepts, with its trailing separator.
const size_t LongestGameFolder = 234;

int Fail(const std::string &message) {
    std::string line = "fxt: " + message + "\n";
    fputs(line.c_str(), stderr);
    return 1;
}

int WriteOut(const std::string &bytes) {
    if (fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && fflush(stdout) == 0) return 0;
    return Fail("cannot write to standard output");
}

// The folder with a separator at its end, as the game folder is kept.
std::string FolderPath(const std::string &folder) {
    return folder.back() == '/' || folder.back() == '\\' ? folder : folder + '\\';
}

// What is wrong with a game folder argument, or "".
std::string FolderArgumentProblem(const std::string &folder) {
    if (folder.empty()) return "the game folder path is empty";
    if (FolderPath(folder).size() > LongestGameFolder)
        return folder + ": a game folder path has at most " + std::to_string(LongestGameFolder) +
               " characters with its trailing separator";
    return "";
}

// Loads the game folder's files into the table as Parlyte does; a file that
// cannot be opened has been reported.
int LoadGameFolder(const std::string &folder) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) {
        Fail(problem);
        return 0;
    }
    lstrcpyA(GameFolderPath, FolderPath(folder).c_str());
    return LoadAllLanguageFiles();
}

int Dump(const std::string &folder) {
    if (!LoadGameFolder(folder)) return 1;
    std::string table = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        table += FormatTableRow(entry->key, entry->texts);
    return WriteOut(table);
}

int Make(const std::string &tablePath, const std::string &folder) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) return Fail(problem);
    std::string content;
    if (!ReadWholeFile(tablePath, &content)) return Fail(ShownPath(tablePath) + ": " + LastErrorText());
    std::vector<TableRow> rows;
    std::string error;
    if (!ParseTable(content, &rows, &error)) return Fail(ShownPath(tablePath) + ": " + error);
    std::string images[TABLE_LANGUAGES];
    for (int i = 0; i < TABLE_LANGUAGES; ++i) images[i] = EncodeTableLanguage(rows, i);
    if (!WriteLanguageFiles(FolderPath(folder), images, &error)) return Fail(error);
    return 0;
}

// The findings one a line, then what the table holds of each language.
int Check(const std::string &folder) {
    if (!LoadGameFolder(folder)) return 1;
    std::string report;
    size_t findings = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        LanguageFileCheck check;
        if (!CheckLanguageFile(i, &check)) return 1;
        const char *name = strrchr(LanguageFileNames[i], '\\') + 1;
        for (const CheckFinding &finding : check.findings)
            report += std::string(name) + ":" + std::to_string(finding.offset) + ": " + finding.text + "\n";
        findings += check.findings.size();
    }
    size_t keys = 0, stored[LANGUAGE_COUNT] = {};
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next, ++keys)
        for (int i = 0; i < LANGUAGE_COUNT; ++i) stored[i] += entry->texts[i] != NULL;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        size_t without = keys - stored[i];
        report += std::string(LanguageNames[i]) + ": " + std::to_string(stored[i]) +
                  (stored[i] == 1 ? " entry" : " entries") + " stored; " + std::to_string(without) + " of the " +
                  std::to_string(keys) + " keys " + (without == 1 ? "has" : "have") + " no " + LanguageNames[i] +
                  " text\n";
    }
    int written = WriteOut(report);
    return written != 0 ? written : findings != 0;
}

} // namespace

// A language file that cannot be opened: the path and the system's reason.
void ReportOpenFailure(const char *path) {
    Fail(ShownPath(path) + ": " + LastErrorText());
}

int main(int argc, char **argv) {
    UseBinaryStandardStreams();
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h") return WriteOut(Usage);
    if (command == "dump" && argc == 3) return Dump(argv[2]);
    if (command == "make" && argc == 4) return Make(argv[2], argv[3]);
    if (command == "check" && argc == 3) return Check(argv[2]);
    fputs(Usage, stderr);
    return 2;
}
