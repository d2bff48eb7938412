// The game's installation folder: taken from Parlyte.ini or asked for with
// the folder dialog, checked for its GTADATA folder, remembered when picked.
#ifndef PARLYTE_GAME_FOLDER_H
#define PARLYTE_GAME_FOLDER_H

#include "text/text_store.h"

// ".\\Parlyte.ini": the settings file in the current directory.
extern const char SettingsFile[];

// Leaves an accepted game folder in GameFolderPath and returns 1, or returns
// 0 when the user gave up.
int LocateGameFolder(void);
// The folder dialog, at the folder GameFolderPath names if any: nonzero
// with the pick in GameFolderPath, 0 on cancel or a pick without a
// file-system path.
int BrowseForGameFolder(void);
// Ends GameFolderPath with a backslash and tells whether it holds GTADATA.
int CheckGameFolder(void);

#endif
