// gettext's PO reader, step for step: its lexer (po-lex.c) and its grammar
// (po-gram-gen.y), reading one token ahead as the grammar does.
#include "po_syntax.h"

#include "encoding.h"

#include <algorithm>
#include <set>
#include <stdio.h>
#include <tuple>
#include <utility>

namespace {

enum TokenKind {
    TOKEN_END,
    TOKEN_COMMENT,
    TOKEN_DOMAIN,
    TOKEN_MSGID,
    TOKEN_MSGID_PLURAL,
    TOKEN_MSGSTR,
    TOKEN_MSGCTXT,
    TOKEN_PREV_MSGID,
    TOKEN_PREV_MSGID_PLURAL,
    TOKEN_PREV_MSGCTXT,
    TOKEN_STRING,
    TOKEN_PREV_STRING,
    TOKEN_NUMBER,
    TOKEN_OPEN,
    TOKEN_CLOSE,
    TOKEN_JUNK,
};

struct Token {
    TokenKind kind = TOKEN_END;
    bool obsolete = false;
    size_t place = 0;     // where it begins in the file
    PoString string;      // a string's bytes; a comment's text
    std::string word;     // a keyword as written
    unsigned long number = 0;
};

// The file's bytes as gettext's lexer reads them: a backslash at a line's
// end joins the next line to it, wherever it stands, and is gone with its
// line feed. origin gives each byte's place in the file.
struct JoinedLines {
    std::string bytes;
    std::vector<uint32_t> origin;
};

JoinedLines JoinLines(const std::string &content, size_t start) {
    JoinedLines joined;
    joined.bytes.reserve(content.size());
    joined.origin.reserve(content.size() + 1);
    for (size_t at = start; at < content.size(); ++at) {
        if (content[at] == '\\' && at + 1 < content.size() && content[at + 1] == '\n') {
            ++at;
            continue;
        }
        joined.bytes += content[at];
        joined.origin.push_back((uint32_t)at);
    }
    joined.origin.push_back((uint32_t)content.size());
    return joined;
}

struct Lexer {
    const std::string &file;
    JoinedLines joined;
    const std::string &content;  // joined.bytes, which all places below index
    size_t start;                // in file, after a byte-order mark
    size_t at = 0;
    bool obsolete = false;   // after #~ on this line
    bool previous = false;   // after #| on this line
    bool utf8 = false;       // the header said UTF-8: characters outside comments must be UTF-8
    FileLines lines;
    Refusals *refusals;
    bool failed = false;     // the first thing wrong is refused: gettext reads no further

    Lexer(const std::string &text, size_t first, Refusals *told)
        : file(text), joined(JoinLines(text, first)), content(joined.bytes), start(first), lines(LinesOf(text, first)),
          refusals(told) {}

    size_t Origin(size_t place) const { return joined.origin[place < joined.origin.size() ? place : joined.origin.size() - 1]; }

    size_t LineOf(size_t place) const { return LineAt(lines, Origin(place)); }

    // A refusal at a place of the file, its column counted in characters.
    void RefuseInFile(size_t origin, const std::string &problem) {
        if (failed) return;
        failed = true;
        RefuseAt(refusals, lines, origin, problem);
    }

    void Refuse(size_t place, const std::string &problem) { RefuseInFile(Origin(place), problem); }

