// What a search of the table should find, found the plain way: the entries
// tried one by one in search order, letters compared through the C library's
// lower case of their Windows-1252 characters.
#ifndef PARLYTE_SEARCH_REFERENCE_H
#define PARLYTE_SEARCH_REFERENCE_H

#include "text/text_store.h"

// As FindTextInTable, on the loaded table. Needs a UTF-8 locale for the
// letters beyond ASCII (UseCharacterLocale).
int ReferenceFind(const char *text, int matchCase, int from, int backwards, TextMatch *match);
void UseCharacterLocale(void);

#endif
