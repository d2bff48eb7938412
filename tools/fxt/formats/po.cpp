// Writing and reading PO files.
#include "po.h"

#include "encoding.h"

#include "res/version.h"

#include <ctype.h>
#include <map>

namespace {

const TextSource PoSource = {"PO file", "write it again with fxt po", "the PO file's charset is UTF-8"};

const char ContextSeparator = 4;
const std::string ContextSeparatorSymbol = "\xE2\x90\x84";  // U+2404

// A string as gettext writes it: with its escapes, and when a line feed
// comes before its end, starting on a line of its own and breaking after
// each line feed.
std::string PoString(const std::string &text) {
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
    return written;
}

bool BeginsWithLineFeed(const std::string &text) { return !text.empty() && text.front() == '\n'; }
bool EndsWithLineFeed(const std::string &text) { return !text.empty() && text.back() == '\n'; }

std::string Header(const PoRequest &request) {
    const char *const fields[][2] = {
        {"Project-Id-Version", "Grand Theft Auto"},
        {"PO-Revision-Date", request.revised.c_str()},
        {"Last-Translator", ""},
        {"Language-Team", LanguageNames[request.language]},
        {"Language", LanguageCodes[request.language]},
        {"MIME-Version", "1.0"},
        {"Content-Type", "text/plain; charset=UTF-8"},
        {"Content-Transfer-Encoding", "8bit"},
        {"X-Generator", "fxt " PARLYTE_VERSION_TEXT},
        {"X-Source-Language", LanguageCodes[request.source]},
    };
    std::string text;
    for (const auto &field : fields) text += std::string(field[0]) + ": " + field[1] + "\n";
    return "msgid \"\"\nmsgstr " + PoString(text) + "\n";
}

// How a PO file's text is read: where, and what is wrong where.
struct PoReader {
    const std::string &content;
    size_t at;     // the next byte
    size_t line;   // of the next byte
    size_t start;  // where the file's text starts, after a byte-order mark
    std::string *error;

    // A refusal at a line, or at a byte of the file with its column in
    // characters.
    int Refuse(size_t atLine, const std::string &problem) {
        *error = "line " + std::to_string(atLine) + ": " + problem;
        return 0;
    }
    int RefuseAt(size_t place, const std::string &problem) {
        size_t lineNumber = 1, lineStart = start, column = 1;
        for (size_t i = start; i < place; ++i)
            if (content[i] == '\n') ++lineNumber, lineStart = i + 1;
        for (size_t i = lineStart; i < place; ++i) column += ((unsigned char)content[i] & 0xC0) != 0x80;
        *error = "line " + std::to_string(lineNumber) + ", column " + std::to_string(column) + ": " + problem;
        return 0;
    }
};

// One string of a PO file, "..." with gettext's escapes, read from at:
// its bytes, and for each of them the place in the file of what wrote it.
int ReadString(PoReader *reader, std::string *text, std::vector<size_t> *places) {
    const std::string &content = reader->content;
    size_t opening = reader->at++;
    for (;;) {
        if (reader->at >= content.size() || content[reader->at] == '\n' || content[reader->at] == '\r')
            return reader->RefuseAt(opening, "the string has no closing '\"'");
        size_t place = reader->at;
        char ch = content[reader->at++];
        if (ch == '"') return 1;
        if (ch != '\\') {
            *text += ch;
            places->push_back(place);
            continue;
        }
        char escape = reader->at < content.size() ? content[reader->at++] : '\0';
        const char *simple = "n\nt\tr\rb\bf\fv\va\a\\\\\"\"";
        const char *found = nullptr;
        for (const char *pair = simple; *pair; pair += 2)
            if (*pair == escape) found = pair;
        int value = found ? found[1] : -1;
        if (escape >= '0' && escape <= '7') {
            value = escape - '0';
            for (int digits = 1; digits < 3 && reader->at < content.size() && content[reader->at] >= '0' &&
                                 content[reader->at] <= '7';
                 ++digits)
                value = value * 8 + (content[reader->at++] - '0');
        } else if (escape == 'x') {
            value = 0;
            int digits = 0;
            for (char hex; reader->at < content.size() && isxdigit((unsigned char)(hex = content[reader->at])); ++digits) {
                value = value * 16 + (isdigit((unsigned char)hex) ? hex - '0' : (tolower((unsigned char)hex) - 'a' + 10));
                ++reader->at;
            }
            if (digits == 0 || digits > 2) value = -1;
        }
        if (value < 0 || value > 255) return reader->RefuseAt(place, std::string("an unknown escape \\") + escape);
        *text += (char)value;
        places->push_back(place);
    }
}

// A string of the game's bytes from a UTF-8 one, with what the language
// files cannot hold refused where the file writes it.
int StoredText(PoReader *reader, const std::string &utf8, const std::vector<size_t> &places, std::string *bytes) {
    for (size_t at = 0; at < utf8.size();) {
        std::string problem;
        size_t place = places[at];
        if (utf8.compare(at, ContextSeparatorSymbol.size(), ContextSeparatorSymbol) == 0) {
            *bytes += ContextSeparator;
            at += ContextSeparatorSymbol.size();
            continue;
        }
        int stored = StoredByteOfUtf8(utf8, &at, PoSource, &problem);
        if (stored < 0) return reader->RefuseAt(place, problem);
        *bytes += (char)stored;
    }
    return 1;
}

// What an entry is read into, keyword by keyword.
struct ReadEntry {
    size_t line = 0;
    bool fuzzy = false, hasContext = false, hasId = false, hasText = false, plural = false;
    std::string context, id, text;
    std::vector<size_t> contextPlaces, idPlaces, textPlaces;
};

// The charset a header names, or "" for none.
std::string HeaderCharset(const std::string &header) {
    size_t at = header.find("charset=");
    if (at == std::string::npos) return "";
    size_t end = header.find_first_of(" ;\n", at + 8);
    return header.substr(at + 8, end == std::string::npos ? std::string::npos : end - at - 8);
}

bool IsUtf8Name(std::string name) {
    for (char &ch : name) ch = (char)toupper((unsigned char)ch);
    return name == "UTF-8";
}

} // namespace

