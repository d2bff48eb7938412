// What differs between fxt on Windows and fxt on Linux.
#ifndef PARLYTE_FXT_PLATFORM_H
#define PARLYTE_FXT_PLATFORM_H

#include <windows.h>

#include <string>

// Standard input and output carry bytes: no line end is changed on the way.
void UseBinaryStandardStreams(void);
// A path as the user's system writes it, for messages.
std::string ShownPath(const std::string &path);
// The game folder, ending with a separator, or "" before it is known. Names
// below it are found in any letter case, as Windows finds the game's files;
// on Linux, the folder itself and every other path (the table's) are taken
// as written.
void FindNamesInAnyCaseBelow(const std::string &folder);
// The path of an open file or folder as the system has it, links followed;
// "" where the system cannot tell (Windows before Vista, which has no links
// to files).
std::string FinalPathOf(HANDLE file);

// Whether standard output is a console window, not a file or a pipe.
bool WritesToConsole(void);
// Writes Windows-1252 text to that console as its characters, which show
// right whatever the console's code page. Returns 1, or 0 on failure.
int WriteConsoleCharacters(const std::string &windows1252);

#endif
