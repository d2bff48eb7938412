// The findings of fxt check, from what the scanner read of a file.
#include "check.h"

#include "table.h"
#include "wording.h"

#include <map>

namespace {

// "1 entry ... is" or "N entries ... are".
std::string EntriesAre(int count, const std::string &between, const std::string &predicate) {
    return Counted(count, "entry", "entries") + between + (count == 1 ? "is " : "are ") + predicate;
}

// Where the data ended, when that was before the end of the file, and what
// that loses.
std::string EarlyEnd(const ScannedFile &file) {
    if (file.atFileEnd) return "";
    return "; the data ends at offset " + std::to_string(file.stopOffset) + ", before the end of the file" +
           (file.unreached ? ", and " + EntriesAre(file.unreached, " after it ", "not read") : "");
}

std::vector<CheckFinding> EntryFindings(const ScannedFile &file) {
    std::vector<CheckFinding> findings;
    std::map<std::string, DWORD> firstOffsets;
    for (const FileEntry &entry : file.entries) {
        std::string key = EscapedText(entry.key);
        std::string storedKey = entry.key.substr(0, entry.key.find('\0'));
        auto first = firstOffsets.emplace(storedKey, entry.offset);
        if (!first.second) {
            findings.push_back({entry.offset, "[" + key + "] occurs earlier in this file, at offset " +
                                                  std::to_string(first.first->second) + ": this text is ignored"});
            continue;
        }
        // A key of one decoded 0 is how fxt make writes the empty key.
        if (storedKey.size() < entry.key.size() && entry.key != std::string(1, '\0'))
            findings.push_back({entry.offset, "[" + key + "] holds a decoded 0 in its key: it is stored cut short, as [" +
                                                  EscapedText(storedKey) + "]"});
        size_t storedText = entry.text.find('\0');
        if (storedText != std::string::npos)
            findings.push_back({entry.offset, "[" + key + "] holds a decoded 0 in its text: the text is stored cut "
                                                          "short, after " +
                                                  Counted(storedText, "character", "characters")});
    }
    return findings;
}

std::string StopFinding(const ScannedFile &file) {
    std::string key = EscapedText(file.stopKey);
    switch (file.stop) {
    case SCAN_NO_ENTRY:
        if (!file.unreached) return "";
        return "the data does not begin with '[': nothing of this file is loaded, and " +
               EntriesAre(file.unreached, " in it ", "ignored");
    case SCAN_IN_KEY:
        // A lone "[" at the very end is how files end; it loses nothing.
        if (!key.empty()) return "[" + key + ": the data ends inside this key: the entry is not stored" + EarlyEnd(file);
        return file.atFileEnd ? "" : EarlyEnd(file).substr(2);
    case SCAN_EMPTY_KEY:
        if (!file.unreached) return "";
        return "the empty key [] ends the data: " + EntriesAre(file.unreached, " after it ", "ignored");
    default:
        return "[" + key + "] is the last entry and its text runs into the end of the data: it is not stored" +
               EarlyEnd(file);
    }
}

} // namespace

std::vector<CheckFinding> CheckFindings(const ScannedFile &file) {
    std::vector<CheckFinding> findings = EntryFindings(file);
    std::string stop = StopFinding(file);
    if (!stop.empty()) findings.push_back({file.entryOffset, stop});
    return findings;
}
