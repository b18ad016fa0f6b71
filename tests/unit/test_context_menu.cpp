// The right-button menus of the file lists and the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/context_menu.h"

namespace {

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
    EXPECT_STREQ(items[0].text, "FTP Menu");
    EXPECT_TRUE(items[0].grayed);
}

}  // namespace
