#include "loaded_table.h"

#include "text/text_store.h"
#include "tools/fxt/formats/table.h"

void FreeTextTable(void) {
    TextEntry *entry = TheTextTable.head;
    while (entry) {
        TextEntry *next = entry->next;
        LocalFree(entry->key);
        for (char *text : entry->texts) LocalFree(text);
        LocalFree(entry);
        entry = next;
    }
    TheTextTable.head = NULL;
    TheTextTable.tail = NULL;
}

std::string LoadedTableText(void) {
    std::string table = TableHeader;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        TableRow row = {entry->key, {}};
        for (int i = 0; i < LANGUAGE_COUNT; ++i)
            if (entry->texts[i]) row.texts[i] = entry->texts[i];
        table += FormatTableRow(row);
    }
    return table;
}
