// The text store: the table of keys with their four texts, the decoder of the
// game's scrambled language files, the scanner of their entries, and the
// loader that merges the four files.
#ifndef PARLYTE_TEXT_STORE_H
#define PARLYTE_TEXT_STORE_H

#include <windows.h>

enum LanguageIndex {
    LANGUAGE_ENGLISH = 0,
    LANGUAGE_FRENCH = 1,
    LANGUAGE_GERMAN = 2,
    LANGUAGE_ITALIAN = 3,
    LANGUAGE_COUNT = 4
};

// One key with its text in each language; a null text means none.
struct TextEntry {
    char *key;
    char *texts[LANGUAGE_COUNT];
    TextEntry *next;
};

// All keys in the order they were first stored. Entries are never freed.
struct TextTable {
    TextEntry *head;
    TextEntry *tail;
};

extern TextTable TheTextTable;

void *AllocZeroed(SIZE_T size);
// A new zero-filled copy of text; length -1 means up to its terminator.
char *CopyText(const char *text, int length);
TextEntry *FindTextEntry(const char *key);
// Whether two keys are the same key: the same bytes, letter case included.
int KeysEqual(const char *left, const char *right);
// The key a typed text stands for, as a position in table order: the key
// that is exactly the typed bytes, else the first that starts with them in
// the same letter case (never for an empty text); -1 for none.
int FindKeyForTyping(const char *typed);

// Finding a text in the keys and the texts of the table.
enum { FIND_TEXT_SIZE = 256 };  // the longest text looked for, with its terminator

struct TextMatch {
    const TextEntry *entry;
    int position;  // in the table's order
    int language;  // the first text that holds it, English first; -1 when only the key does
    int offset;    // where it starts there
    int offsets[LANGUAGE_COUNT];  // where it starts in each text; -1 where the text is absent or lacks it
};

// Looks for text in every key and every present text, in table order from
// the entry after position from (-1: from the first) round past the last
// and back to from; backwards, from the entry before from round past the
// first. Letter case counts only with matchCase; otherwise every letter of
// Windows-1252 matches its other case (É finds é, not e). Returns 1 with
// the match, or 0 when no entry holds the text; an empty text is never
// found.
int FindTextInTable(const char *text, int matchCase, int from, int backwards, TextMatch *match);

// The folder below the game folder that holds the language files.
#define DATA_FOLDER_NAME "GTADATA"

// Reading one language file at a time.
enum { LANGUAGE_FILE_BLOCK = 32768 };

// The language files' bytes: the first HEADER_LENGTH are scrambled with
// HeaderKey; after them every byte is shifted by one, but a raw 1 is a line
// feed, a raw 196 escapes the next byte (taken as it is, plus
// ESCAPE_OFFSET) and a raw 255 is a mark that ends the data.
enum {
    HEADER_LENGTH = 8,
    RAW_LINE_FEED = 1,
    RAW_ESCAPE = 196,
    RAW_MARK = 255,
    ESCAPE_OFFSET = 63
};

struct LanguageFileReader {
    HANDLE file;
    BYTE buffer[LANGUAGE_FILE_BLOCK];
    DWORD fill;
    LONG position;
    DWORD headerCount;
};

extern LanguageFileReader TheLanguageFileReader;
extern const BYTE HeaderKey[HEADER_LENGTH];

// A decoded value whose low eight bits are this ends a file's data.
enum { EndValue = 255 };

int ReadRawByte(void);
int ReadDecodedChar(void);
// The same, with where in the file the character's raw bytes begin.
int ReadDecodedCharAt(DWORD *offset);
// Opens a language file for the reader, from its first byte. Returns 0,
// with the reason in the last error, when it cannot be opened.
int OpenLanguageFileAt(const char *path);
// The same for a file opened by the caller, which the reader takes over:
// it is closed when it is no disk file.
int ReadLanguageFileFrom(HANDLE file);

// One entry of a language file as the scanner reads it: "[key]text".
struct ScannedEntry {
    DWORD offset;      // in the file, of the "[" that begins it
    const char *key;   // as read, decoded 0s included, ended by a 0 byte
    DWORD keyLength;
    const char *text;  // as read but for one trailing line feed, ended by a 0 byte
    DWORD textLength;
    int keyLost;       // the heap refused to hold the whole key
    int textLost;      // or the whole text
    int reached;       // 0 for an entry after where loading stops
};

// Why loading stops reading a file's entries.
enum ScanStop {
    SCAN_NO_ENTRY,   // the data does not begin with "["
    SCAN_IN_KEY,     // the data ends inside a key
    SCAN_EMPTY_KEY,  // "[]"
    SCAN_IN_TEXT     // the data ends inside a text: that entry is not stored
};

struct ScanEnding {
    int stop;
    DWORD entryOffset;  // of the "[" of the entry it stops in, or of the first character
    DWORD stopOffset;   // of the character it stops at
    int atFileEnd;      // that character is the end of the file, not a raw 255 or 0
    const char *key;    // the key it stops in or after, as far as it was read
    DWORD keyLength;
};

// What a scan hands each entry and its ending to; ending may be null.
struct LanguageFileScan {
    void *context;
    void (*entry)(void *context, const ScannedEntry *entry);
    void (*ending)(void *context, const ScanEnding *ending);
};

// Reads the open file's entries through the decoder, in loading's syntax.
// With beyondEnd it goes on past where loading stops, to the entries
// loading would find there (reached 0), up to where it would stop again.
void ScanLanguageFile(const LanguageFileScan *scan, int beyondEnd);

extern const char *const LanguageFileNames[LANGUAGE_COUNT];
// The game folder, which loading reads the files below: filled at start-up
// by the game folder's location (folder/); once accepted it ends with a
// backslash and holds at most 234 characters.
extern char GameFolderPath[MAX_PATH + 1];

int LoadAllLanguageFiles(void);
int LoadLanguageFile(int index);
// Opens the game folder's file of LanguageIndex index for the reader, from
// its first byte; reports a file that cannot be opened and returns 0.
int OpenLanguageFile(int index);

// Where loading reports a language file it cannot open, the reason being the
// last error: Parlyte shows the system's text for it in a message box.
void ReportOpenFailure(const char *path);

#endif
