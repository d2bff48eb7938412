// Files through the system's own file calls: a file read whole, whether a
// name is there, and why a call failed.
#ifndef PARLYTE_FXT_FILES_H
#define PARLYTE_FXT_FILES_H

#include <windows.h>

#include <string>

// The whole of a file, or of standard input for "-". On failure returns 0
// with the reason in *error.
int ReadWholeFile(const std::string &path, std::string *content, std::string *error);
// The rest of an open file; on failure 0 with the reason in the last error.
int ReadWholeHandle(HANDLE file, std::string *content);

// Whether a file or folder is there.
bool Exists(const std::string &path);

// The system's text for an error code, or for the last error, on one line.
std::string ErrorText(DWORD code);
std::string LastErrorText(void);

#endif
