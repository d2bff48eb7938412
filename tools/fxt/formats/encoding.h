// How the characters of the files fxt writes for people (tables, PO files)
// stand for the game's bytes: in UTF-8, each byte the character its code
// page gives it, or in the bytes themselves ("ANSI"). Every byte from 1 to
// 254 is one character and back.
#ifndef PARLYTE_FXT_ENCODING_H
#define PARLYTE_FXT_ENCODING_H

#include "code_page.h"
#include "refusals.h"

#include <string>
#include <vector>

enum TableEncoding { TABLE_UTF8, TABLE_ANSI };

struct TextCoding {
    TableEncoding encoding = TABLE_UTF8;
    const CodePage *page = nullptr;   // the code page of the game's bytes
    const CodePage *pages = nullptr;  // every code page fxt knows, to tell where a character is
    std::string language;             // the translation's language (a PO file's "pl"), or ""
};

// The characters of bytes in UTF-8, through a code page.
std::string Utf8OfBytes(const std::string &bytes, const CodePage &page);
// A table of bytes as fxt writes it: in UTF-8, or the bytes themselves.
std::string EncodedTable(const std::string &bytes, const TextCoding &coding);

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
// read, a character the files cannot hold, or one the code page has not,
// named with its code and the code page that has it.
int StoredByteOfUtf8(const std::string &text, size_t *at, const TextSource &source, const TextCoding &coding,
                     std::string *problem);

// What makes a file no table fxt reads, as a whole: UTF-16, and under
// --ansi a byte-order mark; "" for none.
std::string WholeTableProblem(const std::string &content, const TextCoding &coding);
// The bytes of a table that fxt reads (no whole-table problem); a leading
// UTF-8 byte-order mark is skipped. Refuses each character no language file
// can hold, naming its line and column (in characters, from 1): bytes that
// are not UTF-8, characters beyond the code page or that the files cannot
// carry, and the replacement character an editor leaves for a letter it
// could not read; and under --ansi a table that is UTF-8 through and
// through, at its first such character. Each refused character is read as
// '?'. Returns 1 when it refuses nothing.
int DecodeTable(const std::string &content, const TextCoding &coding, std::string *bytes, Refusals *refusals);
// Whether a file is UTF-16, with or without its byte-order mark.
bool IsUtf16(const std::string &content);

#endif
