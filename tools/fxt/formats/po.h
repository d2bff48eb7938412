// The PO files of GNU gettext that translation editors open: one language's
// texts written with the source language's as msgid, one entry per key with
// the key as msgctxt and as its reference, and such a file read back. fxt
// writes PO files in gettext's own form without wrapping, as msgcat
// --no-wrap writes them, in UTF-8 through the code page of the game's bytes.
#ifndef PARLYTE_FXT_PO_H
#define PARLYTE_FXT_PO_H

#include "encoding.h"
#include "refusals.h"
#include "table.h"

#include <map>
#include <stdint.h>
#include <string>
#include <vector>

// What fxt po writes: the file for language, the msgid from source; with
// asTemplate every msgstr empty. The header's Language is languageCode, a
// fan language's or the file's own, and revised its PO-Revision-Date;
// the code page of its translations is recorded, but in a template, for
// which the translator has not chosen one yet. Where replaced is given, the
// file is for a fan translation written over language: a text still as
// the language replaced had it (its NAME.bak) is written untranslated,
// that text as a comment.
struct PoRequest {
    int language;
    int source;
    bool asTemplate;
    std::string languageCode;
    std::string revised;
    const std::map<std::string, std::string> *replaced = nullptr;
};

// The PO file of the rows, its translations through the code page of
// coding's language, the rest through the game's; and how many of its
// entries msgfmt would refuse: those whose msgid and msgstr differ in
// beginning or ending with a line feed.
std::string FormatPo(const std::vector<TableRow> &rows, const PoRequest &request, const TextCoding &coding,
                     size_t *refusedByMsgfmt);

// A time, in seconds since 1970, as a PO file's dates are written, in UTC:
// 2026-12-09 03:20+0000.
std::string PoDate(int64_t secondsSince1970);

// Whether a text ends with a line feed, as msgfmt compares msgid and msgstr.
bool EndsWithLineFeed(const std::string &text);

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
    int codePage = DEFAULT_CODE_PAGE;  // of the translations' bytes, which they were read through
    std::string codePageTaken;         // why that code page: "as --codepage gives", ...
    std::string language;              // the header's Language, "" for none
    std::vector<PoEntry> entries;
    size_t commasBelow = 0;            // ș and ț read as ş and ţ
};

// How a PO file is read: for which of the game's languages, and through
// which code page its translations: the one given (0 for none), or else
// the one the header records (X-Code-Page), or else that of the fan
// language the header's Language names, or else Windows-1252; keys and
// msgids are the game's own, in Windows-1252. pages are those CodePages
// lists.
struct PoReading {
    int language;
    int codePage;
    const CodePage *pages;
};

// Reads a PO file (UTF-8, with or without a byte-order mark, LF or CR LF
// line ends) as gettext's own reader reads it, obsolete entries left out.
// Refuses what gettext refuses, and, naming the line and, for a character,
// the column: UTF-16, a charset other than UTF-8, a header that names
// another of the game's languages or a code page fxt does not know, an
// entry without msgctxt, a plural entry, and in a key or a translation what
// the game's files cannot hold, a letter once with the other lines where it
// stands. Returns 1 when it refuses nothing.
int ReadPo(const std::string &content, const PoReading &reading, PoFile *po, Refusals *refusals);

#endif
