// Writing and reading PO files.
#include "po.h"

#include "encoding.h"
#include "po_syntax.h"
#include "rows.h"

#include "res/version.h"

#include <algorithm>
#include <ctype.h>
#include <stdio.h>
#include <string.h>

namespace {

const TextSource PoSource = {"PO file", "write it again with fxt po", "the PO file's charset is UTF-8", false};

const char ContextSeparator = 4;
// The header's field of the code page of the game's bytes.
const char CodePageField[] = "X-Code-Page";
const std::string ContextSeparatorSymbol = "\xE2\x90\x84";  // U+2404

// A string as gettext writes it: with its escapes, and when a line feed
// comes before its end, starting on a line of its own and breaking after
// each line feed.
std::string QuotedPoString(const std::string &text) {
    size_t lineFeed = text.find('\n');
    bool broken = lineFeed != std::string::npos && lineFeed + 1 < text.size();
    std::string written = broken ? "\"\"\n\"" : "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '\\': written += "\\\\"; break;
        case '"': written += "\\\""; break;
        case '\t': written += "\\t"; break;
        case '\r': written += "\\r"; break;
        case '\a': written += "\\a"; break;
        case '\b': written += "\\b"; break;
        case '\f': written += "\\f"; break;
        case '\v': written += "\\v"; break;
        case '\n': written += i + 1 < text.size() ? "\\n\"\n\"" : "\\n"; break;
        default: written += text[i];
        }
    }
    return written + "\"";
}

// A text in a comment, on its one line.
std::string CommentText(const std::string &text) {
    std::string written;
    for (char ch : text) written += ch == '\n' ? "\\n" : ch == '\r' ? "\\r" : std::string(1, ch);
    // gettext joins the next line to one that ends with a backslash.
    if (!written.empty() && written.back() == '\\') written += ' ';
    return written;
}

bool BeginsWithLineFeed(const std::string &text) { return !text.empty() && text.front() == '\n'; }

// The header; codePage 0 records none.
std::string Header(const PoRequest &request, int codePage) {
    std::string page = std::to_string(codePage);
    const char *const fields[][2] = {
        {"Project-Id-Version", "Grand Theft Auto"},
        {"PO-Revision-Date", request.revised.c_str()},
        {"Last-Translator", ""},
        {"Language-Team", LanguageNames[request.language]},
        {"Language", request.languageCode.c_str()},
        {"MIME-Version", "1.0"},
        {"Content-Type", "text/plain; charset=UTF-8"},
        {"Content-Transfer-Encoding", "8bit"},
        {"X-Generator", "fxt " PARLYTE_VERSION_TEXT},
        {"X-Source-Language", LanguageCodes[request.source]},
        {CodePageField, codePage ? page.c_str() : nullptr},
    };
    std::string text;
    for (const auto &field : fields)
        if (field[1]) text += std::string(field[0]) + ": " + field[1] + "\n";
    return "msgid \"\"\nmsgstr " + QuotedPoString(text) + "\n";
}

// The value of a field of a header, after its name and ": "; "" for none.
std::string HeaderField(const std::string &header, const std::string &name) {
    for (size_t start = 0; start < header.size();) {
        size_t end = std::min(header.find('\n', start), header.size());
        if (header.compare(start, name.size() + 1, name + ":") == 0) {
            size_t value = header.find_first_not_of(" \t", start + name.size() + 1);
            return value < end ? header.substr(value, end - value) : "";
        }
        start = end + 1;
    }
    return "";
}

// The code page of the translations: given, recorded, or the fan
// language's; and why it was taken, but where it is the game's own and
// nothing in the file or the command line says otherwise.
void TakeCodePage(const PoReading &reading, int recorded, PoFile *po) {
    const FanLanguage *fan = FindFanLanguage(po->language);
    if (fan && fan->codePage == DEFAULT_CODE_PAGE) fan = nullptr;
    bool differ = reading.codePage && recorded && recorded != reading.codePage;
    if (reading.codePage) {
        po->codePage = reading.codePage;
        po->codePageTaken = std::string("as --codepage gives") +
                            (differ ? ", not " + std::to_string(recorded) + " as its " + CodePageField + " says" : "");
    } else if (recorded) {
        po->codePage = recorded;
        po->codePageTaken = std::string("as its ") + CodePageField + " says";
    } else if (fan) {
        po->codePage = fan->codePage;
        po->codePageTaken = "the code page of its Language, " + po->language + " (" + fan->name + ")";
    } else {
        po->codePage = DEFAULT_CODE_PAGE;
    }
    if (po->codePage == DEFAULT_CODE_PAGE && !fan && !differ) po->codePageTaken.clear();
}

