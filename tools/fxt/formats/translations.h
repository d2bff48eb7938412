// A PO file's translations taken into the folder's table.
#ifndef PARLYTE_FXT_TRANSLATIONS_H
#define PARLYTE_FXT_TRANSLATIONS_H

#include "encoding.h"
#include "po.h"
#include "refusals.h"
#include "table.h"

#include <string>
#include <vector>

// What the translations did to a language's texts. Keys are as messages
// show them, "[A]".
struct TranslationsTaken {
    size_t changed = 0;       // translations that replaced another text
    size_t same = 0;          // translations the text was already
    size_t untranslated = 0;  // entries with an empty msgstr, the text left as it was
    size_t fuzzy = 0;         // entries marked fuzzy, the text left as it was
    size_t unknownKeys = 0;   // entries of keys the folder has not
    std::vector<std::string> outdated;   // translations of another source text than the folder's
    std::vector<std::string> lineFeeds;  // translations that end with a line feed where the text did not, or the reverse
};

// Sets the texts of language in the rows from the PO file's translated
// entries, one for each key: of two that gettext allows with other msgids,
// the one whose msgid is the folder's source text, or else the first. A key
// that gains a text in an earlier language moves where loading will list
// it. Refuses keys the folder has not and a key given twice with other
// translations; keys are shown through coding. Changes nothing and
// returns 0 when anything is refused, here or before.
int TakeTranslations(const PoFile &po, int language, const TextCoding &coding, std::vector<TableRow> *rows,
                     TranslationsTaken *taken, Refusals *refusals);

#endif
