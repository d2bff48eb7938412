// fxt's start on Linux, whose arguments are UTF-8 already.
#include "tools/fxt/platform/platform.h"

int main(int argc, char **argv) {
    return FxtMain(std::vector<std::string>(argv + 1, argv + argc));
}
