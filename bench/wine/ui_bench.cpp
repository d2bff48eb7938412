// ui_bench startup EXE RUNS LABEL WORKFOLDER KEYS [LABEL WORKFOLDER KEYS ...]
//   from process start to the main window showing its filled key list; each
//   work folder holds the Parlyte.ini of its game folder
// ui_bench interaction EXE WORKFOLDER GAMEFOLDER TABLEFILE RUNS
//   from a click, a typed character or a pasted key to the fields showing
//   the texts
// ui_bench find EXE WORKFOLDER GAMEFOLDER TABLEFILE RUNS
//   from Find Next, for a text no key holds, to the box that says so: a
//   search through every key
// Prints figures: median of RUNS [fastest-slowest]; judges nothing.
#include "browser.h"

#include "res/resource.h"

#include <algorithm>
#include <iostream>
#include <stdio.h>

namespace {

double Now(void) {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * now.QuadPart / frequency.QuadPart;
}

struct Figure {
    double median, low, high;
};

Figure Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return Figure{times[times.size() / 2], times.front(), times.back()};
}

void Print(const std::string &what, const Figure &figure) {
    printf("  %-46s %9.1f ms [%.1f-%.1f]\n", what.c_str(), figure.median, figure.low, figure.high);
}

double StartUntilListed(const std::wstring &exe, const std::wstring &workFolder, LRESULT keys) {
    double start = Now();
    Session session = StartParlyte(exe, workFolder);
    HWND main = NULL;
    for (;;) {
        main = main ? main : FindTopWindow(session, IsMainWindow);
        HWND list = main ? FindWindowExA(GetDlgItem(main, IDC_KEYLIST), NULL, "ComboLBox", NULL) : NULL;
        if (list && SendMessageW(list, LB_GETCOUNT, 0, 0) == keys) break;
        if (!IsRunning(session)) Fail("Parlyte ended during start-up");
        if (Now() - start > WindowTimeout) Fail("no filled key list within the timeout");
        Sleep(1);
    }
    double elapsed = Now() - start;
    PressButton(main, IDCANCEL);
    WaitForExit(session);
    return elapsed;
}

// The sets take turns run by run, so that the machine's drift falls on all alike.
int StartupBench(int argc, wchar_t **argv) {
    std::wstring exe = argv[2];
    int runs = _wtoi(argv[3]);
    std::vector<std::vector<double>> times((argc - 4) / 3);
    for (int run = 0; run < runs; ++run)
        for (size_t set = 0; set < times.size(); ++set)
            times[set].push_back(StartUntilListed(exe, argv[4 + 3 * set + 1], _wtoi(argv[4 + 3 * set + 2])));
    printf("Start-up under Wine of %s, from process start to the main window with its filled key list\n",
           Narrow(exe).c_str());
    std::vector<double> medians;
    for (size_t set = 0; set < times.size(); ++set) {
        Figure figure = Summary(times[set]);
        Print(Narrow(argv[4 + 3 * set]) + " (" + Narrow(argv[4 + 3 * set + 2]) + " keys)", figure);
        medians.push_back(figure.median);
    }
    if (medians.size() >= 2) printf("  ratio, last set to first: %.2fx\n", medians.back() / medians.front());
    return 0;
}

// Sends input, then times until the four fields show the row's texts.
double TimeUntilShown(const Browser &browser, int row, const std::function<void()> &input) {
    std::vector<std::string> want = Shown(browser.rows[row]);
    double start = Now();
    input();
    while (Fields(browser) != want) {
        if (Now() - start > WindowTimeout) Fail("the fields did not show " + browser.rows[row].key);
    }
    return Now() - start;
}

