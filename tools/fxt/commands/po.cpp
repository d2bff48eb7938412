// fxt po and fxt make --po: one language's texts handed to translators as
// a PO file, and the translations taken back into the game folder.
#include "commands.h"

#include "output.h"

#include "tools/fxt/folder/files.h"
#include "tools/fxt/formats/wording.h"
#include "tools/fxt/platform/platform.h"

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

} // namespace

int Po(PoRequest request, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    FILETIME written;
    const std::string &dated = files.paths[request.asTemplate ? request.source : request.language];
    if (!LastWriteTime(dated, &written)) {
        Say(ShownPath(dated) + ": " + LastErrorText());
        return EXIT_FAILED;
    }
    request.revised = PoDate(written);
    size_t refused;
    std::string po = FormatPo(rows, request, &refused);
    if (refused)
        Say("msgfmt would refuse " + Counted(refused, "entry", "entries") +
            " of this file, whose msgid and msgstr differ in beginning or ending with a line feed; msgcat, "
            "translation editors and fxt make --po read them");
    return WriteText(po, PoEncoded(po)) ? EXIT_DONE : EXIT_FAILED;
}

int MakeFromPo(int language, const std::string &poPath, const std::string &argument) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return EXIT_FAILED;
    }
    std::string content, error;
    PoFile po;
    if (!ReadWholeFile(poPath, &content, &error) || !ReadPo(content, language, &po, &error)) {
        Say(NamedPath(poPath) + ": " + error);
        return EXIT_FAILED;
    }
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, WRITING, &folder, &files, &rows)) return EXIT_FAILED;
    std::map<std::string, size_t> positions;
    for (size_t i = 0; i < rows.size(); ++i) positions[rows[i].key] = i;
    std::vector<std::string> warnings;
    size_t changed = 0, same = 0, untranslated = 0, fuzzy = 0;
    std::map<std::string, const PoEntry *> chosen;
    for (const PoEntry &entry : po.entries) {
        std::string where = NamedPath(poPath) + ": line " + std::to_string(entry.line) + ": ";
        std::string key = PoEncoded(EscapedText(entry.key));
        auto found = positions.find(entry.key);
        if (found == positions.end()) {
            Say(where + "the key " + key + " is not in the folder's table: is it the right game folder?");
            return EXIT_FAILED;
        }
        TableRow &row = rows[found->second];
        // gettext allows a key twice with other msgids: the entry whose
        // msgid is the folder's source text is the one, or else the first.
        const PoEntry *&earlier = chosen[entry.key];
        std::string source = PoEncoded(PoMessageId(row, po.source));
        if (earlier && (earlier->id == source || entry.id != source)) {
            if (entry.translated && earlier->translated && entry.text != earlier->text && earlier->id != source) {
                Say(where + "the key " + key + " is given again, first on line " + std::to_string(earlier->line) +
                    ", with another translation, and neither msgid is the folder's " + LanguageNames[po.source] +
                    " text: keep one of them");
                return EXIT_FAILED;
            }
            continue;
        }
        earlier = &entry;
    }
    for (const PoEntry &entry : po.entries) {
        if (chosen[entry.key] != &entry) continue;
        std::string where = NamedPath(poPath) + ": line " + std::to_string(entry.line) + ": ";
        std::string key = PoEncoded(EscapedText(entry.key));
        TableRow &row = rows[positions[entry.key]];
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
    SayEach(warnings);
    // A key that gains a text in an earlier language moves where loading
    // will list it.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TableRow &a, const TableRow &b) { return FirstLanguage(a) < FirstLanguage(b); });
    std::string output;
    if (!WriteRows(folder, rows, files, &output)) return EXIT_FAILED;
    output += std::string(LanguageNames[language]) + ": " + Counted(changed, "text", "texts") + " changed, " +
              std::to_string(same) + " the same already, " + std::to_string(untranslated) + " untranslated and " +
              std::to_string(fuzzy) + " fuzzy left as they were\n";
    return WriteOut(output, TABLE_UTF8) ? EXIT_DONE : EXIT_FAILED;
}