    // The length of the character at place: more than one byte only for
    // UTF-8 once the header said so, where a byte that begins no character
    // is refused.
    size_t CharacterLength(size_t place, bool checked) {
        unsigned char byte = (unsigned char)content[place];
        if (!utf8 || byte < 0x80) return 1;
        size_t length;
        if (DecodeUtf8(content, place, &length) >= 0) return length;
        if (checked) {
            char name[8];
            snprintf(name, sizeof name, "0x%02X", byte);
            Refuse(place, std::string("the byte ") + name + " is not UTF-8; the PO file's charset is UTF-8");
        }
        return 1;
    }
};

// gettext reads a character ahead after #~, a keyword and a number, and
// gives it back; but a backslash that ends the file, read so, ends its
// reading: the file's end has been seen, and a character given back is
// lost after it.
void LoseFinalBackslash(Lexer *lexer) {
    if (lexer->at + 1 == lexer->content.size() && lexer->content[lexer->at] == '\\') ++lexer->at;
}

bool IsNameStart(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_' || ch == '$';
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

int HexValue(char ch) {
    return IsDigit(ch) ? ch - '0' : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10 : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
}

// What follows a backslash, at lexer->at: the byte it stands for, which a
// char keeps the low eight bits of. An octal escape takes up to three
// digits; a hex one all the digits there are.
int Escape(Lexer *lexer, size_t backslash) {
    const std::string &content = lexer->content;
    char ch = lexer->at < content.size() ? content[lexer->at] : '\0';
    const char *simple = "n\nt\tb\br\rf\fv\va\a\\\\\"\"";
    for (const char *pair = simple; *pair; pair += 2)
        if (lexer->at < content.size() && *pair == ch) {
            ++lexer->at;
            return (unsigned char)pair[1];
        }
    if (lexer->at < content.size() && ch >= '0' && ch <= '7') {
        unsigned value = 0;
        for (int digits = 0; digits < 3 && lexer->at < content.size() && content[lexer->at] >= '0' &&
                             content[lexer->at] <= '7';
             ++digits)
            value = value * 8 + (content[lexer->at++] - '0');
        return value & 0xFF;
    }
    if (ch == 'x' && lexer->at + 1 < content.size() && HexValue(content[lexer->at + 1]) >= 0) {
        ++lexer->at;
        unsigned value = 0;
        while (lexer->at < content.size() && HexValue(content[lexer->at]) >= 0)
            value = (value * 16 + (unsigned)HexValue(content[lexer->at++])) & 0xFF;
        return (int)value;
    }
    std::string written = lexer->at < content.size() ? content.substr(lexer->at, lexer->CharacterLength(lexer->at, false)) : "";
    lexer->Refuse(backslash, "an unknown escape \\" + written);
    return ' ';
}

void ReadString(Lexer *lexer, Token *token) {
    const std::string &content = lexer->content;
    size_t opening = lexer->at++;
    for (;;) {
        if (lexer->at >= content.size() || content[lexer->at] == '\n') {
            lexer->Refuse(opening, "the string has no closing '\"'");
            return;
        }
        size_t place = lexer->at;
        char ch = content[lexer->at];
        if (ch == '"') {
            ++lexer->at;
            break;
        }
        if (ch == '\\') {
            ++lexer->at;
            token->string.bytes += (char)Escape(lexer, place);
            token->string.places.push_back((uint32_t)lexer->Origin(place));
            continue;
        }
        size_t length = lexer->CharacterLength(place, true);
        uint32_t origin = (uint32_t)lexer->Origin(place);
        token->string.bytes.append(content, place, length);
        for (size_t i = 0; i < length; ++i) token->string.places.push_back(origin);
        lexer->at += length;
    }
    // Strings cannot hold the byte by which a .mo file joins a context to
    // its message.
    const std::string &bytes = token->string.bytes;
    std::string &kept = token->string.kept;
    kept = bytes.substr(0, bytes.find('\0'));
    size_t separator = kept.find('\x04');
    if (separator != std::string::npos)
        lexer->RefuseInFile(token->string.places[separator],
                      "the byte 4, gettext's context separator, which no string of a PO file may hold");
    token->kind = lexer->previous ? TOKEN_PREV_STRING : TOKEN_STRING;
}

void ReadWord(Lexer *lexer, Token *token) {
    const std::string &content = lexer->content;
    size_t first = lexer->at;
    while (lexer->at < content.size() && (IsNameStart(content[lexer->at]) || IsDigit(content[lexer->at]))) ++lexer->at;
    token->word = content.substr(first, lexer->at - first);
    LoseFinalBackslash(lexer);
    const std::string &word = token->word;
    if (!lexer->previous) {
        token->kind = word == "domain"         ? TOKEN_DOMAIN
                      : word == "msgid"        ? TOKEN_MSGID
                      : word == "msgid_plural" ? TOKEN_MSGID_PLURAL
                      : word == "msgstr"       ? TOKEN_MSGSTR
                      : word == "msgctxt"      ? TOKEN_MSGCTXT
                                               : TOKEN_JUNK;
    } else {
        token->kind = word == "msgid"        ? TOKEN_PREV_MSGID
                      : word == "msgid_plural" ? TOKEN_PREV_MSGID_PLURAL
                      : word == "msgctxt"      ? TOKEN_PREV_MSGCTXT
                                               : TOKEN_JUNK;
    }
    if (token->kind == TOKEN_JUNK) lexer->Refuse(first, "\"" + word + "\" is not a keyword of PO files");
}

Token NextToken(Lexer *lexer) {
    const std::string &content = lexer->content;
    Token token;
    for (;;) {
        token.place = lexer->at;
        token.obsolete = lexer->obsolete;
        if (lexer->at >= content.size()) return token;
        char ch = content[lexer->at];
        if (ch == '\n') {
            lexer->obsolete = lexer->previous = false;
            ++lexer->at;
        } else if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v') {
            ++lexer->at;
        } else if (ch == '#') {
            ++lexer->at;
            char next = lexer->at < content.size() ? content[lexer->at] : '\0';
            if (next == '~' || next == '|') {
                // Not comments: obsolete entries, and previous strings.
                ++lexer->at;
                lexer->obsolete |= next == '~';
                if (next == '|' || (lexer->at < content.size() && content[lexer->at] == '|')) {
                    lexer->previous = true;
                    if (next == '~') ++lexer->at;
                } else {
                    LoseFinalBackslash(lexer);
                }
                continue;
            }
            // A comment runs to its line's end, which it takes: a previous
            // string's mark stays for the next line. Its first character is
            // read before gettext stops checking characters.
            if (lexer->at < content.size()) lexer->CharacterLength(lexer->at, true);
            size_t end = content.find('\n', lexer->at);
            if (end == std::string::npos) end = content.size();
            token.kind = TOKEN_COMMENT;
            token.string.bytes = content.substr(lexer->at, end - lexer->at);
            lexer->obsolete = false;
            lexer->at = end + (end < content.size());
            return token;
        } else if (ch == '"') {
            ReadString(lexer, &token);
            return token;
        } else if (IsNameStart(ch)) {
            ReadWord(lexer, &token);
            return token;
        } else if (IsDigit(ch)) {
            token.kind = TOKEN_NUMBER;
            while (lexer->at < content.size() && IsDigit(content[lexer->at]))
                token.number = token.number * 10 + (unsigned long)(content[lexer->at++] - '0');
            LoseFinalBackslash(lexer);
            return token;
        } else {
            token.kind = ch == '[' ? TOKEN_OPEN : ch == ']' ? TOKEN_CLOSE : TOKEN_JUNK;
            size_t length = lexer->CharacterLength(lexer->at, true);
            token.word = content.substr(lexer->at, length);
            lexer->at += length;
            return token;
        }
    }
}

// The grammar, over the lexer with one token of lookahead.
struct Parser {
    Lexer lexer;
    Token ahead;
    std::vector<PoMessage> *messages;
    bool fuzzyFlag = false;  // from the comments since the last message
    std::set<std::tuple<std::string, bool, std::string, std::string>> seen;  // domain, context or none, msgid
    std::string domain = "messages";

