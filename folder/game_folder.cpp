// Locating and checking the game folder.
#include "game_folder.h"

#include "text/text_store.h"

#include <shlobj.h>

const char SettingsFile[] = ".\\Parlyte.ini";
static const char SettingsSection[] = "GTA";
static const char SettingsKey[] = "GTAPath";

// With "GTADATA\ENGLISH.FXT" and the others appended, paths stay below the
// system's limit.
enum { LONGEST_GAME_FOLDER = 234, WARNING_BUFFER = 280 };

int CheckGameFolder(void) {
    int length = lstrlenA(GameFolderPath);
    if (length == 0) return 0;
    if (GameFolderPath[length - 1] != '\\') {
        GameFolderPath[length++] = '\\';
        GameFolderPath[length] = '\0';
    }
    if (length > LONGEST_GAME_FOLDER) return 0;

    lstrcatA(GameFolderPath, DATA_FOLDER_NAME);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(GameFolderPath, &found);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    GameFolderPath[length] = '\0';
    return search != INVALID_HANDLE_VALUE && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The dialog opens at the folder in GameFolderPath, the pick it refused,
// rather than collapsed at the desktop.
static int CALLBACK SelectPickedFolder(HWND dialog, UINT message, LPARAM, LPARAM picked) {
    if (message == BFFM_INITIALIZED && picked) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, picked);
    return 0;
}

int BrowseForGameFolder(void) {
    BROWSEINFOA browse;
    BYTE *bytes = (BYTE *)&browse;
    for (unsigned i = 0; i < sizeof browse; ++i) bytes[i] = 0;
    browse.lpszTitle = "Select the folder where you installed Grand Theft Auto.\n\n"
                       "Note: you can store the GTA path forever in the Parlyte.ini.";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = SelectPickedFolder;
    browse.lParam = GameFolderPath[0] ? (LPARAM)GameFolderPath : 0;
    PIDLIST_ABSOLUTE items = SHBrowseForFolderA(&browse);
    if (!items) return 0;
    BOOL converted = SHGetPathFromIDListA(items, GameFolderPath);
    CoTaskMemFree(items);
    return converted;
}

int LocateGameFolder(void) {
    GetPrivateProfileStringA(SettingsSection, SettingsKey, "", GameFolderPath, MAX_PATH, SettingsFile);
    if (GameFolderPath[0]) {
        if (CheckGameFolder()) return 1;
        MessageBoxA(NULL, "Wrong directory in Parlyte.ini!", "Parlyte", MB_OK | MB_ICONERROR);
    }
    for (;;) {
        if (!BrowseForGameFolder()) return 0;
        if (CheckGameFolder()) {
            WritePrivateProfileStringA(SettingsSection, SettingsKey, GameFolderPath, SettingsFile);
            return 1;
        }
        char warning[WARNING_BUFFER];
        wsprintfA(warning, "%s: wrong directory!", GameFolderPath);
        MessageBoxA(NULL, warning, "Parlyte", MB_OK | MB_ICONWARNING);
    }
}
