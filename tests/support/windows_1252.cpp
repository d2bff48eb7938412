#include "windows_1252.h"

#include "tools/fxt/platform/platform.h"

#include <stdlib.h>

const CodePage &Windows1252(void) {
    static CodePage page;
    if (page.number == 0) {
        unsigned characters[256];
        if (!ConvertedCharacters(DEFAULT_CODE_PAGE, characters)) abort();
        MakeCodePage(DEFAULT_CODE_PAGE, characters, &page);
    }
    return page;
}
