// A PO file as GNU gettext's own reader reads it (gettext 0.21): its
// tokens, its grammar, its escapes, its checks of characters once the
// header says UTF-8, and its refusal of a message given twice. It accepts
// what gettext accepts, and gives the strings gettext gives; what fxt then
// makes of the messages is po.cpp's.
#ifndef PARLYTE_FXT_PO_SYNTAX_H
#define PARLYTE_FXT_PO_SYNTAX_H

#include "refusals.h"

#include <stdint.h>
#include <string>
#include <vector>

// A string as written, escapes undone, its parts on several lines joined.
// gettext cuts each part at a 0 byte, which an escape can write; kept is
// what it keeps.
struct PoString {
    std::string bytes;
    std::vector<uint32_t> places;  // where in the file each byte was written
    std::string kept;
};

struct PoMessage {
    size_t line = 0;  // of its first keyword
    bool hasContext = false;
    PoString context, id, text;  // text: msgstr, or a plural's first form
    bool plural = false;
    bool fuzzy = false;          // the flag "fuzzy" in a #, or #! comment before it
    bool obsolete = false;       // written after #~
};

// Where the header says which charset the file is in: what follows
// "charset=" up to a blank or a line end, as gettext takes it.
std::string PoHeaderCharset(const std::string &header);
// Whether gettext reads a charset name as UTF-8: "UTF-8" in any letter
// case, which it knows, or "UTF8", which iconv knows.
bool IsUtf8CharsetName(const std::string &name);

// The largest PO file read: no game's comes near it, and the places in it
// fit in 32 bits.
enum : uint32_t { LARGEST_PO_FILE = 1u << 30 };

// Reads a whole PO file, after a UTF-8 byte-order mark an editor may have
// put before it. Returns 1 with its messages in file order, header and
// obsolete ones included, or 0 having refused the first thing wrong, as
// gettext reads no further, by its line and column.
int ReadPoSyntax(const std::string &content, std::vector<PoMessage> *messages, Refusals *refusals);

#endif
