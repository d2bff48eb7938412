#include "kept_files.h"

#include "files.h"
#include "folder_files.h"

#include "tools/fxt/platform/platform.h"

int ReadKeptFiles(const std::string &folder, const char *suffix, KeptFiles *kept, std::string *error) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::string path = folder + LanguageFileNames[i], current;
        FoundFile found;
        HANDLE search = FindFirstPath(path + suffix, &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        FindClose(search);
        kept->any = true;
        kept->names[i] = found.name;
        ScannedFile scan;
        bool read = ReadWholeFile(path + suffix, &kept->bytes[i], error);
        if (read && !ReadLanguageFile(path + suffix, &scan, &kept->stored[i])) {
            *error = LastErrorText();
            read = false;
        }
        if (!read) {
            *error = ShownPath(path + suffix) + ": " + *error;
            return 0;
        }
        std::string ignored;
        kept->differs[i] = !(Exists(path) && ReadWholeFile(path, &current, &ignored) && current == kept->bytes[i]);
    }
    return 1;
}
