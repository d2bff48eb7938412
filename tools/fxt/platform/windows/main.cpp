// fxt.exe's start: the arguments as Windows gives them, in UTF-16, so that
// a path outside the ANSI code page reaches fxt as it was written.
#include "tools/fxt/platform/platform.h"

#include "tools/fxt/platform/windows/wide_text.h"

int wmain(int argc, wchar_t **argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        std::string argument = Utf8OfWide(argv[i]);
        // The C runtime takes the backslash of "C:\GTA\" for an escape of the
        // closing quote, which no Windows name holds: the quote goes.
        if (argument.size() > 1 && argument.back() == '"') argument.pop_back();
        arguments.push_back(argument);
    }
    return FxtMain(arguments);
}
