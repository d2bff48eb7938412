// The game folder, filled at start-up and read by loading; on its own so
// that a program that loads without asking for the folder (fxt) needs
// nothing else of this folder.
#include "game_folder.h"

char GameFolderPath[MAX_PATH + 1];
