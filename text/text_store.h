// The text store: the table of keys with their four texts, the decoder of the
// game's scrambled language files, and the loader that merges the four files.
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

// Reading one language file at a time.
enum { LANGUAGE_FILE_BLOCK = 32768 };

struct LanguageFileReader {
    HANDLE file;
    BYTE buffer[LANGUAGE_FILE_BLOCK];
    DWORD fill;
    LONG position;
    DWORD headerCount;
};

extern LanguageFileReader TheLanguageFileReader;
extern const BYTE HeaderKey[8];

// A decoded value whose low eight bits are this ends a file's data.
enum { EndValue = 255 };

int ReadRawByte(void);
int ReadDecodedChar(void);

extern const char *const LanguageFileNames[LANGUAGE_COUNT];

int LoadAllLanguageFiles(void);
int LoadLanguageFile(int index);
// Opens the game folder's file of LanguageIndex index for the reader, from
// its first byte; reports a file that cannot be opened and returns 0.
int OpenLanguageFile(int index);

// The system's text for an error code, on the local heap (LocalFree it), or
// null when it has none.
char *SystemErrorText(DWORD code);
// Where loading reports a language file it cannot open, the reason being the
// last error. Each program that loads gives its own: Parlyte shows the
// system's text in a message box (ReportLastError), fxt writes it with the
// path to standard error.
void ReportOpenFailure(const char *path);
// Parlyte's: the system's text for the last error in a message box.
void ReportLastError(void);

#endif
