// fxt's files, through the system's own file calls: a table read whole, and
// why a call failed.
#ifndef PARLYTE_FXT_FILES_H
#define PARLYTE_FXT_FILES_H

#include <windows.h>

#include <string>
#include <vector>

// The whole of a file, or of standard input for "-". On failure returns 0
// with the reason in the last error.
int ReadWholeFile(const std::string &path, std::string *content);
// The rest of an open file.
int ReadWholeHandle(HANDLE file, std::string *content);

// Whether a file or folder is there.
bool Exists(const std::string &path);
// Whether two names are the same but for the letter case of ASCII letters.
bool SameButForCase(const std::string &left, const std::string &right);
// The names in folder (ending with a separator) that are name but for the
// letter case of its ASCII letters: more than one only where the system
// tells letter case apart, as Linux does and Wine on a Linux disk.
std::vector<std::string> NamesInAnyCase(const std::string &folder, const std::string &name);

// The system's text for an error code, or for the last error, on one line.
std::string ErrorText(DWORD code);
std::string LastErrorText(void);

#endif
