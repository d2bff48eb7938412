// How a table's characters are written: UTF-8, which editors read and save
// whole, or the bytes as the language files store them (Windows-1252,
// "ANSI"). Every byte from 1 to 254 is one character and back.
#ifndef PARLYTE_FXT_ENCODING_H
#define PARLYTE_FXT_ENCODING_H

#include <string>

enum TableEncoding { TABLE_UTF8, TABLE_ANSI };

// The Unicode character of a Windows-1252 byte. The five bytes the code page
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) are the C1 controls of
// the same value, as Windows' own conversion gives them.
unsigned Windows1252Character(unsigned char byte);

// A table of bytes as fxt writes it in this encoding.
std::string EncodedTable(const std::string &bytes, TableEncoding encoding);

// The character whose UTF-8 form starts at content[at], with that form's
// length; -1 when the bytes there are not UTF-8 (overlong forms and
// surrogates included).
long DecodeUtf8(const std::string &content, size_t at, size_t *length);

// What a refusal of a character says of the text it was read from.
struct TextSource {
    const char *name;          // "table"
    const char *writeAgain;    // how to have it whole again
    const char *notUtf8Hint;   // what else text that is not UTF-8 may be
};
extern const TextSource TableSource;

// The byte the language files store for the UTF-8 character at text[*at],
// which moves past it; or -1, with what is wrong: bytes that are not UTF-8,
// the replacement character an editor leaves for a letter it could not
// read, a character the files cannot hold.
int StoredByteOfUtf8(const std::string &text, size_t *at, const TextSource &source, std::string *problem);

// The bytes of a table that fxt reads in this encoding; a leading UTF-8
// byte-order mark is skipped. Refuses, naming the line and the column (in
// characters, from 1), what is not such a table or holds a character no
// language file can: UTF-16, bytes that are not UTF-8, characters beyond
// Windows-1252 or that the files cannot carry, and the replacement
// character an editor leaves for a letter it could not read.
int DecodeTable(const std::string &content, TableEncoding encoding, std::string *bytes, std::string *error);

#endif
