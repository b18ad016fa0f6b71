// The right-button menus of the main window, built into the shared popup
// menu. The menu content is decided by a pure function so it can be tested
// without windows.
#pragma once

enum { MENU_ITEMS_MAX = 48 };

struct MenuItemSpec {
    int id;            // 0 for a separator; -1 opens a submenu, -2 closes it
    const char *text;
    int grayed;
};

// A file list's menu: remote or local list, n selected rows, and whether
// that selection is exactly one folder. Returns the item count.
int FileListMenuItems(int remote, int selected, int singleFolder, MenuItemSpec *items);
// The menu of any other main-window area.
int MainAreaMenuItems(MenuItemSpec *items);
