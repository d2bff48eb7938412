// Loads four language files of arbitrary bytes and checks what the table
// may hold, and that fxt check says each file stores just what loading
// stored of it. The input is the four files one after the other, separated
// by "|FXT|"; missing parts are empty files.
#include "compat/compat_control.h"
#include "fuzz_game.h"
#include "folder/game_folder.h"
#include "table_cleanup.h"
#include "text/text_store.h"
#include "tools/fxt/fxt_check.h"

#include <fstream>
#include <map>
#include <set>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string folder = FuzzGameFolder();
    WriteFuzzLanguageFiles(folder, std::string((const char *)data, size));

    CompatReset();
    lstrcpyA(GameFolderPath, folder.c_str());
    Check(LoadAllLanguageFiles() == 1, "all four files exist, so loading succeeds");
    Check(CompatMessageBoxes().empty(), "no message box");
    Check(CompatOpenHandleCount() == 0, "every file closed");

    std::set<std::string> keys;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        Check(entry->key != NULL, "no null key");
        Check(keys.insert(entry->key).second, "keys are unique");
        std::string key = entry->key;
        Check(key.find(']') == std::string::npos && key.find('\xFF') == std::string::npos, "key bytes");
        bool anyText = false;
        for (const char *text : entry->texts) {
            if (!text) continue;
            anyText = true;
            std::string value = text;
            Check(value.find('[') == std::string::npos && value.find('\xFF') == std::string::npos, "text bytes");
        }
        Check(anyText, "an entry is created only with a text");
        Check(entry->next || entry == TheTextTable.tail, "tail is the last entry");
    }
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::map<std::string, std::string> loaded, checked;
        for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
            if (entry->texts[i]) loaded[entry->key] = entry->texts[i];
        LanguageFileCheck check;
        Check(CheckLanguageFile(i, &check) == 1, "fxt check opens the file");
        for (const auto &entry : check.stored) Check(checked.insert(entry).second, "fxt check stores a key once");
        Check(checked == loaded, "fxt check stores what loading stored");
    }
    Check(CompatOpenHandleCount() == 0, "fxt check closed every file");
    FreeTextTable();
    Check(CompatLiveAllocations() == 0, "every parse buffer freed");
    return 0;
}
