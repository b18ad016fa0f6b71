// The program itself under Wine: started, its windows found and read,
// driven by its own messages, closed; the panes and the layout: children,
// local rows, header buttons, drags, saved dividers and columns, HIDBTN,
// LAYOUT = 1, 144 DPI, and pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;

bool Has(const std::string &text, const char *part) { return text.find(part) != std::string::npos; }

class AppTest : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("app");
    HWND main = nullptr;

    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    // Starts the program in the folder; its VELTRO.INI holds the settings
    // and, when they have none, a place of 900 x 560.
    void Start(const std::string &config, const std::string &arguments = "", const char *message = nullptr)
    {
        WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\r\nAUTOSTART=0\r\n" + config + "LOC=20,20,900,560\r\n");
        ASSERT_TRUE(StartVeltro(&app, folder, arguments));
        if (message) {
            HWND box = WaitForWindow(app, "#32770", "Veltro Lite", 30000);
            ASSERT_NE(box, nullptr) << "a message box with the application title";
            const Lines texts = ChildTexts(box, "Static");
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::string &t) { return Has(t, message); }));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        }
        main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
        ASSERT_NE(main, nullptr) << "main window of class \"Veltro Lite\"";
    }
    void CloseAndWait()
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&app, 30000, &code) && code == 0) << "the program ends after WM_CLOSE: " << code;
        KillVeltro(&app);
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
        for (const std::string &name : PaneRowNames(app.info.hProcess, Child(927)))
            names += (names.empty() ? "" : " ") + name.substr(0, 6);
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
    void Picture(const char *name) { EXPECT_TRUE(SaveWindowPicture(main, name)) << name; }
};

TEST_F(AppTest, BannerMessageLinesLogWindowAndCleanClose)
{
    // Leftovers of an earlier run are cleaned at exit.
    const std::string tmp = folder + "\\tmp";
    CreateDirectoryA(tmp.c_str(), nullptr);
    WriteTextFile(tmp + "\\DSP1A2B.tmp", "old report");
    WriteTextFile(tmp + "\\EDT77.tmp", "old edit copy");
    WriteTextFile(tmp + "\\keep.txt", "not ours");
    Start("");
    char title[64];
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Veltro Lite");
    EXPECT_TRUE(IsWindowVisible(main) && !IsIconic(main));
    // While running: one "DSP" report file (old ones removed at start), no "DIR" file.
    EXPECT_TRUE(FilesMatching(tmp, "DIR*").empty());
    EXPECT_EQ(FilesMatching(tmp, "DSP*").size(), 1u) << "old report files are removed at start";
    Picture("main-window.bmp");

    // The banner is two lines: the bottom message line shows the second, the middle one the first.
    const Lines before = ChildTexts(main, "Static");
    ASSERT_GE(before.size(), 3u);
    EXPECT_TRUE(Has(before[2], "Veltro Lite 1.0 ") && Has(before[1], "WINSOCK.DLL: ")) << before[1] << before[2];
    HWND bar = FindWindowExA(main, nullptr, "ScrollBar", nullptr);
    ASSERT_NE(bar, nullptr);
    // Down one moves the display past the newest line; up returns to it.
    SendMessageA(main, WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar);
    const Lines down = ChildTexts(main, "Static");
    EXPECT_TRUE(Has(down[0], "WINSOCK.DLL") && Has(down[1], "Veltro Lite") && down[2].empty()) << down[2];
    SendMessageA(main, WM_VSCROLL, SB_LINEUP, (LPARAM)bar);
    EXPECT_EQ(ChildTexts(main, "Static"), before);

    // The log window holds the history; opening it again only brings it to the front.
    PostMessageA(main, WM_COMMAND, IDM_LOG_WINDOW, 0);
    HWND log = WaitForWindow(app, "VELTRDBWNDC", "Message Log", 10000);
    ASSERT_NE(log, nullptr);
    const Lines edit = ChildTexts(log, "Edit");
    ASSERT_EQ(edit.size(), 1u);
    EXPECT_TRUE(Has(edit[0], "WINSOCK.DLL: ") && Has(edit[0], "\r\nVeltro Lite 1.0")) << edit[0];
    SendMessageA(main, WM_COMMAND, IDM_LOG_WINDOW, 0);
    SendMessageA(main, WM_SYSCOMMAND, IDM_SHOW_LOG, 0);
    EXPECT_TRUE(FindWindowA("VELTRDBWNDC", nullptr) == log && !FindWindowExA(nullptr, log, "VELTRDBWNDC", nullptr));
    SendMessageA(log, WM_COMMAND, IDM_LOG_CLOSE, 0);
    EXPECT_FALSE(IsWindow(log));

    CloseAndWait();
    for (const char *ours : {"DSP*", "EDT*", "DIR*"})
        EXPECT_TRUE(FilesMatching(tmp, ours).empty()) << ours;
    EXPECT_TRUE(FileExists(tmp + "\\keep.txt"));
    EXPECT_TRUE(Has(ReadTextFile(folder + "\\VELTRO.INI"), "SESSION=")) << "the session name is stored at close";
}

