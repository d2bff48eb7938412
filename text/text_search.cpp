// Finding a text in the table: in the keys and the four texts, in list
// order from the selected key on and round, or backwards, with or without
// regard to letter case.
#include "text_store.h"

// Each byte's lower-case letter in Windows-1252, or the byte itself; the
// same byte for every byte when letter case counts.
static BYTE LowerCase[256];
static BYTE SameCase[256];
static int CaseTablesFilled;

static void FillCaseTables(void) {
    for (int byte = 0; byte < 256; ++byte) {
        SameCase[byte] = (BYTE)byte;
        LowerCase[byte] = (BYTE)byte;
    }
    for (int byte = 'A'; byte <= 'Z'; ++byte) LowerCase[byte] = (BYTE)(byte + 32);
    // À to Þ but the multiplication sign; Š Œ Ž and Ÿ sit apart from theirs.
    for (int byte = 0xC0; byte <= 0xDE; ++byte)
        if (byte != 0xD7) LowerCase[byte] = (BYTE)(byte + 32);
    LowerCase[0x8A] = 0x9A;
    LowerCase[0x8C] = 0x9C;
    LowerCase[0x8E] = 0x9E;
    LowerCase[0x9F] = 0xFF;
    CaseTablesFilled = 1;
}

// Where the first occurrence of the wanted text starts in text, or -1. The
// wanted text is already in the case table's letters.
static int FindIn(const char *text, const BYTE *wanted, int length, const BYTE *caseOf) {
    BYTE first = wanted[0];
    for (const BYTE *at = (const BYTE *)text; *at; ++at) {
        if (caseOf[*at] != first) continue;
        int matched = 1;
        // A terminator ends the comparison: no wanted byte is 0.
        while (matched < length && caseOf[at[matched]] == wanted[matched]) ++matched;
        if (matched == length) return (int)(at - (const BYTE *)text);
    }
    return -1;
}

// Where the wanted text starts in each of the entry's texts, and the first
// of them, English first, that holds it; or the key alone (language -1).
// Returns 0 when none does.
static int EntryHolds(const TextEntry *entry, const BYTE *wanted, int length, const BYTE *caseOf, TextMatch *match) {
    match->language = -1;
    for (int language = LANGUAGE_COUNT - 1; language >= 0; --language) {
        const char *text = entry->texts[language];
        match->offsets[language] = text ? FindIn(text, wanted, length, caseOf) : -1;
        if (match->offsets[language] >= 0) match->language = language;
    }
    match->offset = match->language >= 0 ? match->offsets[match->language] : FindIn(entry->key, wanted, length, caseOf);
    return match->offset >= 0;
}

int FindTextInTable(const char *text, int matchCase, int from, int backwards, TextMatch *match) {
    if (!CaseTablesFilled) FillCaseTables();
    const BYTE *caseOf = matchCase ? SameCase : LowerCase;
    BYTE wanted[FIND_TEXT_SIZE];
    int length = 0;
    while (text[length] && length < FIND_TEXT_SIZE - 1) {
        wanted[length] = caseOf[(BYTE)text[length]];
        ++length;
    }
    if (length == 0) return 0;

    // One walk down the list. Forwards, the first hit after from wins, else
    // the first up to it. Backwards, the last hit before from wins, else the
    // last from it on.
    TextMatch candidate;
    int found = 0;
    int position = 0;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next, ++position) {
        int after = position > from;
        if (!backwards && found && !after) continue;
        if (backwards && found && position == from) return 1;
        if (!EntryHolds(entry, wanted, length, caseOf, &candidate)) continue;
        candidate.entry = entry;
        candidate.position = position;
        *match = candidate;
        found = 1;
        if (!backwards && after) return 1;
    }
    return found;
}
