// When two keys are the same key. On its own so that the benchmarks under
// Wine can link the system's lstrcmpA comparison in its place and measure
// both.
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
