#include "browser.h"

#include "res/resource.h"

void WriteSettings(const CaseContext &context, const std::wstring &gameFolder) {
    WriteFileBytes(SettingsPath(context), "[GTA]\r\nGTAPath=" + Narrow(gameFolder) + "\r\n");
}

std::wstring SettingsPath(const CaseContext &context) {
    return context.workFolder + L"\\Parlyte.ini";
}

Browser OpenBrowser(const CaseContext &context) {
    Browser browser;
    Refusals refusals;
    Require(ParseTable(ReadFileBytes(context.tableFile), &browser.rows, &refusals) != 0,
            "the table reads: " + (AnyRefused(refusals) ? RefusalLines(refusals)[0] : ""));
    WriteSettings(context, context.gameFolder);
    browser.session = StartParlyte(context.exe, context.workFolder);
    browser.main = WaitForMainWindow(browser.session);
    browser.combo = GetDlgItem(browser.main, IDC_KEYLIST);
    browser.list = FindWindowExA(browser.combo, NULL, "ComboLBox", NULL);
    browser.edit = FindWindowExA(browser.combo, NULL, "Edit", NULL);
    Require(browser.list && browser.edit, "the key list has its list and its edit field");
    return browser;
}

void Close(Browser &browser) {
    PressButton(browser.main, IDCANCEL);
    DWORD code = WaitForExit(browser.session);
    Expect(code == 0, "Parlyte ends with 0");
}

std::vector<std::string> ListItems(const Browser &browser) {
    std::vector<std::string> items;
    LRESULT count = SendMessageW(browser.list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // The ANSI form comes back as UTF-16 bytes across processes under Wine.
        std::wstring item(SendMessageW(browser.list, LB_GETTEXTLEN, i, 0) + 1, L'\0');
        item.resize(SendMessageW(browser.list, LB_GETTEXT, i, (LPARAM)&item[0]));
        items.push_back(Narrow(item));
    }
    return items;
}

std::vector<std::string> Fields(const Browser &browser) {
    std::vector<std::string> fields;
    for (int i = 0; i < LANGUAGE_COUNT; ++i) fields.push_back(WindowText(GetDlgItem(browser.main, IDC_ENGLISH + i)));
    return fields;
}

std::vector<std::string> Shown(const TableRow &row) {
    std::vector<std::string> fields;
    for (const auto &text : row.texts) {
        fields.push_back(text ? "" : "N/A");
        for (size_t i = 0; text && i < text->size(); fields.back() += (*text)[i++])
            if ((*text)[i] == '\n' && (i == 0 || (*text)[i - 1] != '\r')) fields.back() += '\r';
    }
    return fields;
}

int Selection(const Browser &browser) {
    return (int)SendMessageW(browser.combo, CB_GETCURSEL, 0, 0);
}

void ClickItem(const Browser &browser, int index) {
    SendMessageW(browser.list, LB_SETTOPINDEX, index, 0);
    RECT item;
    Require(SendMessageW(browser.list, LB_GETITEMRECT, index, (LPARAM)&item) != LB_ERR, "item rectangle");
    ClickAt(browser.list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
    WaitUntilHandled(browser.main);
}

void PressKey(const Browser &browser, WPARAM key) {
    PostKey(browser.edit, key);
    // Once for the key, once for the character its handling may post.
    WaitUntilHandled(browser.main);
    WaitUntilHandled(browser.main);
}

void Type(const Browser &browser, const std::string &text) {
    SendMessageW(browser.edit, EM_SETSEL, 0, -1);
    PostChars(browser.edit, text);
    WaitUntilHandled(browser.main);
}

void Paste(const Browser &browser, const std::string &text) {
    Require(OpenClipboard(NULL) && EmptyClipboard(), "the clipboard opens");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    SendMessageW(browser.edit, EM_SETSEL, 0, -1);
    PostMessageW(browser.edit, WM_PASTE, 0, 0);
    WaitUntilHandled(browser.main);
}

void PressKeys(const Browser &browser, HWND foreground, std::initializer_list<WORD> keys) {
    SetForegroundWindow(foreground);
    SendKeys(keys);
    // Once for the keys, once for the characters their handling posts.
    WaitUntilHandled(browser.main);
    WaitUntilHandled(browser.main);
}

// The first key in list order that starts with prefix, in any letter case.
int FirstMatch(const Browser &browser, const std::string &prefix) {
    for (size_t i = 0; i < browser.rows.size(); ++i) {
        const std::string &key = browser.rows[i].key;
        if (key.size() >= prefix.size() &&
            CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, key.c_str(), (int)prefix.size(), prefix.c_str(),
                           (int)prefix.size()) == CSTR_EQUAL)
            return (int)i;
    }
    return -1;
}
