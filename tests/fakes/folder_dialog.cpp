// The folder dialog, answering with the picks a test has scripted.
#include <shlobj.h>

#include "fakes.h"

#include <deque>
#include <stdlib.h>
#include <string.h>

struct ITEMIDLIST_NATIVE {
    char path[MAX_PATH];
};

namespace {

std::deque<std::string> scriptedPicks;
int dialogCount;
std::string lastTitle;
UINT lastFlags;

} // namespace

void ResetFolderDialog(void) {
    scriptedPicks.clear();
    dialogCount = 0;
    lastTitle.clear();
    lastFlags = 0;
}

void FakeScriptFolderPick(const std::string &path) { scriptedPicks.push_back(path); }
int FakeFolderDialogCount(void) { return dialogCount; }
const std::string &FakeLastFolderDialogTitle(void) { return lastTitle; }
UINT FakeLastFolderDialogFlags(void) { return lastFlags; }
// The dialog's callback selecting a folder: the scripted pick stands.
LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) { return 0; }

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA *info) {
    ++dialogCount;
    lastTitle = info->lpszTitle ? info->lpszTitle : "";
    lastFlags = info->ulFlags;
    if (scriptedPicks.empty()) return NULL;
    ITEMIDLIST_NATIVE *items = (ITEMIDLIST_NATIVE *)calloc(1, sizeof(ITEMIDLIST_NATIVE));
    scriptedPicks.front().copy(items->path, MAX_PATH - 1);
    scriptedPicks.pop_front();
    return items;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE items, LPSTR path) {
    path[0] = '\0';
    if (!items || !items->path[0]) return FALSE;
    strcpy(path, items->path);
    return TRUE;
}

void CoTaskMemFree(void *block) { free(block); }
