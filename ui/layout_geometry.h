// The main window's layout as arithmetic: every child rectangle from the
// client size, the dialog-base units, the dividers and the options; the
// column headers of a file list from its column boundaries; the limits of
// the splitters and of header-boundary drags. No window system here: the
// Win32 side only moves windows to what these functions return.
#pragma once

struct LayoutRect { int x, y, width, height; };

// The children placed by the layout, in the order of the child table.
enum LayoutSlot {
    SLOT_LOCAL_FOLDER,
    SLOT_REMOTE_FOLDER,
    SLOT_LINE0, SLOT_LINE1, SLOT_LINE2,
    SLOT_STATUS0, SLOT_STATUS1,
    SLOT_SCROLL,
    SLOT_UPLOAD,      // 939
    SLOT_DOWNLOAD,    // 940
    SLOT_LOCAL_BUTTON0,                        // nine: ChgDir .. DirInfo (the mask third)
    SLOT_REMOTE_BUTTON0 = SLOT_LOCAL_BUTTON0 + 9,
    SLOT_MODE0 = SLOT_REMOTE_BUTTON0 + 9,      // ASCII, Binary, Auto
    SLOT_BOTTOM0 = SLOT_MODE0 + 3,             // seven bottom buttons
    SLOT_LOCAL_PANE = SLOT_BOTTOM0 + 7,        // header row and list
    SLOT_REMOTE_PANE,
    SLOT_COUNT
};

struct LayoutInput {
    int width, height;       // client size in pixels
    int unitX, unitY;        // dialog-base units
    int paneDivider;         // 0 or less: default
    int logDivider;          // 0 or less: default
    bool buttonsOnTop;       // BONTOP
    bool hideButtons;        // HIDBTN
    int arrangement;         // LAYOUT: 0 standard, 1 alternate
};

struct LayoutResult {
    LayoutRect slot[SLOT_COUNT];
    int unitX, unitY;             // after scaling for a small client
    int paneDivider, logDivider;  // after defaults and limits
    int headerHeight;             // top part of each pane taken by the headers
    int titleY;                   // pane titles, at the folder boxes' x
    bool splitters;               // the arrangement has splitters
    bool columnFrames;            // raised frames around the button columns
    LayoutRect localColumn, remoteColumn;   // the button columns' extent
    LayoutRect messageFrame;      // around the message lines and scroll bar
};

void ComputeLayout(const LayoutInput &in, LayoutResult *out);

// The pane divider after defaults and limits for a client width (units
// already scaled). 0 or less, or beyond the width, means the default.
int LimitPaneDivider(int divider, int width, int unitX);
int LimitLogDivider(int divider, int height, int unitY, bool buttonsOnTop);

// Which splitter strip a client point is in: 0 none, 1 the pane divider's
// (from 5 left to 2 right of it), 2 the log divider's (within 5).
int SplitterAt(const LayoutResult &layout, int x, int y);

// The five header buttons of a list: button k spans boundary k-1 (0 for the
// first) to boundary k, shifted left by the scroll offset and clipped to
// the list; the last one ends at the list's right edge. x is relative to
// the list's left edge (0 .. listWidth).
void HeaderSpans(const int bounds[4], int scroll, int listWidth, int left[5], int width[5]);

// Header-boundary drags: boundary index 0..3. The line never goes left of
// the boundary's left neighbour + 1; dropping moves that boundary and every
// later one by the same amount.
int LimitBoundaryDrag(const int bounds[4], int index, int x);
void DropBoundary(int bounds[4], int index, int x);
// A font height (pixels) made smaller, in proportion, until each text fits:
// text k needs need[k] pixels (its width or its line height) and has
// room[k]. Never below 6 pixels.
int FitTextHeight(int height, const int *need, const int *room, int count);
// Fits the date and size columns to the list font's texts (widths in
// pixels, padding included): they widen to their texts, and with exact (the
// font was changed) take exactly them. The size column moves with the date
// column; the name column keeps its width.
void FitColumns(int bounds[4], int dateWidth, int sizeWidth, bool exact);
// Which boundary a point near a header button's edge drags: -1 for none.
// Button k; offset from the button's left edge; its width.
int BoundaryAtHeaderPoint(int button, int offset, int width, int margin);
