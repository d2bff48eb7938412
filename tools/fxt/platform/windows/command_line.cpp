#include "command_line.h"

#include <algorithm>

std::vector<std::string> ArgumentsOfCommandLine(const std::string &line) {
    std::vector<std::string> arguments;
    std::string argument;
    bool begun = false, quoted = false;
    for (size_t at = 0; at < line.size();) {
        char ch = line[at];
        if ((ch == ' ' || ch == '\t') && !quoted) {
            if (begun) arguments.push_back(argument);
            argument.clear();
            begun = false;
            ++at;
            continue;
        }
        begun = true;
        if (ch == '\\') {
            size_t end = std::min(line.find_first_not_of('\\', at), line.size()), run = end - at;
            if (end < line.size() && line[end] == '"' && run % 2 == 0) run /= 2;
            argument.append(run, '\\');
            at = end;
            continue;
        }
        if (ch == '"') quoted = !quoted;
        else argument += ch;
        ++at;
    }
    if (begun) arguments.push_back(argument);
    return arguments;
}
