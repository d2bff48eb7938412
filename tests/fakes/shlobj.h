// Native stand-in for the folder dialog calls of <shlobj.h>. The dialog's
// answers are scripted by the tests (fakes.h).
#ifndef PARLYTE_COMPAT_SHLOBJ_H
#define PARLYTE_COMPAT_SHLOBJ_H

#include <windows.h>

#define BIF_RETURNONLYFSDIRS 0x0001u
#define BFFM_INITIALIZED 1
#define BFFM_SETSELECTIONA 0x0466u

typedef struct ITEMIDLIST_NATIVE *LPITEMIDLIST;
typedef LPITEMIDLIST PIDLIST_ABSOLUTE;
typedef const struct ITEMIDLIST_NATIVE *PCIDLIST_ABSOLUTE;
typedef intptr_t LPARAM, WPARAM, LRESULT;
typedef int (*BFFCALLBACK)(HWND dialog, UINT message, LPARAM value, LPARAM data);

typedef struct {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    LPSTR pszDisplayName;
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOA;

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA *info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE items, LPSTR path);
void CoTaskMemFree(void *block);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
