// Tables and PO files in UTF-8 or in the language files' own bytes.
#include "encoding.h"

#include "composition.h"
#include "table.h"
#include "wording.h"

#include <algorithm>
#include <stdio.h>

namespace {

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
    } else if (ch < 0x10000) {
        *text += (char)(0xE0 | ch >> 12);
        *text += (char)(0x80 | (ch >> 6 & 0x3F));
        *text += (char)(0x80 | (ch & 0x3F));
    } else {
        *text += (char)(0xF0 | ch >> 18);
        *text += (char)(0x80 | (ch >> 12 & 0x3F));
        *text += (char)(0x80 | (ch >> 6 & 0x3F));
        *text += (char)(0x80 | (ch & 0x3F));
    }
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

// Whether a character is a control, which a message names by its code alone.
bool IsControl(unsigned long ch) {
    return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

// A character in a message: 'ś' (U+015B).
std::string Named(unsigned long ch) {
    if (IsControl(ch)) return CharacterName(ch);
    std::string text;
    AppendUtf8(&text, (unsigned)ch);
    return "'" + text + "' (" + CharacterName(ch) + ")";
}

// The letter Windows-1250 has for Romanian's ș, ț, Ș, Ț (comma below): ş,
// ţ, Ş, Ţ (cedilla), which Romanian fonts of that code page draw; or 0.
unsigned long WithCedilla(unsigned long ch) {
    switch (ch) {
    case 0x0218: return 0x015E;
    case 0x0219: return 0x015F;
    case 0x021A: return 0x0162;
    case 0x021B: return 0x0163;
    default: return 0;
    }
}

// Why a character that is not in the code page cannot be written, and
// which code page has it: the translation's language's where it is one.
// Keys have no code page but the game's.
std::string NotInCodePage(unsigned long ch, const TextSource &source, const TextCoding &coding) {
    std::string problem = Named(ch) + " is not in " + CodePageName(coding.page->number);
    if (coding.textLanguage < 0) return problem + ", which keys are written in";
    const FanLanguage *language = FindFanLanguage(coding.language);
    std::string option = source.pagePerLanguage ? std::string(LanguageNames[coding.textLanguage]) + "=" : "";
    std::string pages;
    for (int i = 0; i < CODE_PAGE_COUNT && coding.pages; ++i) {
        int byte = ByteOf(coding.pages[i], CodePages[i].number == 1250 && WithCedilla(ch) ? WithCedilla(ch) : ch);
        if (byte <= 0 || byte == 0xFF) continue;
        if (language && language->codePage == coding.pages[i].number)
            return problem + ": give --codepage " + option + std::to_string(language->codePage) + " for " + language->name;
        pages += (pages.empty() ? "" : " or ") + option + std::to_string(CodePages[i].number) + " (" +
                 CodePages[i].region + ")";
    }
    if (pages.empty()) return problem + ", nor in any code page the game's files can be written in";
    return problem + ": give --codepage " + pages;
}

// The coding of each of a table's columns, the keys' first; a column past
// them (a line with too many fields, which the parser refuses) as the keys'.
struct ColumnCodings {
    TextCoding of[LANGUAGE_COUNT + 1];
    const TextCoding &operator[](int column) const { return of[column <= LANGUAGE_COUNT ? column : 0]; }
};

ColumnCodings CodingsOfColumns(const TextCoding &coding) {
    ColumnCodings columns;
    for (int column = 0; column <= LANGUAGE_COUNT; ++column) columns.of[column] = CodingOf(coding, column - 1);
    return columns;
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
                                "a table of the files' own bytes (\"ANSI\") is read with --ansi", true};

int StoredByteOfUtf8(const std::string &text, size_t *at, const TextSource &source, const TextCoding &coding,
                     std::string *problem, CharacterNotes *notes) {
    size_t length;
    long ch = DecodeUtf8(text, *at, &length);
    notes->absent = 0;
    if (ch < 0) {
        *problem = "the byte " + ByteName((unsigned char)text[*at]) + " is not UTF-8; " + source.notUtf8Hint;
        return -1;
    }
    if (ch == 0xFFFD) {
        *problem = ReplacementCharacterProblem(source);
        return -1;
    }
    // The letter in its composed form, as the code page holds it.
    unsigned long letter = (unsigned long)ch, same = Composed(letter, 0), mark;
    if (same) letter = same;
    size_t next = *at + length, markLength;
    for (long following; next < text.size() && (following = DecodeUtf8(text, next, &markLength)) >= 0x300 &&
                         following <= 0x36F && (mark = Composed(letter, (unsigned long)following)) != 0;
         next += markLength)
        letter = mark;
    notes->composed += letter != (unsigned long)ch;
    int stored = letter == 0 ? -1 : ByteOf(*coding.page, letter);
    if (stored < 0 && coding.page->number == 1250 && WithCedilla(letter)) {
        stored = ByteOf(*coding.page, WithCedilla(letter));
        ++notes->commasBelow;
    }
    if (letter == 0) {
        *problem = CharacterName(0) + " is a character the game's files cannot hold";
    } else if (stored < 0) {
        *problem = NotInCodePage(letter, source, coding);
        notes->absent = letter;
    } else if (stored == 0xFF) {
        *problem = Named(letter) + " is the byte 0xFF in " + CodePageName(coding.page->number) +
                   ", which ends a language file's data: the game's files cannot hold it";
        notes->absent = letter;
    }
    // Past the letter, marks and all, whether it is refused or not.
    *at = next;
    return stored == 0xFF ? -1 : stored;
}

TextCoding CodingOf(const TextCoding &coding, int language) {
    TextCoding of = coding;
    of.page = language == coding.fanLanguage && language >= 0 && coding.fanPage ? coding.fanPage : coding.gamePage;
    of.textLanguage = language;
    return of;
}

std::string Utf8OfBytes(const std::string &bytes, const CodePage &page) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (char byte : bytes) AppendUtf8(&text, page.characters[(unsigned char)byte]);
    return text;
}

