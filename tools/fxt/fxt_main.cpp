// fxt: prints the merged table of a game folder's four language files,
// writes language files from such a table, and tells what the files hold
// that never reaches the table. The same source on Windows and on Linux.
#include "fxt_check.h"
#include "fxt_encoder.h"
#include "fxt_encoding.h"
#include "fxt_files.h"
#include "fxt_platform.h"
#include "fxt_replace.h"
#include "fxt_table.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <algorithm>
#include <new>
#include <set>
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

const char Usage[] =
    "usage: fxt dump [--ansi] GAMEFOLDER        print GAMEFOLDER's four language files as one table\n"
    "       fxt make [--ansi] [--remove-keys] TABLE GAMEFOLDER\n"
    "                                           write GAMEFOLDER/GTADATA/*.FXT from TABLE (- for standard input),\n"
    "                                           keeping each file replaced the first time as NAME.bak; keys the\n"
    "                                           folder has and TABLE lacks are removed only with --remove-keys\n"
    "       fxt check [--ansi] GAMEFOLDER       tell what the language files hold that does not reach the table\n"
    "Tables are UTF-8; with --ansi they are the bytes the files hold (Windows-1252).\n"
    "Each command first undoes an earlier fxt make of the folder that was interrupted.\n";

// The keys of the folder a make would remove that are named.
const size_t NamedRemovedKeys = 5;

// The longest game folder the program accepts, with its trailing separator.
const size_t LongestGameFolder = 234;

int Fail(const std::string &message) {
    std::string line = "fxt: " + message + "\n";
    fputs(line.c_str(), stderr);
    return 1;
}

int WriteBytes(FILE *stream, const std::string &bytes) {
    return fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && fflush(stream) == 0;
}

// Text of the files' bytes: in the table's encoding, or as its characters
// on a console.
int WriteOut(const std::string &bytes, TableEncoding encoding) {
    int written = WritesToConsole() ? WriteConsoleCharacters(bytes) : WriteBytes(stdout, EncodedTable(bytes, encoding));
    return written ? 0 : Fail("cannot write to standard output");
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

void FailEach(const std::vector<std::string> &lines) {
    for (const std::string &line : lines) Fail(line);
}

// Checks the game folder argument and makes it the one the files are found
// in, as Parlyte keeps it; then undoes a make of it that was interrupted.
int UseGameFolder(const std::string &folder) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) {
        Fail(problem);
        return 0;
    }
    lstrcpyA(GameFolderPath, FolderPath(folder).c_str());
    FindNamesInAnyCaseBelow(GameFolderPath);
    std::vector<std::string> messages;
    int recovered = RecoverInterruptedMake(GameFolderPath, &messages);
    FailEach(messages);
    return recovered;
}

// Loads the game folder's files into the table as Parlyte does, saying which
// file it reads where several have its name in another letter case; a file
// that cannot be opened has been reported.
int LoadGameFolder(const std::string &folder) {
    if (!UseGameFolder(folder)) return 0;
    for (const NamesOfOneFile &twins : FindNamesOfOneFile(GameFolderPath)) {
        WIN32_FIND_DATAA found;
        HANDLE search = twins.read ? FindFirstFileA(twins.named.c_str(), &found) : INVALID_HANDLE_VALUE;
        if (search == INVALID_HANDLE_VALUE) continue;
        FindClose(search);
        std::string names;
        for (const std::string &path : twins.paths) names += (names.empty() ? "" : " and ") + ShownPath(path);
        Fail(names + " are one name on Windows; this reads " + found.cFileName);
    }
    return LoadAllLanguageFiles();
}

int Dump(const std::string &folder, TableEncoding encoding) {
    if (!LoadGameFolder(folder)) return 1;
    std::string table = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        table += FormatTableRow(entry->key, entry->texts);
    return WriteOut(table, encoding);
}

bool QuietOpenFailures;

// The keys the folder's files hold now, of those that are there. Returns
// 0, having said nothing, when one cannot be opened: replacing it fails.
int LoadPresentFiles(void) {
    QuietOpenFailures = true;
    int loaded = 1;
    for (int i = 0; loaded && i < LANGUAGE_COUNT; ++i)
        loaded = !Exists(std::string(GameFolderPath) + LanguageFileNames[i]) || LoadLanguageFile(i);
    QuietOpenFailures = false;
    return loaded;
}

