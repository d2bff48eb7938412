#include "checked_acts.h"

#include "file_facts.h"
#include "files.h"

#include "tools/fxt/platform/platform.h"

namespace {

std::string Failure(const char *doing, const std::string &path, const std::string &to, const std::string &why) {
    return std::string("cannot ") + doing + " " + ShownPath(path) + (to.empty() ? "" : " to " + ShownPath(to)) + ": " +
           why;
}

// The file at path, opened as itself, where it is a plain file with
// identity; else INVALID_HANDLE_VALUE with why.
HANDLE OpenChecked(const std::string &path, const std::string &identity, std::string *why) {
    HANDLE file = OpenToAct(path);
    if (file == INVALID_HANDLE_VALUE) {
        *why = LastErrorText();
        return file;
    }
    BY_HANDLE_FILE_INFORMATION information;
    bool plain = GetFileInformationByHandle(file, &information) &&
                 !(information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
    if (plain && IdentityOf(file) == identity) return file;
    *why = plain ? "it is another file than the one fxt make looked at" : "it is no longer a plain file";
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
}

} // namespace

HANDLE OpenToAct(const std::string &path, DWORD access, DWORD sharing, DWORD disposition) {
    return OpenPath(path, access, sharing, disposition, FILE_FLAG_OPEN_REPARSE_POINT | FILE_ATTRIBUTE_NORMAL);
}

int RemoveOpenFile(HANDLE file, const std::string &path, std::string *failure) {
    BOOL removed = RemoveOpened(file);
    std::string why = removed ? "" : LastErrorText();
    CloseHandle(file);
    if (removed && LookAt(path, LOOK_ONLY).kind != FILE_ABSENT) why = "it is still there";
    if (!why.empty()) *failure = Failure("remove", path, "", why);
    return why.empty();
}

int RenameOpenFile(HANDLE file, const std::string &path, const std::string &to, bool replace, std::string *failure) {
    BOOL renamed = RenameOpened(file, to, replace);
    if (!renamed) *failure = Failure("move", path, to, LastErrorText());
    CloseHandle(file);
    return renamed;
}

int RemoveChecked(const std::string &path, const std::string &identity, std::string *failure) {
    std::string why;
    HANDLE file = OpenChecked(path, identity, &why);
    if (file != INVALID_HANDLE_VALUE) return RemoveOpenFile(file, path, failure);
    *failure = Failure("remove", path, "", why);
    return 0;
}

int RenameChecked(const std::string &path, const std::string &identity, const std::string &to, bool replace,
                  std::string *failure) {
    std::string why;
    HANDLE file = OpenChecked(path, identity, &why);
    if (file != INVALID_HANDLE_VALUE) return RenameOpenFile(file, path, to, replace, failure);
    *failure = Failure("move", path, to, why);
    return 0;
}
