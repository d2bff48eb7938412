#include "translations.h"

#include <algorithm>
#include <map>

namespace {

// The entries of a PO file that set the texts, one for each key.
std::vector<const PoEntry *> ChosenEntries(const PoFile &po, const std::vector<TableRow> &rows,
                                           const std::map<std::string, size_t> &positions, const TextCoding &coding,
                                           TranslationsTaken *taken, Refusals *refusals) {
    std::map<std::string, const PoEntry *> chosen;
    std::vector<const PoEntry *> entries;
    for (const PoEntry &entry : po.entries) {
        std::string key = "[" + Shown(entry.key, coding) + "]";
        auto found = positions.find(entry.key);
        if (found == positions.end()) {
            Refuse(refusals, entry.line, 0, "the key " + key + " is not in the folder's table");
            ++taken->unknownKeys;
            continue;
        }
        const PoEntry *&earlier = chosen[entry.key];
        std::string source = PoEncoded(PoMessageId(rows[found->second], po.source), *coding.gamePage);
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

int TakeTranslations(const PoFile &po, int language, const TextCoding &coding, std::vector<TableRow> *rows,
                     TranslationsTaken *taken, Refusals *refusals) {
    std::map<std::string, size_t> positions;
    for (size_t i = 0; i < rows->size(); ++i) positions[(*rows)[i].key] = i;
    std::vector<const PoEntry *> entries = ChosenEntries(po, *rows, positions, coding, taken, refusals);
    if (AnyRefused(*refusals)) return 0;
    for (const PoEntry *entry : entries) {
        TableRow &row = (*rows)[positions[entry->key]];
        std::string key = "[" + Shown(entry->key, coding) + "]";
        std::optional<std::string> &text = row.texts[language];
        if (entry->fuzzy) {
            ++taken->fuzzy;
            continue;
        }
        if (!entry->translated) {
            ++taken->untranslated;
            continue;
        }
        if (entry->id != PoEncoded(PoMessageId(row, po.source), *coding.gamePage)) taken->outdated.push_back(key);
        if (text == entry->text) {
            ++taken->same;
            continue;
        }
        if (text && EndsWithLineFeed(*text) != EndsWithLineFeed(entry->text)) taken->lineFeeds.push_back(key);
        text = entry->text;
        ++taken->changed;
    }
    std::stable_sort(rows->begin(), rows->end(),
                     [](const TableRow &a, const TableRow &b) { return FirstLanguage(a) < FirstLanguage(b); });
    return 1;
}
