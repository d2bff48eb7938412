// The commands' shared parts.
#include "fxt_program.h"

#include "fxt_encoder.h"
#include "fxt_platform.h"
#include "fxt_replace.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <stdio.h>

bool QuietOpenFailures;

namespace {

// The longest game folder the program accepts, with its trailing separator.
const size_t LongestGameFolder = 234;

int WriteBytes(FILE *stream, const std::string &bytes) {
    return fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size() && fflush(stream) == 0;
}

// The folder with a separator at its end, as the game folder is kept.
std::string FolderPath(const std::string &folder) {
    return folder.back() == '/' || folder.back() == '\\' ? folder : folder + '\\';
}

} // namespace

int Fail(const std::string &message) {
    std::string line = "fxt: " + message + "\n";
    fputs(line.c_str(), stderr);
    return 1;
}

void FailEach(const std::vector<std::string> &lines) {
    for (const std::string &line : lines) Fail(line);
}

int WriteOut(const std::string &bytes, TableEncoding encoding) {
    return WriteText(bytes, EncodedTable(bytes, encoding));
}

int WriteText(const std::string &windows1252, const std::string &encoded) {
    int written = WritesToConsole() ? WriteConsoleCharacters(windows1252) : WriteBytes(stdout, encoded);
    return written ? 0 : Fail("cannot write to standard output");
}

std::string FolderArgumentProblem(const std::string &folder) {
    if (folder.empty()) return "the game folder path is empty";
    if (FolderPath(folder).size() > LongestGameFolder)
        return folder + ": a game folder path has at most " + std::to_string(LongestGameFolder) +
               " characters with its trailing separator";
    return "";
}

int UseGameFolder(const std::string &folder) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) return !Fail(problem);
    lstrcpyA(GameFolderPath, FolderPath(folder).c_str());
    FindNamesInAnyCaseBelow(GameFolderPath);
    std::vector<std::string> messages;
    int recovered = RecoverInterruptedMake(GameFolderPath, &messages);
    FailEach(messages);
    return recovered;
}

// Which file loading reads where several have its name in another letter
// case.
static void SayWhichNamesAreRead(void) {
    for (const NamesOfOneFile &twins : FindNamesOfOneFile(GameFolderPath)) {
        WIN32_FIND_DATAA found;
        HANDLE search = twins.read ? FindFirstFileA(twins.named.c_str(), &found) : INVALID_HANDLE_VALUE;
        if (search == INVALID_HANDLE_VALUE) continue;
        FindClose(search);
        std::string names;
        for (const std::string &path : twins.paths) names += (names.empty() ? "" : " and ") + ShownPath(path);
        Fail(names + " are one name on Windows; this reads " + found.cFileName);
    }
}

int LoadGameFolder(const std::string &folder) {
    if (!UseGameFolder(folder)) return 0;
    SayWhichNamesAreRead();
    return LoadAllLanguageFiles();
}

int ReadGameFolder(const std::string &folder, FolderFiles *files, std::vector<TableRow> *rows) {
    if (!UseGameFolder(folder)) return 0;
    SayWhichNamesAreRead();
    ReadFolderFiles(files);
    for (bool readable : files->readable)
        if (!readable) return 0;
    *rows = MergedRows(*files);
    return 1;
}

void ReadFolderQuietly(FolderFiles *files) {
    QuietOpenFailures = true;
    ReadFolderFiles(files);
    QuietOpenFailures = false;
}

int WriteRows(const std::vector<TableRow> &rows, const FolderFiles &files, std::string *output) {
    bool changed[TABLE_LANGUAGES];
    FindChangedFiles(rows, files, changed);
    std::string images[TABLE_LANGUAGES];
    const std::string *written[TABLE_LANGUAGES] = {};
    for (int i = 0; i < TABLE_LANGUAGES; ++i) {
        if (!changed[i]) continue;
        images[i] = EncodeTableLanguage(rows, i);
        written[i] = &images[i];
    }
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(GameFolderPath, written, &report, files.unreached);
    FailEach(report.warnings);
    FailEach(report.errors);
    for (const std::string &line : report.backups) *output += line + "\n";
    return replaced;
}
