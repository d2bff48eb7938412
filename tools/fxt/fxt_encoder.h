// Writing language files: the inverse of the program's decoder.
#ifndef PARLYTE_FXT_ENCODER_H
#define PARLYTE_FXT_ENCODER_H

#include "fxt_table.h"

#include <string>
#include <utility>
#include <vector>

// Raw file bytes that decode to exactly these characters. A decoded 255
// cannot be written: it is the end of the data.
std::string EncodeDecodedBytes(const std::string &decoded);

// A whole language file holding these key and text pairs in this order, so
// that loading it stores each text as given.
std::string EncodeLanguageFile(const std::vector<std::pair<std::string, std::string>> &entries);

// The language file of one language of a table: the keys that have a text
// in that language, in table order.
std::string EncodeTableLanguage(const std::vector<TableRow> &rows, int language);

#endif
