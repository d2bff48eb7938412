#include "language_file.h"

#include <set>

static std::string UpToZero(const std::string &text) {
    return text.substr(0, text.find('\0'));
}

StoredPairs StoredPairsOf(const ScannedFile &file) {
    StoredPairs stored;
    std::set<std::string> keys;
    for (const FileEntry &entry : file.entries) {
        std::string key = UpToZero(entry.key);
        if (keys.insert(key).second) stored.emplace_back(key, UpToZero(entry.text));
    }
    return stored;
}
