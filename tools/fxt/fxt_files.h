// fxt's files, through the system's own file calls: a table read whole, and
// why a call failed.
#ifndef PARLYTE_FXT_FILES_H
#define PARLYTE_FXT_FILES_H

#include <windows.h>

#include <string>

// The whole of a file, or of standard input for "-". On failure returns 0
// with the reason in the last error.
int ReadWholeFile(const std::string &path, std::string *content);

// The system's text for an error code, or for the last error, on one line.
std::string ErrorText(DWORD code);
std::string LastErrorText(void);

#endif
