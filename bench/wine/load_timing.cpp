// load_timing GAMEFOLDER RUNS: the time LoadAllLanguageFiles takes under
// this Windows, median of RUNS. Built twice, with the program's exact key
// comparison and with the system's lstrcmpA, to compare the two.
#include "loaded_table.h"
#include "text/text_store.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

int main(int argc, char **argv) {
    if (argc != 3 || lstrlenA(argv[1]) > 230) {
        fprintf(stderr, "usage: load_timing GAMEFOLDER RUNS\n");
        return 2;
    }
    lstrcpyA(GameFolderPath, argv[1]);
    lstrcatA(GameFolderPath, "\\");
    int runs = atoi(argv[2]) > 0 ? atoi(argv[2]) : 5;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    long keys = 0;
    for (int run = 0; run < runs; ++run) {
        FreeTextTable();
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        int loaded = LoadAllLanguageFiles();
        QueryPerformanceCounter(&end);
        if (!loaded) return 1;
        times.push_back(1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) ++keys;
    std::sort(times.begin(), times.end());
    printf("%ld keys: %.1f ms [%.1f-%.1f], median of %d\n", keys, times[times.size() / 2], times.front(),
           times.back(), runs);
    return 0;
}
