#include "table_cleanup.h"

#include "text/text_store.h"

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
