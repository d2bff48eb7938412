#include "journal_key.h"

#include "tools/fxt/platform/platform.h"

#include <random>

namespace {

const size_t KeyLength = 32;

std::string RandomBytes(size_t count) {
    std::random_device source;
    std::string bytes;
    while (bytes.size() < count) {
        unsigned value = source();
        for (int i = 0; i < 4 && bytes.size() < count; ++i) bytes += (char)(value >> (8 * i));
    }
    return bytes;
}

} // namespace

KeyState UserJournalKey(bool make, std::string *key, std::string *problem) {
    std::string folder = UserStateFolder(), why;
    if (folder.empty()) {
        *problem = "this user has no folder for fxt's own files (no HOME, no LOCALAPPDATA)";
        return JOURNAL_KEY_BROKEN;
    }
    std::string path = folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + "journal-key";
    int read = ReadUserSecret(path, key, &why);
    if (read == 0 && make) {
        // Another fxt may make it at the same moment: then its key is read.
        if (!MakeUserSecret(path, RandomBytes(KeyLength), &why) && ReadUserSecret(path, key, &why) != 1) {
            *problem = "cannot make " + ShownPath(path) + ", which signs fxt make's journals: " + why;
            return JOURNAL_KEY_BROKEN;
        }
        read = ReadUserSecret(path, key, &why);
    }
    if (read == 0) return JOURNAL_KEY_ABSENT;
    if (read < 0 || key->size() != KeyLength) {
        *problem = ShownPath(path) + ", which signs fxt make's journals, cannot be used: " +
                   (read < 0 ? why : "it is not a key fxt made") + "; remove it, and fxt makes another";
        return JOURNAL_KEY_BROKEN;
    }
    return JOURNAL_KEY_READ;
}
