// Names below the game folder.
#include "names.h"

#include "tools/fxt/formats/journal.h"
#include "tools/fxt/formats/wording.h"

#include "text/text_store.h"
#include "tools/fxt/platform/platform.h"

#include <algorithm>

static char UpperCase(char ch) {
    return ch >= 'a' && ch <= 'z' ? (char)(ch - 32) : ch;
}

bool SameButForCase(const std::string &left, const std::string &right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i)
        if (UpperCase(left[i]) != UpperCase(right[i])) return false;
    return true;
}

std::vector<std::string> NamesInAnyCase(const std::string &folder, const std::string &name) {
    std::vector<std::string> names;
    FoundFile found;
    HANDLE search = FindFirstPath(folder + "*", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (SameButForCase(found.name, name)) names.push_back(found.name);
    while (FindNextPath(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string LanguageFileName(int index) {
    return FileNameOf(LanguageFileNames[index]);
}

std::string DataFolderOf(const std::string &folder) {
    return folder + DATA_FOLDER_NAME;
}

std::vector<NamesOfOneFile> FindNamesOfOneFile(const std::string &folder) {
    std::vector<NamesOfOneFile> sets;
    auto look = [&](const std::string &in, const std::string &name, bool read) {
        std::vector<std::string> names = NamesInAnyCase(in, name);
        if (names.size() < 2) return;
        NamesOfOneFile twins = {in + name, {}, ""};
        for (const std::string &each : names) twins.paths.push_back(in + each);
        FoundFile found;
        HANDLE search = read ? FindFirstPath(twins.named, &found) : INVALID_HANDLE_VALUE;
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            twins.read = found.name;
        }
        sets.push_back(twins);
    };
    look(folder, DATA_FOLDER_NAME, true);
    std::string dataFolder = DataFolderOf(folder) + "\\";
    for (int index = 0; index < LANGUAGE_COUNT; ++index)
        for (const char *suffix : {"", ".bak", ".new", ".old", ".prev"})
            look(dataFolder, LanguageFileName(index) + suffix, !*suffix);
    look(dataFolder, JournalName, false);
    return sets;
}
