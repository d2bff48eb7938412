// Windows-1252, the code page of the game's own four languages, as fxt
// loads it from the system's converter.
#ifndef PARLYTE_WINDOWS_1252_H
#define PARLYTE_WINDOWS_1252_H

#include "tools/fxt/formats/code_page.h"

const CodePage &Windows1252(void);

#endif
