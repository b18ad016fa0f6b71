#include "ui/context_menu.h"

namespace {

struct Builder {
    MenuItemSpec *items;
    int count = 0;
    void add(int id, const char *text, int grayed = 0)
    {
        if (count < MENU_ITEMS_MAX)
            items[count++] = {id, text, grayed};
    }
    void separator() { add(0, nullptr); }
};

void AddFtpCommands(Builder &b)
{
    b.separator();
    b.add(-1, "&FTP Commands");
    b.add(1301, "CWD");
    b.add(1309, "PWD");
    b.add(1303, "HELP");
    b.add(1304, "SYST");
    b.add(1305, "SITE");
    b.add(1310, "QUOTE");
    b.separator();
    b.add(1306, "LIST");
    b.add(1308, "NLST");
    b.separator();
    b.add(1311, "RETR");
    b.add(1314, "STOR");
    b.add(-2, nullptr);
}

}  // namespace

int FileListMenuItems(int remote, int n, int singleFolder, MenuItemSpec *items)
{
    Builder b{items};
    auto id = [remote](int local, int remoteId) { return remote ? remoteId : local; };
    b.add(id(964, 965), "Sort...");
    b.separator();
    b.add(id(933, 934), "Change Folder");
    b.add(id(935, 936), "Make Folder...");
    b.add(id(937, 938), "Delete Folder");
    if (singleFolder) {
        b.add(id(939, 940), "Transfer Folder");
    } else {
        b.separator();
        b.add(id(939, 940), n < 2 ? "Transfer file" : "Transfer files");
        b.add(id(970, 971), n < 2 ? "Append file" : "Append files");
        if (n > 0)
            b.add(id(941, 942), n == 1 ? "View file" : "View files");
        if (n == 1) {
            if (remote)
                b.add(967, "Edit file");
            b.add(id(9045, 9046), "Execute file");
        }
    }
    if (n > 0) {
        b.add(id(947, 948), singleFolder ? "Rename Folder..." : "Rename file...");
        b.add(id(968, 969), singleFolder ? "Move Folder..." : "Move files...");
        if (!singleFolder)
            b.add(id(945, 946), "Delete files");
        if (remote)
            b.add(966, "chmod (UNIX)");
    }
    b.separator();
    b.add(id(943, 944), "Refresh list");
    b.add(id(949, 950), "Folder list");
    AddFtpCommands(b);
    return b.count;
}

int MainAreaMenuItems(MenuItemSpec *items)
{
    Builder b{items};
    b.add(1, "FTP Menu", 1);
    b.separator();
    b.add(-1, "&Connection");
    b.add(1320, "&Connect");
    b.add(1321, "&Close");
    b.separator();
    b.add(9042, "E&xit");
    b.add(-2, nullptr);
    b.add(9036, "&Options...");
    b.add(5557, "Show Log...");
    b.add(9041, "&Help");
    b.add(1500, "About...");
    AddFtpCommands(b);
    return b.count;
}