TEST_F(AppTest, SavedGeometrySettingsFileAndShortCommandLines)
{
    WriteTextFile(folder + "\\OTHER.INI", "[_config_]\r\nAUTOSTART=0\r\nLOC=40,50,600,400\r\n");
    const struct {
        const char *config, *arguments;
        RECT place;            // left, top, width, height; all 0: not checked
        bool zoomed;
        const char *sessionIn;   // the file that holds the session after the close
        const char *message;     // the message box shown first, answered OK
    } starts[] = {
        {"LOC=20,30,700,500,350\r\n", "", {20, 30, 700, 500}, false, "VELTRO.INI", nullptr},
        {"MAXIMIZE=1\r\n", "", {}, true, "VELTRO.INI", nullptr},
        {"LOC=20,30,700,500\r\n", "-i OTHER.INI", {40, 50, 600, 400}, false, "OTHER.INI", nullptr},
        {"", "ab", {}, false, "VELTRO.INI", nullptr},            // fewer than four characters: no command line
        {"", "-quiet -xyz", {}, false, "VELTRO.INI", nullptr},   // empty path part: a normal start
        {"", "-xyz rest", {}, false, "VELTRO.INI", "Unknown arguments -xyz rest"},   // start-up goes on after it
    };
    for (const auto &s : starts) {
        SCOPED_TRACE(std::string(s.config) + s.arguments);
        Start(s.config, s.arguments, s.message);
        RECT r;
        GetWindowRect(main, &r);
        EXPECT_TRUE(!s.place.right || (r.left == s.place.left && r.top == s.place.top &&
                                       r.right - r.left == s.place.right && r.bottom - r.top == s.place.bottom))
            << r.left << "," << r.top << "," << r.right - r.left << "," << r.bottom - r.top;
        EXPECT_EQ(IsZoomed(main) != FALSE, s.zoomed);
        EXPECT_FALSE(IsIconic(main));
        EXPECT_EQ(WaitForWindow(app, "#32770", nullptr, 300), nullptr) << "no message box";
        CloseAndWait();
        EXPECT_TRUE(Has(ReadTextFile(folder + "\\" + s.sessionIn), "SESSION="));
    }
}

TEST_F(AppTest, EveryChildByItsIdAndTheLocalRowsWithTheirHeaderButtons)
{
    for (const char *f : {"\\Folder B", "\\afolder"})
        CreateDirectoryA((folder + f).c_str(), nullptr);
    MakeSparseFile(folder + "\\medium.bin", 1000);
    MakeSparseFile(folder + "\\Small.txt", 3);
    MakeSparseFile(folder + "\\a file name much too long to fit into the name column of the pane.dat", 10);
    MakeSparseFile(folder + "\\huge.iso", 5ull << 30);
    Start("");
    const struct {
        int id;
        const char *cls, *caption;
    } children[] = {
        {960, "ComboBox", nullptr}, {961, "ComboBox", ""}, {924, "ListBox", ""}, {939, "Button", "-->"},
        {940, "Button", "<--"}, {926, "Edit", "*.*"}, {930, "Edit", ""}, {1853, "Button", "Auto"},
        {9000, "Button", "&Connect"}, {9042, "Button", "E&xit"}, {927, "ListBox", ""}, {931, "ListBox", ""},
        {1200, "Button", "^"}, {1201, "Button", "Name"}, {1204, "Button", ""}, {1208, "Button", "Size"},
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

    const std::string drives = Rows().substr(Rows().find(" [-"));
    EXPECT_EQ(".. afolde Folder tmp a file huge.i medium Small. VELTRO" + drives, Rows());
    Drag(Child(1201), 10, 5, 10, 5);   // a click on Name again: reverse, groups stay
    EXPECT_EQ(0u, Rows().find(".. tmp Folder afolde VELTRO Small. medium huge.i a file [-")) << Rows();
    SendMessageA(Child(927), LB_SETSEL, TRUE, 2);
    Picture("panes-local-folder.bmp");
}

TEST_F(AppTest, SplitterAndHeaderDragsHiddenButtonsAndTheAlternateArrangement)
{
    Start("");
    RECT client, name = Rect(1201), date = Rect(1202);
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

    // HIDBTN hides the extra buttons; LAYOUT=1 is the alternate arrangement.
    KillVeltro(&app);
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

}  // namespace
