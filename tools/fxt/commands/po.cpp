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

// The first keys of a list, for a message: "[A], [B], [C], [D], [E] and 7
// more". A key is written as fxt check writes it, so that the empty key
// shows too.
std::string FirstKeys(const std::vector<std::string> &keys) {
    const size_t named = 5;
    std::string list;
    for (size_t i = 0; i < keys.size() && i < named; ++i) list += (i ? ", " : "") + keys[i];
    return list + (keys.size() > named ? " and " + std::to_string(keys.size() - named) + " more" : "");
}

bool EndsWithLineFeed(const std::string &text) {
    return !text.empty() && text.back() == '\n';
}

// The entries of a PO file that set the texts, one for each key: refuses
// keys the folder has not and a key given twice with other translations.
std::vector<const PoEntry *> ChosenEntries(const PoFile &po, const std::vector<TableRow> &rows,
                                           const std::map<std::string, size_t> &positions, const TextCoding &coding,
                                           Refusals *refusals, size_t *unknownKeys) {
    std::map<std::string, const PoEntry *> chosen;
    std::vector<const PoEntry *> entries;
    for (const PoEntry &entry : po.entries) {
        std::string key = "[" + Shown(entry.key, coding) + "]";
        auto found = positions.find(entry.key);
        if (found == positions.end()) {
            Refuse(refusals, entry.line, 0, "the key " + key + " is not in the folder's table");
            ++*unknownKeys;
            continue;
        }
        // gettext allows a key twice with other msgids: the entry whose
        // msgid is the folder's source text is the one, or else the first.
        const PoEntry *&earlier = chosen[entry.key];
        std::string source = PoEncoded(PoMessageId(rows[found->second], po.source), *coding.page);
        if (earlier && (earlier->id == source || entry.id != source)) {
            if (entry.translated && earlier->translated && entry.text != earlier->text && earlier->id != source)
                Refuse(refusals, entry.line, 0,
                       "the key " + key + " is given again, first on line " + std::to_string(earlier->line) +
                           ", with another translation, and neither msgid is the folder's " + LanguageNames[po.source] +
                           " text: keep one of them");
            continue;
        }
        if (!earlier) entries.push_back(&entry);
        else std::replace(entries.begin(), entries.end(), earlier, &entry);
        earlier = &entry;
    }
    return entries;
}

} // namespace

int Po(const Options &options, int language, const std::string &argument) {
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, READING, &folder, &files, &rows)) return EXIT_FAILED;
    FILETIME written;
    const std::string &dated = files.paths[options.asTemplate ? options.source : language];
    if (!LastWriteTime(dated, &written)) {
        Say(ShownPath(dated) + ": " + LastErrorText());
        return EXIT_FAILED;
    }
    PoRequest request = {language, options.source, options.asTemplate, options.coding.page->number, PoDate(written)};
    size_t refused;
    std::string po = FormatPo(rows, request, *options.coding.page, &refused);
    if (refused)
        Say("msgfmt would refuse " + Counted(refused, "entry", "entries") +
            " of this file, whose msgid and msgstr differ in beginning or ending with a line feed; msgcat, "
            "translation editors and fxt make --po read them");
    return WriteUtf8(po) ? EXIT_DONE : EXIT_FAILED;
}

int MakeFromPo(const Options &options, int language, const std::string &poPath, const std::string &argument) {
    std::string problem = FolderArgumentProblem(argument);
    if (!problem.empty()) {
        Say(problem);
        return EXIT_FAILED;
    }
    std::string content, error;
    if (!ReadWholeFile(poPath, &content, &error)) {
        Say(NamedPath(poPath) + ": " + error);
        return EXIT_FAILED;
    }
    PoFile po;
    Refusals refusals;
    ReadPo(content, PoReading{language, options.codePageGiven, options.coding.pages}, &po, &refusals);
    if (po.entries.empty()) {
        SayRefusals(poPath, refusals);
        if (!AnyRefused(refusals)) Say(NamedPath(poPath) + " holds no entry: is it a PO file of fxt po?");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    TextCoding coding = options.coding;
    coding.page = &options.coding.pages[CodePageIndex(po.codePage)];
    coding.language = po.language;
    std::string folder;
    FolderFiles files;
    std::vector<TableRow> rows;
    if (!ReadGameFolder(argument, WRITING, &folder, &files, &rows)) return EXIT_FAILED;
    std::map<std::string, size_t> positions;
    for (size_t i = 0; i < rows.size(); ++i) positions[rows[i].key] = i;
    size_t unknownKeys = 0;
    std::vector<const PoEntry *> entries = ChosenEntries(po, rows, positions, coding, &refusals, &unknownKeys);
    if (AnyRefused(refusals)) {
        SayRefusals(poPath, refusals);
        if (unknownKeys)
            Say("the file may be for another version of the game: msgmerge it with a new fxt po --template of this "
                "folder to bring it up to date");
        Say("nothing was written");
        return EXIT_FAILED;
    }
    std::vector<std::string> outdated, lineFeeds;
    size_t changed = 0, same = 0, untranslated = 0, fuzzy = 0;
    for (const PoEntry *entry : entries) {
        TableRow &row = rows[positions[entry->key]];
        std::string key = "[" + Shown(entry->key, coding) + "]";
        if (entry->id != PoEncoded(PoMessageId(row, po.source), *coding.page)) outdated.push_back(key);
        std::optional<std::string> &text = row.texts[language];
        if (entry->fuzzy) {
            ++fuzzy;
        } else if (!entry->translated) {
            ++untranslated;
        } else if (text == entry->text) {
            ++same;
        } else {
            if (text && EndsWithLineFeed(*text) != EndsWithLineFeed(entry->text)) lineFeeds.push_back(key);
            text = entry->text;
            ++changed;
        }
    }
    std::string named = NamedPath(poPath) + ": ";
    if (!lineFeeds.empty())
        Say(named + (lineFeeds.size() == 1 ? "1 translation differs from the text it replaces"
                                           : std::to_string(lineFeeds.size()) +
                                                 " translations differ from the texts they replace") +
            " in ending with a line feed: " + FirstKeys(lineFeeds) +
            "; an editor (Poedit) may have made them end as their msgid does");
    if (!outdated.empty())
        Say(named + (outdated.size() == 1 ? "1 translation is" : std::to_string(outdated.size()) + " translations are") +
            " of another " + LanguageNames[po.source] + " text than the folder's (the file is older than the " +
            "text, or for another version): " + FirstKeys(outdated) + "; they are used all the same");
    if (changed + same == 0) Say(named + "no entry is translated: nothing changes");
    // A key that gains a text in an earlier language moves where loading
    // will list it.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TableRow &a, const TableRow &b) { return FirstLanguage(a) < FirstLanguage(b); });
    std::string output;
    if (!WriteRows(options, folder, rows, files, &output)) return EXIT_FAILED;
    output += std::string(LanguageNames[language]) + ": " + Counted(changed, "text", "texts") +
              (options.dryRun ? " would change, " : " changed, ") + std::to_string(same) + " the same already, " +
              std::to_string(untranslated) + " untranslated and " + std::to_string(fuzzy) + " fuzzy left as they were" +
              (outdated.empty() ? "" : "; " + Counted(outdated.size(), "translation", "translations") + " of another " +
                                           LanguageNames[po.source] + " text") +
              "\n";
    return WriteUtf8(output) ? EXIT_DONE : EXIT_FAILED;
}
