// fxt check's findings: where what a language file holds does not reach the
// table as written there.
#ifndef PARLYTE_FXT_CHECK_H
#define PARLYTE_FXT_CHECK_H

#include "language_file.h"

#include <string>
#include <vector>

struct CheckFinding {
    DWORD offset;  // in the file, of the "[" that begins the entry concerned
    std::string text;
};

// In the file's order: where loading stops early and what that loses, keys
// repeated, keys and texts cut short by a decoded 0.
std::vector<CheckFinding> CheckFindings(const ScannedFile &file);

#endif
