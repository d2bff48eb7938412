// gettext's own reader of PO files, through libgettextpo: the oracle the
// table fuzzer holds fxt's PO reader to.
#ifndef PARLYTE_GETTEXT_READER_H
#define PARLYTE_GETTEXT_READER_H

#include <string>
#include <vector>

// A message as gettext keeps it; its strings end at a 0 byte, as gettext's.
struct GettextMessage {
    bool hasContext;
    std::string context, id, text;  // text: msgstr, or a plural's first form
    bool plural, fuzzy, obsolete;
};

// Whether gettext reads the file without an error, and its messages then,
// every domain's, sorted.
bool GettextReads(const std::string &content, std::vector<GettextMessage> *messages);

// Whether a header names a charset gettext reads otherwise than fxt does:
// one iconv knows that is not UTF-8 by gettext's name for it.
bool NamesAnotherCharset(const std::string &content);

bool operator<(const GettextMessage &left, const GettextMessage &right);
bool operator==(const GettextMessage &left, const GettextMessage &right);

#endif
