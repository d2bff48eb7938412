// The game folder a command works on.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/files.h"
#include "tools/fxt/folder/kept_files.h"
#include "tools/fxt/folder/names.h"
#include "tools/fxt/folder/replace.h"
#include "tools/fxt/platform/platform.h"

namespace {

// The longest game folder the program accepts, with its trailing separator.
const size_t LongestGameFolder = 234;

// The folder with a separator at its end, as the game folder is kept.
std::string FolderPath(const std::string &folder) {
    return folder.back() == '/' || folder.back() == '\\' ? folder : folder + '\\';
}

// Which file a read opens where several have its name in another letter case.
void SayWhichNamesAreRead(const std::string &folder) {
    for (const NamesOfOneFile &twins : FindNamesOfOneFile(folder)) {
        if (twins.read.empty()) continue;
        std::string names;
        for (const std::string &path : twins.paths) names += (names.empty() ? "" : " and ") + ShownPath(path);
        Say(names + " are one name on Windows; this reads " + twins.read);
    }
}

} // namespace

std::string FolderArgumentProblem(const std::string &argument) {
    if (argument.empty()) return "the game folder path is empty";
    std::string path = FolderPath(argument);
    size_t characters = 0;
    for (char byte : path) characters += ((unsigned char)byte & 0xC0) != 0x80;
    if (characters > LongestGameFolder)
        return argument + ": a game folder path has at most " + std::to_string(LongestGameFolder) +
               " characters with its trailing separator";
    return "";
}

int UseGameFolder(const std::string &argument, FolderUse use, std::string *folder) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return 0;
    }
    *folder = FolderPath(argument);
    FindNamesInAnyCaseBelow(*folder);
    std::vector<std::string> messages;
    FolderState state = RecoverInterruptedMake(*folder, &messages);
    SayEach(messages);
    if (state == FOLDER_SETTLED || (state == FOLDER_UNSETTLED && use == READING)) return 1;
    if (state == FOLDER_UNSETTLED) Say("nothing was written");
    return 0;
}

int ReadGameFolder(const std::string &argument, FolderUse use, std::string *folder, FolderFiles *files,
                   std::vector<TableRow> *rows) {
    if (!UseGameFolder(argument, use, folder)) return 0;
    SayWhichNamesAreRead(*folder);
    ReadFolderFiles(*folder, files);
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        if (!files->readable[language]) {
            // The reader opens no pipe or device as a file: named as such.
            DWORD error = files->openErrors[language];
            Say(ShownPath(files->paths[language]) + (error == ERROR_OPEN_FAILED ? " is a device or a pipe, not a language file"
                                                                                  : ": " + ErrorText(error)));
            return 0;
        }
    *rows = FolderRows(*files);
    return 1;
}

int ReplacedTexts(const std::string &folder, int language, bool fileItself, std::map<std::string, std::string> *texts,
                  std::string *backup) {
    KeptFiles kept;
    std::string error;
    if (!ReadKeptFiles(folder, ".bak", &kept, &error)) {
        Say(error);
        return 0;
    }
    *backup = kept.names[language];
    StoredPairs pairs = kept.stored[language];
    if (backup->empty() && fileItself) {
        FolderFiles files;
        ReadFolderFiles(folder, &files);
        pairs = files.stored[language];
    }
    // The first of a key, as loading keeps it.
    for (const auto &pair : pairs) texts->emplace(pair.first, pair.second);
    return 1;
}
