// What a file fxt reads is refused for, told all at once: each refusal with
// its line and, for a character, its column, in the order of the file.
#ifndef PARLYTE_FXT_REFUSALS_H
#define PARLYTE_FXT_REFUSALS_H

#include <string>
#include <vector>

// The most refusals told of one file; how many more there are is counted.
enum { TOLD_REFUSALS = 100 };

struct Refusal {
    size_t line;
    size_t column;  // in characters from 1; 0 for the line as a whole
    std::string problem;
};

struct Refusals {
    std::vector<Refusal> first;  // the first TOLD_REFUSALS in the file
    size_t count = 0;
};

void Refuse(Refusals *refusals, size_t line, size_t column, const std::string &problem);

// Where each line of a file begins, to name the line and column of a place.
struct FileLines {
    const std::string *content;
    std::vector<size_t> starts;  // the first after a byte-order mark
};
FileLines LinesOf(const std::string &content, size_t first);
size_t LineAt(const FileLines &lines, size_t place);
// A refusal at a place of the file, its column counted in UTF-8 characters.
void RefuseAt(Refusals *refusals, const FileLines &lines, size_t place, const std::string &problem);
bool AnyRefused(const Refusals &refusals);
// "line 3, column 5: problem", a line each, and "and 12 more" last.
std::vector<std::string> RefusalLines(const Refusals &refusals);

#endif
