#include "refusals.h"

#include <algorithm>

void Refuse(Refusals *refusals, size_t line, size_t column, const std::string &problem) {
    ++refusals->count;
    // The readers of a file refuse each in its order, but one after another.
    Refusal refusal = {line, column, problem};
    auto later = std::upper_bound(refusals->first.begin(), refusals->first.end(), refusal,
                                  [](const Refusal &a, const Refusal &b) {
                                      return a.line < b.line || (a.line == b.line && a.column < b.column);
                                  });
    if (later - refusals->first.begin() >= TOLD_REFUSALS) return;
    refusals->first.insert(later, refusal);
    if (refusals->first.size() > TOLD_REFUSALS) refusals->first.pop_back();
}

FileLines LinesOf(const std::string &content, size_t first) {
    FileLines lines = {&content, {first}};
    for (size_t at = first; (at = content.find('\n', at)) != std::string::npos; ++at) lines.starts.push_back(at + 1);
    return lines;
}

size_t LineAt(const FileLines &lines, size_t place) {
    return (size_t)(std::upper_bound(lines.starts.begin(), lines.starts.end(), place) - lines.starts.begin());
}

void RefuseAt(Refusals *refusals, const FileLines &lines, size_t place, const std::string &problem) {
    size_t line = LineAt(lines, place), column = 1;
    for (size_t i = lines.starts[line - 1]; i < place; ++i) column += ((unsigned char)(*lines.content)[i] & 0xC0) != 0x80;
    Refuse(refusals, line, column, problem);
}

bool AnyRefused(const Refusals &refusals) {
    return refusals.count > 0;
}

std::vector<std::string> RefusalLines(const Refusals &refusals) {
    std::vector<std::string> lines;
    for (const Refusal &refusal : refusals.first)
        lines.push_back("line " + std::to_string(refusal.line) +
                        (refusal.column ? ", column " + std::to_string(refusal.column) : "") + ": " + refusal.problem);
    if (refusals.count > refusals.first.size())
        lines.push_back("and " + std::to_string(refusals.count - refusals.first.size()) + " more");
    return lines;
}
