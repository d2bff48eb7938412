// Where the stand-in layer finds a program's Windows path among this
// system's files: backslashes become slashes, and a name not there as
// written is matched without regard to letter case, as Windows does.
#ifndef PARLYTE_COMPAT_NATIVE_PATHS_H
#define PARLYTE_COMPAT_NATIVE_PATHS_H

#include <windows.h>

#include <string>

std::string CompatNativePath(LPCSTR path);

// From now on only names below folder are matched in any letter case, none
// for "": on this system the folder itself, and any path not below it, is
// taken as written.
void CompatIgnoreCaseOnlyBelow(const std::string &folder);
// Every name matched in any letter case, as at the start.
void CompatIgnoreCaseEverywhere(void);

#endif