    Parser(const std::string &content, size_t start, std::vector<PoMessage> *read, Refusals *refusals)
        : lexer(content, start, refusals), messages(read) {
        ahead = NextToken(&lexer);
    }

    Token Take(void) {
        Token taken = std::move(ahead);
        ahead = NextToken(&lexer);
        return taken;
    }

    bool Failed(void) const { return lexer.failed; }

    int Refuse(size_t place, const std::string &problem) {
        lexer.Refuse(place, problem);
        return 0;
    }

    // What a token out of place is called in a refusal.
    static std::string Named(const Token &token) {
        switch (token.kind) {
        case TOKEN_END: return "the file's end";
        case TOKEN_COMMENT: return "a comment";
        case TOKEN_STRING:
        case TOKEN_PREV_STRING: return "a string";
        case TOKEN_NUMBER: return "a number";
        case TOKEN_PREV_MSGID:
        case TOKEN_PREV_MSGID_PLURAL:
        case TOKEN_PREV_MSGCTXT: return "#| " + token.word;
        default: return "\"" + token.word + "\"";
        }
    }

    int OutOfPlace(const Token &token, const std::string &expected) {
        return Refuse(token.place, Named(token) + " where " + expected + " should be");
    }

    // An entry is written after #~ on all its lines, or on none.
    int Consistent(const Token &first, const Token &token) {
        if (first.obsolete == token.obsolete) return 1;
        return Refuse(token.place, "#~ begins some of an entry's lines but not all of them");
    }

