// The one reader of the language files' syntax: each decoded file is a run
// of "[key]text" entries, read until the data ends or an empty key.
#include "text_store.h"

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

struct Scanner {
    ParseBuffer key;
    ParseBuffer text;
    const LanguageFileScan *scan;
    int atFileEnd;  // the last character read was the end of the file
};

// The next decoded character, EndValue where the data ends.
static int NextChar(Scanner *scanner, DWORD *offset) {
    int ch = ReadDecodedCharAt(offset) & 0xFF;
    scanner->atFileEnd = ch == EndValue && TheLanguageFileReader.fill == 0;
    return ch;
}

static void Stop(Scanner *scanner, int stop, DWORD entryOffset, DWORD stopOffset, ScanEnding *ending) {
    TerminateBuffer(&scanner->key);
    ending->stop = stop;
    ending->entryOffset = entryOffset;
    ending->stopOffset = stopOffset;
    ending->atFileEnd = scanner->atFileEnd;
    ending->key = scanner->key.bytes;
    ending->keyLength = scanner->key.length;
}

// The entries from the "[" at entryOffset, just read, until the data ends or
// an empty key; an entry whose text runs into the end is not handed on.
static void ScanEntries(Scanner *scanner, DWORD entryOffset, int reached, ScanEnding *ending) {
    for (;;) {
        DWORD at;
        int ch;
        ClearBuffer(&scanner->key);
        while ((ch = NextChar(scanner, &at)) != ']') {
            if (ch == EndValue) return Stop(scanner, SCAN_IN_KEY, entryOffset, at, ending);
            AppendChar(&scanner->key, ch);
        }
        if (scanner->key.length == 0) return Stop(scanner, SCAN_EMPTY_KEY, entryOffset, at, ending);
        ClearBuffer(&scanner->text);
        while ((ch = NextChar(scanner, &at)) != '[') {
            if (ch == EndValue) return Stop(scanner, SCAN_IN_TEXT, entryOffset, at, ending);
            AppendChar(&scanner->text, ch);
        }
        ParseBuffer *text = &scanner->text;
        if (text->length > 0 && text->bytes[text->length - 1] == '\n') --text->length;
        TerminateBuffer(&scanner->key);
        TerminateBuffer(text);
        ScannedEntry entry = {entryOffset,       scanner->key.bytes, scanner->key.length, text->bytes,
                              text->length,      scanner->key.lost,  text->lost,          reached};
        scanner->scan->entry(scanner->scan->context, &entry);
        entryOffset = at;
    }
}

void ScanLanguageFile(const LanguageFileScan *scan, int beyondEnd) {
    char keyBytes[KEY_BUFFER_SIZE];
    char textBytes[TEXT_BUFFER_SIZE];
    Scanner scanner;
    StartBuffer(&scanner.key, keyBytes, sizeof keyBytes);
    StartBuffer(&scanner.text, textBytes, sizeof textBytes);
    scanner.scan = scan;
    ScanEnding ending;
    DWORD at;
    int ch = NextChar(&scanner, &at);
    if (ch == '[')
        ScanEntries(&scanner, at, 1, &ending);
    else
        Stop(&scanner, SCAN_NO_ENTRY, at, at, &ending);
    if (scan->ending) scan->ending(scan->context, &ending);
    // Past where loading stops: from the next "[" on, as loading would read.
    if (beyondEnd && !ending.atFileEnd) {
        while ((ch = NextChar(&scanner, &at)) != '[' && ch != EndValue) continue;
        if (ch == '[') ScanEntries(&scanner, at, 0, &ending);
    }
    ReleaseBuffer(&scanner.key);
    ReleaseBuffer(&scanner.text);
}
