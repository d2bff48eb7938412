// fxt make: a table written to the game folder's language files, and the
// end of every make, from a table or a PO file.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/files.h"
#include "tools/fxt/folder/replace.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/wording.h"

namespace {

// The keys of the folder a make would remove that are named.
const size_t NamedRemovedKeys = 5;

// How many keys of the folder the rows lack, and the first few of them.
std::string RemovedKeys(const std::vector<TableRow> &rows, const FolderFiles &files, TableEncoding encoding) {
    std::vector<std::string> keys = KeysNotIn(rows, files.stored);
    if (keys.empty()) return "";
    std::string named;
    for (size_t i = 0; i < keys.size() && i < NamedRemovedKeys; ++i)
        named += (i > 0 ? ", " : "") + EncodedTable(EscapedText(keys[i]), encoding);
    return Counted(keys.size(), "key", "keys") + " of the folder's: " + named +
           (keys.size() > NamedRemovedKeys ? " and " + std::to_string(keys.size() - NamedRemovedKeys) + " more" : "");
}

} // namespace

int Make(const std::string &tablePath, const std::string &argument, TableEncoding encoding, bool removeKeys) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return EXIT_FAILED;
    }
    std::string content, bytes, error;
    std::vector<TableRow> rows;
    std::vector<std::string> warnings;
    if (!ReadWholeFile(tablePath, &content, &error) || !DecodeTable(content, encoding, &bytes, &error) ||
        !ParseTable(bytes, &rows, &error, &warnings)) {
        Say(NamedPath(tablePath) + ": " + error);
        return EXIT_FAILED;
    }
    for (const std::string &warning : warnings) Say(NamedPath(tablePath) + ": " + EncodedTable(warning, encoding));
    std::string folder;
    if (!UseGameFolder(argument, WRITING, &folder)) return EXIT_FAILED;
    // A file that cannot be opened is told by the make that replaces it.
    FolderFiles files;
    ReadFolderFiles(folder, &files);
    std::string removed = removeKeys ? "" : RemovedKeys(rows, files, encoding);
    if (!removed.empty()) {
        Say(NamedPath(tablePath) + " would remove " + removed + "; a table cut short does that, and --remove-keys " +
            "removes them");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    std::string backups;
    if (!WriteRows(folder, rows, files, &backups)) return EXIT_FAILED;
    return WriteOut(backups, encoding) ? EXIT_DONE : EXIT_FAILED;
}

int WriteRows(const std::string &folder, const std::vector<TableRow> &rows, const FolderFiles &files,
              std::string *output) {
    bool changed[LANGUAGE_COUNT];
    FindChangedFiles(rows, files.stored, files.readable, changed);
    std::string images[LANGUAGE_COUNT];
    const std::string *written[LANGUAGE_COUNT] = {};
    int unreached[LANGUAGE_COUNT];
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        unreached[i] = files.scans[i].unreached;
        if (!changed[i]) continue;
        images[i] = EncodeTableLanguage(rows, i);
        written[i] = &images[i];
    }
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(folder, written, unreached, &report);
    SayEach(report.warnings);
    SayEach(report.errors);
    for (const std::string &line : report.backups) *output += line + "\n";
    return replaced;
}
