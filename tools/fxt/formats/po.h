// The PO files of GNU gettext that translation editors open: one language's
// texts written with the source language's as msgid, one entry per key with
// the key as msgctxt and as its reference, and such a file read back. fxt
// writes PO files in gettext's own form without wrapping, as msgcat
// --no-wrap writes them, in UTF-8 through the code page of the game's bytes.
#ifndef PARLYTE_FXT_PO_H
#define PARLYTE_FXT_PO_H

#include "refusals.h"
#include "table.h"

#include <string>
#include <vector>

// What fxt po writes: the file for language, the msgid from source; with
// asTemplate every msgstr empty. codePage is recorded in the header, and
// revised is its PO-Revision-Date.
struct PoRequest {
    int language;
    int source;
    bool asTemplate;
    int codePage;
    std::string revised;
};

// The PO file of the rows, and how many of its entries msgfmt would refuse:
// those whose msgid and msgstr differ in beginning or ending with a line
// feed.
std::string FormatPo(const std::vector<TableRow> &rows, const PoRequest &request, const CodePage &page,
                     size_t *refusedByMsgfmt);

// Game bytes in a PO file's UTF-8, as in a UTF-8 table but for the byte 4,
// which gettext takes for its context separator and refuses in any string:
// it is written as U+2404, the symbol for it, and read back so.
std::string PoEncoded(const std::string &bytes, const CodePage &page);

// The msgid of a row, in game bytes: the source language's text, or the key
// where that is absent or empty.
std::string PoMessageId(const TableRow &row, int source);

// A key as an entry's "#:" reference, one word that gettext gives back as
// it was: the key's bytes beyond letters, digits and "-._~" are written
// %XX, as in a URL.
std::string PoReference(const std::string &key);

// One entry of a PO file that names a key. Two may name one key with
// other msgids, as gettext allows.
struct PoEntry {
    size_t line;          // of its first keyword
    std::string key;      // from msgctxt, in game bytes
    std::string id;       // msgid as gettext reads it, in UTF-8
    std::string text;     // msgstr in game bytes, for a translated entry
    bool fuzzy;           // flagged "fuzzy"
    bool translated;      // a msgstr that is not empty, and not fuzzy
};

struct PoFile {
    int source = 0;                    // the language of the msgid, from the header's X-Source-Language
    int codePage = DEFAULT_CODE_PAGE;  // of the game's bytes, which the file's texts were read through
    std::string language;              // the header's Language, "" for none
    std::vector<PoEntry> entries;
};

// How a PO file is read: for which of the game's languages, and through
// which code page: the one given (0 for none), or else the one the header
// records, or else Windows-1252. pages are those CodePages lists.
struct PoReading {
    int language;
    int codePage;
    const CodePage *pages;
};

// Reads a PO file (UTF-8, with or without a byte-order mark, LF or CR LF
// line ends) as gettext's own reader reads it, obsolete entries left out.
// Refuses what gettext refuses, and, naming the line and, for a character,
// the column: UTF-16, a charset other than UTF-8, a header that names
// another of the game's languages or another code page than the one given,
// an entry without msgctxt, a plural entry, and in a key or a translation
// what the game's files cannot hold. Returns 1 when it refuses nothing.
int ReadPo(const std::string &content, const PoReading &reading, PoFile *po, Refusals *refusals);

#endif
