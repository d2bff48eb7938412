// The main window's size, and whether it was maximized, kept in
// Parlyte.ini's "Window" section from one run to the next.
#include "main_window.h"

#include "folder/game_folder.h"

static const char WindowSection[] = "Window";
static const char WidthKey[] = "Width";
static const char HeightKey[] = "Height";
static const char MaximizedKey[] = "Maximized";
// The settings file with the new values, whole before it takes its place.
static const char NewSettingsFile[] = ".\\Parlyte.ini.new";

int WorkAreaOf(HWND window, RECT *work) {
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return 0;
    *work = monitor.rcWork;
    return 1;
}

static int StoredNumber(const char *key, int absent) {
    return (int)GetPrivateProfileIntA(WindowSection, key, absent, SettingsFile);
}

int RestoreWindowPlacement(HWND window) {
    int width = StoredNumber(WidthKey, 0), height = StoredNumber(HeightKey, 0);
    RECT frame, work;
    if (width > 0 && height > 0 && GetWindowRect(window, &frame) && WorkAreaOf(window, &work)) {
        // It opens where it always does, and reaches no further than the
        // work area; the system keeps it no smaller than the template.
        if (width > work.right - frame.left) width = work.right - frame.left;
        if (height > work.bottom - frame.top) height = work.bottom - frame.top;
        SetWindowPos(window, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return StoredNumber(MaximizedKey, 0) == 1 ? SW_SHOWMAXIMIZED : SW_SHOWDEFAULT;
}

static int WriteNumber(const char *key, int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    return WritePrivateProfileStringA(WindowSection, key, text, NewSettingsFile);
}

void SaveWindowPlacement(HWND window) {
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return;
    // The size it has when not maximized or minimized.
    int width = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    int height = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    int maximized = placement.showCmd == SW_SHOWMAXIMIZED ||
                    (placement.showCmd == SW_SHOWMINIMIZED && (placement.flags & WPF_RESTORETOMAXIMIZED));
    if (StoredNumber(WidthKey, -1) == width && StoredNumber(HeightKey, -1) == height &&
        StoredNumber(MaximizedKey, -1) == maximized)
        return;
    // A read-only file is the user's choice (Wine would replace it).
    DWORD attributes = GetFileAttributesA(SettingsFile);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
    // The profile calls rewrite the file in place, and a full disk would
    // leave it cut, GTAPath lost: they write a copy, which replaces the file
    // only once whole.
    if (!CopyFileA(SettingsFile, NewSettingsFile, FALSE) && GetLastError() != ERROR_FILE_NOT_FOUND) return;
    SetFileAttributesA(NewSettingsFile, FILE_ATTRIBUTE_NORMAL);
    int written = WriteNumber(WidthKey, width) && WriteNumber(HeightKey, height) && WriteNumber(MaximizedKey, maximized);
    WritePrivateProfileStringA(NULL, NULL, NULL, NewSettingsFile);  // lets go of the copy
    if (written && MoveFileExA(NewSettingsFile, SettingsFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    DeleteFileA(NewSettingsFile);
}
