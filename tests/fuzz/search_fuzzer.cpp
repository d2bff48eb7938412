// Looks texts up in tables loaded from arbitrary language files: the search
// must answer as the plain search of the reference does. The input is a
// byte of choices (1: letter case counts, 2: backwards), a byte choosing
// the selected key, the length of the text looked for and that text, then
// the four files as the loader's fuzzer takes them.
#include "tests/fakes/fakes.h"
#include "fuzz_game.h"
#include "search_reference.h"
#include "loaded_table.h"
#include "text/text_store.h"

#include <stdint.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string folder = FuzzGameFolder();
    static const bool localeSet = (UseCharacterLocale(), true);
    (void)localeSet;
    if (size < 3 || size < 3u + data[2]) return 0;
    int matchCase = data[0] & 1, backwards = (data[0] >> 1) & 1;
    std::string text((const char *)data + 3, data[2]);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    WriteFuzzLanguageFiles(folder, std::string((const char *)data + 3 + data[2], size - 3 - data[2]));

    FakeReset();
    lstrcpyA(GameFolderPath, folder.c_str());
    Check(LoadAllLanguageFiles() == 1, "all four files exist, so loading succeeds");
    int count = 0;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) ++count;
    int from = data[1] % (count + 1) - 1;

    TextMatch found, expected;
    int foundAny = FindTextInTable(text.c_str(), matchCase, from, backwards, &found);
    Check(foundAny == ReferenceFind(text.c_str(), matchCase, from, backwards, &expected), "found as the reference");
    Check(!foundAny || (found.entry == expected.entry && found.position == expected.position &&
                        found.language == expected.language && found.offset == expected.offset &&
                        memcmp(found.offsets, expected.offsets, sizeof found.offsets) == 0),
          "the same key, texts and offsets as the reference");
    FreeTextTable();
    return 0;
}
