#include "backups.h"

#include "files.h"

#include "tools/fxt/platform/platform.h"

int ReadBackups(const std::string &folder, Backups *backups, std::string *error) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::string path = folder + LanguageFileNames[i], current;
        WIN32_FIND_DATAA found;
        HANDLE backup = FindFirstFileA((path + ".bak").c_str(), &found);
        if (backup == INVALID_HANDLE_VALUE) continue;
        FindClose(backup);
        backups->any = true;
        backups->names[i] = found.cFileName;
        if (!ReadWholeFile(path + ".bak", &backups->bytes[i], error)) {
            *error = ShownPath(path + ".bak") + ": " + *error;
            return 0;
        }
        std::string ignored;
        backups->differs[i] = !(Exists(path) && ReadWholeFile(path, &current, &ignored) && current == backups->bytes[i]);
    }
    return 1;
}
