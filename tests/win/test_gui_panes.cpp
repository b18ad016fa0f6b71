// The two panes and the layout of the real program: its children by id,
// the local folder's rows read back from the program's memory, the header
// buttons, the splitter and header-boundary drags, HIDBTN and LAYOUT = 1,
// and pictures of each arrangement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing/file_item.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

class Panes : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder;
    HWND main = nullptr;

    void SetUp() override
    {
        folder = MakeTestFolder("panes");
        CreateDirectoryA((folder + "\\Folder B").c_str(), nullptr);
        CreateDirectoryA((folder + "\\afolder").c_str(), nullptr);
        MakeFile("medium.bin", 1000, 2021);
        MakeFile("Small.txt", 3, 2023);
        MakeFile("a file name much too long to fit into the name column of the pane.dat", 10, 2022);
        MakeFile("huge.iso", 5ull << 30, 2020);   // sparse: 5 GiB
        typedef BOOLEAN(WINAPI * LinkFn)(const char *, const char *, DWORD);
        if (LinkFn link = (LinkFn)(void *)GetProcAddress(GetModuleHandleA("kernel32"), "CreateSymbolicLinkA"))
            link((folder + "\\link.txt").c_str(), (folder + "\\Small.txt").c_str(), 0);
    }
    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    void MakeFile(const char *name, unsigned long long size, int year)
    {
        HANDLE f = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = (LONGLONG)size;
        SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        SYSTEMTIME st = {(WORD)year, 6, 0, 15, 12, 0, 0, 0};
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        SetFileTime(f, nullptr, nullptr, &ft);
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
    // The names of the rows, read from the program's memory.
    std::vector<std::string> Rows(int id)
    {
        std::vector<std::string> names;
        int count = (int)SendMessageA(Child(id), LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count && i < 1000; i++) {
            LRESULT data = SendMessageA(Child(id), LB_GETITEMDATA, i, 0);
            FileItem head{};
            char text[300] = "";
            SIZE_T got = 0;
            ReadProcessMemory(app.info.hProcess, (void *)data, &head, offsetof(FileItem, text), &got);
            ReadProcessMemory(app.info.hProcess, (char *)data + offsetof(FileItem, text), text,
                              head.nameLength < 299 ? head.nameLength : 299, &got);
            names.push_back(std::string(text, head.nameLength < 299 ? head.nameLength : 299));
        }
        return names;
    }
    std::string Files(int id)   // the rows between the folders and the drives
    {
        std::string order;
        for (const std::string &n : Rows(id))
            if (n != ".." && n[0] != '[' && n.find("folder") == std::string::npos &&
                n.find("Folder") == std::string::npos && n != "tmp")
                order += (order.empty() ? "" : " ") + n.substr(0, 6);
        return order;
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
    void Click(int id)
    {
        RECT r;
        GetClientRect(Child(id), &r);
        Mouse(Child(id), WM_LBUTTONDOWN, r.right / 2, r.bottom / 2);
        Mouse(Child(id), WM_LBUTTONUP, r.right / 2, r.bottom / 2);
    }
    void Picture(const char *name) { EXPECT_TRUE(SaveWindowPicture(main, name)) << name; }
};

TEST_F(Panes, EveryChildByItsId)
{
    Start();
    const struct {
        int id;
        const char *cls, *caption;
        bool enabled;
    } children[] = {
        {960, "ComboBox", nullptr, true}, {961, "ComboBox", "", true}, {924, "ListBox", "", true},
        {939, "Button", "-->", true},     {940, "Button", "<--", true},  {933, "Button", "ChgDir", true},
        {935, "Button", "MkDir", true},   {926, "Edit", "*.*", true},    {941, "Button", "View", true},
        {9045, "Button", "Exec", true},   {947, "Button", "Rename", true}, {945, "Button", "Delete", true},
        {943, "Button", "Refresh", true}, {949, "Button", "DirInfo", true}, {934, "Button", "ChgDir", true},
        {930, "Edit", "", true},          {950, "Button", "DirInfo", true}, {1851, "Button", "ASCII", true},
        {1852, "Button", "Binary", true}, {1853, "Button", "Auto", true}, {9000, "Button", "&Connect", true},
        {9033, "Button", "Ca&ncel", true}, {9047, "Button", "&LogWnd", true}, {9041, "Button", "&Help", true},
        {5130, "Button", "&Options", true}, {9037, "Button", "&About", true}, {9042, "Button", "E&xit", true},
        {927, "ListBox", "", true},       {931, "ListBox", "", true},    {1200, "Button", "^", true},
        {1201, "Button", "Name", true},   {1202, "Button", "Date", true}, {1203, "Button", "Size", true},
        {1204, "Button", "", true},       {1205, "Button", "^", true},   {1208, "Button", "Size", true},
    };
    for (const auto &c : children) {
        HWND w = Child(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        char cls[32], text[64];
        GetClassNameA(w, cls, sizeof cls);
        SendMessageA(w, WM_GETTEXT, sizeof text, (LPARAM)text);
        EXPECT_STRCASEEQ(c.cls, cls) << c.id;
        if (c.caption) {
            EXPECT_STREQ(c.caption, text) << c.id;
        }
        EXPECT_EQ(c.enabled, IsWindowEnabled(w) != 0) << c.id;
    }
    EXPECT_FALSE(IsWindowVisible(Child(924))) << "the drive list is hidden";
    RECT header = Rect(1201), list = Rect(927);
    EXPECT_EQ(header.bottom, list.top) << "the headers sit on the list";
    Picture("panes-default.bmp");
}

TEST_F(Panes, LocalFolderRowsAndHeaderButtons)
{
    Start();
    std::vector<std::string> rows = Rows(927);
    ASSERT_GE(rows.size(), 8u);
    EXPECT_EQ("..", rows[0]);
    EXPECT_EQ("afolder", rows[1]);
    EXPECT_EQ("Folder B", rows[2]);
    EXPECT_EQ('[', rows.back()[0]) << "drives last";
    EXPECT_EQ("a file huge.i medium Small. VELTRO", Files(927));
    Click(1201);   // Name again: reverse
    EXPECT_EQ("VELTRO Small. medium huge.i a file", Files(927));
    Click(1202);   // Date: newest first
    EXPECT_EQ(0u, Files(927).find("VELTRO")) << Files(927);
    EXPECT_NE(std::string::npos, Files(927).find("Small. a file medium huge.i")) << Files(927);
    Click(1203);   // Size: ascending, 5 GiB last
    EXPECT_EQ("huge.i", Files(927).substr(Files(927).size() - 6));
    Click(1200);   // "^" twice: folders at the bottom
    Click(1200);
    EXPECT_EQ("Small.txt", Rows(927)[1]);
    EXPECT_EQ("..", Rows(927)[0]);
    SendMessageA(Child(927), LB_SETSEL, TRUE, 2);
    Picture("panes-local-folder.bmp");

    PostMessageA(main, WM_COMMAND, IDM_LOCAL_SORT, 0);
    HWND dialog = WaitForWindow(app, "#32770", "Local Sort Options", 10000);
    ASSERT_NE(dialog, nullptr);
    SendMessageA(GetDlgItem(dialog, IDC_SORT_NONE + 1), BM_CLICK, 0, 0);   // name
    SendMessageA(GetDlgItem(dialog, IDC_SORT_TOP), BM_CLICK, 0, 0);        // folders on top
    SendMessageA(GetDlgItem(dialog, IDC_SORT_REVERSE), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(dialog); i++)
        Sleep(100);
    EXPECT_EQ("tmp", Rows(927)[1]) << "the dialog's setting: name, reversed, folders on top";
    EXPECT_EQ("VELTRO Small. medium huge.i a file", Files(927));
}

TEST_F(Panes, SplitterAndHeaderDrags)
{
    Start();
    RECT client;
    GetClientRect(main, &client);
    const int y = (Rect(927).top + Rect(927).bottom) / 2;
    RECT name = Rect(1201), date = Rect(1202);
    HWND nameButton = Child(1201);
    const int edge = name.right - name.left - 2;
    Drag(nameButton, edge, 5, edge + 40, 5);
    EXPECT_EQ(name.right + 40 - 2, Rect(1201).right) << "the boundary follows the mouse";
    EXPECT_EQ(date.right + 40 - 2, Rect(1202).right) << "later boundaries move along";
    name = Rect(1201);
    Mouse(nameButton, WM_LBUTTONDOWN, name.right - name.left - 2, 5);
    Mouse(nameButton, WM_MOUSEMOVE, 3, 5);
    Mouse(nameButton, WM_RBUTTONDOWN, 3, 5);
    Mouse(nameButton, WM_LBUTTONUP, 3, 5);
    EXPECT_EQ(name.right, Rect(1201).right) << "the secondary button cancels";
    Drag(Child(1202), 2, 5, -500, 5);
    EXPECT_EQ(1, Rect(1201).right - Rect(1201).left) << "one pixel right of the left neighbour";

    // The remote folder box starts at divider + X, "<--" at divider - 4 X.
    const int X = (Rect(961).left - Rect(940).left) / 5;
    ASSERT_GT(X, 0);
    Drag(main, Rect(961).left - X, y, 400, y);
    EXPECT_EQ(400 + X, Rect(961).left) << "the remote side follows the divider";
    Drag(main, 400, y, 0, y);
    EXPECT_EQ(18 * X, Rect(961).left) << "far left stops at 17 X";
    Drag(main, 17 * X, y, client.right + 50, y);
    EXPECT_EQ(34 * X, Rect(961).left) << "beyond the width: the default 33 X";

    // Saved dividers and columns (LOC, LOCL) are where the next start puts them.
    KillVeltro(&app);
    Start("balloon=1\r\nLOC=20,20,900,560,300,0\r\nLOCL=20,21,141,211\r\n");
    EXPECT_EQ(300 + X, Rect(961).left) << "the pane divider from LOC";
    EXPECT_EQ(1, Rect(1201).right - Rect(1201).left) << "the columns come back from LOCL";
    RECT chgDir;
    GetWindowRect(Child(933), &chgDir);
    SetCursorPos(chgDir.left + 5, chgDir.top + 5);   // where the system's own moves also go
    Mouse(Child(933), WM_MOUSEMOVE, 5, 5);
    HWND tip = WaitForWindow(app, "VELTRBALLOONWND", "Change folder", 5000);
    EXPECT_NE(nullptr, tip) << "the tip of ChgDir";
    POINT corner = {2, 2};
    ClientToScreen(main, &corner);
    SetCursorPos(corner.x, corner.y);
    Mouse(main, WM_MOUSEMOVE, 2, 2);
    EXPECT_FALSE(IsWindow(tip)) << "gone over the main window";

    SetWindowPos(main, nullptr, 0, 0, 400, 400, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(main, &client);
    EXPECT_LE(Rect(950).right, client.right) << "a narrow window still fits";
    EXPECT_LE(Rect(9042).right, client.right);
    Picture("panes-narrow.bmp");
}

TEST_F(Panes, HiddenButtonsAndTheAlternateArrangement)
{
    Start("HIDBTN=1\r\n");
    EXPECT_FALSE(IsWindowVisible(Child(933)));
    EXPECT_FALSE(IsWindowVisible(Child(950)));
    EXPECT_TRUE(IsWindowVisible(Child(939))) << "the standard transfer buttons stay";
    EXPECT_GT(Rect(927).right, Rect(939).left - 40) << "the list takes the column's room";
    KillVeltro(&app);

    Start("LAYOUT=1\r\n");
    char text[32];
    GetWindowTextA(Child(939), text, sizeof text);
    EXPECT_STREQ("Transfer", text);
    GetWindowTextA(Child(940), text, sizeof text);
    EXPECT_STREQ("Transfer", text);
    EXPECT_GE(Rect(933).top, Rect(927).bottom) << "the buttons sit below the list";
    EXPECT_LE(Rect(939).right, Rect(931).left) << "the local row ends before the remote pane";
    EXPECT_LT(Rect(949).bottom, Rect(1851).top);
    Picture("panes-layout1.bmp");
}

TEST_F(Panes, HighDpi)
{
    HKEY key;
    DWORD dpi = 144;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key));
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, (const BYTE *)&dpi, sizeof dpi);
    Start("LOC=20,20,1200,700\r\n");
    RECT name = Rect(1201);
    EXPECT_EQ(MulDiv(120, 144, 96), name.right - name.left) << "the columns scale with the DPI";
    Picture("panes-144dpi.bmp");
    RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

}  // namespace
