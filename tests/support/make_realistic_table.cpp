// make_realistic_table KEYS [SEED]: prints a game-like table for fxt make,
// in UTF-8.
#include "realistic_table.h"
#include "windows_1252.h"

#include "tools/fxt/formats/encoding.h"

#include <iostream>
#include <stdlib.h>

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3 || atoi(argv[1]) <= 0) {
        std::cerr << "usage: make_realistic_table KEYS [SEED]\n";
        return 2;
    }
    std::cout << Utf8OfBytes(RealisticTable(atoi(argv[1]), argc == 3 ? (unsigned)atoi(argv[2]) : 1), Windows1252());
    return std::cout ? 0 : 1;
}
