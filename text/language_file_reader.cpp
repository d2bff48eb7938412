// Decoding of the game's language files: the first eight bytes are scrambled
// with HeaderKey, every later byte is shifted by one, and a few byte values
// carry special meanings.
#include "text_store.h"

LanguageFileReader TheLanguageFileReader;

const BYTE HeaderKey[8] = {57, 212, 18, 160, 83, 240, 9, 131};

enum {
    RAW_LINE_FEED = 1,
    RAW_ESCAPE = 196,
    RAW_MARK = 255,
    ESCAPE_OFFSET = 63,
    HEADER_LENGTH = 8
};

int ReadRawByte(void) {
    LanguageFileReader *reader = &TheLanguageFileReader;
    if (reader->fill != 0 && (DWORD)reader->position != reader->fill)
        return reader->buffer[reader->position++];
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
