// load_bench [RUNS]: how long loading the four language files takes on
// game-like data of three sizes, against a pass that only decodes the same
// files, and how much heap the table takes. Prints figures; judges nothing.
#include "tests/fakes/fakes.h"
#include "loaded_table.h"
#include "realistic_table.h"
#include "text/text_store.h"
#include "text/language_file_writer.h"
#include "tools/fxt/formats/rows.h"
#include "tools/fxt/formats/table.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

struct Figure {
    double median;
    double low;
    double high;
};

Figure Measure(int runs, const std::function<void()> &work) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return Figure{times[times.size() / 2], times.front(), times.back()};
}

std::string MakeGameFolder(int keys) {
    std::string folder = "/tmp/parlyte-bench-" + std::to_string(keys);
    mkdir(folder.c_str(), 0777);
    mkdir((folder + "/GTADATA").c_str(), 0777);
    std::vector<TableRow> rows;
    Refusals refusals;
    if (!ParseTable(RealisticTable(keys, 1), &rows, &refusals)) {
        fprintf(stderr, "bad table: %s\n", RefusalLines(refusals)[0].c_str());
        exit(1);
    }
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        std::ofstream(folder + "/" + CompatNativePath(LanguageFileNames[i]), std::ios::binary | std::ios::trunc)
            << EncodeTableLanguage(rows, i);
    }
    return folder + "/";
}

// The floor: the same four files opened and decoded to the end, nothing kept.
void DecodeOnly(void) {
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        char path[MAX_PATH];
        lstrcpyA(path, GameFolderPath);
        lstrcatA(path, LanguageFileNames[i]);
        TheLanguageFileReader = LanguageFileReader();
        TheLanguageFileReader.file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                                 FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
        while (ReadDecodedChar() != -1) {
        }
        CloseHandle(TheLanguageFileReader.file);
    }
}

void Load(void) {
    FreeTextTable();
    if (!LoadAllLanguageFiles()) {
        fprintf(stderr, "load failed\n");
        exit(1);
    }
}

// A search for a text no key holds: it reads every key and every text.
void SearchEverything(void) {
    TextMatch match;
    if (FindTextInTable("QQQ no text holds this", 0, -1, 0, &match)) {
        fprintf(stderr, "a key holds the text\n");
        exit(1);
    }
}

struct Memory {
    long keys;
    long blocks;
    double requested;
    double win32Heap;
    double decoded;
};

// What the table holds, and what Windows' 32-bit heap would take for it:
// each block rounded up to 8 bytes, with an 8-byte header.
Memory TableMemory(void) {
    Memory memory = {};
    auto block = [&](size_t bytes) {
        ++memory.blocks;
        memory.requested += bytes;
        memory.win32Heap += 8 + (bytes + 7) / 8 * 8;
    };
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        ++memory.keys;
        block(6 * 4);  // a TextEntry of the 32-bit program: six 4-byte pointers
        size_t key = strlen(entry->key);
        block(key + 1);
        memory.decoded += key;
        for (const char *text : entry->texts) {
            if (!text) continue;
            block(strlen(text) + 1);
            memory.decoded += strlen(text);
        }
    }
    return memory;
}

} // namespace

int main(int argc, char **argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 5;
    if (runs < 1) runs = 5;
    const int sizes[] = {2500, 10000, 50000};
    printf("Loading the four files, median of %d runs [fastest - slowest], native release build\n", runs);
    printf("%8s %22s %22s %8s %16s\n", "keys", "load ms", "decode-only ms", "ratio", "growth");
    double previousTime = 0;
    int previousKeys = 0;
    std::vector<Memory> memories;
    std::vector<Figure> searches;
    for (int keys : sizes) {
        lstrcpyA(GameFolderPath, MakeGameFolder(keys).c_str());
        Figure floor = Measure(runs, DecodeOnly);
        Figure load = Measure(runs, Load);
        memories.push_back(TableMemory());
        searches.push_back(Measure(runs * 4, SearchEverything));
        char growth[64] = "";
        if (previousKeys)
            snprintf(growth, sizeof growth, "x%.1f (n^%.2f)", load.median / previousTime,
                     std::log(load.median / previousTime) / std::log((double)keys / previousKeys));
        printf("%8d %9.1f [%5.1f-%5.1f] %9.1f [%5.1f-%5.1f] %7.1fx %16s\n", keys, load.median, load.low, load.high,
               floor.median, floor.low, floor.high, load.median / floor.median, growth);
        previousTime = load.median;
        previousKeys = keys;
        FreeTextTable();
    }
    printf("\nHeap taken by the table (32-bit program; Windows heap estimated as 8-byte header + 8-byte rounding)\n");
    printf("%8s %8s %14s %14s %14s %12s %12s\n", "keys", "blocks", "requested B", "win32 heap B", "decoded B",
           "heap B/key", "heap/decoded");
    for (const Memory &memory : memories)
        printf("%8ld %8ld %14.0f %14.0f %14.0f %12.1f %11.2fx\n", memory.keys, memory.blocks, memory.requested,
               memory.win32Heap, memory.decoded, memory.win32Heap / memory.keys, memory.win32Heap / memory.decoded);
    printf("\nFinding a text no key holds, letter case ignored: every key and text read, median of %d runs\n", runs * 4);
    printf("%8s %22s %14s\n", "keys", "search ms", "MB/s");
    for (size_t i = 0; i < searches.size(); ++i)
        printf("%8ld %9.2f [%5.2f-%5.2f] %14.0f\n", memories[i].keys, searches[i].median, searches[i].low,
               searches[i].high, memories[i].decoded / searches[i].median / 1000);
    return 0;
}
