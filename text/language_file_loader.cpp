// Loading of the four language files: each decoded file is a run of
// "[key]text" entries, merged into the table by key.
#include "text_store.h"

#include "folder/game_folder.h"

const char *const LanguageFileNames[LANGUAGE_COUNT] = {
    "GTADATA\\ENGLISH.FXT",
    "GTADATA\\FRENCH.FXT",
    "GTADATA\\GERMAN.FXT",
    "GTADATA\\ITALIAN.FXT",
};

static const char AllocationError[] = "Erreur d'allocation !\r\n";

enum { KEY_BUFFER_SIZE = 64, TEXT_BUFFER_SIZE = 256, LARGEST_BUFFER = 0x40000000 };

// A key or text being collected. It starts in a fixed array and moves to the
// local heap when an entry is longer, so that nothing is ever cut short; when
// the heap refuses, the entry is marked lost rather than kept truncated.
struct ParseBuffer {
    char *bytes;
    char *fixedBytes;
    DWORD length;
    DWORD capacity;
    int lost;
};

static void StartBuffer(ParseBuffer *buffer, char *fixedBytes, DWORD size) {
    buffer->bytes = fixedBytes;
    buffer->fixedBytes = fixedBytes;
    buffer->length = 0;
    buffer->capacity = size;
    buffer->lost = 0;
}

static void ReleaseBuffer(ParseBuffer *buffer) {
    if (buffer->bytes != buffer->fixedBytes) LocalFree(buffer->bytes);
}

static void ClearBuffer(ParseBuffer *buffer) {
    buffer->length = 0;
    buffer->lost = 0;
}

static int GrowBuffer(ParseBuffer *buffer) {
    if (buffer->capacity >= LARGEST_BUFFER) return 0;
    DWORD capacity = buffer->capacity * 2;
    char *bytes = (char *)LocalAlloc(LMEM_FIXED, capacity);
    if (!bytes) return 0;
    for (DWORD i = 0; i < buffer->length; ++i) bytes[i] = buffer->bytes[i];
    ReleaseBuffer(buffer);
    buffer->bytes = bytes;
    buffer->capacity = capacity;
    return 1;
}

// Keeps room for the terminator behind the last character.
static void AppendChar(ParseBuffer *buffer, int ch) {
    if (buffer->lost) return;
    if (buffer->length + 1 >= buffer->capacity && !GrowBuffer(buffer)) {
        buffer->lost = 1;
        return;
    }
    buffer->bytes[buffer->length++] = (char)ch;
}

static void TerminateBuffer(ParseBuffer *buffer) {
    buffer->bytes[buffer->length] = '\0';
}

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

// The four files list their keys mostly in the same order, so the entry
// after the one stored last is tried before the walk from the head. Keys are
// unique in the table, so an equal key there is the entry the walk finds.
static TextEntry *FindInSequence(TextEntry **expected, const char *key) {
    if (*expected && KeysEqual((*expected)->key, key)) return *expected;
    return FindTextEntry(key);
}

static void StoreEntry(int index, const ParseBuffer *key, const ParseBuffer *text, TextEntry **expected) {
    TextEntry *entry = NULL;
    if (!key->lost) {
        entry = FindInSequence(expected, key->bytes);
        if (!entry) entry = AppendTextEntry(key->bytes);
    }
    if (!entry) {
        OutputDebugStringA(AllocationError);
        return;
    }
    *expected = entry->next;
    if (entry->texts[index]) return;  // the first occurrence in a file wins
    if (!text->lost) entry->texts[index] = CopyText(text->bytes, (int)text->length);
    if (!entry->texts[index]) OutputDebugStringA(AllocationError);
}

static int NextChar(void) {
    return ReadDecodedChar() & 0xFF;
}

// Stops at the end of the data, at an empty key, or at anything that does
// not start an entry; an entry whose text runs into the end is not stored.
static void ParseEntries(int index, ParseBuffer *key, ParseBuffer *text) {
    TextEntry *expected = TheTextTable.head;
    int ch = NextChar();
    if (ch != '[') return;
    for (;;) {
        ClearBuffer(key);
        while ((ch = NextChar()) != ']') {
            if (ch == EndValue) return;
            AppendChar(key, ch);
        }
        if (key->length == 0) return;
        TerminateBuffer(key);
        ch = NextChar();
        if (ch == EndValue) return;
        ClearBuffer(text);
        while (ch != '[') {
            AppendChar(text, ch);
            ch = NextChar();
            if (ch == EndValue) return;
        }
        if (text->length > 0 && text->bytes[text->length - 1] == '\n') --text->length;
        TerminateBuffer(text);
        StoreEntry(index, key, text, &expected);
    }
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

    LanguageFileReader *reader = &TheLanguageFileReader;
    reader->headerCount = 0;
    reader->fill = 0;
    reader->position = 0;
    reader->file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (reader->file == INVALID_HANDLE_VALUE) {
        ReportOpenFailure(path);
        return 0;
    }
    return 1;
}

int LoadLanguageFile(int index) {
    if (!OpenLanguageFile(index)) return 0;

    char keyBytes[KEY_BUFFER_SIZE];
    char textBytes[TEXT_BUFFER_SIZE];
    ParseBuffer key;
    ParseBuffer text;
    StartBuffer(&key, keyBytes, sizeof keyBytes);
    StartBuffer(&text, textBytes, sizeof textBytes);
    ParseEntries(index, &key, &text);
    ReleaseBuffer(&key);
    ReleaseBuffer(&text);

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

char *SystemErrorText(DWORD code) {
    char *text = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                  NULL, code, 0x400, (LPSTR)&text, 0, NULL);
    if (length == 0 && text) {
        LocalFree(text);
        text = NULL;
    }
    return text;
}
