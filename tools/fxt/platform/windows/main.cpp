// fxt.exe's start: the command line as Windows gives it, in UTF-16, so that
// a path outside the ANSI code page reaches fxt as it was written, and read
// by fxt's own rule, so that "C:\my game\" is the folder it names.
#include "tools/fxt/platform/platform.h"

#include "tools/fxt/platform/windows/command_line.h"
#include "tools/fxt/platform/windows/wide_text.h"

#include <windows.h>

int wmain(void) {
    std::vector<std::string> arguments = ArgumentsOfCommandLine(Utf8OfWide(GetCommandLineW()));
    if (!arguments.empty()) arguments.erase(arguments.begin());
    return FxtMain(arguments);
}