int InteractionBench(wchar_t **argv) {
    WindowTimeout = 30 * 60 * 1000;  // loading a large set under Wine takes minutes
    CaseContext context = {argv[2], argv[3], argv[4], argv[5]};
    int runs = _wtoi(argv[6]);
    double start = Now();
    Browser browser = OpenBrowser(context);
    int count = (int)browser.rows.size();
    printf("Interaction under Wine on %d keys (window shown after %.1f s)\n", count, (Now() - start) / 1000);

    for (int percent : {0, 50, 100}) {
        int row = std::min(count - 1, count * percent / 100);
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            ClickItem(browser, run % 2 ? row - 1 : row + (row == count - 1 ? -2 : 1));  // start elsewhere
            SendMessageW(browser.list, LB_SETTOPINDEX, row, 0);
            RECT item;
            SendMessageW(browser.list, LB_GETITEMRECT, row, (LPARAM)&item);
            times.push_back(TimeUntilShown(browser, row, [&] {
                ClickAt(browser.list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
            }));
        }
        Print("click on item " + std::to_string(row) + " to its texts", Summary(times));
    }

    const char letters[] = "mhcgtbpoz";
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::string letter(1, letters[run % (sizeof letters - 1)]);
        int row = FirstMatch(browser, letter);
        if (row < 0 || Fields(browser) == Shown(browser.rows[row])) continue;
        SendMessageW(browser.edit, EM_SETSEL, 0, -1);
        times.push_back(TimeUntilShown(browser, row, [&] { PostChars(browser.edit, letter); }));
        WaitUntilHandled(browser.main);
    }
    if (!times.empty()) Print("typed first letter to its first key's texts", Summary(times));

    times.clear();
    for (int run = 0; run < runs; ++run) {
        int row = count - 1 - run;
        times.push_back(TimeUntilShown(browser, row, [&] { Paste(browser, browser.rows[row].key); }));
    }
    Print("pasted one of the last keys to its texts", Summary(times));
    Close(browser);
    return 0;
}

// Until a top window that matches shows, checked without pausing.
HWND PollForTopWindow(const Session &session, const std::function<bool(HWND)> &matches, double start) {
    for (;;) {
        if (HWND window = FindTopWindow(session, matches)) return window;
        if (Now() - start > WindowTimeout) Fail("no window within the timeout");
    }
}

int FindBench(wchar_t **argv) {
    WindowTimeout = 30 * 60 * 1000;  // loading a large set under Wine takes minutes
    CaseContext context = {argv[2], argv[3], argv[4], argv[5]};
    int runs = _wtoi(argv[6]);
    Browser browser = OpenBrowser(context);
    auto isFind = [](HWND window) { return WindowText(window) == "Find" && GetDlgItem(window, IDC_FIND_TEXT); };
    PostMessageW(browser.main, WM_SYSCOMMAND, IDC_FIND, 0);
    HWND dialog = PollForTopWindow(browser.session, isFind, Now());
    PostChars(GetDlgItem(dialog, IDC_FIND_TEXT), "QQQ no text holds this");
    WaitUntilHandled(browser.main);
    auto isBox = [](HWND window) { return IsMessageBox(window) && WindowText(window) == "Parlyte"; };
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        PressButton(dialog, IDC_FIND_NEXT);
        HWND box = PollForTopWindow(browser.session, isBox, start);
        times.push_back(Now() - start);
        PressButton(box, IDOK);
        while (IsWindow(box)) Sleep(10);
    }
    Print("Find Next through " + std::to_string(browser.rows.size()) + " keys to \"Cannot find\"", Summary(times));
    PressButton(dialog, IDCANCEL);
    Close(browser);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc >= 7 && std::wstring(argv[1]) == L"startup") return StartupBench(argc, argv);
    if (argc == 7 && std::wstring(argv[1]) == L"interaction") return InteractionBench(argv);
    if (argc == 7 && std::wstring(argv[1]) == L"find") return FindBench(argv);
    fprintf(stderr, "usage: ui_bench startup EXE RUNS LABEL WORKFOLDER KEYS [...]\n"
                    "       ui_bench interaction EXE WORKFOLDER GAMEFOLDER TABLEFILE RUNS\n"
                    "       ui_bench find EXE WORKFOLDER GAMEFOLDER TABLEFILE RUNS\n");
    return 2;
}
