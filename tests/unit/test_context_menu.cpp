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

TEST(FileListMenu, EntriesFollowTheListAndTheSelection)
{
    const struct {
        int remote, n, folder;
        std::vector<const char *> present, absent;
    } cases[] = {
        {1, 1, 0, {"Edit file", "Execute file", "chmod (UNIX)", "Delete files", "Transfer file"}, {"Transfer Folder"}},
        {1, 1, 1, {"Transfer Folder", "Rename Folder...", "Move Folder..."}, {"Delete files", "Edit file"}},
        {0, 3, 0, {"Transfer files", "View files"}, {}},
        {0, 0, 0, {"Transfer file"}, {"View file", "Rename file..."}},
    };
    for (const auto &c : cases) {
        auto t = Texts(c.remote, c.n, c.folder);
        for (const char *text : c.present)
            EXPECT_TRUE(Has(t, text)) << text << " in " << c.remote << c.n << c.folder;
        for (const char *text : c.absent)
            EXPECT_FALSE(Has(t, text)) << text << " in " << c.remote << c.n << c.folder;
    }
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
