#include "refusals.h"

#include <algorithm>

namespace {

// The lines after its first that a letter's refusal names; more are counted.
const size_t NamedLetterLines = 10;

void Insert(Refusals *refusals, const Refusal &refusal) {
    ++refusals->count;
    // The readers of a file refuse each in its order, but one after another.
    auto later = std::upper_bound(refusals->first.begin(), refusals->first.end(), refusal,
                                  [](const Refusal &a, const Refusal &b) {
                                      return a.line < b.line || (a.line == b.line && a.column < b.column);
                                  });
    if (later - refusals->first.begin() >= TOLD_REFUSALS) return;
    refusals->first.insert(later, refusal);
    if (refusals->first.size() > TOLD_REFUSALS) refusals->first.pop_back();
}

} // namespace

void Refuse(Refusals *refusals, size_t line, size_t column, const std::string &problem) {
    Insert(refusals, Refusal{line, column, problem, 0});
}

void RefuseLetter(Refusals *refusals, size_t line, size_t column, unsigned long letter, const std::string &problem) {
    auto known = refusals->letterLines.find(letter);
    if (known == refusals->letterLines.end()) {
        refusals->letterLines[letter] = {line};
        Insert(refusals, Refusal{line, column, problem, letter});
    } else if (known->second.back() != line) {
        known->second.push_back(line);
    }
}

FileLines LinesOf(const std::string &content, size_t first) {
    FileLines lines = {&content, {first}};
    for (size_t at = first; (at = content.find('\n', at)) != std::string::npos; ++at) lines.starts.push_back(at + 1);
    return lines;
}

size_t LineAt(const FileLines &lines, size_t place) {
    return (size_t)(std::upper_bound(lines.starts.begin(), lines.starts.end(), place) - lines.starts.begin());
}

void RefuseAt(Refusals *refusals, const FileLines &lines, size_t place, const std::string &problem,
              unsigned long letter) {
    size_t line = LineAt(lines, place), column = 1;
    for (size_t i = lines.starts[line - 1]; i < place; ++i) column += ((unsigned char)(*lines.content)[i] & 0xC0) != 0x80;
    if (letter) RefuseLetter(refusals, line, column, letter, problem);
    else Refuse(refusals, line, column, problem);
}

bool AnyRefused(const Refusals &refusals) {
    return refusals.count > 0;
}

std::vector<std::string> RefusalLines(const Refusals &refusals) {
    std::vector<std::string> lines;
    for (const Refusal &refusal : refusals.first) {
        std::string also;
        if (refusal.letter) {
            const std::vector<size_t> &standsOn = refusals.letterLines.at(refusal.letter);
            const std::vector<size_t> more(standsOn.begin() + 1, standsOn.end());
            for (size_t i = 0; i < more.size() && i < NamedLetterLines; ++i)
                also += (i == 0 ? "; also on line" + std::string(more.size() > 1 ? "s " : " ")
                                : i + 1 == more.size() ? " and " : ", ") +
                        std::to_string(more[i]);
            if (more.size() > NamedLetterLines) also += " and " + std::to_string(more.size() - NamedLetterLines) + " more";
        }
        lines.push_back("line " + std::to_string(refusal.line) +
                        (refusal.column ? ", column " + std::to_string(refusal.column) : "") + ": " + refusal.problem +
                        also);
    }
    if (refusals.count > refusals.first.size())
        lines.push_back("and " + std::to_string(refusals.count - refusals.first.size()) + " more");
    return lines;
}
