// What differs between fxt on Windows and fxt on Linux. fxt keeps every
// path and every message in UTF-8: on Windows its arguments come as the
// system gives them, in UTF-16, and its files are reached through the wide
// calls, so that a name outside the ANSI code page is found as written.
#ifndef PARLYTE_FXT_PLATFORM_H
#define PARLYTE_FXT_PLATFORM_H

#include <windows.h>

#include <stdio.h>
#include <string>
#include <vector>

// fxt itself, from the command line's arguments in UTF-8 (after the
// program's name); returns the exit status. Each platform's main calls it.
int FxtMain(const std::vector<std::string> &arguments);

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

// The system's file calls, by a path in UTF-8.
struct FoundFile {
    std::string name;
    DWORD attributes;
    FILETIME lastWrite;
};
HANDLE OpenPath(const std::string &path, DWORD access, DWORD sharing, DWORD disposition, DWORD flags);
// FindFirstFile and FindNextFile.
HANDLE FindFirstPath(const std::string &pattern, FoundFile *found);
BOOL FindNextPath(HANDLE search, FoundFile *found);
DWORD PathAttributes(const std::string &path);
BOOL MakeFolderAt(const std::string &path);
BOOL RemoveFolderAt(const std::string &path);
// A file opened as itself (OpenPath with FILE_FLAG_OPEN_REPARSE_POINT and
// DELETE access: a link opens as the link) removed, or renamed to a path,
// replacing what is there only with replace. 0 with the last error set;
// ERROR_CALL_NOT_IMPLEMENTED where the system cannot act on an open file.
BOOL RemoveOpened(HANDLE file);
BOOL RenameOpened(HANDLE file, const std::string &to, bool replace);
// The system's text for an error code, in UTF-8.
std::string SystemErrorText(DWORD code);

// This user's own folder of fxt's state, never in a game folder:
// %LOCALAPPDATA%\fxt on Windows, $XDG_STATE_HOME/fxt or ~/.local/state/fxt
// on Linux; "" where the system names none.
std::string UserStateFolder(void);
// A secret of this user's in that folder, at path: read whole (1), absent
// (0), or not to be trusted or read (-1, with why in *problem); and made,
// with the folder if need be, readable by this user alone (1, or 0 with why).
int ReadUserSecret(const std::string &path, std::string *bytes, std::string *problem);
int MakeUserSecret(const std::string &path, const std::string &bytes, std::string *problem);

// The character the converter of a Windows code page gives each byte, 0
// where it gives none. Returns 0 where the system has no such converter.
int ConvertedCharacters(int codePage, unsigned characters[256]);

// Whether a standard stream is a console window, not a file or a pipe.
bool IsConsole(FILE *stream);
// Writes UTF-8 text to that console as its characters, which show right
// whatever the console's code page. Returns 1, or 0 on failure.
int WriteConsoleText(FILE *stream, const std::string &utf8);

#endif
