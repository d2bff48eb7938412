// The table loading left, as the tests and the fuzzers see it: freed, which
// the program itself never does (they load many tables in one process), and
// written as fxt's table.
#ifndef PARLYTE_LOADED_TABLE_H
#define PARLYTE_LOADED_TABLE_H

#include <string>

// Frees every entry, key and text of the table and empties it.
void FreeTextTable(void);
// The table, header included, as fxt dump prints it in the files' bytes.
std::string LoadedTableText(void);

#endif
