// What a file fxt reads is refused for, told all at once: each refusal with
// its line and, for a character, its column, in the order of the file.
#ifndef PARLYTE_FXT_REFUSALS_H
#define PARLYTE_FXT_REFUSALS_H

#include <map>
#include <string>
#include <vector>

// The most refusals told of one file; how many more there are is counted.
enum { TOLD_REFUSALS = 100 };

struct Refusal {
    size_t line;
    size_t column;  // in characters from 1; 0 for the line as a whole
    std::string problem;
    unsigned long letter;  // a character refused wherever it stands, or 0
};

struct Refusals {
    std::vector<Refusal> first;  // the first TOLD_REFUSALS in the file
    size_t count = 0;
    // For each letter refused, the lines where it stands, its first first.
    std::map<unsigned long, std::vector<size_t>> letterLines;
};

void Refuse(Refusals *refusals, size_t line, size_t column, const std::string &problem);
// A letter refused wherever it stands (one a code page lacks): told once,
// at its first place, with the other lines where it stands.
void RefuseLetter(Refusals *refusals, size_t line, size_t column, unsigned long letter, const std::string &problem);

// Where each line of a file begins, to name the line and column of a place.
struct FileLines {
    const std::string *content;
    std::vector<size_t> starts;  // the first after a byte-order mark
};
FileLines LinesOf(const std::string &content, size_t first);
size_t LineAt(const FileLines &lines, size_t place);
// A refusal at a place of the file, its column counted in UTF-8 characters;
// of a letter refused wherever it stands, where letter is not 0.
void RefuseAt(Refusals *refusals, const FileLines &lines, size_t place, const std::string &problem,
              unsigned long letter = 0);
bool AnyRefused(const Refusals &refusals);
// "line 3, column 5: problem", a line each, a letter's with "; also on
// lines 7, 9 and 3 more", and "and 12 more" last.
std::vector<std::string> RefusalLines(const Refusals &refusals);

#endif