// What the header refuses, with the file's code page and languages.
// Returns 0 when the characters of the file cannot be known.
int ReadHeader(const PoMessage &header, const PoReading &reading, PoFile *po, Refusals *refusals) {
    const std::string &text = header.text.kept;
    std::string charset = PoHeaderCharset(text);
    // A charset gettext does not know: named otherwise, or not at all
    // after "charset=", which gettext reads up to a blank.
    if (text.find("charset=") != std::string::npos && !IsUtf8CharsetName(charset)) {
        Refuse(refusals, header.line, 0,
               (charset.empty() ? std::string("the header's charset= names no charset")
                                : "the header says charset=" + charset) +
                   "; fxt reads PO files in UTF-8: save it as UTF-8");
        return 0;
    }
    // The header's own bytes, which gettext converts as the file's.
    for (size_t at = 0, length; at < text.size(); at += length)
        if (DecodeUtf8(text, at, &length) < 0) {
            char byte[8];
            snprintf(byte, sizeof byte, "0x%02X", (unsigned char)text[at]);
            Refuse(refusals, header.line, 0, std::string("the header holds the byte ") + byte +
                                                 ", which is not UTF-8; the PO file's charset is UTF-8");
            return 0;
        }
    int source = LanguageOfName(HeaderField(text, "X-Source-Language"));
    if (source >= 0) po->source = source;
    po->language = HeaderField(text, "Language");
    int named = LanguageOfName(po->language.substr(0, po->language.find_first_of("_-@.")));
    if (named >= 0 && named != reading.language)
        Refuse(refusals, header.line, 0,
               std::string("the file is ") + (named == LANGUAGE_ENGLISH || named == LANGUAGE_ITALIAN ? "an " : "a ") +
                   LanguageNames[named] + " translation (Language: " + po->language + "); give " + LanguageNames[named] +
                   ", or remove the Language line");
    std::string recorded = HeaderField(text, CodePageField);
    int codePage = recorded.find_first_not_of("0123456789") == std::string::npos && recorded.size() < 6 &&
                           !recorded.empty()
                       ? std::stoi(recorded) : 0;
    if (!recorded.empty() && CodePageIndex(codePage) < 0) {
        Refuse(refusals, header.line, 0, std::string("the header's ") + CodePageField + " is " + recorded +
                                             ", which is not a code page fxt knows");
        return 0;
    }
    TakeCodePage(reading, codePage, po);
    return 1;
}

// A string's UTF-8 as the game's bytes, with each character the language
// files cannot hold refused where the file writes it.
void StoredText(const FileLines &lines, const PoString &string, const TextCoding &coding, std::string *bytes,
                Refusals *refusals, CharacterNotes *notes) {
    const std::string &utf8 = string.bytes;
    for (size_t at = 0; at < utf8.size();) {
        std::string problem;
        size_t place = string.places[at], length;
        if (utf8.compare(at, ContextSeparatorSymbol.size(), ContextSeparatorSymbol) == 0) {
            *bytes += ContextSeparator;
            at += ContextSeparatorSymbol.size();
            continue;
        }
        size_t start = at;
        int stored = StoredByteOfUtf8(utf8, &at, PoSource, coding, &problem, notes);
        if (stored < 0) {
            RefuseAt(refusals, lines, place, problem, notes->absent);
            if (at == start) at += DecodeUtf8(utf8, at, &length) < 0 ? 1 : length;
            stored = '?';
        }
        *bytes += (char)stored;
    }
}

} // namespace

bool EndsWithLineFeed(const std::string &text) {
    return !text.empty() && text.back() == '\n';
}