// The keys the folder has that the rows lack: how many, and the first few
// of them.
std::string RemovedKeys(const std::vector<TableRow> &rows, TableEncoding encoding) {
    std::set<std::string> kept;
    for (const TableRow &row : rows) kept.insert(row.key);
    size_t count = 0;
    std::string named;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        if (kept.count(entry->key)) continue;
        if (++count <= NamedRemovedKeys) named += (count > 1 ? ", " : "") + EncodedTable(EscapedText(entry->key), encoding);
    }
    if (count == 0) return "";
    return std::to_string(count) + (count == 1 ? " key" : " keys") + " of the folder's: " + named +
           (count > NamedRemovedKeys ? " and " + std::to_string(count - NamedRemovedKeys) + " more" : "");
}

int Make(const std::string &tablePath, const std::string &folder, TableEncoding encoding, bool removeKeys) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) return Fail(problem);
    std::string content, bytes, error;
    if (!ReadWholeFile(tablePath, &content)) return Fail(ShownPath(tablePath) + ": " + LastErrorText());
    std::vector<TableRow> rows;
    std::vector<std::string> warnings;
    if (!DecodeTable(content, encoding, &bytes, &error) || !ParseTable(bytes, &rows, &error, &warnings))
        return Fail(ShownPath(tablePath) + ": " + error);
    for (const std::string &warning : warnings) Fail(ShownPath(tablePath) + ": " + EncodedTable(warning, encoding));
    std::string images[TABLE_LANGUAGES];
    for (int i = 0; i < TABLE_LANGUAGES; ++i) images[i] = EncodeTableLanguage(rows, i);
    if (!UseGameFolder(folder)) return 1;
    std::string removed = removeKeys || !LoadPresentFiles() ? "" : RemovedKeys(rows, encoding);
    if (!removed.empty()) {
        Fail(ShownPath(tablePath) + " would remove " + removed + "; a table cut short does that, and --remove-keys " +
             "removes them");
        return Fail("nothing was written");
    }
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(GameFolderPath, images, &report);
    FailEach(report.warnings);
    FailEach(report.errors);
    std::string backups;
    for (const std::string &line : report.backups) backups += line + "\n";
    if (!replaced) return 1;
    return WriteOut(backups, encoding);
}

// The findings one a line, then what the table holds of each language.
int Check(const std::string &folder, TableEncoding encoding) {
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
    int written = WriteOut(report, encoding);
    return written != 0 ? written : findings != 0;
}

// fxt COMMAND [OPTIONS] ARGUMENTS...: the options come right after the
// command word.
int Run(const std::vector<std::string> &arguments) {
    std::string command = arguments.empty() ? "" : arguments[0];
    if (arguments.size() == 1 && (command == "--help" || command == "-h")) return WriteOut(Usage, TABLE_ANSI);
    bool ansi = false, removeKeys = false, known = true;
    size_t first = 1;
    for (; known && first < arguments.size() && arguments[first].compare(0, 2, "--") == 0; ++first) {
        const std::string &option = arguments[first];
        if (option == "--ansi") ansi = true;
        else if (option == "--remove-keys" && command == "make") removeKeys = true;
        else known = false;
    }
    TableEncoding encoding = ansi ? TABLE_ANSI : TABLE_UTF8;
    std::vector<std::string> operands(arguments.begin() + std::min(first, arguments.size()), arguments.end());
    if (known && command == "dump" && operands.size() == 1) return Dump(operands[0], encoding);
    if (known && command == "make" && operands.size() == 2) return Make(operands[0], operands[1], encoding, removeKeys);
    if (known && command == "check" && operands.size() == 1) return Check(operands[0], encoding);
    fputs(Usage, stderr);
    return 2;
}

} // namespace

// A language file that cannot be opened: the path and the system's reason.
void ReportOpenFailure(const char *path) {
    if (!QuietOpenFailures) Fail(ShownPath(path) + ": " + LastErrorText());
}

int main(int argc, char **argv) {
    UseBinaryStandardStreams();
    FindNamesInAnyCaseBelow("");
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc &) {
        // A make that ran out of memory has put the game folder back first.
        fputs("fxt: out of memory\n", stderr);
        return 1;
    }
}
