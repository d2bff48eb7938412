// The PO files of GNU gettext that translation editors open: one language's
// texts written with the source language's as msgid, one entry per key with
// the key as msgctxt, and such a file read back. fxt writes PO files in
// gettext's own form without wrapping, as msgcat --no-wrap writes them.
#ifndef PARLYTE_FXT_PO_H
#define PARLYTE_FXT_PO_H

#include "table.h"

#include <string>
#include <vector>

// What fxt po writes: the file for language, the msgid from source; with
// asTemplate every msgstr empty. revised is its PO-Revision-Date.
struct PoRequest {
    int language;
    int source;
    bool asTemplate;
    std::string revised;
};

// The PO file of the rows, in Windows-1252 bytes (PoEncoded gives the
// file), and how many of its entries msgfmt would refuse: those whose
// msgid and msgstr differ in beginning or ending with a line feed.
std::string FormatPo(const std::vector<TableRow> &rows, const PoRequest &request, size_t *refusedByMsgfmt);

// Windows-1252 bytes in a PO file's UTF-8, as in a UTF-8 table but for the
// byte 4, which gettext takes for its context separator and refuses in any
// string: it is written as U+2404, the symbol for it, and read back so.
std::string PoEncoded(const std::string &bytes);

// The msgid of a row, in Windows-1252 bytes: the source language's text, or
// the key where that is absent or empty.
std::string PoMessageId(const TableRow &row, int source);

// One entry of a PO file that names a key. Two may name one key with
// other msgids, as gettext allows.
struct PoEntry {
    size_t line;          // of its first keyword
    std::string key;      // from msgctxt, in Windows-1252 bytes
    std::string id;       // msgid as gettext reads it, in UTF-8
    std::string text;     // msgstr in Windows-1252 bytes, for a translated entry
    bool fuzzy;           // flagged "fuzzy"
    bool translated;      // a msgstr that is not empty, and not fuzzy
};

struct PoFile {
    int source = 0;  // the language of the msgid, from the header's X-Source-Language
    std::vector<PoEntry> entries;
};

// Reads a PO file (UTF-8, with or without a byte-order mark, LF or CR LF
// line ends) as gettext's own reader reads it, obsolete entries left out.
// Refuses what gettext refuses, and, naming the line and, for a character,
// the column: a charset other than UTF-8, an entry without msgctxt, a
// plural entry, and in a key or a translation what the game's files cannot
// hold.
int ReadPo(const std::string &content, int language, PoFile *po, std::string *error);

#endif
