// The game's language files, where they are and how their bytes decode: the
// first eight bytes are scrambled with HeaderKey, every later byte is
// shifted by one, and a few byte values carry special meanings.
#include "text_store.h"

const char *const LanguageFileNames[LANGUAGE_COUNT] = {
    DATA_FOLDER_NAME "\\ENGLISH.FXT",
    DATA_FOLDER_NAME "\\FRENCH.FXT",
    DATA_FOLDER_NAME "\\GERMAN.FXT",
    DATA_FOLDER_NAME "\\ITALIAN.FXT",
};

LanguageFileReader TheLanguageFileReader;

const BYTE HeaderKey[HEADER_LENGTH] = {57, 212, 18, 160, 83, 240, 9, 131};

// Where in the file the block in the buffer begins.
static DWORD BlockStart;

int OpenLanguageFileAt(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    return file != INVALID_HANDLE_VALUE && ReadLanguageFileFrom(file);
}

int ReadLanguageFileFrom(HANDLE file) {
    LanguageFileReader *reader = &TheLanguageFileReader;
    reader->headerCount = 0;
    reader->fill = 0;
    reader->position = 0;
    BlockStart = 0;
    reader->file = file;
    // A pipe or a device by a language file's name, as a game folder from
    // the internet may hold, would keep the reader waiting for ever. It is
    // a file the system cannot open as one, in words Windows and Wine have.
    if (GetFileType(reader->file) == FILE_TYPE_DISK) return 1;
    CloseHandle(reader->file);
    SetLastError(ERROR_OPEN_FAILED);
    return 0;
}

int ReadRawByte(void) {
    LanguageFileReader *reader = &TheLanguageFileReader;
    if (reader->fill != 0 && (DWORD)reader->position != reader->fill)
        return reader->buffer[reader->position++];
    BlockStart += reader->fill;
    DWORD delivered = 0;
    if (!ReadFile(reader->file, reader->buffer, sizeof reader->buffer, &delivered, NULL))
        delivered = 0;  // a failed read ends the data like the end of the file
    reader->fill = delivered;
    reader->position = 0;
    if (delivered == 0) return -1;
    reader->position = 1;
    return reader->buffer[0];
}

int ReadDecodedChar(void) {
    LanguageFileReader *reader = &TheLanguageFileReader;
    int raw = ReadRawByte();
    if (raw == -1) return -1;
    if (reader->headerCount < HEADER_LENGTH)
        return (raw - HeaderKey[reader->headerCount++]) & 0xFF;
    if (raw == RAW_LINE_FEED) return '\n';
    if (raw == RAW_ESCAPE) {
        // The escaped byte is taken as it is, not shifted by one.
        int escaped = ReadRawByte();
        return escaped == -1 ? -1 : escaped + ESCAPE_OFFSET;
    }
    if (raw == RAW_MARK) {
        OutputDebugStringA("@");
        return RAW_MARK;
    }
    return raw - 1;  // a raw 0 gives -1, the end of the data
}

// An exhausted block is followed by the next one, which begins where the
// exhausted one ends: at BlockStart + position either way.
int ReadDecodedCharAt(DWORD *offset) {
    *offset = BlockStart + (DWORD)TheLanguageFileReader.position;
    return ReadDecodedChar();
}
