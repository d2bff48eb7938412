// Reads arbitrary bytes as an fxt table. Whatever the reader accepts must
// come back byte for byte when written as language files and loaded again,
// the way fxt make and fxt dump do it.
#include "compat/compat_control.h"
#include "folder/game_folder.h"
#include "table_cleanup.h"
#include "text/text_store.h"
#include "tools/fxt/fxt_encoder.h"
#include "tools/fxt/fxt_table.h"

#include <fstream>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <sys/stat.h>

namespace {

std::string GameFolder(void) {
    const char *base = getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/parlyte-table-fuzz-XXXXXX";
    if (!mkdtemp(&folder[0]) || mkdir((folder + "/GTADATA").c_str(), 0777) != 0) abort();
    return folder + "/";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string folder = GameFolder();
    std::string table((const char *)data, size);
    std::vector<TableRow> rows;
    std::string error;
    if (!ParseTable(table, &rows, &error)) return 0;

    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::ofstream(folder + CompatNativePath(LanguageFileNames[i]), std::ios::binary | std::ios::trunc)
            << EncodeTableLanguage(rows, i);
    }
    CompatReset();
    lstrcpyA(GameFolderPath, folder.c_str());
    if (!LoadAllLanguageFiles()) abort();
    std::string dumped = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        dumped += FormatTableRow(entry->key, entry->texts);
    FreeTextTable();

    if (!table.empty() && table.back() != '\n') table += '\n';
    if (dumped != table) {
        fprintf(stderr, "the table did not come back as it was given\n");
        abort();
    }
    return 0;
}
