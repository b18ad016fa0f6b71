#include "ui/layout_geometry.h"

static int Max(int a, int b) { return a > b ? a : b; }
static int Min(int a, int b) { return a < b ? a : b; }

int LimitPaneDivider(int divider, int width, int X)
{
    if (divider <= 0 || divider > width)
        divider = 33 * X;
    divider = Min(divider, width - 33 * X / 4 - 30);
    return Max(divider, 17 * X);
}

int LimitLogDivider(int divider, int height, int Y, bool buttonsOnTop)
{
    const int top = buttonsOnTop ? 12 * Y / 8 : 0;
    if (divider <= 0)
        divider = top + 83 * Y / 8;
    divider = Max(divider, top + 31 * Y / 8);
    return Min(divider, top + height - 46 * Y / 8);
}

static LayoutRect Rect(int x, int y, int w, int h)
{
    return LayoutRect{x, y, Max(w, 0), Max(h, 0)};
}

// The rows shared by both arrangements: folder boxes, status and message
// lines, mode buttons and the bottom buttons.
static void CommonRows(int W, int H, int X, int Y, int T, int D, LayoutResult *o)
{
    o->slot[SLOT_LOCAL_FOLDER] = Rect(7 * X / 4, T + 14 * Y / 8, D - 4 * X - 2 * X - 7 * X / 4, 11 * Y);
    o->slot[SLOT_REMOTE_FOLDER] = Rect(D + X, T + 14 * Y / 8, W - 2 * X - (D + X), 11 * Y);
    for (int k = 0; k < 3; k++)
        o->slot[SLOT_MODE0 + k] = Rect(W / 2 - 75 * X / 4 + k * 50 * X / 4, T + H - 50 * Y / 8, 39 * X / 4, 10 * Y / 8);
    o->slot[SLOT_STATUS0] = Rect(10 * X / 4, T + H - 50 * Y / 8, 38 * X / 4, Y);
    o->slot[SLOT_STATUS1] = Rect(W - 10 * X / 4 - 38 * X / 4, T + H - 50 * Y / 8, 38 * X / 4, Y);
    const int lines[3] = {38, 30, 22};
    for (int k = 0; k < 3; k++)
        o->slot[SLOT_LINE0 + k] = Rect(10 * X / 4, T + H - lines[k] * Y / 8, W - 27 * X / 4, Y);
    o->slot[SLOT_SCROLL] = Rect(W - 16 * X / 4, T + H - 38 * Y / 8, 10 * X / 4, 3 * Y);
    const int bottomY = T > 0 ? 1 : H - 11 * Y / 8;
    for (int k = 0; k < 7; k++)
        o->slot[SLOT_BOTTOM0 + k] = Rect((W % 7) / 2 + k * (W / 7), bottomY, W / 7, 10 * Y / 8);
    o->titleY = T + Y / 4;
    const LayoutRect &first = o->slot[SLOT_LINE0], &bar = o->slot[SLOT_SCROLL];
    o->messageFrame = Rect(first.x - 5, first.y, bar.x + bar.width + 5 - (first.x - 5), 3 * Y);
}

static void Standard(int W, int H, int X, int Y, int T, bool hide, LayoutResult *o)
{
    const int D = o->paneDivider;
    const int top = T + 31 * Y / 8, height = H - 54 * Y / 8 - 31 * Y / 8;
    const int localWidth = hide ? D - 4 * X - 2 * X - 7 * X / 4 : D - 12 * X - 7 * X / 4 - X;
    const int remoteWidth = hide ? W - 2 * X - (D + X) : W - 33 * X / 4 - Max(X, D + X) - X;
    o->slot[SLOT_LOCAL_PANE] = Rect(7 * X / 4, top, localWidth, height);
    o->slot[SLOT_REMOTE_PANE] = Rect(D + X, top, remoteWidth, height);
    const int b = Min(Max(height, 0) / 9, 14 * Y / 8);
    for (int k = 0; k < 9; k++) {
        o->slot[SLOT_LOCAL_BUTTON0 + k] = Rect(D - 12 * X, top + k * b, 27 * X / 4, b);
        o->slot[SLOT_REMOTE_BUTTON0 + k] = Rect(W - 33 * X / 4, top + k * b, 27 * X / 4, b);
    }
    o->localColumn = Rect(D - 12 * X, top, 27 * X / 4, 9 * b);
    o->remoteColumn = Rect(W - 33 * X / 4, top, 27 * X / 4, 9 * b);
    o->slot[SLOT_DOWNLOAD] = Rect(D - 4 * X, top + height / 2 - 2 * Y, 14 * X / 4, 14 * Y / 8);
    o->slot[SLOT_UPLOAD] = Rect(D - 4 * X, top + height / 2, 14 * X / 4, 14 * Y / 8);
    o->splitters = true;
    o->columnFrames = !hide;
}

