// The program itself under Wine: started, its windows found and read,
// driven by its own messages, closed.
#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

class AppTest : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder;

    void SetUp() override { folder = MakeTestFolder("app"); }
    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    void Ini(const std::string &config)
    {
        WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\r\nAUTOSTART=0\r\n" + config);
    }
    HWND Start(const std::string &arguments = "")
    {
        EXPECT_TRUE(StartVeltro(&app, folder, arguments));
        HWND main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
        EXPECT_NE(main, nullptr) << "main window of class \"Veltro Lite\"";
        return main;
    }
    DWORD CloseAndWait(HWND main)
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&app, 30000, &code)) << "the program ends after WM_CLOSE";
        return code;
    }
    std::string MessageLines(HWND main)
    {
        std::string all;
        for (const std::string &t : ChildTexts(main, "Static"))
            all += t + "\n";
        return all;
    }
};

TEST_F(AppTest, StartsShowsTheBannerAndClosesCleanly)
{
    Ini("");
    // Leftovers of an earlier run are cleaned at exit.
    std::string tmp = folder + "\\tmp";
    CreateDirectoryA(tmp.c_str(), nullptr);
    WriteTextFile(tmp + "\\DSP1A2B.tmp", "old report");
    WriteTextFile(tmp + "\\EDT77.tmp", "old edit copy");
    WriteTextFile(tmp + "\\keep.txt", "not ours");

    HWND main = Start();
    ASSERT_NE(main, nullptr);
    char title[64];
    GetWindowTextA(main, title, sizeof title);
    EXPECT_STREQ(title, "Veltro Lite");

    std::string lines = MessageLines(main);
    EXPECT_NE(lines.find("WINSOCK.DLL: "), std::string::npos) << lines;
    EXPECT_NE(lines.find("Veltro Lite 1.0 "), std::string::npos) << lines;

    // While running: the "DSP" report file exists, the "DIR" name is not a file.
    EXPECT_EQ(FilesMatching(tmp, "DIR*").size(), 0u);
    EXPECT_EQ(FilesMatching(tmp, "DSP*").size(), 1u) << "old report files are removed at start";
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    SaveWindowPicture(main, "main-window.bmp");

    EXPECT_EQ(CloseAndWait(main), 0u);
    EXPECT_TRUE(FilesMatching(tmp, "DSP*").empty());
    EXPECT_TRUE(FilesMatching(tmp, "EDT*").empty());
    EXPECT_TRUE(FilesMatching(tmp, "DIR*").empty());
    EXPECT_TRUE(FileExists(tmp + "\\keep.txt"));
    std::string ini = ReadTextFile(folder + "\\VELTRO.INI");
    EXPECT_NE(ini.find("SESSION="), std::string::npos) << "the session name is stored at close";
}

TEST_F(AppTest, SavedGeometryAndMaximize)
{
    Ini("LOC=20,30,700,500,350\r\n");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(r.bottom - r.top, 500);
    EXPECT_EQ(CloseAndWait(main), 0u);

    KillVeltro(&app);
    Ini("MAXIMIZE=1\r\n");
    main = Start();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_EQ(CloseAndWait(main), 0u);
}

TEST_F(AppTest, AnotherSettingsFileWithI)
{
    Ini("LOC=20,30,700,500\r\n");
    WriteTextFile(folder + "\\OTHER.INI", "[_config_]\r\nAUTOSTART=0\r\nLOC=40,50,600,400\r\n");
    HWND main = Start("-i OTHER.INI");
    ASSERT_NE(main, nullptr);
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 40) << "the geometry comes from the named file";
    EXPECT_EQ(r.bottom - r.top, 400);
    EXPECT_EQ(CloseAndWait(main), 0u);
    EXPECT_NE(ReadTextFile(folder + "\\OTHER.INI").find("SESSION="), std::string::npos)
        << "the session is stored in the file in use";
}

TEST_F(AppTest, ShortCommandLineStartsNormally)
{
    Ini("");
    HWND main = Start("ab");
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsIconic(main)) << "fewer than four characters are no command line";
    EXPECT_EQ(CloseAndWait(main), 0u);
}

