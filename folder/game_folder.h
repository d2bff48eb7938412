// The game's installation folder: taken from Parlyte.ini or asked for with
// the folder dialog, checked for its GTADATA folder, remembered when picked.
#ifndef PARLYTE_GAME_FOLDER_H
#define PARLYTE_GAME_FOLDER_H

#include <windows.h>

// Once accepted it ends with a backslash and holds at most 234 characters.
extern char GameFolderPath[MAX_PATH + 1];

#endif
