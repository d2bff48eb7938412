#include "composition.h"

#include <stddef.h>

unsigned long Composed(unsigned long base, unsigned long mark) {
    size_t low = 0, high = COMPOSITION_COUNT;
    while (low < high) {
        size_t middle = (low + high) / 2;
        const Composition &at = Compositions[middle];
        if (at.base == base && at.mark == mark) return at.composed;
        if (at.base < base || (at.base == base && at.mark < mark)) low = middle + 1;
        else high = middle;
    }
    return 0;
}
