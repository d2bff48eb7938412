// The language files read through the text store's scanner, each entry
// kept as read.
#include "folder_files.h"

#include "tools/fxt/formats/rows.h"

#include <new>

namespace {

void KeepEntry(void *context, const ScannedEntry *entry) {
    ScannedFile *file = (ScannedFile *)context;
    // The heap refused a key or text: fxt runs out of memory as it does
    // anywhere else.
    if (entry->keyLost || entry->textLost) throw std::bad_alloc();
    if (!entry->reached) {
        ++file->unreached;
        return;
    }
    file->entries.push_back(FileEntry{entry->offset, std::string(entry->key, entry->keyLength),
                                      std::string(entry->text, entry->textLength)});
}

void KeepEnding(void *context, const ScanEnding *ending) {
    ScannedFile *file = (ScannedFile *)context;
    file->stop = ending->stop;
    file->entryOffset = ending->entryOffset;
    file->stopOffset = ending->stopOffset;
    file->atFileEnd = ending->atFileEnd;
    file->stopKey.assign(ending->key, ending->keyLength);
}

} // namespace

void ReadFolderFiles(const std::string &folder, FolderFiles *files) {
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        files->paths[language] = folder + LanguageFileNames[language];
        files->scans[language] = ScannedFile();
        files->readable[language] = OpenLanguageFileAt(files->paths[language].c_str());
        files->openErrors[language] = files->readable[language] ? 0 : GetLastError();
        if (!files->readable[language]) continue;
        LanguageFileScan scan = {&files->scans[language], KeepEntry, KeepEnding};
        try {
            ScanLanguageFile(&scan, 1);
        } catch (...) {
            CloseHandle(TheLanguageFileReader.file);
            throw;
        }
        CloseHandle(TheLanguageFileReader.file);
        files->stored[language] = StoredPairsOf(files->scans[language]);
    }
}

std::vector<TableRow> FolderRows(const FolderFiles &files) {
    return MergedRows(files.stored);
}

int LastWriteTime(const std::string &path, FILETIME *time) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    *time = found.ftLastWriteTime;
    return 1;
}
