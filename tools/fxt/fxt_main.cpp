// fxt: prints the merged table of a game folder's four language files,
// writes language files from such a table, tells what the files hold that
// never reaches the table, hands one language's texts to translators as a
// PO file and takes them back, and puts the backups back. The same source
// on Windows and on Linux.
#include "fxt_check.h"
#include "fxt_encoding.h"
#include "fxt_files.h"
#include "fxt_platform.h"
#include "fxt_po_commands.h"
#include "fxt_program.h"
#include "fxt_replace.h"
#include "fxt_table.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <algorithm>
#include <new>
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
    "       fxt po [--template] [--source LANGUAGE] LANGUAGE GAMEFOLDER\n"
    "                                           print a PO file of LANGUAGE's texts for translators, the msgid\n"
    "                                           from English or the source; a template has every msgstr empty\n"
    "       fxt make --po LANGUAGE FILE.po GAMEFOLDER\n"
    "                                           write LANGUAGE's translated texts from FILE.po, keeping the rest\n"
    "       fxt restore GAMEFOLDER              put each NAME.bak back in place of its language file\n"
    "Tables are UTF-8; with --ansi they are the bytes the files hold (Windows-1252). LANGUAGE is English,\n"
    "French, German or Italian, or en, fr, de, it. A make writes only the files it changes. Each command\n"
    "first undoes an earlier fxt make of the folder that was interrupted.\n";

// The keys of the folder a make would remove that are named.
const size_t NamedRemovedKeys = 5;

int Dump(const std::string &folder, TableEncoding encoding) {
    if (!LoadGameFolder(folder)) return 1;
    std::string table = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        table += FormatTableRow(entry->key, entry->texts);
    return WriteOut(table, encoding);
}

// How many keys of the folder the rows lack, and the first few of them.
std::string RemovedKeys(const std::vector<TableRow> &rows, const FolderFiles &files, TableEncoding encoding) {
    std::vector<std::string> keys = KeysNotIn(rows, files);
    if (keys.empty()) return "";
    std::string named;
    for (size_t i = 0; i < keys.size() && i < NamedRemovedKeys; ++i)
        named += (i > 0 ? ", " : "") + EncodedTable(EscapedText(keys[i]), encoding);
    return std::to_string(keys.size()) + (keys.size() == 1 ? " key" : " keys") + " of the folder's: " + named +
           (keys.size() > NamedRemovedKeys ? " and " + std::to_string(keys.size() - NamedRemovedKeys) + " more" : "");
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
    if (!UseGameFolder(folder)) return 1;
    FolderFiles files;
    ReadFolderQuietly(&files);
    std::string removed = removeKeys ? "" : RemovedKeys(rows, files, encoding);
    if (!removed.empty()) {
        Fail(ShownPath(tablePath) + " would remove " + removed + "; a table cut short does that, and --remove-keys " +
             "removes them");
        return Fail("nothing was written");
    }
    std::string backups;
    if (!WriteRows(rows, files, &backups)) return 1;
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

// Each NAME.bak in place of its language file, where the two differ.
int Restore(const std::string &folder) {
    if (!UseGameFolder(folder)) return 1;
    std::string backups[TABLE_LANGUAGES], restored;
    const std::string *images[TABLE_LANGUAGES] = {};
    bool anyBackup = false;
    for (int i = 0; i < TABLE_LANGUAGES; ++i) {
        std::string path = std::string(GameFolderPath) + LanguageFileNames[i], current;
        WIN32_FIND_DATAA found;
        HANDLE backup = FindFirstFileA((path + ".bak").c_str(), &found);
        if (backup == INVALID_HANDLE_VALUE) continue;
        FindClose(backup);
        anyBackup = true;
        if (!ReadWholeFile(path + ".bak", &backups[i])) return Fail(ShownPath(path + ".bak") + ": " + LastErrorText());
        if (Exists(path) && ReadWholeFile(path, &current) && current == backups[i]) continue;
        images[i] = &backups[i];
        restored += "restored " + ShownPath(path) + " from " + found.cFileName + "\n";
    }
    if (!anyBackup) return Fail(ShownPath(std::string(GameFolderPath) + "GTADATA") + " holds no backup (NAME.bak, " +
                                "which fxt make keeps): there is nothing to restore");
    if (restored.empty()) return WriteOut("the language files are as their backups already\n", TABLE_UTF8);
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(GameFolderPath, images, &report);
    FailEach(report.warnings);
    FailEach(report.errors);
    return replaced ? WriteOut(restored, TABLE_UTF8) : 1;
}

// fxt COMMAND [OPTIONS] ARGUMENTS...: the options come right after the
// command word.
int Run(const std::vector<std::string> &arguments) {
    std::string command = arguments.empty() ? "" : arguments[0];
    if (arguments.size() == 1 && (command == "--help" || command == "-h")) return WriteOut(Usage, TABLE_ANSI);
    bool ansi = false, removeKeys = false, po = false, asTemplate = false, known = true;
    int source = LANGUAGE_ENGLISH;
    size_t first = 1;
    for (; known && first < arguments.size() && arguments[first].compare(0, 2, "--") == 0; ++first) {
        const std::string &option = arguments[first];
        if (option == "--ansi" && command != "po" && command != "restore") ansi = true;
        else if (option == "--remove-keys" && command == "make") removeKeys = true;
        else if (option == "--po" && command == "make") po = true;
        else if (option == "--template" && command == "po") asTemplate = true;
        else if (option == "--source" && command == "po" && first + 1 < arguments.size())
            known = (source = LanguageOfName(arguments[++first])) >= 0;
        else known = false;
    }
    TableEncoding encoding = ansi ? TABLE_ANSI : TABLE_UTF8;
    std::vector<std::string> operands(arguments.begin() + std::min(first, arguments.size()), arguments.end());
    int language = operands.empty() ? -1 : LanguageOfName(operands[0]);
    known = known && !(po && (ansi || removeKeys));
    if (known && command == "dump" && operands.size() == 1) return Dump(operands[0], encoding);
    if (known && command == "make" && !po && operands.size() == 2) return Make(operands[0], operands[1], encoding, removeKeys);
    if (known && command == "make" && po && operands.size() == 3 && language >= 0)
        return MakeFromPo(language, operands[1], operands[2]);
    if (known && command == "check" && operands.size() == 1) return Check(operands[0], encoding);
    if (known && command == "po" && operands.size() == 2 && language >= 0 && language != source)
        return Po(PoRequest{language, source, asTemplate, ""}, operands[1]);
    if (known && command == "restore" && operands.size() == 1) return Restore(operands[0]);
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
