// What the start-up and fault cases share: exit codes, the system's texts,
// game data copied into place, and the two ways start-up can stop.
#ifndef PARLYTE_E2E_CASE_CHECKS_H
#define PARLYTE_E2E_CASE_CHECKS_H

#include "browser.h"

#include <map>

extern const DWORD FailureExitCode;

void ExpectExit(Session &session, DWORD expected);
void ExpectNoMainWindow(const Session &session);
// The system's message text for an error code.
std::string SystemText(DWORD code);

// The exe's version resource: its fixed part, and the strings of its U.S.
// English, code page 1252 table (none when it has no such table).
struct ExeVersion {
    VS_FIXEDFILEINFO fixed;
    std::map<std::string, std::string> strings;
};
ExeVersion ReadExeVersion(const std::wstring &exe);

// Copies a game folder's four language files, all or all but one.
void CopyGameData(const std::wstring &from, const std::wstring &to, const wchar_t *skip);
void RemoveGameData(const std::wstring &folder);
// Every file and folder below a folder, with the files' bytes.
std::map<std::wstring, std::string> FolderSnapshot(const std::wstring &folder);

// The game folder is accepted but a language file cannot be opened: the
// system's text for the error, exit 0xFFFFFFFF, no window, nothing changed.
void ExpectLoadFailure(const CaseContext &context, const std::wstring &game, DWORD error);

#endif
