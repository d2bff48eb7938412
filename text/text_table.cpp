// The table of keys and the small heap helpers it is built with.
#include "text_store.h"

TextTable TheTextTable;

void *AllocZeroed(SIZE_T size) {
    return LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size);
}

char *CopyText(const char *text, int length) {
    if (length == -1) length = lstrlenA(text);
    char *copy = (char *)AllocZeroed((SIZE_T)length + 1);
    if (!copy) return NULL;
    if (!lstrcpyA(copy, text)) {
        LocalFree(copy);
        return NULL;
    }
    return copy;
}

TextEntry *FindTextEntry(const char *key) {
    for (TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        if (KeysEqual(entry->key, key)) return entry;
    return NULL;
}

int FindKeyForTyping(const char *typed) {
    int position = 0, firstStarting = -1;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next, ++position) {
        const char *key = entry->key, *at = typed;
        while (*at && *at == *key) {
            ++at;
            ++key;
        }
        if (*at) continue;
        if (!*key) return position;
        if (firstStarting < 0 && *typed) firstStarting = position;
    }
    return firstStarting;
}
