// Writing language files: the inverse of the decoder and of the scanner's
// syntax, for fxt and the tests; Parlyte only reads.
#ifndef PARLYTE_LANGUAGE_FILE_WRITER_H
#define PARLYTE_LANGUAGE_FILE_WRITER_H

#include <string>
#include <utility>
#include <vector>

// Raw file bytes that decode to exactly these characters. A decoded 255
// cannot be written: it is the end of the data.
std::string EncodeDecodedBytes(const std::string &decoded);

// A whole language file holding these key and text pairs in this order, so
// that loading it stores each text as given.
std::string EncodeLanguageFile(const std::vector<std::pair<std::string, std::string>> &entries);

#endif
