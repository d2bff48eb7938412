// Encoding of language files.
#include "language_file_writer.h"

#include "text_store.h"

std::string EncodeDecodedBytes(const std::string &decoded) {
    std::string raw;
    for (size_t i = 0; i < decoded.size(); ++i) {
        unsigned char ch = (unsigned char)decoded[i];
        if (i < HEADER_LENGTH) {
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
