// The main window's rules: the button table, keyboard search, the double-click
// action, the help pages, the right-button menus, the message-line history and
// its colours; saved window geometry, dialog placement and the layout
// arithmetic: dividers, unit scaling, the pane and button rectangles (header
// drags are checked on the real program).
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/dispatch_rules.h"
#include "app/geometry.h"
#include "listing/file_item.h"
#include "resources/resource.h"
#include "ui/context_menu.h"
#include "ui/layout_geometry.h"
#include "ui/log_history.h"

namespace {

// Each row: a state and the buttons that must be enabled; every other
// button of the table must be disabled.
TEST(ButtonTable, EnabledButtonsFollowSelectionConnectionAndCapabilities)
{
    const std::vector<int> alwaysOn = {IDM_LOCAL_CHDIR, IDM_LOCAL_MKDIR, IDM_LOCAL_REFRESH};
    const std::vector<int> connectedOn = {IDM_REMOTE_CHDIR, IDM_UPLOAD, IDM_DOWNLOAD, IDM_REMOTE_REFRESH, IDM_REMOTE_DIRINFO};
    // extra: enabled besides alwaysOn (and connectedOn when connected)
    struct Case { const char *name; PaneState state; std::vector<int> extra; } cases[] = {
        {"idle", {0, 0, false, true, true, true}, {}},
        {"one local", {1, 0, false, false, false, false}, {IDM_LOCAL_VIEW, IDM_LOCAL_DELETE, IDM_LOCAL_RENAME, IDM_LOCAL_EXEC}},
        {"two local", {2, 0, false, false, false, false}, {IDM_LOCAL_VIEW, IDM_LOCAL_DELETE, IDM_LOCAL_RENAME}},
        {"connected, nothing selected", {0, 0, true, true, true, true}, {IDM_REMOTE_MKDIR}},
        {"connected, no capabilities", {0, 1, true, false, false, false}, {IDM_REMOTE_VIEW, IDM_REMOTE_EXEC}},
        {"connected, two remote", {0, 2, true, true, true, true}, {IDM_REMOTE_MKDIR, IDM_REMOTE_VIEW, IDM_REMOTE_DELETE, IDM_REMOTE_RENAME}},
        {"rename only", {0, 1, true, false, true, false}, {IDM_REMOTE_VIEW, IDM_REMOTE_EXEC, IDM_REMOTE_RENAME}},
    };
    for (const Case &c : cases) {
        ButtonState out[BUTTON_STATE_COUNT];
        ComputeButtonStates(c.state, out);
        std::map<int, bool> expected;
        for (const ButtonState &b : out) expected[b.id] = false;
        ASSERT_EQ(expected.size(), (size_t)BUTTON_STATE_COUNT) << "each button once";
        for (int id : alwaysOn) expected[id] = true;
        for (int id : c.extra) expected[id] = true;
        for (int id : connectedOn) expected[id] = expected[id] || c.state.connected;
        for (const ButtonState &b : out) EXPECT_EQ(b.enabled, expected[b.id]) << c.name << ": button " << b.id;
    }
}

const char *NameAt(void *rows, int row) { return (*static_cast<std::vector<std::string> *>(rows))[row].c_str(); }

TEST(KeyboardSearch, NextInitialAfterTheCaretWrappingToTheTop)
{
    std::vector<std::string> rows = {"..", "alpha", "Readme", "beta", "rules.txt", "Zeta", ""};
    struct Case { int caret; char key; int expected; } cases[] = {
        {0, 'R', 2},  {2, 'r', 4},  {4, 'R', 2},    // wraps to the top
        {-1, 'a', 1}, {1, 'A', 1},                  // only the caret's row begins so
        {3, 'z', 5},  {5, 'q', -1}, {0, '.', 0},
        {9, 'b', 3},                                // a caret past the end counts as none
    };
    for (const Case &c : cases)
        EXPECT_EQ(KeyboardSearch((int)rows.size(), c.caret, c.key, NameAt, &rows), c.expected)
            << "caret " << c.caret << " key " << c.key;
}

TEST(DoubleClickAndHelp, FoldersNavigateFilesFollowTheOption)
{
    struct Case { unsigned kind; bool remote; int option; DoubleClickAction expected; } cases[] = {
        {KIND_FOLDER, false, 0, CLICK_NAVIGATE}, {KIND_DRIVE, false, 2, CLICK_NAVIGATE}, {KIND_LINK, true, 0, CLICK_NAVIGATE},
        {KIND_LINK, false, 0, CLICK_TRANSFER}, {KIND_FILE, true, 0, CLICK_TRANSFER}, {KIND_TEXT, false, 1, CLICK_VIEW},
        {KIND_FILE, true, 2, CLICK_NOTHING}, {KIND_FILE, true, 7, CLICK_NOTHING},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DoubleClickFor(c.kind, c.remote, c.option), c.expected)
            << "kind " << c.kind << " remote " << c.remote << " option " << c.option;
    // Help: a page per known context, the contents for any other.
    EXPECT_STREQ(HelpPageFor(45), "session-firewall.html");
    EXPECT_STREQ(HelpPageFor(0), "index.html");
}

// The menu as "id text|id text|..." for searching.
std::string Menu(int remote, int n, int folder)
{
    MenuItemSpec items[MENU_ITEMS_MAX];
    int count = FileListMenuItems(remote, n, folder, items);
    std::string out = "|";
    for (int i = 0; i < count; i++)
        out += std::to_string(items[i].id) + " " + (items[i].text ? items[i].text : "") + "|";
    return out;
}

TEST(FileListMenu, EntriesFollowTheListAndTheSelection)
{
    const struct { int remote, n, folder; std::vector<const char *> present, absent; } cases[] = {
        {1, 1, 0, {"Edit file|", "Execute file|", "chmod (UNIX)|", "Delete files|", "Transfer file|"}, {"Transfer Folder|"}},
        {1, 1, 1, {"Transfer Folder|", "Rename Folder...|", "Move Folder...|"}, {"Delete files|", "Edit file|"}},
        {0, 3, 0, {"|939 Transfer files|", "View files|", "|970 ", "|941 "}, {"|967 ", "|9045 ", "|966 "}},
        {0, 0, 0, {"Transfer file|"}, {"View file|", "Rename file...|"}},
    };
    for (const auto &c : cases) {
        std::string menu = Menu(c.remote, c.n, c.folder);
        for (const char *text : c.present)
            EXPECT_NE(menu.find(text), std::string::npos) << text << " in " << menu;
        for (const char *text : c.absent)
            EXPECT_EQ(menu.find(text), std::string::npos) << text << " in " << menu;
    }
}

TEST(ContextMenus, BothEndWithTheFtpCommandsSubmenu)
{
    MenuItemSpec items[MENU_ITEMS_MAX];
    for (int which = 0; which < 2; which++) {
        int count = which ? MainAreaMenuItems(items) : FileListMenuItems(1, 0, 0, items);
        ASSERT_GT(count, 14);
        EXPECT_EQ(items[count - 1].id, -2) << "submenu closes last";
        EXPECT_EQ(items[count - 2].id, 1314) << "STOR is its last entry";
        int open = -1;
        for (int i = 0; i < count; i++)
            if (items[i].id == -1)
                open = i;
        ASSERT_GE(open, 1);
        EXPECT_STREQ(items[open].text, "&FTP Commands");
        EXPECT_EQ(items[open - 1].id, 0) << "a separator comes before it";
    }
    EXPECT_TRUE(strcmp(items[0].text, "FTP Menu") == 0 && items[0].grayed) << "a grayed title first";
}

// The three message lines, top to bottom, "-" for an empty one.
std::string Shown(const LogHistory &h, const LogDisplay &d)
{
    std::string out;
    for (int i : {d.top, d.middle, d.bottom})
        out += std::string(out.empty() ? "" : "|") + (i < 0 ? "-" : h.lines[i]);
    return out;
}

struct History : ::testing::Test {
    LogHistory h;
    LogDisplay d{};
    void SetUp() override { ResetLogHistory(&h); }
    void Add(int from, int to)
    {
        for (int i = from; i <= to; i++)
            d = AddHistoryLine(&h, std::to_string(i).c_str());
    }
};

TEST_F(History, ShowsTheLastThreeLinesAndDropsTheOldestWhenFull)
{
    Add(1, 1);
    EXPECT_EQ(Shown(h, d), "-|-|1");
    Add(2, 3);
    EXPECT_EQ(Shown(h, d), "1|2|3");
    Add(4, 61);
    EXPECT_EQ(h.count, 59);
    EXPECT_STREQ(h.lines[0], "2");
    EXPECT_EQ(Shown(h, d), "59|60|61");
    AddHistoryLine(&h, std::string(200, 'x').c_str());
    EXPECT_EQ(strlen(h.lines[59]), 118u);
}

TEST_F(History, ScrollingStopsAtBothEnds)
{
    Add(0, 4);
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 1);
    EXPECT_EQ(Shown(h, d), "1|2|3");
    ScrollHistory(&h, -1, &d);
    ScrollHistory(&h, -1, &d);
    d = {7, 7, 7};
    EXPECT_EQ(ScrollHistory(&h, -1, &d), 0) << "at the oldest position nothing moves";
    EXPECT_TRUE(d.bottom == 7 && h.position == 1);
    for (int i = 0; i < 4; i++)
        ScrollHistory(&h, +1, &d);
    EXPECT_EQ(h.position, 5) << "scrolling down stops at the count";
    EXPECT_EQ(ScrollHistory(&h, +1, &d), 0);
}

TEST(MessageLineColour, FollowsTheFirstCharacters)
{
    struct { const char *text; int expected; } cases[] = {
        {"! Connect failed to host", 1}, {"550 No such file", 1}, {"[E] broken", 1}, {"[e] broken", 1},
        {"+ Cancelled", 2},              {"226 Transfer complete", 0}, {"[X] debug", 0}, {"", 0},
    };
    for (auto &c : cases)
        EXPECT_EQ(MessageLineClass(c.text), c.expected) << c.text;
}

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
    EXPECT_TRUE(hidden.slot[SLOT_LOCAL_PANE].width == 338 && hidden.slot[SLOT_REMOTE_PANE].width == 576)
        << "hidden buttons widen the panes";
}

}  // namespace
