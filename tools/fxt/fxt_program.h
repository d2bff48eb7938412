// What fxt's commands share: their reports on standard error, their output,
// the game folder they work on, and the end of every make.
#ifndef PARLYTE_FXT_PROGRAM_H
#define PARLYTE_FXT_PROGRAM_H

#include "fxt_changes.h"
#include "fxt_encoding.h"
#include "fxt_table.h"

#include <string>
#include <vector>

// "fxt: MESSAGE" on standard error; returns 1, the status of a failure.
int Fail(const std::string &message);
void FailEach(const std::vector<std::string> &lines);

// Text of the files' bytes on standard output: in the table's encoding, or
// as its characters on a console. Returns the exit status.
int WriteOut(const std::string &bytes, TableEncoding encoding);
// The same, the text already encoded for a file or a pipe.
int WriteText(const std::string &windows1252, const std::string &encoded);

// What is wrong with a game folder argument, or "".
std::string FolderArgumentProblem(const std::string &folder);
// Checks the game folder argument and makes it the one the files are found
// in, as Parlyte keeps it; then undoes a make of it that was interrupted.
// Returns 0, having said why, when the command cannot go on.
int UseGameFolder(const std::string &folder);
// That, then loads the folder's files into the table as Parlyte does,
// saying which file it reads where several have its name in another letter
// case; a file that cannot be opened has been reported.
int LoadGameFolder(const std::string &folder);
// The same, reading what each file stores into files and rows as loading
// would give them, in linear time.
int ReadGameFolder(const std::string &folder, FolderFiles *files, std::vector<TableRow> *rows);

// While set, a language file that cannot be opened is not reported.
extern bool QuietOpenFailures;

// What the folder's language files store now; a file that cannot be opened
// is said to be so later, by whatever replaces it.
void ReadFolderQuietly(FolderFiles *files);
// Writes the language files of the rows that they change, leaving the
// others alone; backups made, warnings and failures are told, the backups'
// lines added to output. Returns 1 when the folder holds the rows' table.
int WriteRows(const std::vector<TableRow> &rows, const FolderFiles &files, std::string *output);

#endif
