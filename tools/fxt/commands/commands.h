// fxt's commands, each returning its exit status, and what they share: the
// options given, the game folder they work on, and the end of every make.
#ifndef PARLYTE_FXT_COMMANDS_H
#define PARLYTE_FXT_COMMANDS_H

#include "tools/fxt/folder/folder_files.h"
#include "tools/fxt/folder/replace.h"
#include "tools/fxt/formats/encoding.h"
#include "tools/fxt/formats/po.h"

#include <map>
#include <string>
#include <vector>

// What the options of a command line ask for.
struct Options {
    TextCoding coding;          // of the tables and PO files written and read
    int codePageGiven = 0;      // with --codepage, or 0
    int codePageLanguage = -1;  // the language --codepage names (LANGUAGE=N), or -1
    std::string languageCode;   // with --language: the language of a PO file fxt po writes
    bool removeKeys = false;
    bool asTemplate = false;
    bool dryRun = false;
    int source = LANGUAGE_ENGLISH;
};

int Dump(const Options &options, const std::string &argument);
int Check(const Options &options, const std::string &argument);
int Make(const Options &options, const std::string &tablePath, const std::string &argument);
// Prints the PO file of language's texts; its revision date is the time
// its language file (for a template, the source's) was written.
int Po(const Options &options, int language, const std::string &argument);
// Sets language's texts from the translated entries of a PO file, keeping
// every other text, and writes the files that changes.
int MakeFromPo(const Options &options, int language, const std::string &poPath, const std::string &argument);
// Puts each NAME.bak back, of the languages given (all where none is).
int Restore(const Options &options, const std::vector<int> &languages, const std::string &argument);
// Puts back each NAME.prev, the files the last make replaced.
int UndoLastMake(const Options &options, const std::string &argument);
// The keys whose texts differ between two folders, language by language.
int Diff(const Options &options, const std::string &oldArgument, const std::string &newArgument);
// The keys without a text in a language.
int Missing(const Options &options, int language, const std::string &argument);

// What is wrong with a game folder argument, or "".
std::string FolderArgumentProblem(const std::string &argument);
// Whether a command only reads the game folder or writes to it.
enum FolderUse { READING, WRITING };
// Checks the game folder argument and gives the folder, ending with a
// separator, below which names are found in any letter case; then undoes
// a make of it that was interrupted. Returns 0, having said why, when the
// command cannot go on: another make is working there, or, for a command
// that writes, an earlier make's journal was left or moved aside.
int UseGameFolder(const std::string &argument, FolderUse use, std::string *folder);
// That, then reads the folder's files and the table they give, saying which
// file it reads where several have its name in another letter case.
// Returns 0, having said which, when a file cannot be opened.
int ReadGameFolder(const std::string &argument, FolderUse use, std::string *folder, FolderFiles *files,
                   std::vector<TableRow> *rows);
// The texts, by key, of the language a fan translation is written over, as
// its NAME.bak holds them (backup names it); where there is none, with
// fileItself those the file holds, which nothing has replaced yet, else
// none (backup ""). Returns 0, having said why, when the backup cannot be
// read.
int ReplacedTexts(const std::string &folder, int language, bool fileItself, std::map<std::string, std::string> *texts,
                  std::string *backup);
// Writes the language files of the rows that they change, leaving the
// others alone, or with --dry-run says which it would write, with how many
// texts each changes; the backups made are added to output, warnings and
// failures said. Returns 1 when the folder holds the rows' table, or could.
int WriteRows(const Options &options, const std::string &folder, const std::vector<TableRow> &rows,
              const FolderFiles &files, std::string *output);
// Replaces the files that have an image, as the request says, or with
// --dry-run says what it would write; what was done is added to output,
// warnings and failures said. Returns 1 when it is done, or could be.
int Replace(const Options &options, const std::string &folder, ReplaceRequest request, std::string *output);

#endif