std::string PoEncoded(const std::string &bytes) {
    std::string encoded;
    size_t start = 0;
    for (size_t end; (end = bytes.find(ContextSeparator, start)) != std::string::npos; start = end + 1)
        encoded += EncodedTable(bytes.substr(start, end - start), TABLE_UTF8) + ContextSeparatorSymbol;
    return encoded + EncodedTable(bytes.substr(start), TABLE_UTF8);
}

std::string PoMessageId(const TableRow &row, int source) {
    const std::optional<std::string> &text = row.texts[source];
    return text && !text->empty() ? *text : row.key;
}

std::string FormatPo(const std::vector<TableRow> &rows, const PoRequest &request, size_t *refusedByMsgfmt) {
    std::string po = Header(request);
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
            po += std::string("#. ") + LanguageNames[language] + (other ? ": " + CommentText(*other) : " has no text") + "\n";
        }
        std::string id = PoMessageId(row, request.source);
        std::string text = request.asTemplate ? "" : row.texts[request.language].value_or("");
        po += "msgctxt " + PoString(row.key) + "\nmsgid " + PoString(id) + "\nmsgstr " + PoString(text) + "\n";
        if (!text.empty() && (BeginsWithLineFeed(id) != BeginsWithLineFeed(text) ||
                              EndsWithLineFeed(id) != EndsWithLineFeed(text)))
            ++*refusedByMsgfmt;
    }
    return po;
}

