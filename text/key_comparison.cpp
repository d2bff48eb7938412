// When two keys are the same key.
#include "text_store.h"

// Byte for byte, letter case included. The system's lstrcmpA compares
// linguistically and calls some distinct keys equal ("A\xAD" and "A" under
// Wine), which would merge two keys and lose a text.
int KeysEqual(const char *left, const char *right) {
    while (*left && *left == *right) {
        ++left;
        ++right;
    }
    return *left == *right;
}
