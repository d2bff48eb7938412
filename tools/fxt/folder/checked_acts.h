// Removing and renaming the files a make proved its own, each through a
// handle on the file itself, opened without following a link, whose
// identity is checked before the act: a link or another file put in its
// place after the make looked is never what is removed or moved.
#ifndef PARLYTE_FXT_CHECKED_ACTS_H
#define PARLYTE_FXT_CHECKED_ACTS_H

#include <windows.h>

#include <string>

// A file or folder opened as itself, to be removed or renamed, or
// INVALID_HANDLE_VALUE with the last error set.
HANDLE OpenToAct(const std::string &path, DWORD access = DELETE, DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                                                     FILE_SHARE_DELETE,
                 DWORD disposition = OPEN_EXISTING);

// Removes path, or renames it to to (over what is there only with
// replace), where it is a plain file with identity. Returns 1, or 0 with
// "cannot remove PATH: why" (or "cannot move PATH to TO: why") in failure.
int RemoveChecked(const std::string &path, const std::string &identity, std::string *failure);
int RenameChecked(const std::string &path, const std::string &identity, const std::string &to, bool replace,
                  std::string *failure);

// Removes, or renames, a file already open as itself; the handle is closed.
// Wine may say a file is removed that it has only been asked to remove: it
// is looked for again.
int RemoveOpenFile(HANDLE file, const std::string &path, std::string *failure);
int RenameOpenFile(HANDLE file, const std::string &path, const std::string &to, bool replace, std::string *failure);

#endif
