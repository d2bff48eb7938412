// The game folder, filled at start-up and read by loading; on its own so
// that what loads without asking for the folder (the fuzzers, the
// benchmarks) needs nothing else of this folder: no settings file, no
// folder dialog.
#include "game_folder.h"

char GameFolderPath[MAX_PATH + 1];
