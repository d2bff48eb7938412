// The key browser: the list, the four fields, and finding keys by typing,
// driven with clicks, keys, characters and pastes on the real controls.
#include "cases.h"
#include "session.h"

#include "res/resource.h"

#include <algorithm>

namespace {

std::string Describe(const std::vector<std::string> &fields) {
    std::string text;
    for (const std::string &field : fields) text += "[" + field + "]";
    return text;
}

void ExpectShows(const Browser &browser, int index, const std::string &what) {
    Expect(Selection(browser) == index, what + ": item " + std::to_string(index) + " selected (is " +
                                            std::to_string(Selection(browser)) + ")");
    std::vector<std::string> want = index < 0 ? std::vector<std::string>(4, "N/A") : Shown(browser.rows[index]);
    std::vector<std::string> shown = Fields(browser);
    Expect(shown == want, what + ": fields " + Describe(shown) + (shown == want ? "" : ", expected " + Describe(want)));
}

// Whatever is selected, the fields show its texts, or "N/A" when nothing is.
void ExpectFieldsFollowSelection(const Browser &browser, const std::string &what) {
    ExpectShows(browser, Selection(browser), what);
}

int FindRow(const Browser &browser, const std::function<bool(const TableRow &)> &matches, const std::string &what) {
    for (size_t i = 0; i < browser.rows.size(); ++i)
        if (matches(browser.rows[i])) return (int)i;
    Fail("the data has no " + what);
}

int KeyRow(const Browser &browser, const std::string &key) {
    return FindRow(browser, [&](const TableRow &row) { return row.key == key; }, "key " + key);
}

int KeyListCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    std::vector<std::string> keys;
    for (const TableRow &row : browser.rows) keys.push_back(row.key);
    std::vector<std::string> items = ListItems(browser);
    Expect(items.size() == keys.size(), std::to_string(items.size()) + " items for " + std::to_string(keys.size()) +
                                            " keys");
    Expect(items == keys, "the list holds every key in table order");
    // The list is filled with its redrawing off; once it is back on, the
    // first item shows as text on the list's background.
    WaitUntilHandled(browser.main);
    RECT first;
    Require(SendMessageW(browser.list, LB_GETITEMRECT, 0, (LPARAM)&first) != LB_ERR, "the first item's rectangle");
    Expect(ShowsColor(browser.list, COLOR_WINDOW, &first) && ShowsColor(browser.list, COLOR_WINDOWTEXT, &first),
           "the list is drawn: its first item shows");
    Expect(Selection(browser) == -1, "no item selected at start");
    Expect(Fields(browser) == std::vector<std::string>(4, ""), "the four fields start empty");
    Expect(FocusOf(browser.session) == browser.edit, "the key list's edit field has the focus");
    Close(browser);
    return CaseResult();
}

int ClickCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    struct Kind {
        const char *what;
        std::function<bool(const TableRow &)> matches;
    };
    auto hasLineFeed = [](const std::optional<std::string> &t) { return t && t->find('\n') != std::string::npos; };
    auto hasAccent = [](const std::optional<std::string> &t) {
        return t && std::any_of(t->begin(), t->end(), [](char ch) { return (unsigned char)ch >= 0xC0; });
    };
    std::vector<Kind> kinds = {
        {"key with four texts", [](const TableRow &r) { return r.texts[0] && r.texts[1] && r.texts[2] && r.texts[3]; }},
        {"key without German", [](const TableRow &r) { return r.texts[0] && !r.texts[2]; }},
        {"key with an empty text", [](const TableRow &r) {
             return std::any_of(std::begin(r.texts), std::end(r.texts), [](const auto &t) { return t && t->empty(); });
         }},
        {"multi-line text", [&](const TableRow &r) { return hasLineFeed(r.texts[0]) && hasLineFeed(r.texts[2]); }},
        {"accented French and German", [&](const TableRow &r) { return hasAccent(r.texts[1]) && hasAccent(r.texts[2]); }},
        {"key only in a later language", [](const TableRow &r) { return !r.texts[0]; }},
    };
    for (const Kind &kind : kinds) {
        int index = FindRow(browser, kind.matches, kind.what);
        ClickItem(browser, index);
        ExpectShows(browser, index, std::string("click on ") + kind.what + " " + browser.rows[index].key);
    }
    int index = FindRow(browser, kinds[3].matches, kinds[3].what);
    ClickItem(browser, index);
    SaveScreenshot(browser.main, context.workFolder + L"\\key-selected.bmp");
    index = FindRow(browser, kinds[0].matches, kinds[0].what);
    ClickItem(browser, index);
    PressKey(browser, VK_DOWN);
    ExpectShows(browser, index + 1, "Down arrow");
    PressKey(browser, VK_UP);
    ExpectShows(browser, index, "Up arrow");
    Close(browser);
    return CaseResult();
}

int TypingCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    Type(browser, "g");
    ExpectShows(browser, FirstMatch(browser, "g"), "typed \"g\"");

    Paste(browser, "gang_i");
    int gang = FirstMatch(browser, "gang_i");
    Expect(gang >= 0 && browser.rows[gang].key == "Gang_Intro", "the first of two matching keys is Gang_Intro");
    ExpectShows(browser, gang, "pasted \"gang_i\"");

    Paste(browser, "QQQ_NO_SUCH_KEY");
    Expect(FirstMatch(browser, "QQQ_NO_SUCH_KEY") == -1, "no key starts with QQQ_NO_SUCH_KEY");
    Expect(WindowText(browser.edit) == "QQQ_NO_SUCH_KEY", "the edit field keeps what was typed");
    ExpectFieldsFollowSelection(browser, "pasted a prefix that matches nothing");

    SendMessageW(browser.edit, EM_SETSEL, 0, -1);
    PressKey(browser, VK_BACK);
    // What the combo box's own search answers for the empty text (no match
    // under Wine) is what the program must have shown.
    int emptyMatch = (int)SendMessageW(browser.combo, CB_FINDSTRING, (WPARAM)-1, (LPARAM)L"");
    Expect(WindowText(browser.edit).empty(), "the edit field stays empty");
    ExpectShows(browser, emptyMatch, "cleared edit field, searched with the empty text");
    Close(browser);
    return CaseResult();
}

// Keys pressed one at a time through the system's input, as from a
// keyboard ('\b' Backspace, '\x7f' Delete, '\x02' Ctrl+Home, '\x03'
// Ctrl+End, a character with Shift where it needs it), and then the key
// field's text, what of it is selected, and the key selected in the list.
struct Keystroke {
    char key;
    const char *field;
    DWORD start, end;
    const char *selected;
};

const Keystroke TypeAhead[] = {
    {'G', "GANG_INTRO", 1, 10, "GANG_INTRO"},  // the first key starting so, completed
    {'A', "GANG_INTRO", 2, 10, "GANG_INTRO"},  // each letter replaces only the completed rest
    {'M', "GAME_OVER", 3, 9, "GAME_OVER"},
    {'\b', "GAM", 3, 3, "GAME_OVER"},          // Backspace takes the completed rest away,
    {'\b', "GA", 2, 2, "GANG_INTRO"},          // then a letter, and completes nothing
    {'r', "GARAGE", 3, 6, "GARAGE"},           // any letter case, where no key has this one
    {'x', "GARx", 4, 4, nullptr},              // no key starts so: the field keeps what was typed
    {'\b', "GAR", 3, 3, "GARAGE"},
    {'\x02', "ALPHA", 0, 5, "ALPHA"},          // the first key, all of it selected
    {'G', "GANG_INTRO", 1, 10, "GANG_INTRO"},
    {'o', "GOAL", 2, 4, "GOAL"},
    {'\x7f', "GO", 2, 2, "GO"},                // what Delete leaves is a key: that key
    {'_', "GO_HOME", 3, 7, "GO_HOME"},
    {'\x02', "ALPHA", 0, 5, "ALPHA"},
    {'a', "abc", 1, 3, "abc"},                 // the same letter case first
    {'\x02', "ALPHA", 0, 5, "ALPHA"},
    {'A', "ALPHA", 1, 5, "ALPHA"},
    {'B', "ABC", 2, 3, "ABC"},                 // not abc, before it
    {'C', "ABC", 3, 3, "ABC"},
    {'\x03', "Abc", 0, 3, "Abc"},              // the last key
};

int TypeAheadCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    std::string typed;
    for (const Keystroke &stroke : TypeAhead) {
        char key = stroke.key;
        SHORT scan = key == '\b' ? VK_BACK : key == '\x7f' ? VK_DELETE : key == '\x02' ? 0x200 | VK_HOME
                   : key == '\x03' ? 0x200 | VK_END : VkKeyScanA(key);
        WORD modifier = HIBYTE(scan) == 1 ? VK_SHIFT : HIBYTE(scan) == 2 ? VK_CONTROL : 0;
        if (modifier) PressKeys(browser, browser.main, {modifier, LOBYTE(scan)});
        else PressKeys(browser, browser.main, {LOBYTE(scan)});
        typed += key > ' ' && key != '\x7f' ? std::string(1, key) : "<" + std::to_string(key) + ">";
        // Input through the system may come after the posted messages
        // PressKeys waits for: the field is read until it shows the row.
        DWORD start = 0, end = 0;
        std::string field;
        for (DWORD waited = 0; waited <= 2000; waited += 10, Sleep(10)) {
            SendMessageW(browser.edit, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
            if ((field = WindowText(browser.edit)) == stroke.field && start == stroke.start && end == stroke.end) break;
        }
        Expect(field == stroke.field && start == stroke.start && end == stroke.end,
               typed + ": the field shows \"" + field + "\", " + std::to_string(start) + "-" + std::to_string(end) + " selected");
        ExpectShows(browser, stroke.selected ? KeyRow(browser, stroke.selected) : -1, typed);
    }
    for (const char *key : {"GO", "ABC", "Abc"}) {
        Paste(browser, key);
        Expect(WindowText(browser.edit) == key, std::string("pasted ") + key + ": the field keeps it");
        ExpectShows(browser, KeyRow(browser, key), std::string("pasted ") + key);
    }
    Close(browser);
    return CaseResult();
}

