// The main window's layout arithmetic: dividers, unit scaling, the pane and
// button rectangles (header drags are checked on the real program).
#include <gtest/gtest.h>

#include "ui/layout_geometry.h"

namespace {

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