    // One or more strings of a kind, joined.
    int Strings(const Token &first, TokenKind kind, PoString *joined, const std::string &after) {
        if (ahead.kind != kind) return OutOfPlace(ahead, "the string of " + after);
        while (ahead.kind == kind) {
            if (!Consistent(first, ahead)) return 0;
            Token string = Take();
            if (joined->bytes.empty()) {
                *joined = std::move(string.string);
                continue;
            }
            joined->bytes += string.string.bytes;
            joined->kept += string.string.kept;
            joined->places.insert(joined->places.end(), string.string.places.begin(), string.string.places.end());
        }
        return !Failed();
    }

    int Expect(const Token &first, TokenKind kind, const char *what) {
        if (ahead.kind != kind) return OutOfPlace(ahead, what);
        return Consistent(first, Take()) && !Failed();
    }

    // #| msgctxt, #| msgid and #| msgid_plural: read, and not kept.
    int PreviousStrings(const Token &first) {
        PoString ignored;
        if (first.kind == TOKEN_PREV_MSGCTXT &&
            (!Strings(first, TOKEN_PREV_STRING, &ignored, "#| msgctxt") ||
             !Expect(first, TOKEN_PREV_MSGID, "#| msgid")))
            return 0;
        if (!Strings(first, TOKEN_PREV_STRING, &ignored, "#| msgid")) return 0;
        if (ahead.kind == TOKEN_PREV_MSGID_PLURAL) {
            if (!Consistent(first, Take())) return 0;
            if (!Strings(first, TOKEN_PREV_STRING, &ignored, "#| msgid_plural")) return 0;
        }
        if (ahead.kind != TOKEN_MSGID && ahead.kind != TOKEN_MSGCTXT) return OutOfPlace(ahead, "msgid or msgctxt");
        return 1;
    }

    // The forms of a plural entry: msgstr[0], msgstr[1]... in order.
    int PluralForms(const Token &first, PoMessage *message) {
        for (unsigned long index = 0; ahead.kind == TOKEN_MSGSTR; ++index) {
            Token keyword = Take();
            if (!Consistent(first, keyword) || !Expect(first, TOKEN_OPEN, "[")) return 0;
            if (ahead.kind != TOKEN_NUMBER) return OutOfPlace(ahead, "the form's number");
            if (ahead.number != index) return Refuse(ahead.place, "msgstr[" + std::to_string(ahead.number) + "] where msgstr[" + std::to_string(index) + "] should be");
            if (!Consistent(first, Take()) || !Expect(first, TOKEN_CLOSE, "]")) return 0;
            PoString form;
            if (!Strings(first, TOKEN_STRING, &form, "msgstr[" + std::to_string(index) + "]")) return 0;
            if (index == 0) message->text = form;
        }
        return 1;
    }

