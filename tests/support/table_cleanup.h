// Freeing the table, which the program itself never does: tests and the
// fuzzer load many tables in one process.
#ifndef PARLYTE_TABLE_CLEANUP_H
#define PARLYTE_TABLE_CLEANUP_H

// Frees every entry, key and text of the table and empties it.
void FreeTextTable(void);

#endif