std::string Clipboard(void) {
    Require(OpenClipboard(NULL) && GetClipboardData(CF_TEXT), "the clipboard holds a text");
    std::string text = (const char *)GlobalLock(GetClipboardData(CF_TEXT));
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();
    return text;
}

// Tab into a field selects its whole text, showing its first line, for
// Ctrl+C to copy with CR LF; Tab on leaves no selection in either field.
int TextFieldsCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    HWND english = GetDlgItem(browser.main, IDC_ENGLISH);
    for (const char *key : {"BRIEFING", "TWO_LINES"}) {
        ClickItem(browser, KeyRow(browser, key));
        PressKeys(browser, browser.main, {VK_TAB});
        DWORD start = 1, end = 0, keyStart = 1, keyEnd = 0;
        SendMessageW(english, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        SendMessageW(browser.edit, EM_GETSEL, (WPARAM)&keyStart, (LPARAM)&keyEnd);
        PressKeys(browser, browser.main, {VK_CONTROL, 'C'});
        Expect(FocusOf(browser.session) == english && SendMessageW(english, EM_GETFIRSTVISIBLELINE, 0, 0) == 0 && start == 0 &&
                   end == WindowText(english).size() && keyStart == keyEnd && Clipboard() == WindowText(english),
               std::string(key) + ": tabbed into, all selected, the first line in view; copied whole");
        PressKeys(browser, browser.main, {VK_TAB});
        SendMessageW(english, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        Expect(start == end && !ShowsColor(english, COLOR_HIGHLIGHT), std::string(key) + ": left, no selection shows");
    }
    Expect(Clipboard() == "First line\r\nsecond line" && SendMessageW(english, EM_GETLINECOUNT, 0, 0) == 2,
           "two lines, copied with CR LF");
    // The briefing's scroll bar in a taller window: its thumb at the bottom
    // after the wheel, dragged up and let go (Wine hides where it is).
    ClickItem(browser, KeyRow(browser, "BRIEFING"));
    MoveWindow(browser.main, 0, 0, 600, 520, TRUE);
    SendMessageW(english, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(-20 * WHEEL_DELTA)), 0);
    auto first = [&] { return (int)SendMessageW(english, EM_GETFIRSTVISIBLELINE, 0, 0); };
    int last = first(), line = 0, arrow = GetSystemMetrics(SM_CYVSCROLL);
    RECT rect;
    GetWindowRect(english, &rect);
    POINT thumb = {rect.right - 1 - GetSystemMetrics(SM_CXVSCROLL) / 2, rect.bottom - 4 - arrow};
    SendMouse(thumb, MOUSEEVENTF_LEFTDOWN);
    SendMouse({thumb.x, thumb.y - (rect.bottom - rect.top - 2 - 2 * arrow) / 6}, MOUSEEVENTF_LEFTUP);
    GUITHREADINFO input = {};
    input.cbSize = sizeof input;
    bool moved = Eventually([&] { return GetGUIThreadInfo(GetWindowThreadProcessId(english, NULL), &input) &&
                                         !input.hwndCapture && (line = first()) > 0 && line < last; });
    Expect(moved, "the thumb dragged up: line " + std::to_string(line) + " of " + std::to_string(last) + " first");
    Close(browser);
    return CaseResult();
}

// Not a test: shows the demo texts with a key selected for a screenshot.
int DemoCase(const CaseContext &context) {
    Browser browser = OpenBrowser(context);
    int welcome = KeyRow(browser, "WELCOME");
    ClickItem(browser, welcome);
    ExpectShows(browser, welcome, "click on WELCOME");
    SaveScreenshot(browser.main, context.workFolder + L"\\parlyte.bmp");
    Close(browser);
    return CaseResult();
}

// Not a test: Parlyte on the game folder for a person to use, until they
// close it.
int ShowCase(const CaseContext &context) {
    WriteSettings(context, context.gameFolder);
    Session session = StartParlyte(context.exe, context.workFolder);
    WaitForSingleObject(session.process.hProcess, INFINITE);
    return CaseResult();
}

} // namespace

const CaseEntry KeyBrowserCases[] = {
    {"demo", DemoCase},
    {"show", ShowCase},
    {"key-list", KeyListCase},
    {"click-shows-texts", ClickCase},
    {"typing-finds-keys", TypingCase},
    {"type-ahead", TypeAheadCase},
    {"text-fields", TextFieldsCase},
    {NULL, NULL},
};
