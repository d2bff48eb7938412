#include "session.h"

#include "res/resource.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

DWORD WindowTimeout = 20000;

namespace {

int failures;
Session *current;

const int MessageBoxTextId = 0xFFFF;
const int MessageBoxIconId = 0x0440;

} // namespace

void Expect(bool condition, const std::string &what) {
    std::cout << (condition ? "ok   " : "FAIL ") << what << std::endl;
    if (!condition) ++failures;
}

void Fail(const std::string &what) {
    std::cout << "FAIL " << what << std::endl;
    if (current) TerminateProcess(current->process.hProcess, 3);
    ExitProcess(1);
}

void Require(bool condition, const std::string &what) {
    if (!condition) Fail(what);
    std::cout << "ok   " << what << std::endl;
}

int CaseResult(void) {
    std::cout << (failures ? "case failed" : "case passed") << std::endl;
    return failures ? 1 : 0;
}

std::string Narrow(const std::wstring &text) {
    if (text.empty()) return "";
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), NULL, 0, NULL, NULL);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &narrow[0], size, NULL, NULL);
    return narrow;
}

std::wstring Widen(const std::string &text) {
    if (text.empty()) return L"";
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), NULL, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], size);
    return wide;
}

Session StartParlyte(const std::wstring &exe, const std::wstring &workFolder) {
    static Session session;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    session.workFolder = workFolder;
    if (!CreateProcessW(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, workFolder.c_str(), &startup,
                        &session.process))
        Fail("start " + Narrow(exe) + ": error " + std::to_string(GetLastError()));
    current = &session;
    // A 32-bit program must run in a 32-bit process, not be taken for another kind.
    BOOL wow64 = FALSE;
    Require(IsWow64Process(session.process.hProcess, &wow64) != 0, "IsWow64Process answers");
    int bits = wow64 ? 32 : 64;
    Require(bits == ProgramBits(exe), "Parlyte runs as a " + std::to_string(bits) + "-bit process");
    return session;
}

int ProgramBits(const std::wstring &exe) {
    DWORD type = 0;
    if (!GetBinaryTypeW(exe.c_str(), &type)) return 0;
    return type == SCS_32BIT_BINARY ? 32 : type == SCS_64BIT_BINARY ? 64 : 0;
}

DWORD WaitForExit(Session &session) {
    if (WaitForSingleObject(session.process.hProcess, WindowTimeout) != WAIT_OBJECT_0)
        Fail("Parlyte did not end within the timeout");
    DWORD code = 0;
    GetExitCodeProcess(session.process.hProcess, &code);
    current = NULL;
    return code;
}

bool IsRunning(const Session &session) {
    return WaitForSingleObject(session.process.hProcess, 0) == WAIT_TIMEOUT;
}

HWND FocusOf(const Session &session) {
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(session.process.dwThreadId, &thread);
    return thread.hwndFocus;
}

std::string WindowText(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(length + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, (WPARAM)text.size(), (LPARAM)&text[0]);
    text.resize(got);
    return Narrow(text);
}

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND FindTopWindow(const Session &session, const std::function<bool(HWND)> &matches) {
    struct Search {
        DWORD processId;
        const std::function<bool(HWND)> *matches;
        HWND found;
    } search = {session.process.dwProcessId, &matches, NULL};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            Search *search = (Search *)data;
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            if (processId != search->processId || !IsWindowVisible(window) || !(*search->matches)(window))
                return TRUE;
            search->found = window;
            return FALSE;
        },
        (LPARAM)&search);
    return search.found;
}

HWND WaitForTopWindow(const Session &session, const std::function<bool(HWND)> &matches, const std::string &what) {
    for (DWORD waited = 0; waited < WindowTimeout; waited += 50) {
        HWND window = FindTopWindow(session, matches);
        if (window) return window;
        if (!IsRunning(session)) Fail("Parlyte ended while waiting for " + what);
        Sleep(50);
    }
    Fail("no " + what + " within the timeout");
}

bool IsMainWindow(HWND window) {
    return ClassName(window) == "#32770" && WindowText(window) == "Parlyte" && GetDlgItem(window, IDC_KEYLIST);
}