    int Message(const Token &opening) {
        PoMessage message;
        message.obsolete = opening.obsolete;
        message.fuzzy = fuzzyFlag;
        fuzzyFlag = false;
        Token keyword = opening;
        if (keyword.kind == TOKEN_PREV_MSGID || keyword.kind == TOKEN_PREV_MSGCTXT) {
            if (!PreviousStrings(opening)) return 0;
            keyword = Take();
            if (!Consistent(opening, keyword)) return 0;
        }
        message.line = lexer.LineOf(keyword.place);
        if (keyword.kind == TOKEN_MSGCTXT) {
            message.hasContext = true;
            if (!Strings(opening, TOKEN_STRING, &message.context, "msgctxt") || !Expect(opening, TOKEN_MSGID, "msgid"))
                return 0;
        }
        if (!Strings(opening, TOKEN_STRING, &message.id, "msgid")) return 0;
        if (ahead.kind == TOKEN_MSGID_PLURAL) {
            message.plural = true;
            PoString plural;
            if (!Consistent(opening, Take()) || !Strings(opening, TOKEN_STRING, &plural, "msgid_plural")) return 0;
            if (ahead.kind != TOKEN_MSGSTR) return OutOfPlace(ahead, "msgstr[0]");
            if (!PluralForms(opening, &message)) return 0;
        } else {
            if (ahead.kind != TOKEN_MSGSTR) return OutOfPlace(ahead, "the msgstr of the entry on line " + std::to_string(message.line));
            Token text = Take();
            if (!Consistent(opening, text)) return 0;
            if (ahead.kind == TOKEN_OPEN) return Refuse(ahead.place, "msgstr[] in an entry without msgid_plural");
            if (!Strings(opening, TOKEN_STRING, &message.text, "msgstr")) return 0;
        }
        const std::string &context = message.context.kept, &id = message.id.kept;
        if (!seen.insert(std::make_tuple(domain, message.hasContext, context, id)).second)
            return Refuse(keyword.place, "the entry is given twice: another has the same msgctxt and msgid");
        // The header says how the rest of the file is written. gettext
        // knows "UTF-8" as UTF-8 by that name only.
        if (!message.hasContext && id.empty() && !message.obsolete) {
            std::string charset = PoHeaderCharset(message.text.kept);
            lexer.utf8 = IsUtf8CharsetName(charset) && charset.find('-') != std::string::npos;
        }
        messages->push_back(message);
        return 1;
    }

    // The flags of a #, or #! comment: words between blanks and commas.
    void TakeFlags(const std::string &comment) {
        if (comment.empty() || (comment[0] != ',' && comment[0] != '!')) return;
        const char *separators = "\n \t\r\f\v,";
        size_t at = 1;
        while ((at = comment.find_first_not_of(separators, at)) != std::string::npos) {
            size_t end = comment.find_first_of(separators, at);
            if (end == std::string::npos) end = comment.size();
            if (comment.compare(at, end - at, "fuzzy") == 0 && end - at == 5) fuzzyFlag = true;
            at = end;
        }
    }

    int File(void) {
        while (!Failed() && ahead.kind != TOKEN_END) {
            Token token = Take();
            if (Failed()) return 0;
            switch (token.kind) {
            case TOKEN_COMMENT:
                TakeFlags(token.string.bytes);
                break;
            case TOKEN_DOMAIN:
                if (ahead.kind != TOKEN_STRING) return OutOfPlace(ahead, "the string of domain");
                domain = Take().string.kept;
                break;
            case TOKEN_MSGID:
            case TOKEN_MSGCTXT:
            case TOKEN_PREV_MSGID:
            case TOKEN_PREV_MSGCTXT:
                if (!Message(token)) return 0;
                break;
            default:
                return OutOfPlace(token, "an entry");
            }
        }
        return !Failed();
    }
};

} // namespace

std::string PoHeaderCharset(const std::string &header) {
    size_t at = header.find("charset=");
    if (at == std::string::npos) return "";
    at += 8;
    return header.substr(at, header.find_first_of(" \t\n", at) - at);
}

bool IsUtf8CharsetName(const std::string &name) {
    std::string upper = name;
    for (char &ch : upper) ch = ch >= 'a' && ch <= 'z' ? (char)(ch - 32) : ch;
    return upper == "UTF-8" || upper == "UTF8";
}

int ReadPoSyntax(const std::string &content, std::vector<PoMessage> *messages, Refusals *refusals) {
    messages->clear();
    if (content.size() > LARGEST_PO_FILE) {
        Refuse(refusals, 1, 0, "the file is larger than a PO file of the game's texts can be");
        return 0;
    }
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    Parser parser(content, start, messages, refusals);
    return parser.File();
}
