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

// The game's own four languages are Windows-1252, and so are the keys; a
// fan translation written over one of them has its letters in the code
// page the translator names.
struct TextCoding {
    TableEncoding encoding = TABLE_UTF8;
    const CodePage *page = nullptr;      // of the bytes at hand
    int textLanguage = -1;               // whose bytes they are, -1 for keys
    const CodePage *gamePage = nullptr;  // Windows-1252
    int fanLanguage = -1;                // the language a fan translation is written over, or -1
    const CodePage *fanPage = nullptr;   // the code page of that translation's letters
    const CodePage *pages = nullptr;     // every code page fxt knows, to tell where a character is
    std::string language;                // the translation's language (a PO file's "pl"), or ""
};

// The coding of one language's texts (LanguageIndex), or with -1 of the
// keys: the fan translation's code page for its language, else the game's.
TextCoding CodingOf(const TextCoding &coding, int language);

// The characters of bytes in UTF-8, through a code page.
std::string Utf8OfBytes(const std::string &bytes, const CodePage &page);
// The same of a table's bytes, each column through its language's code page.
std::string Utf8OfTable(const std::string &bytes, const TextCoding &coding);
// A key or text of the game's bytes in a message: in the table's escaping,
// its characters those of the coding's code page (of the keys, but where
// it was made another's with CodingOf).
std::string Shown(const std::string &bytes, const TextCoding &coding);
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
    bool pagePerLanguage;      // whose --codepage names the language, Italian=1250
};
extern const TextSource TableSource;

// What reading characters found besides their bytes.
struct CharacterNotes {
    unsigned long absent = 0;  // the letter of the last refusal, which the code page lacks; else 0
    size_t commasBelow = 0;    // Romanian ș and ț read as ş and ţ, which Windows-1250 has
    size_t composed = 0;       // letters read composed, or as their canonical same (NFC)
};

// What a warning says of the ș and ț (comma below) written as Windows-1250's
// ş and ţ (cedilla).
std::string CommasBelowWarning(size_t count);

// The byte the language files store for the UTF-8 character at text[*at],
// composed (NFC) with the combining marks that follow it where the code
// page has the letter they make, which moves past them; or -1, with what is
// wrong: bytes that are not UTF-8, the replacement character an editor
// leaves for a letter it could not read, a character the files cannot
// hold, or one the code page has not, named with its code and the code
// page that has it.
int StoredByteOfUtf8(const std::string &text, size_t *at, const TextSource &source, const TextCoding &coding,
                     std::string *problem, CharacterNotes *notes);

// What makes a file no table fxt reads, as a whole: UTF-16, and under
// --ansi a byte-order mark; "" for none.
std::string WholeTableProblem(const std::string &content, const TextCoding &coding);
// The bytes of a table that fxt reads (no whole-table problem); a leading
// UTF-8 byte-order mark is skipped. Refuses each character no language file
// can hold, naming its line and column (in characters, from 1): bytes that
// are not UTF-8, characters beyond the code page or that the files cannot
// carry, and the replacement character an editor leaves for a letter it
// could not read; and under --ansi a table that is UTF-8 through and
// through, at its first such character. A letter beyond the code page is
// refused once, with the other lines where it stands. Each refused
// character is read as '?'. Each column is read through its language's
// code page. Returns 1 when it refuses nothing.
int DecodeTable(const std::string &content, const TextCoding &coding, std::string *bytes, Refusals *refusals,
                CharacterNotes *notes);
// Whether a file is UTF-16, with or without its byte-order mark.
bool IsUtf16(const std::string &content);

#endif
