// fxt restore: each NAME.bak in place of its language file.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/backups.h"
#include "tools/fxt/folder/names.h"
#include "tools/fxt/folder/replace.h"
#include "tools/fxt/platform/platform.h"

int Restore(const std::string &argument) {
    std::string folder;
    if (!UseGameFolder(argument, WRITING, &folder)) return EXIT_FAILED;
    Backups backups;
    std::string error;
    if (!ReadBackups(folder, &backups, &error)) {
        Say(error);
        return EXIT_FAILED;
    }
    if (!backups.any) {
        Say(ShownPath(DataFolderOf(folder)) + " holds no backup (NAME.bak, which fxt make keeps): there is nothing to "
                                              "restore");
        return EXIT_FAILED;
    }
    const std::string *images[LANGUAGE_COUNT] = {};
    std::string restored;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        if (!backups.differs[i]) continue;
        images[i] = &backups.bytes[i];
        restored += "restored " + ShownPath(folder + LanguageFileNames[i]) + " from " + backups.names[i] + "\n";
    }
    if (restored.empty()) return WriteOut("the language files are as their backups already\n", TABLE_UTF8) ? EXIT_DONE : EXIT_FAILED;
    // What the files replaced hold that loading never reaches is told.
    FolderFiles files;
    ReadFolderFiles(folder, &files);
    int unreached[LANGUAGE_COUNT];
    for (int i = 0; i < LANGUAGE_COUNT; ++i) unreached[i] = files.scans[i].unreached;
    ReplaceReport report;
    int replaced = ReplaceLanguageFiles(folder, images, unreached, &report);
    SayEach(report.warnings);
    SayEach(report.errors);
    return replaced && WriteOut(restored, TABLE_UTF8) ? EXIT_DONE : EXIT_FAILED;
}
