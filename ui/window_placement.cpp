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
// No settings file of Parlyte's comes near it: a larger one is left alone.
enum { LARGEST_SETTINGS = 1 << 20, LINES_SHOWN_FIRST = 4 };

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
    if (GetWindowRect(window, &frame) && WorkAreaOf(window, &work)) {
        // Without a size kept, tall enough that each field shows a few lines.
        if (width <= 0 || height <= 0) {
            width = frame.right - frame.left;
            height = FrameHeightShowingLines(window, LINES_SHOWN_FIRST);
        }
        // It opens where it always does, and reaches no further than the
        // work area; the system keeps it no smaller than the template.
        if (width > work.right - frame.left) width = work.right - frame.left;
        if (height > work.bottom - frame.top) height = work.bottom - frame.top;
        SetWindowPos(window, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return StoredNumber(MaximizedKey, 0) == 1 ? SW_SHOWMAXIMIZED : SW_SHOWDEFAULT;
}

// The calls Windows before Vista lacks, found when they are called.
static FARPROC Kernel32Call(const char *name) {
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

// Whether the file open is the one at path, not one a link there leads
// to: Wine opens a link's target even when asked for the link itself.
static int IsFileAt(HANDLE file, const char *path) {
    typedef DWORD(WINAPI * FinalPathCall)(HANDLE, LPSTR, DWORD, DWORD);
    FinalPathCall finalPath = (FinalPathCall)(void (*)(void))Kernel32Call("GetFinalPathNameByHandleA");
    char opened[MAX_PATH + 8], named[MAX_PATH];
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
        GetFileType(file) != FILE_TYPE_DISK)
        return 0;
    if (!finalPath) return 1;  // no links to files before Vista
    DWORD length = finalPath(file, opened, sizeof opened, 0);
    DWORD full = GetFullPathNameA(path, sizeof named, named, NULL);
    // The final path begins with \\?\ before the drive.
    return length > 4 && length < sizeof opened && full > 0 && full < sizeof named && lstrcmpiA(opened + 4, named) == 0;
}

// Removes, or renames, the file open, through its handle where the system
// can; else, closed, by its name, which Windows before Vista, without links
// to files, may use safely.
static BOOL ActOnOpenFile(HANDLE *opened, const char *path, const char *to) {
    typedef BOOL(WINAPI * SetInformationCall)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
    SetInformationCall setInformation = (SetInformationCall)(void (*)(void))Kernel32Call("SetFileInformationByHandle");
    HANDLE file = *opened;
    if (!setInformation && file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        *opened = INVALID_HANDLE_VALUE;
    }
    if (!setInformation) return to ? MoveFileExA(path, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                                   : DeleteFileA(path);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    if (!to) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        return setInformation(file, FileDispositionInfo, &disposition, sizeof disposition);
    }
    // The new name whole and in UTF-16, as the call wants it.
    enum { ROOM = sizeof(FILE_RENAME_INFO) + MAX_PATH * sizeof(WCHAR) };
    union {
        FILE_RENAME_INFO rename;
        BYTE bytes[ROOM];
    } block;
    char whole[MAX_PATH];
    DWORD length = GetFullPathNameA(to, MAX_PATH, whole, NULL);
    int characters = length > 0 && length < MAX_PATH ? MultiByteToWideChar(CP_ACP, 0, whole, -1, block.rename.FileName, MAX_PATH) : 0;
    if (characters == 0) return FALSE;
    block.rename.ReplaceIfExists = TRUE;
    block.rename.RootDirectory = NULL;
    block.rename.FileNameLength = (characters - 1) * sizeof(WCHAR);
    return setInformation(file, FileRenameInfo, &block.rename, sizeof block);
}

// The copy, made anew: never opened through a name that is there, nor
// through a link. A stale copy a crash left, a plain file, goes first; a
// link or anything else there is left alone, and nothing is saved.
static HANDLE MakeNewSettingsFile(void) {
    const DWORD access = GENERIC_READ | GENERIC_WRITE | DELETE, flags = FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE copy = CreateFileA(NewSettingsFile, access, 0, NULL, CREATE_NEW, flags, NULL);
    if (copy != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return copy;
    HANDLE stale = CreateFileA(NewSettingsFile, access, 0, NULL, OPEN_EXISTING, flags, NULL);
    if (stale == INVALID_HANDLE_VALUE) return stale;
    BOOL removed = IsFileAt(stale, NewSettingsFile) && ActOnOpenFile(&stale, NewSettingsFile, NULL);
    if (stale != INVALID_HANDLE_VALUE) CloseHandle(stale);
    return removed ? CreateFileA(NewSettingsFile, access, 0, NULL, CREATE_NEW, flags, NULL) : INVALID_HANDLE_VALUE;
}

// The settings file's bytes, or none where there is no file; 0 where it
// cannot be read whole.
static int ReadSettings(char *bytes, DWORD room, DWORD *size) {
    *size = 0;
    HANDLE file = CreateFileA(SettingsFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    DWORD read = 0;
    BOOL whole;
    while ((whole = ReadFile(file, bytes + *size, room - *size, &read, NULL)) && read > 0) *size += read;
    CloseHandle(file);
    return whole && *size < room;
}

// Whether a line is a section's heading, "[Name]" with blanks around the
// name allowed as the profile calls allow them; and whether of this one.
static int IsHeading(const char *line, DWORD length, const char *name) {
    DWORD at = 0;
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at >= length || line[at] != '[') return 0;
    if (!name) return 1;
    ++at;
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    int named = lstrlenA(name);
    if (at + named > length || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line + at, named, name, named) != 2)
        return 0;
    at += named;
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    return at < length && line[at] == ']';
}

// Every line of the old settings but those of the window's section, then
// that section with the new values.
static DWORD NewSettings(const char *old, DWORD size, char *out, int width, int height, int maximized) {
    DWORD written = 0;
    int inWindow = 0;
    for (DWORD start = 0, end; start < size; start = end) {
        for (end = start; end < size && old[end] != '\n'; ++end) {}
        if (end < size) ++end;
        if (IsHeading(old + start, end - start, NULL)) inWindow = IsHeading(old + start, end - start, WindowSection);
        if (inWindow) continue;
        for (DWORD at = start; at < end; ++at) out[written++] = old[at];
        if (old[end - 1] != '\n') {
            out[written++] = '\r';
            out[written++] = '\n';
        }
    }
    return written + wsprintfA(out + written, "[%s]\r\n%s=%d\r\n%s=%d\r\n%s=%d\r\n", WindowSection, WidthKey, width,
                               HeightKey, height, MaximizedKey, maximized);
}

// The copy written, flushed and read back whole as it must be.
static int WriteChecked(HANDLE copy, const char *bytes, DWORD size, char *check) {
    DWORD done = 0, read = 0;
    if (!WriteFile(copy, bytes, size, &done, NULL) || done != size || !FlushFileBuffers(copy) ||
        SetFilePointer(copy, 0, NULL, FILE_BEGIN) != 0 || !ReadFile(copy, check, size + 1, &read, NULL) || read != size)
        return 0;
    for (DWORD i = 0; i < size; ++i)
        if (check[i] != bytes[i]) return 0;
    return 1;
}

// A copy of the settings with the new size, written, flushed and read back
// through Parlyte's own calls, replaces the file only once whole: a full
// disk cannot cut GTAPath off. Any failure takes the copy away and leaves
// Parlyte.ini as it was.
static void WriteWindowSection(int width, int height, int maximized) {
    enum { ROOM = LARGEST_SETTINGS + 128 };
    char *old = (char *)LocalAlloc(LMEM_FIXED, 3 * ROOM);
    if (!old) return;
    char *updated = old + ROOM, *check = updated + ROOM;
    DWORD size;
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (ReadSettings(old, LARGEST_SETTINGS, &size) && (copy = MakeNewSettingsFile()) != INVALID_HANDLE_VALUE) {
        DWORD length = NewSettings(old, size, updated, width, height, maximized);
        if (!WriteChecked(copy, updated, length, check) || !IsFileAt(copy, NewSettingsFile) ||
            !ActOnOpenFile(&copy, NewSettingsFile, SettingsFile))
            ActOnOpenFile(&copy, NewSettingsFile, NULL);
        if (copy != INVALID_HANDLE_VALUE) CloseHandle(copy);
    }
    LocalFree(old);
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
    WriteWindowSection(width, height, maximized);
}
