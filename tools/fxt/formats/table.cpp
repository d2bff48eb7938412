// Writing and reading the table format.
#include "table.h"

#include <algorithm>
#include <ctype.h>
#include <map>
#include <stdio.h>

const char TableHeader[] = "key\tEnglish\tFrench\tGerman\tItalian\n";

const char *const LanguageNames[LANGUAGE_COUNT] = {"English", "French", "German", "Italian"};
const char *const LanguageCodes[LANGUAGE_COUNT] = {"en", "fr", "de", "it"};

int LanguageOfName(const std::string &name) {
    std::string lower = name;
    for (char &ch : lower) ch = (char)tolower((unsigned char)ch);
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::string language = LanguageNames[i];
        for (char &ch : language) ch = (char)tolower((unsigned char)ch);
        if (lower == language || lower == LanguageCodes[i]) return i;
    }
    return -1;
}

std::string EscapedText(const std::string &text) {
    std::string escaped;
    for (char ch : text) {
        switch (ch) {
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\0': escaped += "\\0"; break;
        default: escaped += ch;
        }
    }
    return escaped;
}

std::string FormatTableRow(const TableRow &row) {
    std::string line = EscapedText(row.key);
    for (const std::optional<std::string> &text : row.texts) line += '\t' + (text ? EscapedText(*text) : "\\N");
    return line + '\n';
}

int FirstLanguage(const TableRow &row) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        if (row.texts[i]) return i;
    return LANGUAGE_COUNT;
}

namespace {

std::string Where(size_t lineNumber) {
    return "line " + std::to_string(lineNumber) + ": ";
}

// Undoes the escapes of one field; \N alone stands for no text.
int UnescapeField(const std::string &field, std::optional<std::string> *value, std::string *problem) {
    if (field == "\\N") {
        value->reset();
        return 1;
    }
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        unsigned char ch = (unsigned char)field[i];
        if (ch == 0 || ch == 255) {
            *problem = "a " + std::to_string(ch) + " byte cannot be stored in a language file";
            return 0;
        }
        if (ch == '\r') {
            *problem = "a raw carriage return (write it \\r)";
            return 0;
        }
        if (ch != '\\') {
            text += (char)ch;
            continue;
        }
        char escaped = i + 1 < field.size() ? field[++i] : '\0';
        switch (escaped) {
        case '\\': text += '\\'; break;
        case 't': text += '\t'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        default:
            // A byte beyond ASCII is named by its value: the table's own
            // character for it is not known here.
            char named[48];
            if (escaped > ' ' && escaped < 127) snprintf(named, sizeof named, "bad escape \\%c", escaped);
            else snprintf(named, sizeof named, "bad escape: a backslash before the byte 0x%02X", (unsigned char)escaped);
            *problem = escaped ? named : "a backslash at the end of a field";
            return 0;
        }
    }
    *value = text;
    return 1;
}

std::vector<std::string> SplitFields(const std::string &line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// A spreadsheet saves a field that holds a quote in quotes, each quote
// doubled: "Say ""hi"" to Bob".
bool LooksQuoted(const std::string &field) {
    return field.size() >= 2 && field.front() == '"' && field.back() == '"' && field.find("\"\"") != std::string::npos;
}

int ParseRow(const std::string &line, TableRow *row, std::string *problem, std::string *warning) {
    std::vector<std::string> fields = SplitFields(line);
    if (fields.size() != 1 + LANGUAGE_COUNT) {
        *problem = "expected 5 tab-separated fields, found " + std::to_string(fields.size());
        return 0;
    }
    for (size_t i = 0; i < fields.size() && warning->empty(); ++i)
        if (LooksQuoted(fields[i]))
            *warning = std::string(i == 0 ? "the key" : std::string("the ") + LanguageNames[i - 1] + " text") +
                       " begins and ends with '\"' and holds '\"\"': a spreadsheet may have quoted it; it is written "
                       "as it stands";
    std::optional<std::string> key;
    if (!UnescapeField(fields[0], &key, problem)) return 0;
    if (!key) {
        *problem = "the key is \\N; every line needs a key";
        return 0;
    }
    if (key->find(']') != std::string::npos) {
        *problem = "a key cannot hold ']'";
        return 0;
    }
    row->key = *key;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        if (!UnescapeField(fields[1 + i], &row->texts[i], problem)) return 0;
        if (row->texts[i] && row->texts[i]->find('[') != std::string::npos) {
            *problem = std::string("the ") + LanguageNames[i] + " text holds '[', which a text cannot hold";
            return 0;
        }
    }
    if (FirstLanguage(*row) == LANGUAGE_COUNT) {
        *problem = "the key has no text in any language";
        return 0;
    }
    return 1;
}

} // namespace

