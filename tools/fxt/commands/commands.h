// fxt's commands, each returning its exit status, and what they share: the
// game folder they work on and the end of every make.
#ifndef PARLYTE_FXT_COMMANDS_H
#define PARLYTE_FXT_COMMANDS_H

#include "tools/fxt/folder/folder_files.h"
#include "tools/fxt/formats/encoding.h"
#include "tools/fxt/formats/po.h"

#include <string>
#include <vector>

int Dump(const std::string &argument, TableEncoding encoding);
int Check(const std::string &argument, TableEncoding encoding);
int Make(const std::string &tablePath, const std::string &argument, TableEncoding encoding, bool removeKeys);
// Prints the PO file of the game folder; the request's revision date is
// the time its language file (for a template, the source's) was written.
int Po(PoRequest request, const std::string &argument);
// Sets language's texts from the translated entries of a PO file, keeping
// every other text, and writes the files that changes.
int MakeFromPo(int language, const std::string &poPath, const std::string &argument);
int Restore(const std::string &argument);

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
// Writes the language files of the rows that they change, leaving the
// others alone; the backups made are added to output, warnings and
// failures said. Returns 1 when the folder holds the rows' table.
int WriteRows(const std::string &folder, const std::vector<TableRow> &rows, const FolderFiles &files,
              std::string *output);

#endif
