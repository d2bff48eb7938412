// What fxt's commands print, the only code that prints: reports on standard
// error, text on standard output, and the exit statuses.
#ifndef PARLYTE_FXT_OUTPUT_H
#define PARLYTE_FXT_OUTPUT_H

#include "tools/fxt/formats/encoding.h"

#include <string>
#include <vector>

enum ExitStatus { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

// "fxt: MESSAGE" on standard error, a line each.
void Say(const std::string &message);
void SayEach(const std::vector<std::string> &messages);

// Text of the files' bytes on standard output: in the table's encoding, or
// as its characters on a console. Returns 1, or 0 having said why.
int WriteOut(const std::string &bytes, TableEncoding encoding);
// The same, the text already encoded for a file or a pipe.
int WriteText(const std::string &windows1252, const std::string &encoded);

// A path as the user's system writes it; "-" is standard input.
std::string NamedPath(const std::string &path);

#endif
