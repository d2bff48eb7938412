#include "fuzz_game.h"

#include "compat/native_paths.h"
#include "text/text_store.h"

#include <fstream>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

std::string FuzzGameFolder(void) {
    const char *base = getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/parlyte-fuzz-XXXXXX";
    if (!mkdtemp(&folder[0]) || mkdir((folder + "/GTADATA").c_str(), 0777) != 0) abort();
    return folder + "/";
}

void WriteFuzzLanguageFiles(const std::string &folder, const std::string &input) {
    const std::string separator = "|FXT|";
    size_t start = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) {
        size_t end = start > input.size() ? std::string::npos : input.find(separator, start);
        std::string part = start > input.size() ? "" : input.substr(start, end == std::string::npos ? end : end - start);
        std::ofstream(folder + CompatNativePath(LanguageFileNames[i]), std::ios::binary | std::ios::trunc) << part;
        start = end == std::string::npos ? input.size() + 1 : end + separator.size();
    }
}

void Check(bool condition, const char *what) {
    if (condition) return;
    fprintf(stderr, "check failed: %s\n", what);
    abort();
}
