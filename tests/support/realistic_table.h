// Game-like test data: the four translations of one invented game, as the
// table fxt reads. Texts are Windows-1252 bytes, as the game's files hold.
#ifndef PARLYTE_REALISTIC_TABLE_H
#define PARLYTE_REALISTIC_TABLE_H

#include <string>

// About `keys` keys per file: texts of 5 to 200 characters with accented
// letters and some line feeds, a few empty, some keys missing from a later
// language, some only in a later language, and one pair of keys that differ
// only in letter case. The same seed gives the same table.
std::string RealisticTable(int keys, unsigned seed);

#endif
