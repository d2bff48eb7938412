// fxt's files, through the system's own file calls: a table read whole, the
// four language files written all or none, and why a call failed.
#ifndef PARLYTE_FXT_FILES_H
#define PARLYTE_FXT_FILES_H

#include "fxt_table.h"

#include <string>

// The whole of a file, or of standard input for "-". On failure returns 0
// with the reason in the last error.
int ReadWholeFile(const std::string &path, std::string *content);

// Writes FOLDER\GTADATA\ENGLISH.FXT and the others, FOLDER ending with a
// separator, each beside its final name first and then renamed over it
// (over a file of that name in any letter case). On failure returns 0 with
// a message naming the path and writes nothing more.
int WriteLanguageFiles(const std::string &folder, const std::string images[TABLE_LANGUAGES], std::string *error);

// The system's text for the last error, on one line.
std::string LastErrorText(void);

#endif
