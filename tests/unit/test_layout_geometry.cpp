// The main window's layout arithmetic: dividers, unit scaling, the pane and
// button rectangles, the column headers and header-boundary drags.
#include <gtest/gtest.h>

#include "ui/layout_geometry.h"

namespace {

LayoutResult Lay(int width, int height, int divider, bool hide = false, int arrangement = 0)
{
    LayoutInput in = {width, height, 8, 16, divider, 0, false, hide, arrangement};
    LayoutResult out;
    ComputeLayout(in, &out);
    return out;
}

TEST(Layout, PaneDividerDefaultsAndLimits)
{
    const struct {
        const char *name;
        int width, divider, expected;
    } cases[] = {
        {"unset: 33 X", 1000, 0, 264},
        {"beyond the width: reset", 1000, 1200, 264},
        {"far left stops at 17 X", 1000, 5, 136},
        {"far right stops before the remote buttons", 1000, 990, 904},
        {"kept inside the limits", 1000, 500, 500},
        {"narrow window: units scale to fit", 300, 0, 33 * 5},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, Lay(c.width, 600, c.divider).paneDivider) << c.name;
    EXPECT_EQ(5, Lay(300, 600, 0).unitX) << "60 X wider than the client: X = width * 4 / 240";
    EXPECT_EQ(7, Lay(300, 180, 0).unitY) << "25 Y taller than the client: Y = height * 8 / 200";
}

TEST(Layout, StandardRectangles)
{
    const LayoutResult l = Lay(1000, 600, 400);
    const struct {
        int slot, x, y, width, height;
    } cases[] = {
        {SLOT_LOCAL_FOLDER, 14, 28, 338, 176},
        {SLOT_REMOTE_FOLDER, 408, 28, 576, 176},
        {SLOT_LOCAL_PANE, 14, 62, 282, 430},
        {SLOT_REMOTE_PANE, 408, 62, 518, 430},
        {SLOT_LOCAL_BUTTON0 + 8, 304, 62 + 8 * 28, 54, 28},
        {SLOT_REMOTE_BUTTON0, 934, 62, 54, 28},
        {SLOT_DOWNLOAD, 368, 62 + 215 - 32, 28, 28},
        {SLOT_UPLOAD, 368, 62 + 215, 28, 28},
        {SLOT_MODE0 + 2, 500 - 150 + 200, 500, 78, 20},
        {SLOT_LINE2, 20, 556, 946, 16},
        {SLOT_BOTTOM0 + 6, 6 * 142 + 3, 578, 142, 20},
    };
    for (const auto &c : cases) {
        const LayoutRect &r = l.slot[c.slot];
        EXPECT_EQ(c.x, r.x) << "slot " << c.slot;
        EXPECT_EQ(c.y, r.y) << "slot " << c.slot;
        EXPECT_EQ(c.width, r.width) << "slot " << c.slot;
        EXPECT_EQ(c.height, r.height) << "slot " << c.slot;
    }
    EXPECT_EQ(338, Lay(1000, 600, 400, true).slot[SLOT_LOCAL_PANE].width) << "hidden buttons widen the panes";
    EXPECT_EQ(576, Lay(1000, 600, 400, true).slot[SLOT_REMOTE_PANE].width);
}

TEST(Layout, AlternateArrangementKeepsEverythingApart)
{
    const LayoutResult l = Lay(1000, 600, 0, false, 1);
    EXPECT_FALSE(l.splitters);
    const LayoutRect &local = l.slot[SLOT_LOCAL_PANE], &remote = l.slot[SLOT_REMOTE_PANE];
    EXPECT_EQ(local.width, remote.width);
    EXPECT_LT(local.x + local.width, remote.x);
    for (int k = 0; k < 9; k++) {
        const LayoutRect &b = l.slot[SLOT_LOCAL_BUTTON0 + k];
        EXPECT_GE(b.y, local.y + local.height) << "button " << k << " below the pane";
        EXPECT_LE(b.x + b.width, l.slot[SLOT_UPLOAD].x);
        EXPECT_LE(b.y + b.height, l.slot[SLOT_MODE0].y);
    }
    EXPECT_GE(l.slot[SLOT_REMOTE_BUTTON0].x, l.slot[SLOT_DOWNLOAD].x + l.slot[SLOT_DOWNLOAD].width);
}

TEST(Layout, HeaderButtonsFollowTheColumns)
{
    const int bounds[4] = {20, 140, 260, 330};
    const struct {
        int scroll, width;
        int left[5], span[5];
    } cases[] = {
        {0, 400, {0, 20, 140, 260, 330}, {20, 120, 120, 70, 70}},
        {30, 200, {0, 0, 110, 200, 200}, {0, 110, 90, 0, 0}},
    };
    for (const auto &c : cases) {
        int left[5], width[5];
        HeaderSpans(bounds, c.scroll, c.width, left, width);
        for (int k = 0; k < 5; k++) {
            EXPECT_EQ(c.left[k], left[k]) << "button " << k << " scroll " << c.scroll;
            EXPECT_EQ(c.span[k], width[k]) << "button " << k << " scroll " << c.scroll;
        }
    }
}

TEST(Layout, HeaderBoundaryDrags)
{
    const struct {
        int index, x;
        int after[4];
    } drops[] = {
        {2, 100, {20, 140, 141, 211}},   // left of its neighbour: one pixel right of it
        {1, 200, {20, 200, 320, 390}},   // later boundaries move along
        {0, -50, {1, 121, 241, 311}},
    };
    for (const auto &d : drops) {
        int bounds[4] = {20, 140, 260, 330};
        DropBoundary(bounds, d.index, d.x);
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(d.after[k], bounds[k]) << "boundary " << d.index << " to " << d.x;
    }
    EXPECT_EQ(-1, BoundaryAtHeaderPoint(0, 2, 20, 6)) << "no boundary left of the first button";
    EXPECT_EQ(0, BoundaryAtHeaderPoint(1, 3, 120, 6));
    EXPECT_EQ(1, BoundaryAtHeaderPoint(1, 116, 120, 6));
    EXPECT_EQ(-1, BoundaryAtHeaderPoint(1, 60, 120, 6));
    EXPECT_EQ(-1, BoundaryAtHeaderPoint(4, 66, 70, 6)) << "the empty last button has no right boundary";
}

}  // namespace
