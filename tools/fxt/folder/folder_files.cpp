// The language files read through the text store's scanner, each entry
// kept as read.
#include "folder_files.h"

#include "tools/fxt/formats/rows.h"
#include "tools/fxt/platform/platform.h"

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

int ReadLanguageFile(const std::string &path, ScannedFile *scan, StoredPairs *stored) {
    *scan = ScannedFile();
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE || !ReadLanguageFileFrom(file)) return 0;
    LanguageFileScan scanning = {scan, KeepEntry, KeepEnding};
    try {
        ScanLanguageFile(&scanning, 1);
    } catch (...) {
        CloseHandle(TheLanguageFileReader.file);
        throw;
    }
    CloseHandle(TheLanguageFileReader.file);
    *stored = StoredPairsOf(*scan);
    return 1;
}

void ReadFolderFiles(const std::string &folder, FolderFiles *files) {
    for (int language = 0; language < LANGUAGE_COUNT; ++language) {
        files->paths[language] = folder + LanguageFileNames[language];
        files->readable[language] = ReadLanguageFile(files->paths[language], &files->scans[language],
                                                     &files->stored[language]);
        files->openErrors[language] = files->readable[language] ? 0 : GetLastError();
    }
}

std::vector<TableRow> FolderRows(const FolderFiles &files) {
    return MergedRows(files.stored);
}

int LastWriteTime(const std::string &path, FILETIME *time) {
    FoundFile found;
    HANDLE search = FindFirstPath(path, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    *time = found.lastWrite;
    return 1;
}
