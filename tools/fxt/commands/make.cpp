// fxt make: a table written to the game folder's language files, and the
// end of every make, from a table, a PO file or the files kept.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/files.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

namespace {

// The keys of the folder a make would remove that are named.
const size_t NamedRemovedKeys = 5;

// How many keys of the folder the rows lack, and the first few of them.
std::string RemovedKeys(const std::vector<TableRow> &rows, const FolderFiles &files, const TextCoding &coding) {
    std::vector<std::string> keys = KeysNotIn(rows, files.stored);
    if (keys.empty()) return "";
    std::string named;
    for (size_t i = 0; i < keys.size() && i < NamedRemovedKeys; ++i)
        named += (i > 0 ? ", " : "") + Shown(keys[i], coding);
    return Counted(keys.size(), "key", "keys") + " of the folder's: " + named +
           (keys.size() > NamedRemovedKeys ? " and " + std::to_string(keys.size() - NamedRemovedKeys) + " more" : "");
}

} // namespace

int Make(const Options &options, const std::string &tablePath, const std::string &argument) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return EXIT_FAILED;
    }
    std::string content, bytes, error;
    if (!ReadWholeFile(tablePath, &content, &error)) {
        Say(NamedPath(tablePath) + ": " + error);
        return EXIT_FAILED;
    }
    Refusals refusals;
    std::vector<TableRow> rows;
    std::vector<std::string> warnings;
    CharacterNotes notes;
    std::string whole = WholeTableProblem(content, options.coding);
    if (!whole.empty()) {
        Refuse(&refusals, 1, 1, whole);
    } else {
        // Every line is read, whatever is refused before it.
        DecodeTable(content, options.coding, &bytes, &refusals, &notes);
        ParseTable(bytes, &rows, &refusals, &warnings);
    }
    if (AnyRefused(refusals)) {
        SayRefusals(tablePath, refusals);
        Say("nothing was written");
        return EXIT_FAILED;
    }
    if (notes.commasBelow) warnings.push_back(CommasBelowWarning(notes.commasBelow));
    for (const std::string &warning : warnings) Say(NamedPath(tablePath) + ": " + warning);
    std::string folder;
    if (!UseGameFolder(argument, WRITING, &folder)) return EXIT_FAILED;
    // A file that cannot be opened is told by the make that replaces it.
    FolderFiles files;
    ReadFolderFiles(folder, &files);
    std::string removed = options.removeKeys ? "" : RemovedKeys(rows, files, options.coding);
    if (!removed.empty()) {
        Say(NamedPath(tablePath) + " would remove " + removed + "; a table cut short does that, and --remove-keys " +
            "removes them");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    std::string output;
    if (!WriteRows(options, folder, rows, files, &output)) return EXIT_FAILED;
    return WriteUtf8(output) ? EXIT_DONE : EXIT_FAILED;
}

int WriteRows(const Options &options, const std::string &folder, const std::vector<TableRow> &rows,
              const FolderFiles &files, std::string *output) {
    bool changed[LANGUAGE_COUNT];
    FindChangedFiles(rows, files.stored, files.readable, changed);
    std::string images[LANGUAGE_COUNT], written;
    ReplaceRequest request;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        request.unreached[i] = files.scans[i].unreached;
        if (!changed[i]) continue;
        images[i] = EncodeTableLanguage(rows, i);
        request.images[i] = &images[i];
        written += std::string(options.dryRun ? "would write " : "wrote ") + ShownPath(files.paths[i]) + ": " +
                   Counted(ChangedTexts(files.stored[i], LanguagePairs(rows, i)), "text", "texts") + " changed\n";
    }
    if (options.dryRun) *output += written;
    if (!Replace(options, folder, request, output)) return 0;
    if (!options.dryRun) *output += written;
    return 1;
}

int Replace(const Options &options, const std::string &folder, ReplaceRequest request, std::string *output) {
    request.dryRun = options.dryRun;
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(folder, request, &report);
    SayEach(report.warnings);
    SayEach(report.errors);
    for (const std::string &line : report.backups) *output += line + "\n";
    if (replaced && options.dryRun) *output += "a dry run: nothing was written\n";
    return replaced;
}
