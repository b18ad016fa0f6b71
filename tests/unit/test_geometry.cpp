// Saved window geometry, dialog placement, and the main window's layout
// arithmetic: dividers, unit scaling, the pane and button rectangles (header
// drags are checked on the real program).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/geometry.h"
#include "ui/layout_geometry.h"

namespace {

// Saved values read field by field: M the main window (defaults for a
// 1024-pixel desktop), L the log window (fields start at 1), C a column list
// (fields start at 9; the count read comes first).
TEST(SavedGeometry, FieldsReadUntilTheFirstMissingComma)
{
    const struct { char kind; const char *text, *expected; } cases[] = {
        {'M', "", "10,10,853,440,426,0"},       {'M', "20,30,700,500", "20,30,700,500,426,0"},
        {'M', "20,30,700,500,350,90", "20,30,700,500,350,90"}, {'M', "4294967288,30,700,500", "-8,30,700,500,426,0"},
        {'M', "20,30,700", "20,30,853,440,426,0"}, {'M', "x,y,z,w", "0,0,0,0,426,0"},
        {'L', "5,6,300,200", "5,6,300,200"},     {'L', "5,6,300", "5,6,1,1"}, {'L', "77", "1,1,1,1"},
        {'L', "4294967291,10,100,100", "-5,10,100,100"},
        {'C', "", "0:9,9,9,9"},                  {'C', "-4,17", "2:-4,17,9,9"}, {'C', "20,140,260,330", "4:20,140,260,330"},
    };
    for (const auto &c : cases) {
        int v[GEO_COUNT] = {1, 1, 1, 1}, count = c.kind == 'M' ? GEO_COUNT : 4;
        std::string got;
        if (c.kind == 'M') {
            DefaultMainGeometry(1024, v);
            ParseMainGeometry(c.text, v);
        } else if (c.kind == 'L') {
            ParseFourFields(c.text, v);
        } else {
            std::fill(v, v + 4, 9);
            got = std::to_string(ParseIntList(c.text, v, 4)) + ":";
        }
        for (int i = 0; i < count; i++)
            got += std::to_string(v[i]) + (i + 1 < count ? "," : "");
        EXPECT_EQ(got, c.expected) << c.kind << " " << c.text;
    }
    EXPECT_EQ(ParseWrappedInt("2147483648"), INT32_MIN);
    EXPECT_EQ(ParseWrappedInt("-12"), -12);
    EXPECT_EQ(ParseWrappedInt("abc"), 0);
}

TEST(Centring, StaysOnTheDesktop)
{
    PlaceRect desktop = {0, 0, 1024, 768};
    int left, top;
    const struct { int width, height; PlaceRect reference; int offset, left, top; } cases[] = {
        {200, 100, desktop, 40, 412, 374},          // centred, moved down by the offset
        {400, 100, {800, 100, 200, 200}, 0, 624, 150}, // pushed back inside from the right edge
        {2000, 1000, desktop, 0, 0, 0},             // never negative
    };
    for (const auto &c : cases) {
        CenterInRect(c.width, c.height, c.reference, desktop, c.offset, &left, &top);
        EXPECT_TRUE(left == c.left && top == c.top) << c.width << ": " << left << "," << top;
    }
}

LayoutResult Lay(int width, int height, int divider, bool hide = false)
{
    LayoutResult out;
    ComputeLayout(LayoutInput{width, height, 8, 16, divider, 0, false, hide, 0}, &out);
    return out;
}

TEST(Layout, PaneDividerDefaultsAndLimits)
{
    const struct { const char *name; int width, divider, expected; } cases[] = {
        {"unset: 33 X", 1000, 0, 264},          {"beyond the width: reset", 1000, 1200, 264},
        {"far left stops at 17 X", 1000, 5, 136}, {"far right stops before the buttons", 1000, 990, 904},
        {"kept inside the limits", 1000, 500, 500}, {"narrow window: X scaled to 5", 300, 0, 33 * 5},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, Lay(c.width, 600, c.divider).paneDivider) << c.name;
    EXPECT_EQ(7, Lay(300, 180, 0).unitY) << "25 Y taller than the client: Y = height * 8 / 200";
}

TEST(Layout, StandardRectangles)
{
    const LayoutResult l = Lay(1000, 600, 400), hidden = Lay(1000, 600, 400, true);
    const struct { int slot; LayoutRect r; } cases[] = {
        {SLOT_LOCAL_FOLDER, {14, 28, 338, 176}},  {SLOT_REMOTE_FOLDER, {408, 28, 576, 176}},
        {SLOT_LOCAL_PANE, {14, 62, 282, 430}},    {SLOT_REMOTE_PANE, {408, 62, 518, 430}},
        {SLOT_LOCAL_BUTTON0 + 8, {304, 286, 54, 28}}, {SLOT_REMOTE_BUTTON0, {934, 62, 54, 28}},
        {SLOT_DOWNLOAD, {368, 245, 28, 28}},      {SLOT_UPLOAD, {368, 277, 28, 28}},
        {SLOT_MODE0 + 2, {550, 500, 78, 20}},     {SLOT_BOTTOM0 + 6, {855, 578, 142, 20}},
    };
    for (const auto &c : cases) {
        const LayoutRect &r = l.slot[c.slot];
        EXPECT_TRUE(c.r.x == r.x && c.r.y == r.y && c.r.width == r.width && c.r.height == r.height)
            << "slot " << c.slot << ": " << r.x << "," << r.y << "," << r.width << "," << r.height;
    }
    EXPECT_EQ(338, hidden.slot[SLOT_LOCAL_PANE].width) << "hidden buttons widen the panes";
    EXPECT_EQ(576, hidden.slot[SLOT_REMOTE_PANE].width);
}

}  // namespace
