// Reads a language file as loading does, character by character through the
// same decoder, and notes each entry that does not reach the table as
// written: where loading stops early, what it drops, what it cuts short.
#include "fxt_check.h"

#include "fxt_table.h"

#include "text/text_store.h"

#include <map>

namespace {

const int DataEnd = -1;

// The decoder's characters with the offset in the file of the raw byte each
// begins at. Blocks are read whole but for the file's last one, so the
// offset of the current block grows by the size of the one before whenever
// the decoder reads a new one.
struct Reading {
    DWORD blockStart;
    bool physicalEnd;  // the data ended with the file, not with an end value
};

int Next(Reading *reading, DWORD *at) {
    LanguageFileReader *reader = &TheLanguageFileReader;
    DWORD fill = reader->fill;
    LONG position = reader->position;
    *at = reading->blockStart + (DWORD)position;
    int ch = ReadDecodedChar() & 0xFF;
    if (fill == 0 || reader->position < position) reading->blockStart += fill;
    if (ch != EndValue) return ch;
    reading->physicalEnd = reader->fill == 0;
    return DataEnd;
}

std::string UpToZero(const std::string &text) {
    return text.substr(0, text.find('\0'));
}

// How many entries loading would store from the next "[" on, were it not
// stopped: entries with a key and a text ended by "[", up to the end of the
// data or an empty key, which would stop it again. They count as entries
// the file holds that loading never reaches.
int CountFollowingEntries(Reading *reading, LanguageFileCheck *check) {
    DWORD at;
    int ch;
    while ((ch = Next(reading, &at)) != '[')
        if (ch == DataEnd) return 0;
    int count = 0;
    for (;;) {
        size_t keyLength = 0;
        while ((ch = Next(reading, &at)) != ']' && ch != DataEnd) ++keyLength;
        if (ch == DataEnd || keyLength == 0) break;
        while ((ch = Next(reading, &at)) != '[' && ch != DataEnd) continue;
        if (ch == DataEnd) break;
        ++count;
    }
    check->unreached += count;
    return count;
}

// "1 entry ... is" or "N entries ... are".
std::string EntriesAre(int count, const std::string &between, const std::string &predicate) {
    return count == 1 ? "1 entry" + between + "is " + predicate
                      : std::to_string(count) + " entries" + between + "are " + predicate;
}

// What an entry that runs into the end of the data is told, and where the
// data ended when that was before the end of the file.
std::string EndOfData(Reading *reading, DWORD endAt, LanguageFileCheck *check) {
    if (reading->physicalEnd) return "";
    int lost = CountFollowingEntries(reading, check);
    return "; the data ends at offset " + std::to_string(endAt) + ", before the end of the file" +
           (lost ? ", and " + EntriesAre(lost, " after it ", "not read") : "");
}

void Note(LanguageFileCheck *check, DWORD offset, const std::string &text) {
    check->findings.push_back(CheckFinding{offset, text});
}

void CheckEntries(Reading *reading, LanguageFileCheck *check) {
    std::map<std::string, DWORD> firstOffsets;
    DWORD entryAt, at;
    int ch = Next(reading, &entryAt);
    if (ch != '[') {
        if (ch == DataEnd && reading->physicalEnd) return;
        int lost = CountFollowingEntries(reading, check);
        if (lost)
            Note(check, 0, "the data does not begin with '[': nothing of this file is loaded, and " +
                               EntriesAre(lost, " in it ", "ignored"));
        return;
    }
    for (;;) {
        std::string key;
        while ((ch = Next(reading, &at)) != ']') {
            if (ch == DataEnd) {
                // A lone "[" at the very end is how files end; it loses nothing.
                std::string lost = EndOfData(reading, at, check);
                if (!key.empty())
                    Note(check, entryAt,
                         "[" + EscapedText(key) + ": the data ends inside this key: the entry is not stored" + lost);
                else if (!lost.empty())
                    Note(check, entryAt, lost.substr(2));
                return;
            }
            key += (char)ch;
        }
        if (key.empty()) {
            int lost = CountFollowingEntries(reading, check);
            if (lost) Note(check, entryAt, "the empty key [] ends the data: " + EntriesAre(lost, " after it ", "ignored"));
            return;
        }
        std::string text;
        DWORD nextAt;
        while ((ch = Next(reading, &nextAt)) != '[') {
            if (ch == DataEnd) {
                Note(check, entryAt, "[" + EscapedText(key) + "] is the last entry and its text runs into the end of the " +
                                         "data: it is not stored" + EndOfData(reading, nextAt, check));
                return;
            }
            text += (char)ch;
        }
        if (!text.empty() && text.back() == '\n') text.pop_back();
        std::string storedKey = UpToZero(key);
        auto first = firstOffsets.emplace(storedKey, entryAt);
        if (!first.second) {
            Note(check, entryAt, "[" + EscapedText(key) + "] occurs earlier in this file, at offset " +
                                     std::to_string(first.first->second) + ": this text is ignored");
        } else {
            std::string storedText = UpToZero(text);
            check->stored.emplace_back(storedKey, storedText);
            // A key of one decoded 0 is how fxt make writes the empty key.
            if (storedKey.size() < key.size() && key != std::string(1, '\0'))
                Note(check, entryAt, "[" + EscapedText(key) + "] holds a decoded 0 in its key: it is stored cut short, as [" +
                                         EscapedText(storedKey) + "]");
            if (storedText.size() < text.size())
                Note(check, entryAt, "[" + EscapedText(key) + "] holds a decoded 0 in its text: the text is stored cut short, " +
                                         "after " + std::to_string(storedText.size()) +
                                         (storedText.size() == 1 ? " character" : " characters"));
        }
        entryAt = nextAt;
    }
}

} // namespace

int CheckLanguageFile(int index, LanguageFileCheck *check) {
    if (!OpenLanguageFile(index)) return 0;
    Reading reading = {0, false};
    CheckEntries(&reading, check);
    CloseHandle(TheLanguageFileReader.file);
    return 1;
}
