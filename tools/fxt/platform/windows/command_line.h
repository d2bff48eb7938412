// How fxt.exe reads its command line: as a Windows user means it, where the
// C runtime's rules would take "C:\my game\" for a folder and an escaped
// quote.
#ifndef PARLYTE_FXT_COMMAND_LINE_H
#define PARLYTE_FXT_COMMAND_LINE_H

#include <string>
#include <vector>

// The arguments of a command line (in UTF-8), the program's name first.
// Blanks outside quotes part them; a double quote begins or ends quoting
// and is never part of an argument, as no Windows name holds one. A run of
// backslashes before a quote is kept as typed where it is odd ("C:\my
// game\", as a user types a folder), and halved where it is even, as
// programs that quote by the C runtime's rules write "C:\my game\\".
// Backslashes anywhere else are themselves.
std::vector<std::string> ArgumentsOfCommandLine(const std::string &line);

#endif