TEST_F(AppTest, UnknownOptionWithQuietShowsNoMessageBox)
{
    Ini("");
    HWND main = Start("-quiet -xyz");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WaitForWindow(app, "#32770", nullptr, 1500), nullptr) << "no message box";
    EXPECT_FALSE(IsIconic(main)) << "the path part is empty: a normal start";
    EXPECT_EQ(CloseAndWait(main), 0u);
}

TEST_F(AppTest, UnknownOptionIsReported)
{
    Ini("");
    ASSERT_TRUE(StartVeltro(&app, folder, "-xyz rest"));
    HWND box = WaitForWindow(app, "#32770", "Veltro Lite", 30000);
    ASSERT_NE(box, nullptr) << "a message box with the application title";
    std::string texts;
    for (const std::string &t : ChildTexts(box, "Static"))
        texts += t;
    EXPECT_NE(texts.find("Unknown arguments -xyz rest"), std::string::npos) << texts;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
    ASSERT_NE(main, nullptr) << "start-up goes on";
    EXPECT_EQ(CloseAndWait(main), 0u);
}

TEST_F(AppTest, LogWindowShowsTheHistoryAndOpensOnce)
{
    Ini("");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_COMMAND, IDM_LOG_WINDOW, 0);
    HWND log = WaitForWindow(app, "VELTRDBWNDC", "Message Log", 10000);
    ASSERT_NE(log, nullptr);
    std::vector<std::string> edit = ChildTexts(log, "Edit");
    ASSERT_EQ(edit.size(), 1u);
    EXPECT_NE(edit[0].find("WINSOCK.DLL: "), std::string::npos);
    EXPECT_NE(edit[0].find("\r\nVeltro Lite 1.0"), std::string::npos);

    SendMessageA(main, WM_COMMAND, IDM_LOG_WINDOW, 0);
    SendMessageA(main, WM_SYSCOMMAND, IDM_SHOW_LOG, 0);
    int count = 0;
    for (HWND w = FindWindowA("VELTRDBWNDC", nullptr); w; w = FindWindowExA(nullptr, w, "VELTRDBWNDC", nullptr))
        count++;
    EXPECT_EQ(count, 1) << "opening again only brings it to the front";

    SendMessageA(log, WM_COMMAND, IDM_LOG_CLOSE, 0);
    EXPECT_FALSE(IsWindow(log));
    EXPECT_EQ(CloseAndWait(main), 0u);
}

TEST_F(AppTest, MessageScrollBarMovesTheThreeLines)
{
    Ini("");
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    std::vector<std::string> before = ChildTexts(main, "Static");
    ASSERT_GE(before.size(), 3u);
    // The banner is two lines: bottom line shows the second, middle the first.
    EXPECT_NE(before[2].find("Veltro Lite"), std::string::npos);
    EXPECT_NE(before[1].find("WINSOCK.DLL"), std::string::npos);
    HWND bar = FindWindowExA(main, nullptr, "ScrollBar", nullptr);
    ASSERT_NE(bar, nullptr);
    // Down one: the display moves past the newest line.
    SendMessageA(main, WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar);
    std::vector<std::string> down = ChildTexts(main, "Static");
    EXPECT_EQ(down[2], "");
    EXPECT_NE(down[1].find("Veltro Lite"), std::string::npos);
    EXPECT_NE(down[0].find("WINSOCK.DLL"), std::string::npos);
    // Further down stops at the count; up again returns to the newest line.
    SendMessageA(main, WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar);
    EXPECT_EQ(ChildTexts(main, "Static"), down);
    SendMessageA(main, WM_VSCROLL, SB_LINEUP, (LPARAM)bar);
    EXPECT_EQ(ChildTexts(main, "Static"), before);
    // Up at the oldest position changes nothing.
    SendMessageA(main, WM_VSCROLL, SB_LINEUP, (LPARAM)bar);
    EXPECT_EQ(ChildTexts(main, "Static"), before);
    EXPECT_EQ(CloseAndWait(main), 0u);
}

}  // namespace
