// The right-button menus of the file lists and the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/context_menu.h"

namespace {

std::vector<std::string> Texts(int remote, int n, int folder)
{
    MenuItemSpec items[MENU_ITEMS_MAX];
    int count = FileListMenuItems(remote, n, folder, items);
    std::vector<std::string> out;
    for (int i = 0; i < count; i++)
        if (items[i].text)
            out.push_back(items[i].text);
    return out;
}

bool Has(const std::vector<std::string> &v, const char *text)
{
    for (auto &s : v)
        if (s == text)
            return true;
    return false;
}

TEST(FileListMenu, RemoteSingleFile)
{
    auto t = Texts(1, 1, 0);
    EXPECT_TRUE(Has(t, "Edit file"));
    EXPECT_TRUE(Has(t, "Execute file"));
    EXPECT_TRUE(Has(t, "chmod (UNIX)"));
    EXPECT_TRUE(Has(t, "Delete files"));
    EXPECT_TRUE(Has(t, "Transfer file"));
    EXPECT_FALSE(Has(t, "Transfer Folder"));
}

TEST(FileListMenu, RemoteSingleFolder)
{
    auto t = Texts(1, 1, 1);
    EXPECT_TRUE(Has(t, "Transfer Folder"));
    EXPECT_TRUE(Has(t, "Rename Folder..."));
    EXPECT_TRUE(Has(t, "Move Folder..."));
    EXPECT_FALSE(Has(t, "Delete files"));
    EXPECT_FALSE(Has(t, "Edit file"));
}

TEST(FileListMenu, LocalSelectionsAndCommandIds)
{
    MenuItemSpec items[MENU_ITEMS_MAX];
    int count = FileListMenuItems(0, 3, 0, items);
    std::vector<int> ids;
    for (int i = 0; i < count; i++)
        ids.push_back(items[i].id);
    auto has = [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    EXPECT_TRUE(has(939)) << "Transfer files uploads";
    EXPECT_TRUE(has(970));
    EXPECT_TRUE(has(941));
    EXPECT_FALSE(has(967)) << "no Edit file on the local list";
    EXPECT_FALSE(has(9045)) << "Execute only for one file";
    EXPECT_FALSE(has(966));
    auto t = Texts(0, 3, 0);
    EXPECT_TRUE(Has(t, "Transfer files"));
    EXPECT_TRUE(Has(t, "View files"));
    auto none = Texts(0, 0, 0);
    EXPECT_FALSE(Has(none, "View file"));
    EXPECT_FALSE(Has(none, "Rename file..."));
    EXPECT_TRUE(Has(none, "Transfer file"));
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
    int count = MainAreaMenuItems(items);
    EXPECT_STREQ(items[0].text, "FTP Menu");
    EXPECT_TRUE(items[0].grayed);
    (void)count;
}

}  // namespace
