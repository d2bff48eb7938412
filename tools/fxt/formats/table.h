// The tab-separated table that fxt prints and reads: one line per key, five
// fields in PostgreSQL's COPY text style (\\ \t \n \r escaped, \N for none).
#ifndef PARLYTE_FXT_TABLE_H
#define PARLYTE_FXT_TABLE_H

#include "encoding.h"

#include "text/text_store.h"

#include <optional>
#include <string>
#include <vector>

extern const char TableHeader[];
// The languages by LanguageIndex, as the header names them, and their codes.
extern const char *const LanguageNames[LANGUAGE_COUNT];
extern const char *const LanguageCodes[LANGUAGE_COUNT];
// The LanguageIndex of a language's name in any letter case or its code,
// or -1.
int LanguageOfName(const std::string &name);

struct TableRow {
    std::string key;
    std::optional<std::string> texts[LANGUAGE_COUNT];
};

// The first language that has a text for the row, by which loading lists
// it; LANGUAGE_COUNT for none.
int FirstLanguage(const TableRow &row);

// A key or text as the table writes it: \\ \t \n \r escaped, and a 0 byte,
// which no stored key or text holds, as \0.
std::string EscapedText(const std::string &text);
// One line of the table, with its line feed; an absent text is written \N.
std::string FormatTableRow(const TableRow &row);

// Reads a whole table, header included, and checks that language files can
// carry it and that loading them gives the same table back. What is wrong
// is told in refusals, each naming its line, every line read (but where
// the table as a whole is wrong); returns 0 then. What looks damaged but
// can be carried is told in warnings, when given, each naming its line.
int ParseTable(const std::string &content, std::vector<TableRow> *rows, Refusals *refusals,
               std::vector<std::string> *warnings = nullptr);

#endif
