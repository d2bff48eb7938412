// The canonical compositions (NFC) of a base character and a combining
// mark that give a character of a code page fxt writes: an editor may save
// "e" and U+0301 where the code page has "é".
#ifndef PARLYTE_FXT_COMPOSITION_H
#define PARLYTE_FXT_COMPOSITION_H

struct Composition {
    unsigned short base, mark, composed;
};

enum { COMPOSITION_COUNT = 189 };
// In the order of base, then mark.
extern const Composition Compositions[COMPOSITION_COUNT];

// The character base and mark compose into, or, with mark 0, the character
// base is canonically; 0 for none.
unsigned long Composed(unsigned long base, unsigned long mark);

#endif
