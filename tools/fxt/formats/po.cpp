// Writing and reading PO files.
#include "po.h"

#include "encoding.h"
#include "po_syntax.h"

#include "res/version.h"


namespace {

const TextSource PoSource = {"PO file", "write it again with fxt po", "the PO file's charset is UTF-8"};

const char ContextSeparator = 4;
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
    return "msgid \"\"\nmsgstr " + QuotedPoString(text) + "\n";
}

// A refusal at a place of the file: its line, and its column in characters.
std::string Where(const std::string &content, size_t place) {
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0, line = 1, lineStart = start, column = 1;
    for (size_t i = start; i < place; ++i)
        if (content[i] == '\n') ++line, lineStart = i + 1;
    for (size_t i = lineStart; i < place; ++i) column += ((unsigned char)content[i] & 0xC0) != 0x80;
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

// A string's UTF-8 as the game's bytes, with what the language files
// cannot hold refused where the file writes it.
int StoredText(const std::string &content, const PoString &string, std::string *bytes, std::string *error) {
    const std::string &utf8 = string.bytes;
    for (size_t at = 0; at < utf8.size();) {
        std::string problem;
        size_t place = string.places[at];
        if (utf8.compare(at, ContextSeparatorSymbol.size(), ContextSeparatorSymbol) == 0) {
            *bytes += ContextSeparator;
            at += ContextSeparatorSymbol.size();
            continue;
        }
        int stored = StoredByteOfUtf8(utf8, &at, PoSource, &problem);
        if (stored < 0) {
            *error = Where(content, place) + problem;
            return 0;
        }
        *bytes += (char)stored;
    }
    return 1;
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
        po += "msgctxt " + QuotedPoString(row.key) + "\nmsgid " + QuotedPoString(id) + "\nmsgstr " + QuotedPoString(text) + "\n";
        if (!text.empty() && (BeginsWithLineFeed(id) != BeginsWithLineFeed(text) ||
                              EndsWithLineFeed(id) != EndsWithLineFeed(text)))
            ++*refusedByMsgfmt;
    }
    return po;
}

int ReadPo(const std::string &content, int language, PoFile *po, std::string *error) {
    *po = PoFile();
    std::vector<PoMessage> messages;
    if (!ReadPoSyntax(content, &messages, error)) return 0;
    auto refuse = [&](size_t line, const std::string &problem) {
        *error = "line " + std::to_string(line) + ": " + problem;
        return 0;
    };
    for (const PoMessage &message : messages) {
        if (message.obsolete) continue;
        if (!message.hasContext && message.id.kept.empty()) {
            std::string header = message.text.kept, charset = PoHeaderCharset(header);
            if (!charset.empty() && !IsUtf8CharsetName(charset))
                return refuse(message.line, "the header says charset=" + charset +
                                                "; fxt reads PO files in UTF-8: save it as UTF-8");
            size_t source = header.find("X-Source-Language: ");
            for (int i = 0; source != std::string::npos && i < LANGUAGE_COUNT; ++i)
                if (header.compare(source + 19, 3, std::string(LanguageCodes[i]) + "\n") == 0) po->source = i;
            continue;
        }
        if (!message.hasContext)
            return refuse(message.line, "an entry without msgctxt: fxt finds each text's key in its msgctxt");
        if (message.plural)
            return refuse(message.line, "a plural entry (msgid_plural): the game's texts have no plural forms");
        PoEntry read = {message.line, "", message.id.kept, "", message.fuzzy,
                        !message.fuzzy && !message.text.bytes.empty()};
        if (!StoredText(content, message.context, &read.key, error)) return 0;
        if (read.translated) {
            if (!StoredText(content, message.text, &read.text, error)) return 0;
            size_t bracket = message.text.bytes.find('[');
            if (bracket != std::string::npos) {
                *error = Where(content, message.text.places[bracket]) + "the " + LanguageNames[language] +
                         " text holds '[', which a text cannot hold";
                return 0;
            }
        }
        po->entries.push_back(read);
    }
    return 1;
}
