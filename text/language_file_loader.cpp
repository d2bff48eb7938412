// Loading of the four language files: the entries the scanner reads from
// each are merged into the table by key.
#include "text_store.h"

char GameFolderPath[MAX_PATH + 1];

static const char AllocationError[] = "Erreur d'allocation !\r\n";

// The table never holds an entry without its key.
static TextEntry *AppendTextEntry(const char *key) {
    TextEntry *entry = (TextEntry *)AllocZeroed(sizeof(TextEntry));
    if (!entry) return NULL;
    entry->key = CopyText(key, -1);
    if (!entry->key) {
        LocalFree(entry);
        return NULL;
    }
    if (!TheTextTable.head)
        TheTextTable.head = entry;
    else
        TheTextTable.tail->next = entry;
    TheTextTable.tail = entry;
    return entry;
}

// The file being loaded, and the entry after the one it stored last: the
// four files list their keys mostly in the same order, so that entry is
// tried before the walk from the head. Keys are unique in the table, so an
// equal key there is the entry the walk finds.
struct LoadingFile {
    int index;
    TextEntry *expected;
};

static TextEntry *FindInSequence(LoadingFile *loading, const char *key) {
    if (loading->expected && KeysEqual(loading->expected->key, key)) return loading->expected;
    return FindTextEntry(key);
}

static void StoreEntry(void *context, const ScannedEntry *scanned) {
    LoadingFile *loading = (LoadingFile *)context;
    TextEntry *entry = NULL;
    if (!scanned->keyLost) {
        entry = FindInSequence(loading, scanned->key);
        if (!entry) entry = AppendTextEntry(scanned->key);
    }
    if (!entry) {
        OutputDebugStringA(AllocationError);
        return;
    }
    loading->expected = entry->next;
    if (entry->texts[loading->index]) return;  // the first occurrence in a file wins
    if (!scanned->textLost) entry->texts[loading->index] = CopyText(scanned->text, (int)scanned->textLength);
    if (!entry->texts[loading->index]) OutputDebugStringA(AllocationError);
}

int OpenLanguageFile(int index) {
    char path[MAX_PATH];
    if (lstrlenA(GameFolderPath) + lstrlenA(LanguageFileNames[index]) >= MAX_PATH) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        ReportOpenFailure(GameFolderPath);
        return 0;
    }
    lstrcpyA(path, GameFolderPath);
    lstrcatA(path, LanguageFileNames[index]);
    if (OpenLanguageFileAt(path)) return 1;
    ReportOpenFailure(path);
    return 0;
}

int LoadLanguageFile(int index) {
    if (!OpenLanguageFile(index)) return 0;
    LoadingFile loading = {index, TheTextTable.head};
    LanguageFileScan scan = {&loading, StoreEntry, NULL};
    ScanLanguageFile(&scan, 0);
    CloseHandle(TheLanguageFileReader.file);
    return 1;
}

int LoadAllLanguageFiles(void) {
    TheTextTable.head = NULL;
    TheTextTable.tail = NULL;
    for (int index = 0; index < LANGUAGE_COUNT; ++index)
        if (!LoadLanguageFile(index)) return 0;
    return 1;
}
