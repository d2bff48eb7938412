// Loads four language files of arbitrary bytes and checks what the table
// may hold, and that fxt, reading them through the scanner and its own
// merge, has the same table. The input is the four files one after the
// other, separated by "|FXT|"; missing parts are empty files.
#include "tests/fakes/fakes.h"
#include "fuzz_game.h"
#include "loaded_table.h"
#include "text/text_store.h"
#include "tools/fxt/folder/folder_files.h"
#include "tools/fxt/formats/check.h"

#include <set>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string folder = FuzzGameFolder();
    WriteFuzzLanguageFiles(folder, std::string((const char *)data, size));

    FakeReset();
    lstrcpyA(GameFolderPath, folder.c_str());
    Check(LoadAllLanguageFiles() == 1, "all four files exist, so loading succeeds");
    Check(FakeMessageBoxes().empty(), "no message box");
    Check(FakeOpenHandleCount() == 0, "every file closed");

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
    // fxt reads the folder through the scanner and its own merge: the same
    // table, key for key and in order, and a finding for whatever a file
    // holds that loading does not store as written.
    FolderFiles files;
    ReadFolderFiles(folder, &files);
    std::vector<TableRow> rows = FolderRows(files);
    const TextEntry *entry = TheTextTable.head;
    for (const TableRow &row : rows) {
        Check(entry && row.key == entry->key, "fxt merges the same keys in the same order");
        for (int i = 0; entry && i < LANGUAGE_COUNT; ++i)
            Check(entry->texts[i] ? row.texts[i] == std::string(entry->texts[i]) : !row.texts[i], "and the same texts");
        entry = entry ? entry->next : entry;
    }
    Check(!entry, "and no key fewer");
    for (const ScannedFile &scan : files.scans)
        Check(!CheckFindings(scan).empty() || StoredPairsOf(scan).size() == scan.entries.size(),
              "a file whose entries are not all stored has a finding");
    Check(FakeOpenHandleCount() == 0, "fxt closed every file");
    FreeTextTable();
    Check(FakeLiveAllocations() == 0, "every parse buffer freed");
    return 0;
}