std::string Utf8OfTable(const std::string &bytes, const TextCoding &coding) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    const ColumnCodings columns = CodingsOfColumns(coding);
    int column = 0;
    for (char byte : bytes) {
        AppendUtf8(&text, columns[column].page->characters[(unsigned char)byte]);
        if (byte == '\t' || byte == '\n') column = byte == '\t' ? column + 1 : 0;
    }
    return text;
}

std::string CommasBelowWarning(size_t count) {
    return Counted(count, "\xC8\x99 or \xC8\x9B (a comma below) is", "\xC8\x99 and \xC8\x9B (a comma below) are") +
           " written as \xC5\x9F and \xC5\xA3 (a cedilla), which Windows-1250 has and Romanian fonts draw";
}

std::string Shown(const std::string &bytes, const TextCoding &coding) {
    return Utf8OfBytes(EscapedText(bytes), *coding.page);
}

std::string EncodedTable(const std::string &bytes, const TextCoding &coding) {
    return coding.encoding == TABLE_ANSI ? bytes : Utf8OfTable(bytes, coding);
}

bool IsUtf16(const std::string &content) {
    return StartsWith(content, 0, "\xFF\xFE") || StartsWith(content, 0, "\xFE\xFF") || LooksLikeUtf16(content);
}

std::string WholeTableProblem(const std::string &content, const TextCoding &coding) {
    if (IsUtf16(content)) return "the table is in UTF-16 (\"Unicode\"); save it as UTF-8";
    if (coding.encoding == TABLE_ANSI && StartsWith(content, 0, ByteOrderMark))
        return "the table begins with UTF-8's byte-order mark: it is UTF-8, which fxt reads without --ansi";
    return "";
}

int DecodeTable(const std::string &content, const TextCoding &coding, std::string *bytes, Refusals *refusals,
                CharacterNotes *notes) {
    bytes->clear();
    size_t line = 1, column = 1;
    const ColumnCodings columns = CodingsOfColumns(coding);
    int field = 0;
    bool ansi = coding.encoding == TABLE_ANSI;
    size_t utf8 = ansi ? FirstOfUtf8Text(content) : std::string::npos;
    size_t at = StartsWith(content, 0, ByteOrderMark) ? ByteOrderMark.size() : 0;
    bytes->reserve(content.size());
    while (at < content.size()) {
        unsigned char byte = (unsigned char)content[at];
        size_t start = at;
        int stored = byte;
        std::string problem;
        if (!ansi) {
            stored = StoredByteOfUtf8(content, &at, TableSource, columns[field], &problem, notes);
        } else if (StartsWith(content, at, ReplacementCharacter)) {
            // No game text holds these bytes.
            problem = ReplacementCharacterProblem(TableSource);
            stored = -1;
        } else if (at == utf8) {
            size_t length;
            problem = "the table looks like UTF-8 (" + CharacterName((unsigned long)DecodeUtf8(content, at, &length)) +
                      " written in UTF-8), which fxt reads without --ansi";
            stored = -1;
        } else {
            ++at;
        }
        if (stored < 0) {
            // The next character is looked at, so that every one is told.
            if (!ansi && notes->absent) RefuseLetter(refusals, line, column, notes->absent, problem);
            else Refuse(refusals, line, column, problem);
            size_t length;
            if (at == start) at += DecodeUtf8(content, at, &length) < 0 ? 1 : length;
            stored = '?';
        }
        *bytes += (char)stored;
        if (byte == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        if (byte == '\t' || byte == '\n') field = byte == '\t' ? field + 1 : 0;
    }
    return !AnyRefused(*refusals);
}
