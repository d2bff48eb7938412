#include "search_reference.h"

#include "windows_1252.h"

#include <locale.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include <wctype.h>

namespace {

std::wstring Characters(const char *bytes, int matchCase) {
    std::wstring characters;
    for (const char *at = bytes; *at; ++at) {
        wchar_t ch = (wchar_t)Windows1252().characters[(unsigned char)*at];
        characters += matchCase ? ch : (wchar_t)towlower(ch);
    }
    return characters;
}

} // namespace

void UseCharacterLocale(void) {
    if (!setlocale(LC_CTYPE, "C.UTF-8")) abort();
}

int ReferenceFind(const char *text, int matchCase, int from, int backwards, TextMatch *match) {
    std::wstring wanted = Characters(text, matchCase);
    if (wanted.empty()) return 0;
    std::vector<const TextEntry *> entries;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) entries.push_back(entry);
    int count = (int)entries.size();
    for (int step = 1; step <= count; ++step) {
        int position = backwards ? ((from < 0 ? count : from) - step + count) % count : (from + step) % count;
        const TextEntry *entry = entries[position];
        match->entry = entry;
        match->position = position;
        match->language = -1;
        for (int language = 0; language < LANGUAGE_COUNT; ++language) {
            size_t at = entry->texts[language] ? Characters(entry->texts[language], matchCase).find(wanted)
                                               : std::wstring::npos;
            match->offsets[language] = at == std::wstring::npos ? -1 : (int)at;
            if (at == std::wstring::npos || match->language >= 0) continue;
            match->language = language;
            match->offset = (int)at;
        }
        if (match->language >= 0) return 1;
        size_t at = Characters(entry->key, matchCase).find(wanted);
        if (at == std::wstring::npos) continue;
        match->language = -1;
        match->offset = (int)at;
        return 1;
    }
    return 0;
}
