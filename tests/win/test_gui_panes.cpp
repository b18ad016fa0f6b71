// The panes and the layout of the real program: children, local rows, header buttons, drags,
// saved dividers and columns, HIDBTN, LAYOUT = 1, 144 DPI, and pictures.
#include <gtest/gtest.h>

#include <string>

#include "listing/file_item.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

class Panes : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("panes");
    HWND main = nullptr;

    void SetUp() override
    {
        CreateDirectoryA((folder + "\\Folder B").c_str(), nullptr);
        CreateDirectoryA((folder + "\\afolder").c_str(), nullptr);
        MakeFile("medium.bin", 1000);
        MakeFile("Small.txt", 3);
        MakeFile("a file name much too long to fit into the name column of the pane.dat", 10);
        MakeFile("huge.iso", 5ll << 30);   // sparse: 5 GiB
    }
    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    void MakeFile(const char *name, long long size)
    {
        HANDLE f = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        SetFilePointerEx(f, LARGE_INTEGER{{(DWORD)size, (LONG)(size >> 32)}}, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
    }
    void Start(const std::string &config = "")
    {
        WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\r\nAUTOSTART=0\r\n" + config + "LOC=20,20,900,560\r\n");
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
        ASSERT_NE(main, nullptr);
    }
    HWND Child(int id) { return GetDlgItem(main, id); }
    RECT Rect(int id)
    {
        RECT r{};
        GetWindowRect(Child(id), &r);
        MapWindowPoints(nullptr, main, (POINT *)&r, 2);
        return r;
    }
    // The local rows' names (at most 6 characters each), read from the program's memory.
    std::string Rows()
    {
        std::string names;
        int count = (int)SendMessageA(Child(927), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count && i < 100; i++) {
            const char *data = (const char *)SendMessageA(Child(927), LB_GETITEMDATA, i, 0);
            struct { FileItem head; char more[8]; } row{};   // the row's fields and its first characters
            ReadProcessMemory(app.info.hProcess, data, &row, offsetof(FileItem, text) + 6, nullptr);
            names += (names.empty() ? "" : " ") + std::string(row.head.text, std::min(row.head.nameLength, 6u));
        }
        return names;
    }
    void Mouse(HWND target, UINT message, int x, int y)
    {
        SendMessageA(target, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    void Drag(HWND target, int x0, int y0, int x1, int y1)
    {
        Mouse(target, WM_LBUTTONDOWN, x0, y0);
        Mouse(target, WM_MOUSEMOVE, x1, y1);
        Mouse(target, WM_LBUTTONUP, x1, y1);
    }
    void Click(int id) { Drag(Child(id), 10, 5, 10, 5); }
    void Picture(const char *name) { EXPECT_TRUE(SaveWindowPicture(main, name)) << name; }
};

TEST_F(Panes, EveryChildByItsId)
{
    Start();
    const struct {
        int id;
        const char *cls, *caption;
    } children[] = {
        {960, "ComboBox", nullptr}, {961, "ComboBox", ""}, {924, "ListBox", ""}, {939, "Button", "-->"},
        {940, "Button", "<--"}, {933, "Button", "ChgDir"}, {935, "Button", "MkDir"}, {926, "Edit", "*.*"},
        {941, "Button", "View"}, {9045, "Button", "Exec"}, {947, "Button", "Rename"}, {945, "Button", "Delete"},
        {943, "Button", "Refresh"}, {949, "Button", "DirInfo"}, {934, "Button", "ChgDir"}, {930, "Edit", ""},
        {950, "Button", "DirInfo"}, {1851, "Button", "ASCII"}, {1852, "Button", "Binary"}, {1853, "Button", "Auto"},
        {9000, "Button", "&Connect"}, {9033, "Button", "Ca&ncel"}, {9047, "Button", "&LogWnd"},
        {9041, "Button", "&Help"}, {5130, "Button", "&Options"}, {9037, "Button", "&About"},
        {9042, "Button", "E&xit"}, {927, "ListBox", ""}, {931, "ListBox", ""}, {1200, "Button", "^"},
        {1201, "Button", "Name"}, {1202, "Button", "Date"}, {1203, "Button", "Size"}, {1204, "Button", ""},
        {1205, "Button", "^"}, {1208, "Button", "Size"},
    };
    for (const auto &c : children) {
        char cls[32] = "", text[64] = "";
        GetClassNameA(Child(c.id), cls, sizeof cls);
        SendMessageA(Child(c.id), WM_GETTEXT, sizeof text, (LPARAM)text);
        EXPECT_STRCASEEQ(c.cls, cls) << c.id;
        EXPECT_TRUE(!c.caption || std::string(c.caption) == text) << c.id << " " << text;
    }
    EXPECT_FALSE(IsWindowVisible(Child(924))) << "the drive list is hidden";
    EXPECT_EQ(Rect(1201).bottom, Rect(927).top) << "the headers sit on the list";
    Picture("panes-default.bmp");
}

TEST_F(Panes, LocalRowsAndHeaderButtons)
{
    Start();
    const std::string drives = Rows().substr(Rows().find(" [-"));
    EXPECT_EQ(".. afolde Folder tmp a file huge.i medium Small. VELTRO" + drives, Rows());
    Click(1201);   // Name again: reverse, groups stay
    EXPECT_EQ(0u, Rows().find(".. tmp Folder afolde VELTRO Small. medium huge.i a file [-")) << Rows();
    Click(1203);   // Size: ascending, 5 GiB last of the files
    EXPECT_NE(std::string::npos, Rows().find("medium huge.i [-")) << Rows();
    Click(1200);   // "^" twice: folders at the bottom, ".." stays first
    Click(1200);
    EXPECT_EQ(0u, Rows().find(".. Small. a file")) << Rows();
    SendMessageA(Child(927), LB_SETSEL, TRUE, 2);
    Picture("panes-local-folder.bmp");
}

TEST_F(Panes, SplitterAndHeaderDrags)
{
    Start();
    RECT client, name = Rect(1201), date = Rect(1202);
    GetClientRect(main, &client);
    const int edge = name.right - name.left - 2, y = (Rect(927).top + Rect(927).bottom) / 2;
    Drag(Child(1201), edge, 5, edge + 40, 5);
    EXPECT_EQ(name.right + 38, Rect(1201).right) << "the boundary follows the mouse";
    EXPECT_EQ(date.right + 38, Rect(1202).right) << "later boundaries move along";
    Mouse(Child(1201), WM_LBUTTONDOWN, edge + 38, 5);
    Mouse(Child(1201), WM_MOUSEMOVE, 3, 5);
    Mouse(Child(1201), WM_RBUTTONDOWN, 3, 5);
    Mouse(Child(1201), WM_LBUTTONUP, 3, 5);
    EXPECT_EQ(name.right + 38, Rect(1201).right) << "the secondary button cancels";
    Drag(Child(1202), 2, 5, -500, 5);
    EXPECT_EQ(1, Rect(1201).right - Rect(1201).left) << "one pixel right of the left neighbour";

    // The remote folder box starts at divider + X, "<--" at divider - 4 X.
    const int X = (Rect(961).left - Rect(940).left) / 5;
    Drag(main, Rect(961).left - X, y, 400, y);
    EXPECT_EQ(400 + X, Rect(961).left) << "the remote side follows the divider";
    Drag(main, 400, y, 0, y);
    EXPECT_EQ(18 * X, Rect(961).left) << "far left stops at 17 X";
    Drag(main, 17 * X, y, client.right + 50, y);
    EXPECT_EQ(34 * X, Rect(961).left) << "beyond the width: the default 33 X";

    // Saved dividers and columns (LOC, LOCL) are where the next start puts them.
    KillVeltro(&app);
    Start("LOC=20,20,900,560,300,0\r\nLOCL=20,100,200,270\r\n");
    EXPECT_EQ(300 + X, Rect(961).left) << "the pane divider from LOC";
    EXPECT_EQ(80, Rect(1201).right - Rect(1201).left) << "the columns come back from LOCL";

    SetWindowPos(main, nullptr, 0, 0, 400, 400, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(main, &client);
    EXPECT_LE(Rect(950).right, client.right) << "a narrow window still fits";
    EXPECT_LE(Rect(9042).right, client.right);
    Picture("panes-narrow.bmp");
}

TEST_F(Panes, HiddenButtonsAndTheAlternateArrangement)
{
    Start("HIDBTN=1\r\n");
    EXPECT_FALSE(IsWindowVisible(Child(933)) || IsWindowVisible(Child(950)));
    EXPECT_TRUE(IsWindowVisible(Child(939))) << "the standard transfer buttons stay";
    KillVeltro(&app);

    Start("LAYOUT=1\r\n");
    char up[32], down[32];
    GetWindowTextA(Child(939), up, sizeof up);
    GetWindowTextA(Child(940), down, sizeof down);
    EXPECT_EQ(std::string("Transfer Transfer"), std::string(up) + " " + down);
    EXPECT_GE(Rect(933).top, Rect(927).bottom) << "the buttons sit below the list";
    EXPECT_LE(Rect(939).right, Rect(931).left) << "the local row ends before the remote pane";
    Picture("panes-layout1.bmp");
}

TEST_F(Panes, HighDpi)
{
    HKEY key; DWORD dpi = 144;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key));
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, (const BYTE *)&dpi, sizeof dpi);
    Start("LOC=20,20,1200,700\r\n");
    EXPECT_EQ(MulDiv(120, 144, 96), Rect(1201).right - Rect(1201).left) << "the columns scale with the DPI";
    Picture("panes-144dpi.bmp");
    RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

}  // namespace