bool IsFolderDialog(HWND window) {
    return ClassName(window) == "#32770" && FindWindowExA(window, NULL, "SysTreeView32", NULL);
}

HWND WaitForMainWindow(const Session &session) {
    return WaitForTopWindow(session, IsMainWindow, "main window");
}

HWND WaitForFolderDialog(const Session &session) {
    return WaitForTopWindow(session, IsFolderDialog, "folder dialog");
}

bool IsMessageBox(HWND window) {
    // The main window's labels have the id -1 too, hence the key list test.
    return ClassName(window) == "#32770" && GetDlgItem(window, MessageBoxTextId) && !GetDlgItem(window, IDC_KEYLIST);
}

HWND WaitForMessageBox(const Session &session, const std::string &caption) {
    return WaitForTopWindow(
        session, [&](HWND window) { return IsMessageBox(window) && WindowText(window) == caption; },
        "message box \"" + caption + "\"");
}

std::string MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, MessageBoxTextId));
}

namespace {

// 32-bit pixels of a device context's bitmap.
std::vector<DWORD> Pixels(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(width * height);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    for (DWORD &pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

// What the screen shows from a point on, or an icon drawn on a background;
// rows from the top.
std::vector<DWORD> Picture(const POINT *origin, HICON icon, DWORD background, int width, int height) {
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (origin) {
        BitBlt(memory, 0, 0, width, height, screen, origin->x, origin->y, SRCCOPY);
    } else {
        HBRUSH brush = CreateSolidBrush(RGB(background >> 16, (background >> 8) & 0xFF, background & 0xFF));
        RECT all = {0, 0, width, height};
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        DrawIconEx(memory, 0, 0, icon, 0, 0, 0, NULL, DI_NORMAL | DI_DEFAULTSIZE);
    }
    SelectObject(memory, old);
    std::vector<DWORD> pixels = Pixels(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return pixels;
}

POINT TopLeft(HWND window) {
    RECT frame;
    GetWindowRect(window, &frame);
    return POINT{frame.left, frame.top};
}

} // namespace

std::vector<DWORD> ClientPixels(HWND window, RECT area) {
    MapWindowPoints(window, NULL, (POINT *)&area, 2);
    POINT origin = {area.left, area.top};
    return Picture(&origin, NULL, 0, area.right - area.left, area.bottom - area.top);
}

bool ShowsColor(HWND window, int color, const RECT *area) {
    RECT client;
    GetClientRect(window, &client);
    std::vector<DWORD> pixels = ClientPixels(window, area ? *area : client);
    COLORREF bgr = GetSysColor(color);
    return std::count(pixels.begin(), pixels.end(), (GetRValue(bgr) << 16) | (GetGValue(bgr) << 8) | GetBValue(bgr)) > 0;
}

namespace {

// The system's icon that the picture shows, or null.
LPCWSTR IconOnScreen(HWND shown, int size) {
    POINT origin = TopLeft(shown);
    std::vector<DWORD> screen = Picture(&origin, NULL, 0, size, size);
    LPCWSTR best = NULL;
    size_t fewestDifferences = size * size / 20;
    for (LPCWSTR icon : {IDI_HAND, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION}) {
        std::vector<DWORD> drawn = Picture(NULL, LoadIconW(NULL, icon), screen[0], size, size);
        size_t differences = 0;
        for (int i = 0; i < size * size; ++i) differences += screen[i] != drawn[i];
        if (differences < fewestDifferences) {
            fewestDifferences = differences;
            best = icon;
        }
    }
    return best;
}

} // namespace

LPCWSTR MessageBoxIcon(HWND box) {
    // Icon handles belong to each process, so the icon is told by its picture,
    // once the box has painted it.
    HWND shown = GetDlgItem(box, MessageBoxIconId);
    if (!shown || !IsWindowVisible(shown)) return NULL;
    LPCWSTR icon = NULL;
    for (DWORD waited = 0; !(icon = IconOnScreen(shown, 32)) && waited < WindowTimeout; waited += 50) Sleep(50);
    return icon;
}

void SaveScreenshot(HWND window, const std::wstring &path) {
    Sleep(500);  // painting comes after every other message
    RECT frame;
    GetWindowRect(window, &frame);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    POINT origin = TopLeft(window);
    std::vector<DWORD> pixels = Picture(&origin, NULL, 0, width, height);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + (DWORD)(pixels.size() * 4);
    std::string bytes((const char *)&file, sizeof file);
    bytes.append((const char *)&header, sizeof header);
    bytes.append((const char *)pixels.data(), pixels.size() * 4);
    WriteFileBytes(path, bytes);
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) Fail("no button " + std::to_string(id));
    PostMessageW(button, BM_CLICK, 0, 0);
}

void PostKey(HWND target, WPARAM key) {
    UINT scan = MapVirtualKeyW((UINT)key, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

void SendKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = (WORD)MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        inputs.push_back(input);
    }
    for (auto key = keys.end(); key != keys.begin();) {
        inputs.push_back(inputs[--key - keys.begin()]);
        inputs.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    if (SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT)) != inputs.size()) Fail("the keys are sent");
}

void PostChars(HWND target, const std::string &text) {
    for (wchar_t ch : Widen(text)) PostMessageW(target, WM_CHAR, ch, 1);
}

void ClickAt(HWND target, int x, int y) {
    LPARAM point = MAKELPARAM(x, y);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(target, WM_LBUTTONUP, 0, point);
}

void SendMouse(POINT at, DWORD buttons) {
    // In 65536ths of the screen: the pixel's middle, however it is rounded.
    INPUT input = {INPUT_MOUSE, {{(2 * at.x + 1) * 65536 / (2 * GetSystemMetrics(SM_CXSCREEN)),
                                  (2 * at.y + 1) * 65536 / (2 * GetSystemMetrics(SM_CYSCREEN)), 0,
                                  MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons, 0, 0}}};
    if (SendInput(1, &input, sizeof input) != 1) Fail("the mouse input is sent");
}

bool Eventually(const std::function<bool()> &holds) {
    for (int tries = 0; tries < 200 && !holds(); ++tries) Sleep(10);
    return holds();
}

void WaitUntilHandled(HWND dialog) {
    // A limit no one else sets, posted behind the input: once the field
    // reports it, everything posted before has been handled.
    static WPARAM marker = 40000;
    HWND field = GetDlgItem(dialog, IDC_ITALIAN);
    PostMessageW(field, EM_SETLIMITTEXT, ++marker, 0);
    for (DWORD waited = 0; waited < WindowTimeout; waited += 10) {
        if ((WPARAM)SendMessageW(field, EM_GETLIMITTEXT, 0, 0) == marker) return;
        Sleep(10);
    }
    Fail("posted input was not handled within the timeout");
}

std::string UnixPath(const std::wstring &path) {
    if (path.compare(0, 3, L"Z:\\") != 0) Fail(Narrow(path) + " is not on Z:");
    std::string unix = Narrow(path.substr(2));
    for (char &ch : unix)
        if (ch == '\\') ch = '/';
    return unix;
}

std::string RunUnixCommand(const std::string &command, const std::wstring &workFolder) {
    // Wine starts Unix programs too, Z: being the Unix root, but their
    // process handles never signal: the output file appears, by a rename,
    // only once the command is done.
    std::string output = UnixPath(workFolder) + "/unix-command.out";
    std::wstring outputPath = workFolder + L"\\unix-command.out";
    DeleteFileW(outputPath.c_str());
    std::wstring line = L"Z:\\bin\\sh -c \"" + Widen(command) + L" >'" + Widen(output) + L".part' && mv '" +
                        Widen(output) + L".part' '" + Widen(output) + L"'\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        Fail("cannot run " + command);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    for (DWORD waited = 0; GetFileAttributesW(outputPath.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 50) {
        if (waited > WindowTimeout) Fail(command + " did not finish");
        Sleep(50);
    }
    return ReadFileBytes(outputPath);
}

std::string ReadFileBytes(const std::wstring &path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::wstring &path, const std::string &bytes) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
    if (!file) Fail("cannot write " + Narrow(path));
}
