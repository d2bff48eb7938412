// Encoding of language files.
#include "fxt_encoder.h"

#include "text/text_store.h"

enum { RAW_LINE_FEED = 1, RAW_ESCAPE = 196, RAW_MARK = 255, ESCAPE_OFFSET = 63 };

std::string EncodeDecodedBytes(const std::string &decoded) {
    std::string raw;
    for (size_t i = 0; i < decoded.size(); ++i) {
        unsigned char ch = (unsigned char)decoded[i];
        if (i < sizeof HeaderKey) {
            raw += (char)(ch + HeaderKey[i]);
        } else if (ch == '\n') {
            raw += (char)RAW_LINE_FEED;
        } else if (ch + 1 == RAW_LINE_FEED || ch + 1 == RAW_ESCAPE || ch + 1 == RAW_MARK) {
            // Values whose shifted byte means something else go escaped.
            raw += (char)RAW_ESCAPE;
            raw += (char)(ch - ESCAPE_OFFSET);
        } else {
            raw += (char)(ch + 1);
        }
    }
    return raw;
}

std::string EncodeLanguageFile(const std::vector<std::pair<std::string, std::string>> &entries) {
    if (entries.empty()) return "";
    std::string decoded;
    for (const auto &entry : entries) {
        // An empty key is written as a decoded 0: "[]" would end the file,
        // while a key starting with 0 is stored empty.
        decoded += "[" + (entry.first.empty() ? std::string(1, '\0') : entry.first) + "]";
        // Loading drops one trailing line feed, so one is always added.
        decoded += entry.second + "\n";
    }
    // The last text needs a "[" after it to be stored; the empty key then
    // ends the parse.
    decoded += "[]";
    return EncodeDecodedBytes(decoded);
}

std::string EncodeTableLanguage(const std::vector<TableRow> &rows, int language) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const TableRow &row : rows)
        if (row.texts[language]) entries.emplace_back(row.key, *row.texts[language]);
    return EncodeLanguageFile(entries);
}
