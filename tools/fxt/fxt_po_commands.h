// fxt po and fxt make --po: one language's texts handed to translators as
// a PO file, and the translations taken back into the game folder.
#ifndef PARLYTE_FXT_PO_COMMANDS_H
#define PARLYTE_FXT_PO_COMMANDS_H

#include "fxt_po.h"

#include <string>

// Prints the PO file of the game folder; the request's revision date is
// the time its language file (for a template, the source's) was written.
int Po(PoRequest request, const std::string &folder);

// Sets language's texts from the translated entries of a PO file, keeping
// every other text, and writes the files that changes.
int MakeFromPo(int language, const std::string &poPath, const std::string &folder);

#endif
