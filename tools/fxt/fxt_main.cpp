// fxt: prints the merged table of a game folder's four language files, and
// writes language files from such a table.
#include "fxt_encoder.h"
#include "fxt_table.h"

#include "compat/compat_control.h"
#include "folder/game_folder.h"
#include "text/text_store.h"

#include <errno.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char Usage[] =
    "usage: fxt dump GAMEFOLDER        print GAMEFOLDER's four language files as one table\n"
    "       fxt make TABLE GAMEFOLDER  write GAMEFOLDER/GTADATA/*.FXT from TABLE (- for standard input)\n";

// The longest game folder the program accepts, with its trailing separator.
const size_t LongestGameFolder = 234;

int Fail(const std::string &message) {
    std::cerr << "fxt: " << message << "\n";
    return 1;
}

std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

int Dump(const std::string &folder) {
    if (folder.empty()) return Fail("the game folder path is empty");
    std::string path = folder;
    if ((path.back() != '/' && path.back() != '\\')) path += '\\';
    if (path.size() > LongestGameFolder)
        return Fail(folder + ": a game folder path has at most " + std::to_string(LongestGameFolder) +
                    " characters with its trailing separator");
    strcpy(GameFolderPath, path.c_str());
    if (!LoadAllLanguageFiles()) {
        const std::vector<CompatMessageBox> &boxes = CompatMessageBoxes();
        std::string reason = boxes.empty() ? "cannot be read" : WithoutLineEnd(boxes.back().text);
        return Fail(CompatLastOpenedPath() + ": " + reason);
    }
    std::string table = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        table += FormatTableRow(entry->key, entry->texts);
    std::cout << table << std::flush;
    return std::cout ? 0 : Fail("cannot write to standard output");
}

int ReadWhole(const std::string &path, std::string *content) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) return 0;
        text << file.rdbuf();
    }
    *content = text.str();
    return 1;
}

int MakeFolder(const std::string &path) {
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

// Each file is written beside its final name and renamed over it, so that a
// failure leaves no half-written language file behind.
int WriteFiles(const std::string &folder, const std::string images[TABLE_LANGUAGES], std::string *error) {
    std::string data = folder + "/GTADATA";
    if (!MakeFolder(folder) || !MakeFolder(data)) {
        *error = data + ": " + strerror(errno);
        return 0;
    }
    std::string finals[TABLE_LANGUAGES];
    std::string temporaries[TABLE_LANGUAGES];
    for (int i = 0; i < TABLE_LANGUAGES; ++i) {
        finals[i] = folder + "/" + CompatNativePath(LanguageFileNames[i]);
        temporaries[i] = finals[i] + ".tmp";
    }
    int written = 1;
    for (int i = 0; written && i < TABLE_LANGUAGES; ++i) {
        std::ofstream file(temporaries[i], std::ios::binary | std::ios::trunc);
        file << images[i];
        file.close();
        if (!file) {
            *error = temporaries[i] + ": cannot be written";
            written = 0;
        }
    }
    for (int i = 0; written && i < TABLE_LANGUAGES; ++i) {
        if (rename(temporaries[i].c_str(), finals[i].c_str()) != 0) {
            *error = finals[i] + ": " + strerror(errno);
            written = 0;
        }
    }
    if (!written)
        for (const std::string &temporary : temporaries) unlink(temporary.c_str());
    return written;
}

int Make(const std::string &tablePath, const std::string &folder) {
    std::string content;
    if (!ReadWhole(tablePath, &content)) return Fail(tablePath + ": " + strerror(errno));
    std::vector<TableRow> rows;
    std::string error;
    if (!ParseTable(content, &rows, &error)) return Fail(tablePath + ": " + error);
    std::string images[TABLE_LANGUAGES];
    for (int i = 0; i < TABLE_LANGUAGES; ++i) images[i] = EncodeTableLanguage(rows, i);
    if (!WriteFiles(folder, images, &error)) return Fail(error);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h") {
        std::cout << Usage;
        return 0;
    }
    if (command == "dump" && argc == 3) return Dump(argv[2]);
    if (command == "make" && argc == 4) return Make(argv[2], argv[3]);
    std::cerr << Usage;
    return 2;
}