// The alternate arrangement: two panes of equal width, each with its
// buttons in one row below it, the "Transfer" button of each side at the
// end of its row nearest the other pane. No splitters.
static void Alternate(int W, int H, int X, int Y, int T, bool hide, LayoutResult *o)
{
    const int gap = X;
    const int left = 7 * X / 4, right = W - 2 * X;
    const int paneWidth = (right - left - gap) / 2;
    const int D = left + paneWidth + gap - X;   // the remote pane starts at D + X
    o->paneDivider = D;
    const int rowHeight = 14 * Y / 8;
    const int top = T + 31 * Y / 8;
    const int bottom = T + H - 54 * Y / 8;
    const int height = bottom - top - (hide ? 0 : rowHeight + Y / 2);
    o->slot[SLOT_LOCAL_PANE] = Rect(left, top, paneWidth, height);
    o->slot[SLOT_REMOTE_PANE] = Rect(D + X, top, paneWidth, height);
    const int rowY = top + height + Y / 4;
    const int step = paneWidth / 10;
    for (int k = 0; k < 9; k++) {
        o->slot[SLOT_LOCAL_BUTTON0 + k] = Rect(left + k * step, rowY, step, rowHeight);
        o->slot[SLOT_REMOTE_BUTTON0 + k] = Rect(D + X + (k + 1) * step, rowY, step, rowHeight);
    }
    o->slot[SLOT_UPLOAD] = Rect(left + 9 * step, rowY, paneWidth - 9 * step, rowHeight);
    o->slot[SLOT_DOWNLOAD] = Rect(D + X, rowY, step, rowHeight);
    o->localColumn = Rect(left, rowY, paneWidth, rowHeight);
    o->remoteColumn = Rect(D + X, rowY, paneWidth, rowHeight);
    o->splitters = false;
    o->columnFrames = false;
    (void)W;
}

void ComputeLayout(const LayoutInput &in, LayoutResult *o)
{
    *o = LayoutResult{};
    const int W = Max(in.width, 200), H = Max(in.height, 100);
    int X = in.unitX > 0 ? in.unitX : 8, Y = in.unitY > 0 ? in.unitY : 16;
    if (60 * X > W)
        X = W * 4 / 240;
    if (25 * Y > H)
        Y = H * 8 / 200;
    X = Max(X, 1);
    Y = Max(Y, 1);
    o->unitX = X;
    o->unitY = Y;
    const int T = in.buttonsOnTop ? 12 * Y / 8 : 0;
    o->headerHeight = 10 * Y / 8;
    o->logDivider = LimitLogDivider(in.logDivider, H, Y, in.buttonsOnTop);
    if (in.arrangement == 1) {
        Alternate(W, H, X, Y, T, in.hideButtons, o);
    } else {
        o->paneDivider = LimitPaneDivider(in.paneDivider, W, X);
        Standard(W, H, X, Y, T, in.hideButtons, o);
    }
    CommonRows(W, H, X, Y, T, o->paneDivider, o);
    if (in.arrangement == 1) {
        // The folder boxes line up with the panes below them.
        o->slot[SLOT_LOCAL_FOLDER].width = o->slot[SLOT_LOCAL_PANE].width;
        o->slot[SLOT_REMOTE_FOLDER].width = o->slot[SLOT_REMOTE_PANE].width;
    }
}

int SplitterAt(const LayoutResult &l, int x, int y)
{
    if (!l.splitters)
        return 0;
    if (x >= l.paneDivider - 5 && x <= l.paneDivider + 2)
        return 1;
    if (y >= l.logDivider - 5 && y <= l.logDivider + 5)
        return 2;
    return 0;
}

void HeaderSpans(const int bounds[4], int scroll, int listWidth, int left[5], int width[5])
{
    for (int k = 0; k < 5; k++) {
        int from = (k == 0 ? 0 : bounds[k - 1]) - scroll;
        int to = k == 4 ? listWidth : bounds[k] - scroll;
        if (from >= listWidth) {
            left[k] = listWidth;
            width[k] = 0;
            continue;
        }
        from = Max(from, 0);
        to = Min(to, listWidth);
        left[k] = from;
        width[k] = Max(to - from, 0);
    }
}

int LimitBoundaryDrag(const int bounds[4], int index, int x)
{
    const int neighbour = index > 0 ? bounds[index - 1] : 0;
    return Max(x, neighbour + 1);
}

void DropBoundary(int bounds[4], int index, int x)
{
    if (index < 0 || index > 3)
        return;
    const int shift = LimitBoundaryDrag(bounds, index, x) - bounds[index];
    for (int k = index; k < 4; k++)
        bounds[k] += shift;
}

int BoundaryAtHeaderPoint(int button, int offset, int width, int margin)
{
    if (button > 0 && offset < margin)
        return button - 1;
    if (button < 4 && offset >= width - margin)
        return button;
    return -1;
}

void FitColumns(int bounds[4], int dateWidth, int sizeWidth, bool exact)
{
    int date = bounds[2] - bounds[1], size = bounds[3] - bounds[2];
    date = exact ? dateWidth : Max(date, dateWidth);
    size = exact ? sizeWidth : Max(size, sizeWidth);
    bounds[2] = bounds[1] + date;
    bounds[3] = bounds[2] + size;
}

int FitTextHeight(int height, const int *need, const int *room, int count)
{
    int fitted = height;
    for (int k = 0; k < count; k++)
        if (need[k] > room[k] && need[k] > 0) {
            const int scaled = (int)((long long)height * Max(room[k], 0) / need[k]);
            fitted = scaled < fitted ? scaled : fitted;
        }
    return Max(fitted, 6);
}