int ReadPo(const std::string &content, int language, PoFile *po, std::string *error) {
    *po = PoFile();
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    PoReader reader = {content, start, 1, start, error};
    std::map<std::string, size_t> keyLines;
    ReadEntry entry;
    std::string *field = nullptr;
    std::vector<size_t> *places = nullptr;
    // An entry is whole at the next comment or keyword after its msgstr.
    auto finish = [&]() {
        ReadEntry done = entry;
        entry = ReadEntry();
        if (!done.hasId && !done.hasText && !done.hasContext) return 1;
        if (!done.hasId || !done.hasText) return reader.Refuse(done.line, "an entry needs a msgid and a msgstr");
        if (done.plural)
            return reader.Refuse(done.line, "a plural entry (msgid_plural): the game's texts have no plural forms");
        if (!done.hasContext && done.id.empty()) {
            std::string charset = HeaderCharset(done.text);
            if (!charset.empty() && !IsUtf8Name(charset))
                return reader.Refuse(done.line, "the header says charset=" + charset +
                                                    "; fxt reads PO files in UTF-8: save it as UTF-8");
            size_t source = done.text.find("X-Source-Language: ");
            for (int i = 0; source != std::string::npos && i < LANGUAGE_COUNT; ++i)
                if (done.text.compare(source + 19, 3, std::string(LanguageCodes[i]) + "\n") == 0) po->source = i;
            return 1;
        }
        if (!done.hasContext)
            return reader.Refuse(done.line, "an entry without msgctxt: fxt finds each text's key in its msgctxt");
        PoEntry read = {done.line, "", done.id, "", done.fuzzy, !done.fuzzy && !done.text.empty()};
        if (!StoredText(&reader, done.context, done.contextPlaces, &read.key)) return 0;
        auto earlier = keyLines.emplace(read.key, done.line);
        if (!earlier.second)
            return reader.Refuse(done.line, "the key " + PoEncoded(EscapedText(read.key)) +
                                                " is given twice, first on line " + std::to_string(earlier.first->second));
        if (read.translated) {
            if (!StoredText(&reader, done.text, done.textPlaces, &read.text)) return 0;
            size_t bracket = done.text.find('[');
            if (bracket != std::string::npos)
                return reader.RefuseAt(done.textPlaces[bracket], std::string("the ") + LanguageNames[language] +
                                                                     " text holds '[', which a text cannot hold");
        }
        po->entries.push_back(read);
        return 1;
    };
    while (reader.at < content.size()) {
        size_t end = std::min(content.find('\n', reader.at), content.size());
        size_t lineEnd = end > reader.at && content[end - 1] == '\r' ? end - 1 : end;
        std::string line = content.substr(reader.at, lineEnd - reader.at);
        size_t first = line.find_first_not_of(" \t");
        bool keyword = first != std::string::npos && line[first] != '#' && line[first] != '"';
        if (first != std::string::npos && line[first] == '#') {
            if (entry.hasText && !finish()) return 0;
            if (line.compare(first, 2, "#,") == 0 && line.find("fuzzy", first) != std::string::npos) entry.fuzzy = true;
            field = nullptr;
        } else if (keyword) {
            size_t wordEnd = std::min(line.find_first_of(" \t\"", first), line.size());
            std::string word = line.substr(first, wordEnd - first);
            bool isText = word == "msgstr" || word.compare(0, 7, "msgstr[") == 0;
            if ((word == "msgctxt" || word == "msgid") && entry.hasText && !finish()) return 0;
            if (entry.line == 0) entry.line = reader.line;
            if (word == "msgctxt" && !entry.hasId && !entry.hasContext) {
                entry.hasContext = true, field = &entry.context, places = &entry.contextPlaces;
            } else if (word == "msgid" && !entry.hasId) {
                entry.hasId = true, field = &entry.id, places = &entry.idPlaces;
            } else if (word == "msgid_plural" && entry.hasId && !entry.hasText) {
                entry.plural = true, field = &entry.id, places = &entry.idPlaces;
            } else if (isText && entry.hasId) {
                entry.plural |= word != "msgstr";
                entry.hasText = true, field = &entry.text, places = &entry.textPlaces;
            } else {
                return reader.Refuse(reader.line, "\"" + word + "\" is not what a PO file holds here");
            }
            first = line.find_first_not_of(" \t", wordEnd);
            if (first == std::string::npos || line[first] != '"')
                return reader.Refuse(reader.line, "the " + word + " has no string");
        }
        if (first != std::string::npos && line[first] == '"') {
            if (!field) return reader.Refuse(reader.line, "a string that belongs to no keyword");
            reader.at += first;
            if (!ReadString(&reader, field, places)) return 0;
            size_t more = content.find_first_not_of(" \t", reader.at);
            if (more < lineEnd) return reader.RefuseAt(more, "more on the line after the string");
        }
        reader.at = end + 1;
        ++reader.line;
    }
    return finish();
}
