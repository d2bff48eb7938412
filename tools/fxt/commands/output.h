// What fxt's commands print, the only code that prints: reports on standard
// error, text on standard output, and the exit statuses. Messages are
// UTF-8; a console shows them as their characters.
#ifndef PARLYTE_FXT_OUTPUT_H
#define PARLYTE_FXT_OUTPUT_H

#include "tools/fxt/formats/encoding.h"

#include <string>
#include <vector>

// fxt diff ends as diff does: 0 for the same, 1 for differences, 2 for
// trouble.
enum ExitStatus { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2, EXIT_DIFFERENT = 1, EXIT_TROUBLE = 2 };

// "fxt: MESSAGE" on standard error, a line each.
void Say(const std::string &message);
void SayEach(const std::vector<std::string> &messages);
// Every refusal of a file, after its name.
void SayRefusals(const std::string &path, const Refusals &refusals);

// A table of the files' bytes on standard output: in the table's encoding,
// or as its characters on a console. Returns 1, or 0 having said why.
int WriteOut(const std::string &bytes, const TextCoding &coding);
// A report of the files' bytes (bytes) and its characters (utf8) the same.
int WriteReport(const std::string &bytes, const std::string &utf8, const TextCoding &coding);
// Text in UTF-8 on standard output.
int WriteUtf8(const std::string &text);

// A path as the user's system writes it; "-" is standard input.
std::string NamedPath(const std::string &path);

#endif
