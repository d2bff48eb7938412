// What the stand-in layer's files share among themselves.
#ifndef PARLYTE_COMPAT_INTERNAL_H
#define PARLYTE_COMPAT_INTERNAL_H

#include <windows.h>

void ResetFileCalls(void);
void ResetSystemCalls(void);
void ResetFolderDialog(void);

#endif
