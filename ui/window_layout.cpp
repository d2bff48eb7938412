// The main window's layout at any size: at the template's size, the
// template's; larger, the key list grows in height, the four fields grow in
// width and share the added height, each label at its field's top, and the
// buttons keep to the bottom right.
#include "main_window.h"

#include "res/resource.h"

enum { MOST_CONTROLS = 16 };

// The controls in template order, and their rectangles in the client area
// at the template's size, in pixels.
static HWND Controls[MOST_CONTROLS];
static RECT TemplateRects[MOST_CONTROLS];
static int ControlCount;
static SIZE TemplateClient, TemplateFrame;

void RecordTemplateLayout(HWND window) {
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    TemplateClient.cx = client.right;
    TemplateClient.cy = client.bottom;
    TemplateFrame.cx = frame.right - frame.left;
    TemplateFrame.cy = frame.bottom - frame.top;
    ControlCount = 0;
    // A dialog's children follow one another in template order.
    for (HWND child = GetWindow(window, GW_CHILD); child && ControlCount < MOST_CONTROLS;
         child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &TemplateRects[ControlCount]);
        MapWindowPoints(NULL, window, (POINT *)&TemplateRects[ControlCount], 2);
        Controls[ControlCount++] = child;
    }
}

void LimitWindowSize(MINMAXINFO *limits) {
    if (!ControlCount) return;
    limits->ptMinTrackSize.x = TemplateFrame.cx;
    limits->ptMinTrackSize.y = TemplateFrame.cy;
}

int FrameHeightShowingLines(HWND window, int lines) {
    // A line of the dialog's font, which the fields have, is 8 dialog
    // units high: a dialog unit is an eighth of the font's height.
    RECT wanted = {0, 0, 0, 8 * lines}, shown;
    MapDialogRect(window, &wanted);
    SendMessageA(GetDlgItem(window, IDC_ENGLISH), EM_GETRECT, 0, (LPARAM)&shown);
    int missing = wanted.bottom - (shown.bottom - shown.top);
    // Each field takes its share of what the window adds, rounded down.
    return TemplateFrame.cy + (missing > 0 ? LANGUAGE_COUNT * (missing + 1) : 0);
}

static int FieldLanguage(HWND control) {
    int language = GetDlgCtrlID(control) - IDC_ENGLISH;
    return language >= 0 && language < LANGUAGE_COUNT ? language : -1;
}

// The language of a text field, or of its label, which comes just before
// it; -1 for another control.
static int LanguageAt(int index) {
    int language = FieldLanguage(Controls[index]);
    if (language >= 0 || index + 1 >= ControlCount) return language;
    return FieldLanguage(Controls[index + 1]);
}

void LayOutControls(HWND window, int width, int height) {
    if (!ControlCount) return;
    // Smaller than the template only where the screen is: the template's
    // layout, cut at the edge rather than controls of negative size.
    int addedWidth = width > TemplateClient.cx ? width - TemplateClient.cx : 0;
    int addedHeight = height > TemplateClient.cy ? height - TemplateClient.cy : 0;
    HDWP moves = BeginDeferWindowPos(ControlCount);
    for (int i = 0; i < ControlCount; ++i) {
        RECT rect = TemplateRects[i];
        int language = LanguageAt(i);
        if (GetDlgCtrlID(Controls[i]) == IDC_KEYLIST) {
            rect.bottom += addedHeight;
        } else if (language >= 0) {
            // Field i moves down by the shares of the fields above it.
            int above = addedHeight * language / LANGUAGE_COUNT;
            OffsetRect(&rect, 0, above);
            if (FieldLanguage(Controls[i]) == language) {
                rect.right += addedWidth;
                rect.bottom += addedHeight * (language + 1) / LANGUAGE_COUNT - above;
            }
        } else {
            OffsetRect(&rect, addedWidth, addedHeight);
        }
        if (moves)
            moves = DeferWindowPos(moves, Controls[i], NULL, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves) EndDeferWindowPos(moves);
    // The dialog's class redraws only what a larger window adds.
    InvalidateRect(window, NULL, TRUE);
    FitScrollBars(window);
}
