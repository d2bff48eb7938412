// Reads arbitrary bytes as an fxt table, in UTF-8 and in the files' own
// bytes. Whatever the reader accepts must be what loading the language files
// written from it gives, the way fxt make and fxt dump do it; and a table
// as dump prints it must come back byte for byte. The same bytes read as a
// PO file are read as gettext's own reader reads them, give only texts the
// files can hold, and a table's PO file reads back as its texts.
#include "tests/fakes/fakes.h"
#include "fuzz_game.h"
#include "gettext_reader.h"
#include "loaded_table.h"
#include "text/text_store.h"
#include "text/language_file_writer.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/encoding.h"
#include "tools/fxt/formats/po.h"
#include "tools/fxt/formats/po_syntax.h"
#include "tools/fxt/formats/table.h"
#include "tools/fxt/platform/platform.h"

#include <algorithm>
#include <fstream>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>

namespace {

// The table as the language files written from these rows load.
std::string LoadedTable(const std::string &folder, const std::vector<TableRow> &rows) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        std::ofstream(folder + CompatNativePath(LanguageFileNames[i]), std::ios::binary | std::ios::trunc)
            << EncodeTableLanguage(rows, i);
    FakeReset();
    lstrcpyA(GameFolderPath, folder.c_str());
    Check(LoadAllLanguageFiles() == 1, "the files load");
    std::string dumped = LoadedTableText();
    FreeTextTable();
    return dumped;
}

std::string FormattedTable(const std::vector<TableRow> &rows) {
    std::string table = TableHeader;
    for (const TableRow &row : rows) table += FormatTableRow(row);
    return table;
}

// A table only an editor writes: a byte-order mark, carriage returns, empty
// lines at the end.
bool AsDumpPrintsIt(const std::string &table) {
    size_t size = table.size();
    return table.find('\r') == std::string::npos && table.compare(0, 3, "\xEF\xBB\xBF") != 0 &&
           !(size >= 2 && table[size - 1] == '\n' && table[size - 2] == '\n');
}

// Every code page fxt knows, as fxt loads them.
const CodePage *CodePagesLoaded(void) {
    static CodePage pages[CODE_PAGE_COUNT];
    for (int i = 0; i < CODE_PAGE_COUNT && pages[i].number == 0; ++i) {
        unsigned characters[256];
        Check(ConvertedCharacters(CodePages[i].number, characters) == 1, "the system converts the code page");
        MakeCodePage(CodePages[i].number, characters, &pages[i]);
    }
    return pages;
}

// fxt po's file of the rows, read back as make --po reads it, with the code
// page its header records.
void CheckPoReadsBack(const std::vector<TableRow> &rows, int language, int source, const TextCoding &coding) {
    size_t refused;
    PoRequest request = {language, source, false, LanguageCodes[language], "2026-01-01 00:00+0000"};
    std::string po = FormatPo(rows, request, coding, &refused);
    PoFile read;
    Refusals refusals;
    Check(ReadPo(po, PoReading{language, 0, coding.pages}, &read, &refusals) == 1, "fxt po's file reads");
    Check(read.source == source && read.entries.size() == rows.size(), "one entry per key, from the source");
    for (size_t i = 0; i < rows.size() && i < read.entries.size(); ++i) {
        const PoEntry &entry = read.entries[i];
        const std::string text = rows[i].texts[language].value_or("");
        Check(entry.key == rows[i].key && entry.id == PoEncoded(PoMessageId(rows[i], source), *coding.gamePage) &&
                  !entry.fuzzy && entry.translated == !text.empty() && (!entry.translated || entry.text == text),
              "each entry reads back as its key's texts");
    }
}

// fxt reads a PO file as gettext does: where gettext finds no error, the
// same messages with the same strings; else a refusal. The one thing fxt
// reads that gettext does not is a UTF-8 byte-order mark before the file.
void CheckReadAsGettextReads(const std::string &content) {
    if (NamesAnotherCharset(content)) return;
    std::vector<PoMessage> read;
    std::vector<GettextMessage> expected, found;
    Refusals refusals;
    bool marked = content.compare(0, 3, "\xEF\xBB\xBF") == 0;
    bool gettextReads = GettextReads(marked ? content.substr(3) : content, &expected);
    bool fxtReads = ReadPoSyntax(content, &read, &refusals);
    Check(fxtReads == gettextReads, fxtReads ? "fxt reads a PO file gettext refuses" : "fxt refuses a PO file gettext reads");
    for (const PoMessage &message : read)
        found.push_back(GettextMessage{message.hasContext, message.context.kept, message.id.kept, message.text.kept,
                                       message.plural, message.fuzzy, message.obsolete});
    std::sort(found.begin(), found.end());
    Check(!fxtReads || found == expected, "fxt reads other messages from a PO file than gettext");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string folder = FuzzGameFolder();
    std::string table((const char *)data, size);
    int language = size > 0 ? data[0] % LANGUAGE_COUNT : 0, source = (language + 1 + (size > 1 ? data[1] % 3 : 0)) % 4;
    // The language's column through a fan translation's code page.
    TextCoding coding;
    coding.pages = CodePagesLoaded();
    coding.gamePage = coding.page = &coding.pages[CodePageIndex(DEFAULT_CODE_PAGE)];
    coding.fanLanguage = language;
    coding.fanPage = &coding.pages[size > 2 ? data[2] % CODE_PAGE_COUNT : CodePageIndex(DEFAULT_CODE_PAGE)];
    CheckReadAsGettextReads(table);
    PoFile po;
    Refusals poRefusals;
    if (ReadPo(table, PoReading{language, 0, coding.pages}, &po, &poRefusals))
        for (const PoEntry &entry : po.entries)
            Check(!entry.translated || entry.text.find_first_of(std::string("[\0\xFF", 3)) == std::string::npos,
                  "a translation holds only what a text can");
    for (TableEncoding encoding : {TABLE_UTF8, TABLE_ANSI}) {
        coding.encoding = encoding;
        std::string bytes;
        std::vector<TableRow> rows;
        Refusals refusals;
        CharacterNotes notes;
        if (!WholeTableProblem(table, coding).empty() || !DecodeTable(table, coding, &bytes, &refusals, &notes) ||
            !ParseTable(bytes, &rows, &refusals))
            continue;
        std::string dumped = LoadedTable(folder, rows);
        Check(dumped == FormattedTable(rows), "the files load as the table read");
        std::string printed = EncodedTable(dumped, coding);
        std::string expected = table.empty() || table.back() == '\n' ? table : table + '\n';
        // Letters read composed, or as ş and ţ, come back so.
        if (AsDumpPrintsIt(table) && !notes.composed && !notes.commasBelow)
            Check(printed == expected, "the table did not come back as it was given");
        std::string again;
        Check(DecodeTable(printed, coding, &again, &refusals, &notes) && again == dumped, "dump's table reads back");
        CheckPoReadsBack(rows, language, source, coding);
    }
    return 0;
}
