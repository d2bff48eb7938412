// The comparison the program does not use, for measuring it: the system's
// linguistic lstrcmpA.
#include "text/text_store.h"

int KeysEqual(const char *left, const char *right) {
    return lstrcmpA(left, right) == 0;
}
