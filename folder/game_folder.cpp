// Locating and checking the game folder.
#include "game_folder.h"

char GameFolderPath[MAX_PATH + 1];
