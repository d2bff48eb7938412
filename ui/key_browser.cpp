// The key list: every key in table order, and the texts of the selected
// key in the four fields, found by a click, by typing its start or by a
// search for a text.
#include "main_window.h"

#include "res/resource.h"
#include "text/text_store.h"

static HWND KeyList, KeyField, KeyItems;  // the combo box, its edit field and its list
// What the edit field held before the input it handles now: its length and
// how much of it was selected, which that input replaces.
static LRESULT LengthBeforeInput, SelectedBeforeInput;

static const char AbsentText[] = "N/A";

// A game's thousands of keys: the list reserves its storage once and is not
// redrawn after each one, which would take most of the start-up.
static void FillKeyList(void) {
    WPARAM count = 0;
    LPARAM bytes = 0;
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next) {
        ++count;
        bytes += lstrlenA(entry->key) + 1;
    }
    SendMessageA(KeyList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(KeyList, CB_INITSTORAGE, count, bytes);  // only a hint: a refusal is no failure
    for (const TextEntry *entry = TheTextTable.head; entry; entry = entry->next)
        SendMessageA(KeyList, CB_ADDSTRING, 0, (LPARAM)entry->key);
    SendMessageA(KeyList, WM_SETREDRAW, TRUE, 0);
}

INT_PTR StartKeyBrowser(HWND window, HWND proposedFocus) {
    KeyList = GetDlgItem(window, IDC_KEYLIST);
    COMBOBOXINFO parts = {};
    parts.cbSize = sizeof parts;
    if (GetComboBoxInfo(KeyList, &parts)) {
        KeyField = parts.hwndItem;
        KeyItems = parts.hwndList;
    }
    FillKeyList();
    if (proposedFocus == KeyList) return TRUE;
    SetFocus(KeyList);
    return FALSE;
}

// The selected item's text in a new buffer, or null when there is no
// selection, the item cannot be read or the buffer cannot be had.
static char *SelectedKey(void) {
    LRESULT selected = SendMessageA(KeyList, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return NULL;
    LRESULT length = SendMessageA(KeyList, CB_GETLBTEXTLEN, (WPARAM)selected, 0);
    if (length == CB_ERR) return NULL;
    char *key = (char *)LocalAlloc(LMEM_FIXED, (SIZE_T)length + 1);
    if (key && SendMessageA(KeyList, CB_GETLBTEXT, (WPARAM)selected, (LPARAM)key) == CB_ERR) {
        LocalFree(key);
        key = NULL;
    }
    return key;
}

void ShowEntryTexts(HWND window) {
    char *key = SelectedKey();
    if (!key) {
        for (int language = 0; language < LANGUAGE_COUNT; ++language) ShowTextInField(window, language, AbsentText);
        return;
    }
    // A key the table does not hold leaves the fields as they are.
    const TextEntry *entry = FindTextEntry(key);
    if (entry)
        for (int language = 0; language < LANGUAGE_COUNT; ++language)
            ShowTextInField(window, language, entry->texts[language] ? entry->texts[language] : AbsentText);
    LocalFree(key);
}

void WatchKeyFieldInput(const MSG *input) {
    if (!KeyField || input->hwnd != KeyField) return;
    DWORD start = 0, end = 0;
    SendMessageA(KeyField, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
    LengthBeforeInput = GetWindowTextLengthA(KeyField);
    SelectedBeforeInput = end - start;
}

// The key the field's text stands for: the key typed, or one that starts
// so in the same letter case; only then the combo box's own search, which
// ignores letter case and would never reach ABC after abc. CB_ERR for none.
// added tells whether the input put characters in place of the selection
// (typing, pasting) or only took some away (Backspace, Delete, cutting).
static LRESULT TypedKeyPosition(int *added) {
    int length = GetWindowTextLengthA(KeyList);
    *added = length > LengthBeforeInput - SelectedBeforeInput;
    char *typed = (char *)LocalAlloc(LMEM_FIXED, (SIZE_T)length + 1);
    if (!typed) return CB_ERR;
    GetWindowTextA(KeyList, typed, length + 1);
    LRESULT found = FindKeyForTyping(typed);
    if (found < 0) found = SendMessageA(KeyList, CB_FINDSTRING, (WPARAM)-1, (LPARAM)typed);
    LocalFree(typed);
    return found;
}

void ScrollToTypedKey(void) {
    int added;
    LRESULT found = TypedKeyPosition(&added);
    if (found != CB_ERR && added) SendMessageA(KeyItems, LB_SETTOPINDEX, (WPARAM)found, 0);
}

void FindTypedKey(HWND window) {
    int added;
    LRESULT found = TypedKeyPosition(&added);
    if (found != CB_ERR && added) {
        // The whole key, the rest after what was typed selected, so that
        // the next letter replaces only that.
        int typedLength = GetWindowTextLengthA(KeyList);
        SendMessageA(KeyList, CB_SETCURSEL, (WPARAM)found, 0);
        SendMessageA(KeyField, EM_SETSEL, (WPARAM)typedLength, -1);
    } else if (found != CB_ERR) {
        // What is left stays as it is, or Backspace could never get past a
        // completed key: the list alone, since selecting through the combo
        // box would put the whole key back into the field.
        SendMessageA(KeyItems, LB_SETCURSEL, (WPARAM)found, 0);
    }
    ShowEntryTexts(window);
}

int TakeKeyFieldKeys(HWND window, const MSG *input) {
    if (!KeyField || input->hwnd != KeyField || input->message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return 0;
    if (input->wParam != VK_HOME && input->wParam != VK_END) return 0;
    LRESULT count = SendMessageA(KeyList, CB_GETCOUNT, 0, 0);
    if (count <= 0) return 1;
    SendMessageA(KeyList, CB_SETCURSEL, input->wParam == VK_HOME ? 0 : (WPARAM)(count - 1), 0);
    ShowEntryTexts(window);
    return 1;
}

void KeyFieldLostFocus(void) {
    SendMessageA(KeyField, EM_SETSEL, 0, 0);
}

int SelectedKeyPosition(void) {
    return (int)SendMessageA(KeyList, CB_GETCURSEL, 0, 0);
}

void ShowFoundText(HWND window, const TextMatch *match, int length) {
    SendMessageA(KeyList, CB_SETCURSEL, (WPARAM)match->position, 0);
    ShowEntryTexts(window);
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        SelectFoundText(window, language, match->entry->texts[language], match->offsets[language], length);
}