std::string PoDate(int64_t secondsSince1970) {
    int64_t days = secondsSince1970 / 86400, minutes = secondsSince1970 % 86400 / 60;
    // The civil date of a count of days since 1970, by 400-year eras.
    days += 719468;
    int64_t era = days / 146097, dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    int day = (int)(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    int month = (int)(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    int year = (int)(yearOfEra + era * 400 + (month <= 2));
    char text[32];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d+0000", year, month, day, (int)(minutes / 60),
             (int)(minutes % 60));
    return text;
}

std::string PoEncoded(const std::string &bytes, const CodePage &page) {
    std::string encoded;
    size_t start = 0;
    for (size_t end; (end = bytes.find(ContextSeparator, start)) != std::string::npos; start = end + 1)
        encoded += Utf8OfBytes(bytes.substr(start, end - start), page) + ContextSeparatorSymbol;
    return encoded + Utf8OfBytes(bytes.substr(start), page);
}

std::string PoMessageId(const TableRow &row, int source) {
    const std::optional<std::string> &text = row.texts[source];
    return text && !text->empty() ? *text : row.key;
}

std::string PoReference(const std::string &key) {
    std::string reference;
    for (char ch : key) {
        if (isalnum((unsigned char)ch) || (ch && strchr("-._~", ch))) {
            reference += ch;
            continue;
        }
        char escaped[4];
        snprintf(escaped, sizeof escaped, "%%%02X", (unsigned char)ch);
        reference += escaped;
    }
    return reference;
}

std::string FormatPo(const std::vector<TableRow> &rows, const PoRequest &request, const TextCoding &coding,
                     size_t *refusedByMsgfmt) {
    const CodePage &game = *coding.gamePage, &translated = *CodingOf(coding, request.language).page;
    std::string po = Header(request, request.asTemplate ? 0 : translated.number);
    *refusedByMsgfmt = 0;
    for (const TableRow &row : rows) {
        po += "\n";
        const std::optional<std::string> &source = row.texts[request.source];
        if (!source || source->empty())
            po += std::string("#. ") + LanguageNames[request.source] + (source ? "'s text is empty" : " has no text") +
                  " for this key: the msgid is the key\n";
        for (int language = 0; language < LANGUAGE_COUNT; ++language) {
            if (language == request.language || language == request.source) continue;
            const std::optional<std::string> &other = row.texts[language];
            po += std::string("#. ") + LanguageNames[language] +
                  (other ? ": " + PoEncoded(CommentText(*other), game) : " has no text") + "\n";
        }
        std::string id = PoMessageId(row, request.source);
        std::string text = request.asTemplate ? "" : row.texts[request.language].value_or("");
        // Still as the language replaced has it: work left for the fan.
        if (request.replaced && !text.empty() && StillAsReplaced(*request.replaced, row.key, text)) {
            po += std::string("#. ") + LanguageNames[request.language] + ", not yet translated: " +
                  PoEncoded(CommentText(text), game) + "\n";
            text.clear();
        }
        po += "#: " + PoReference(row.key) + "\nmsgctxt " + QuotedPoString(PoEncoded(row.key, game)) + "\nmsgid " +
              QuotedPoString(PoEncoded(id, game)) + "\nmsgstr " + QuotedPoString(PoEncoded(text, translated)) + "\n";
        if (!text.empty() && (BeginsWithLineFeed(id) != BeginsWithLineFeed(text) ||
                              EndsWithLineFeed(id) != EndsWithLineFeed(text)))
            ++*refusedByMsgfmt;
    }
    return po;
}

int ReadPo(const std::string &content, const PoReading &reading, PoFile *po, Refusals *refusals) {
    *po = PoFile();
    if (IsUtf16(content)) {
        Refuse(refusals, 1, 1, "the PO file is in UTF-16 (\"Unicode\"); save it as UTF-8");
        return 0;
    }
    std::vector<PoMessage> messages;
    if (!ReadPoSyntax(content, &messages, refusals)) return 0;
    // A file without a header has only the code page given, if any.
    TakeCodePage(reading, 0, po);
    for (const PoMessage &message : messages)
        if (!message.obsolete && !message.hasContext && message.id.kept.empty()) {
            if (!ReadHeader(message, reading, po, refusals)) return 0;
            break;
        }
    TextCoding coding;
    coding.pages = reading.pages;
    coding.gamePage = &reading.pages[CodePageIndex(DEFAULT_CODE_PAGE)];
    coding.fanLanguage = reading.language;
    coding.fanPage = &reading.pages[CodePageIndex(po->codePage)];
    coding.language = po->language;
    const TextCoding keys = CodingOf(coding, -1), texts = CodingOf(coding, reading.language);
    CharacterNotes notes;
    FileLines lines = LinesOf(content, content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0);
    for (const PoMessage &message : messages) {
        if (message.obsolete || (!message.hasContext && message.id.kept.empty())) continue;
        if (!message.hasContext) {
            Refuse(refusals, message.line, 0, "an entry without msgctxt: fxt finds each text's key in its msgctxt");
            continue;
        }
        if (message.plural) {
            Refuse(refusals, message.line, 0, "a plural entry (msgid_plural): the game's texts have no plural forms");
            continue;
        }
        PoEntry read = {message.line, "", message.id.kept, "", message.fuzzy,
                        !message.fuzzy && !message.text.bytes.empty()};
        StoredText(lines, message.context, keys, &read.key, refusals, &notes);
        if (read.translated) {
            StoredText(lines, message.text, texts, &read.text, refusals, &notes);
            size_t bracket = message.text.bytes.find('[');
            if (bracket != std::string::npos)
                RefuseAt(refusals, lines, message.text.places[bracket],
                         std::string("the ") + LanguageNames[reading.language] +
                             " text holds '[', which a text cannot hold");
        }
        po->entries.push_back(read);
    }
    po->commasBelow = notes.commasBelow;
    return !AnyRefused(*refusals);
}
