// Names below a game folder as Windows finds them, in any letter case; and
// names that are one on Windows but several files here, where letter case
// tells names apart, as on Linux and under Wine on a Linux disk.
#ifndef PARLYTE_FXT_NAMES_H
#define PARLYTE_FXT_NAMES_H

#include <string>
#include <vector>

// Whether two names are the same but for the letter case of ASCII letters.
bool SameButForCase(const std::string &left, const std::string &right);
// The names in folder (ending with a separator) that are name but for the
// letter case of its ASCII letters.
std::vector<std::string> NamesInAnyCase(const std::string &folder, const std::string &name);

// The name of the file of LanguageIndex index in GTADATA: "ENGLISH.FXT".
std::string LanguageFileName(int index);
// A game folder's GTADATA, from the folder ending with a separator.
std::string DataFolderOf(const std::string &folder);

// A name fxt reads or writes below the game folder (GTADATA, the language
// files, their .bak, .new and .old, the journal) that names several files.
struct NamesOfOneFile {
    std::string named;               // the path as fxt asks for it
    std::vector<std::string> paths;  // the files it finds
    std::string read;                // the one a read of it opens, where one is read; else ""
};
std::vector<NamesOfOneFile> FindNamesOfOneFile(const std::string &folder);

#endif
