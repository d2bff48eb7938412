// fxt restore and fxt undo: the files fxt make kept put back in place of
// the language files, NAME.bak or NAME.prev.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/kept_files.h"
#include "tools/fxt/folder/names.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

namespace {

// What is put back, and how it is told.
struct PuttingBack {
    const char *suffix;
    PreviousFiles previous;
    const char *done;      // "restored"
    const char *planned;   // "would restore"
    const char *none;      // what the folder lacks
    const char *already;   // when the files are as the kept ones
};

const PuttingBack Restoring = {".bak", KEEP_PREVIOUS, "restored", "would restore",
                               "backup (NAME.bak, which fxt make keeps): there is nothing to restore",
                               "the language files are as their backups already\n"};
const PuttingBack Undoing = {".prev", PUT_BACK_PREVIOUS, "put back", "would put back",
                             "NAME.prev (which fxt make keeps of each file it replaces): there is nothing to undo",
                             "the language files are as their NAME.prev already\n"};

// Puts back the kept files of the languages marked, through the
// replacement that does so; a dry run tells how many texts each changes.
int PutBack(const Options &options, const bool languages[LANGUAGE_COUNT], const PuttingBack &way,
            const std::string &argument) {
    std::string folder;
    if (!UseGameFolder(argument, WRITING, &folder)) return EXIT_FAILED;
    KeptFiles kept;
    std::string error;
    if (!ReadKeptFiles(folder, way.suffix, &kept, &error)) {
        Say(error);
        return EXIT_FAILED;
    }
    FolderFiles files;
    ReadFolderFiles(folder, &files);
    ReplaceRequest request;
    request.previous = way.previous;
    std::string output;
    bool any = false;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        request.unreached[i] = files.scans[i].unreached;
        any |= languages[i] && !kept.names[i].empty();
        if (!languages[i] || !kept.differs[i]) continue;
        request.images[i] = &kept.bytes[i];
        output += std::string(options.dryRun ? way.planned : way.done) + " " + ShownPath(files.paths[i]) + " from " +
                  kept.names[i] +
                  (options.dryRun ? ": " + Counted(ChangedTexts(files.stored[i], kept.stored[i]), "text", "texts") +
                                        " changed"
                                  : "") +
                  "\n";
    }
    if (!any) {
        Say(ShownPath(DataFolderOf(folder)) + " holds no " + way.none);
        return EXIT_FAILED;
    }
    if (output.empty()) output = way.already;
    if (!Replace(options, folder, request, &output)) return EXIT_FAILED;
    return WriteUtf8(output) ? EXIT_DONE : EXIT_FAILED;
}

} // namespace

int Restore(const Options &options, const std::vector<int> &languages, const std::string &argument) {
    bool restored[LANGUAGE_COUNT] = {};
    for (int i = 0; i < LANGUAGE_COUNT; ++i) restored[i] = languages.empty();
    for (int language : languages) restored[language] = true;
    return PutBack(options, restored, Restoring, argument);
}

int UndoLastMake(const Options &options, const std::string &argument) {
    const bool all[LANGUAGE_COUNT] = {true, true, true, true};
    return PutBack(options, all, Undoing, argument);
}
