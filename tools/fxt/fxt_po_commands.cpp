// The PO commands, over the folder's loaded table.
#include "fxt_po_commands.h"

#include "fxt_encoding.h"
#include "fxt_files.h"
#include "fxt_platform.h"
#include "fxt_program.h"

#include "folder/game_folder.h"
#include "text/text_store.h"

#include <algorithm>
#include <map>
#include <stdint.h>
#include <stdio.h>

namespace {

// A file time as a PO file's dates are written, in UTC: 2026-12-09 03:20+0000.
std::string PoDate(const FILETIME &time) {
    int64_t seconds = (int64_t)((((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime) / 10000000) -
                      11644473600LL;  // from 1601 to 1970
    int64_t days = seconds / 86400, minutes = seconds % 86400 / 60;
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

std::string Counted(size_t count, const char *one, const char *many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

int Po(PoRequest request, const std::string &folder) {
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(folder, &files, &rows)) return 1;
    WIN32_FIND_DATAA found;
    std::string dated = std::string(GameFolderPath) + LanguageFileNames[request.asTemplate ? request.source : request.language];
    HANDLE search = FindFirstFileA(dated.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return Fail(ShownPath(dated) + ": " + LastErrorText());
    FindClose(search);
    request.revised = PoDate(found.ftLastWriteTime);
    size_t refused;
    std::string po = FormatPo(rows, request, &refused);
    if (refused)
        Fail("msgfmt would refuse " + Counted(refused, "entry", "entries") +
             " of this file, whose msgid and msgstr differ in beginning or ending with a line feed; msgcat, "
             "translation editors and fxt make --po read them");
    return WriteText(po, PoEncoded(po));
}

int MakeFromPo(int language, const std::string &poPath, const std::string &folder) {
    std::string problem = FolderArgumentProblem(folder);
    if (!problem.empty()) return Fail(problem);
    std::string content, error;
    if (!ReadWholeFile(poPath, &content)) return Fail(ShownPath(poPath) + ": " + LastErrorText());
    PoFile po;
    if (!ReadPo(content, language, &po, &error)) return Fail(ShownPath(poPath) + ": " + error);
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(folder, &files, &rows)) return 1;
    std::map<std::string, size_t> positions;
    for (size_t i = 0; i < rows.size(); ++i) positions[rows[i].key] = i;
    std::vector<std::string> warnings;
    size_t changed = 0, same = 0, untranslated = 0, fuzzy = 0;
    for (const PoEntry &entry : po.entries) {
        std::string where = ShownPath(poPath) + ": line " + std::to_string(entry.line) + ": ";
        std::string key = PoEncoded(EscapedText(entry.key));
        auto found = positions.find(entry.key);
        if (found == positions.end())
            return Fail(where + "the key " + key + " is not in the folder's table: is it the right game folder?");
        TableRow &row = rows[found->second];
        if (entry.id != PoEncoded(PoMessageId(row, po.source)))
            warnings.push_back(where + "the msgid of " + key + " is not the folder's " + LanguageNames[po.source] +
                               " text: it may have changed since the file was written; the translation is used all "
                               "the same");
        if (entry.fuzzy) {
            ++fuzzy;
        } else if (!entry.translated) {
            ++untranslated;
        } else if (row.texts[language] == entry.text) {
            ++same;
        } else {
            row.texts[language] = entry.text;
            ++changed;
        }
    }
    FailEach(warnings);
    // A key that gains a text in an earlier language moves where loading
    // will list it.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TableRow &a, const TableRow &b) { return FirstLanguage(a) < FirstLanguage(b); });
    std::string output;
    if (!WriteRows(rows, files, &output)) return 1;
    output += std::string(LanguageNames[language]) + ": " + Counted(changed, "text", "texts") + " changed, " +
              std::to_string(same) + " the same already, " + std::to_string(untranslated) + " untranslated and " +
              std::to_string(fuzzy) + " fuzzy left as they were\n";
    return WriteOut(output, TABLE_UTF8);
}