int ParseTable(const std::string &content, std::vector<TableRow> *rows, Refusals *refusals,
               std::vector<std::string> *warnings) {
    rows->clear();
    // Editors may leave empty lines at the end: the table ends with its last
    // line that holds something. That line must end as every other does,
    // or the table may be cut short.
    bool lastLineEnded = content.empty() || content.back() == '\n';
    size_t size = content.size();
    while (size > 0 && content[size - 1] == '\n') {
        --size;
        if (size > 0 && content[size - 1] == '\r') --size;
    }
    std::map<std::string, size_t> keyLines;
    int latestFirstLanguage = 0;
    size_t lineNumber = 1;
    // What is wrong with a line is told, and the next line read; what is
    // wrong with the whole table ends the reading.
    auto refuse = [&](const std::string &problem) {
        Refuse(refusals, lineNumber, 0, problem);
        return 0;
    };
    for (size_t start = 0; start < size || lineNumber == 1; ++lineNumber) {
        size_t end = std::min(content.find('\n', start), size);
        // A line may end with CR LF, as well as with LF.
        size_t length = end - start;
        if (end < size && length > 0 && content[end - 1] == '\r') --length;
        std::string line = content.substr(start, length);
        start = end + 1;
        size_t carriageReturn = line.find('\r');
        if (lineNumber == 1 && carriageReturn != std::string::npos &&
            (carriageReturn + 1 < line.size() || content.find('\n') == std::string::npos))
            return refuse("the lines end with a carriage return alone (CR), as on old Macs; save the table with LF or CR "
                          "LF line ends");
        if (!line.empty() && line.back() == '\r' && (end < size || lastLineEnded))
            return refuse("the line ends with CR CR LF, a line end whose carriage return was doubled on the way; save "
                          "the table with LF or CR LF line ends");
        if (end >= size && !lastLineEnded)
            return refuse("the table ends inside a line: it may have been cut short (a full disk, an interrupted copy); "
                          "if the line is whole, end it with a line end");
        if (lineNumber == 1) {
            if (line + '\n' != TableHeader)
                return refuse("the header must be: key<TAB>English<TAB>French<TAB>German<TAB>Italian");
            continue;
        }
        TableRow row;
        std::string problem, warning;
        if (!ParseRow(line, &row, &problem, &warning)) {
            refuse(problem);
            continue;
        }
        if (!warning.empty() && warnings) warnings->push_back(Where(lineNumber) + warning);
        auto earlier = keyLines.emplace(row.key, lineNumber);
        if (!earlier.second) {
            refuse("duplicate key, first on line " + std::to_string(earlier.first->second));
            continue;
        }
        // Loading lists the keys the English file stores first, then those
        // the French file adds, and so on: the table must be in that order.
        int first = FirstLanguage(row);
        if (first < latestFirstLanguage) {
            refuse(std::string("the key's first text is ") + LanguageNames[first] +
                   " but an earlier key's first text is " + LanguageNames[latestFirstLanguage] +
                   "; loading would list this key earlier");
            continue;
        }
        latestFirstLanguage = first;
        rows->push_back(row);
    }
    return !AnyRefused(*refusals);
}
