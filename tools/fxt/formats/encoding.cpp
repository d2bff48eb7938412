// Tables in UTF-8 or in the language files' own bytes.
#include "encoding.h"

#include <algorithm>
#include <stdio.h>

namespace {

// What Windows-1252 gives 0x80 to 0x9F; every other byte is the character
// of the same value.
const unsigned short Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const std::string ByteOrderMark = "\xEF\xBB\xBF";
// U+FFFD, which an editor puts where it could not read a letter.
const std::string ReplacementCharacter = "\xEF\xBF\xBD";

bool StartsWith(const std::string &content, size_t at, const std::string &bytes) {
    return content.compare(at, bytes.size(), bytes) == 0;
}

void AppendUtf8(std::string *text, unsigned ch) {
    if (ch < 0x80) {
        *text += (char)ch;
    } else if (ch < 0x800) {
        *text += (char)(0xC0 | ch >> 6);
        *text += (char)(0x80 | (ch & 0x3F));
    } else {
        *text += (char)(0xE0 | ch >> 12);
        *text += (char)(0x80 | (ch >> 6 & 0x3F));
        *text += (char)(0x80 | (ch & 0x3F));
    }
}

// The byte a language file stores for a character, or -1 for none: 0 and
// 255 are no text's, they end the data.
int StoredByte(unsigned long ch) {
    if (ch == 0 || ch == 0xFF) return -1;
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return (int)ch;
    for (int i = 0; i < 32; ++i)
        if (Windows1252High[i] == ch) return 0x80 + i;
    return -1;
}

std::string CharacterName(unsigned long ch) {
    char name[16];
    snprintf(name, sizeof name, "U+%04lX", ch);
    return name;
}

std::string ByteName(unsigned char byte) {
    char name[8];
    snprintf(name, sizeof name, "0x%02X", byte);
    return name;
}

// UTF-16 without a byte-order mark: in the first line, every other byte is
// zero, those of its ASCII letters' high halves.
bool LooksLikeUtf16(const std::string &content) {
    size_t end = std::min(content.find('\n'), content.size());
    if (end < 4) return false;
    for (size_t zeros = 0; zeros < 2; ++zeros) {
        bool alternating = true;
        for (size_t i = 0; i < end && alternating; ++i) alternating = (content[i] == 0) == (i % 2 == zeros);
        if (alternating) return true;
    }
    return false;
}

// Where the first character beyond ASCII starts in a table that is UTF-8
// through and through, or npos.
size_t FirstOfUtf8Text(const std::string &content) {
    size_t first = std::string::npos, length;
    for (size_t at = 0; at < content.size(); at += length) {
        if (DecodeUtf8(content, at, &length) < 0) return std::string::npos;
        if (length > 1 && first == std::string::npos) first = at;
    }
    return first;
}

std::string ReplacementCharacterProblem(const TextSource &source) {
    return std::string("U+FFFD, the replacement character: an editor that could not read the ") + source.name +
           " put it in place of a letter; " + source.writeAgain + " and edit it as UTF-8";
}

} // namespace

long DecodeUtf8(const std::string &content, size_t at, size_t *length) {
    unsigned char lead = (unsigned char)content[at];
    *length = 1;
    if (lead < 0x80) return lead;
    size_t following;
    unsigned long ch, least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1, ch = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2, ch = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3, ch = lead & 0x07, least = 0x10000;
    } else {
        return -1;
    }
    if (content.size() - at <= following) return -1;
    for (size_t i = 1; i <= following; ++i) {
        unsigned char next = (unsigned char)content[at + i];
        if ((next & 0xC0) != 0x80) return -1;
        ch = ch << 6 | (next & 0x3F);
    }
    if (ch < least || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return -1;
    *length = following + 1;
    return (long)ch;
}

const TextSource TableSource = {"table", "dump the table again",
                                "a Windows-1252 (\"ANSI\") table is read with --ansi"};

int StoredByteOfUtf8(const std::string &text, size_t *at, const TextSource &source, std::string *problem) {
    size_t length;
    long ch = DecodeUtf8(text, *at, &length);
    if (ch < 0) {
        *problem = "the byte " + ByteName((unsigned char)text[*at]) + " is not UTF-8; " + source.notUtf8Hint;
        return -1;
    }
    if (ch == 0xFFFD) {
        *problem = ReplacementCharacterProblem(source);
        return -1;
    }
    int stored = StoredByte((unsigned long)ch);
    if (stored < 0) *problem = CharacterName((unsigned long)ch) + " is a character the game's files cannot hold";
    else *at += length;
    return stored;
}

unsigned Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : byte;
}

std::string EncodedTable(const std::string &bytes, TableEncoding encoding) {
    if (encoding == TABLE_ANSI) return bytes;
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (char byte : bytes) AppendUtf8(&text, Windows1252Character((unsigned char)byte));
    return text;
}

int DecodeTable(const std::string &content, TableEncoding encoding, std::string *bytes, std::string *error) {
    bytes->clear();
    size_t line = 1, column = 1;
    auto refuse = [&](const std::string &problem) {
        *error = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + problem;
        return 0;
    };
    if (StartsWith(content, 0, "\xFF\xFE") || StartsWith(content, 0, "\xFE\xFF") || LooksLikeUtf16(content))
        return refuse("the table is in UTF-16 (\"Unicode\"); save it as UTF-8");
    size_t utf8 = encoding == TABLE_ANSI ? FirstOfUtf8Text(content) : std::string::npos;
    size_t at = 0;
    if (StartsWith(content, 0, ByteOrderMark)) {
        if (encoding == TABLE_ANSI)
            return refuse("the table begins with UTF-8's byte-order mark: it is UTF-8, which fxt reads without --ansi");
        at = ByteOrderMark.size();
    }
    bytes->reserve(content.size());
    while (at < content.size()) {
        unsigned char byte = (unsigned char)content[at];
        int stored = byte;
        std::string problem;
        if (encoding == TABLE_UTF8) {
            stored = StoredByteOfUtf8(content, &at, TableSource, &problem);
            if (stored < 0) return refuse(problem);
        } else if (StartsWith(content, at, ReplacementCharacter)) {
            // No game text holds these bytes.
            return refuse(ReplacementCharacterProblem(TableSource));
        } else if (at == utf8) {
            size_t length;
            return refuse("the table looks like UTF-8 (" + CharacterName((unsigned long)DecodeUtf8(content, at, &length)) +
                          " written in UTF-8), which fxt reads without --ansi");
        } else {
            ++at;
        }
        *bytes += (char)stored;
        if (byte == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return 1;
}
