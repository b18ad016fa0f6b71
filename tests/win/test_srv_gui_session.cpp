// The real program against a real server, driven only through its windows: a first start fills the
// session sheet, connects, browses and manages files on both sides, transfers, closes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <string>

#include "real_server_helper.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

std::string Text(HWND w)
{
    static char t[262144] = "";
    return SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_ABORTIFHUNG, 5000, nullptr) ? t : "";
}

class GuiSession : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("guisession"), local = folder + "\\files";
    std::string root = ServerFile(RealServers[1], ""), windowsIni = Env("WINDIR") + "\\VELTRO.INI";   // where a first start puts it
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        root.pop_back();
        DeleteFileA(windowsIni.c_str());
        CreateDirectoryA(local.c_str(), nullptr) && CreateDirectoryA((local + "\\lsub").c_str(), nullptr);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); DeleteFileA(windowsIni.c_str()); }
    void Press(int id) { PostMessageA(GetDlgItem(main, id), BM_CLICK, 0, 0); }
    int RowOf(HWND list, const std::string &name) { return PaneRowOf(app.info.hProcess, list, name); }
    bool Shows(HWND list, const std::string &name, bool shown = true) { return WaitUntil([&] { return (RowOf(list, name) >= 0) == shown; }); }
    // Answers the next dialog with the caption: types text, presses the button.
    void Answer(const char *caption, const std::string &text, int button = IDOK, int uncheck = 0)
    {
        HWND d = WaitForWindow(app, "#32770", caption, 10000);
        ASSERT_NE(d, nullptr) << caption;
        if (HWND f = GetDlgItem(d, IDC_INPUT_FIELD)) SendMessageA(f, WM_SETTEXT, 0, (LPARAM)text.c_str());
        if (uncheck) SendMessageA(GetDlgItem(d, uncheck), BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessageA(d, WM_COMMAND, button, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 10000)) << caption;
    }
    // Clicks a row (twice: a double-click); the list selects it and tells its parent.
    void Select(HWND list, const std::string &name, bool twice = false)
    {
        ASSERT_TRUE(Shows(list, name)) << name;
        int row = RowOf(list, name);
        SendMessageA(list, LB_SETTOPINDEX, row, 0);
        RECT r = {};
        SendMessageA(list, LB_GETITEMRECT, row, (LPARAM)&r);
        for (UINT m : {0x201u, 0x202u, twice ? 0x203u : 0u, twice ? 0x202u : 0u})   // down, up, double, up
            if (m) PostMessageA(list, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(r.left + 20, r.top + 2));
        ASSERT_TRUE(twice || WaitUntil([&] { return SendMessageA(list, LB_GETSEL, row, 0) > 0; }, 5000)) << name;
    }
};

TEST_F(GuiSession, FirstStartConnectsBrowsesManagesAndTransfers)
{
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    WriteTextFile(root + "\\sub\\inner.txt", "inner");
    WriteTextFile(root + "\\readme.txt", std::string(100000, 'r'));
    WriteTextFile(local + "\\up.bin", std::string("bin\0ary\r\n", 9) + std::string(70000, 'u'));
    // A first start: the session sheet, filled on its pages for the server, then OK.
    ASSERT_TRUE(StartVeltro(&app, folder, ""));
    HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
    ASSERT_NE(sheet, nullptr) << "a first start opens the session sheet";
    main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
    localList = GetDlgItem(main, IDC_LOCAL_LIST), remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
    const struct { int page, id; std::string text; } fields[] = {
        {0, IDC_PROFILE_NAME, " test site"}, {0, IDC_SITE_HOST, "127.0.0.1"},
        {0, IDC_SITE_USER, Env("VELTRO_FTP_USER")}, {0, IDC_SITE_PASSWORD, Env("VELTRO_FTP_PASS")},
        {1, IDC_SITE_LOCAL_FOLDER, local}, {2, IDC_SITE_PORT, Env("VELTRO_PYFTPD_PORT")}};
    const char *names[] = {"session-general.bmp", "session-startup.bmp", "session-advanced.bmp", "session-firewall.bmp"};
    for (int page = 0; page < 4; page++) {
        SendMessageA(sheet, PSM_SETCURSEL, page, 0);
        HWND p = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        for (const auto &f : fields)
            if (f.page == page) SendMessageA(GetDlgItem(p, f.id), WM_SETTEXT, 0, (LPARAM)f.text.c_str());
        SaveWindowPicture(sheet, names[page]);
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(Shows(remoteList, "readme.txt")) << "the remote list shows the server's folder";
    EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(main, IDM_CONNECT)) == "&Close" && IsWindowEnabled(GetDlgItem(main, IDM_REMOTE_MKDIR)); }));
    EXPECT_NE(ReadTextFile(windowsIni).find("[test site]\r\nHOST=127.0.0.1"), std::string::npos) << ReadTextFile(windowsIni);
    SaveWindowPicture(main, "main-connected.bmp");

    // Into "sub" by double-click, Enter and the folder box; keyboard search.
    Select(remoteList, "sub", true);
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    Select(remoteList, "..", true);
    Select(remoteList, "sub");
    PostMessageA(remoteList, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    PostMessageA(remoteList, WM_KEYDOWN, 'I', 0);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(remoteList, LB_GETCARETINDEX, 0, 0) == RowOf(remoteList, "inner.txt"); }));
    HWND box = GetDlgItem(main, IDC_REMOTE_FOLDER_BOX);
    SendMessageA(box, CB_SETCURSEL, SendMessageA(box, CB_FINDSTRINGEXACT, -1, (LPARAM)"/"), 0);   // chosen and closed up
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_REMOTE_FOLDER_BOX, CBN_CLOSEUP), (LPARAM)box);
    ASSERT_TRUE(Shows(remoteList, "readme.txt"));
    Select(localList, "lsub", true);
    EXPECT_TRUE(Shows(localList, "up.bin", false));
    Select(localList, "..", true);
    EXPECT_TRUE(Shows(localList, "up.bin"));

    // Make, rename and folder information on both sides, chmod remote, seen on disk.
    for (const std::string &side : {root, local}) {
        bool remote = side == root;
        Press(remote ? IDM_REMOTE_MKDIR : IDM_LOCAL_MKDIR);
        Answer("Input", "made");
        EXPECT_TRUE(WaitUntil([&] { return IsFolder(side + "\\made"); }));
        Select(remote ? remoteList : localList, remote ? "readme.txt" : "up.bin");
        Press(remote ? IDM_REMOTE_RENAME : IDM_LOCAL_RENAME);
        Answer("Input", remote ? "renamed.txt" : "up2.bin");
        EXPECT_TRUE(WaitUntil([&] { return FileExists(side + (remote ? "\\renamed.txt" : "\\up2.bin")); }));
        Press(remote ? IDM_REMOTE_DIRINFO : IDM_LOCAL_DIRINFO);
        auto reported = [&](const std::string &f) { return ReadTextFile(app.tempFolder + "\\" + f).find("made") != std::string::npos; };
        EXPECT_TRUE(WaitUntil([&] { auto fs = FilesMatching(app.tempFolder, remote ? "DIR*" : "DSP*"); return std::any_of(fs.begin(), fs.end(), reported); }))
            << "folder information of " << side;
    }
    Select(remoteList, "renamed.txt");
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_CHMOD, 0);   // a menu command
    Answer("Remote file permissions", "", IDOK, IDC_CHMOD_BOX0 + 1);
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((root + "\\renamed.txt").c_str()) & FILE_ATTRIBUTE_READONLY; }));

    // Delete on both sides.
    for (HWND list : {remoteList, localList}) {
        const std::string name = list == remoteList ? "renamed.txt" : "up2.bin";
        Select(list, name);
        Press(list == remoteList ? IDM_REMOTE_DELETE : IDM_LOCAL_DELETE);
        Answer("Verify Deletion", "", IDYES);
        EXPECT_TRUE(WaitUntil([&] { return !FileExists((list == remoteList ? root : local) + "\\" + name); }));
    }

    // Ctrl+C and F7 do nothing; Alt+A opens the about box.
    auto Keys = [](std::initializer_list<BYTE> keys) {   // pressed in order, released in reverse
        for (BYTE k : keys) keybd_event(k, 0, 0, 0);
        for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) keybd_event(*k, 0, KEYEVENTF_KEYUP, 0); };
    SetForegroundWindow(main);
    Keys({VK_F7});
    Keys({VK_CONTROL, 'C'});
    EXPECT_EQ(WaitForWindow(app, "#32770", nullptr, 1500), nullptr);
    Keys({VK_MENU, 'A'});
    HWND about = WaitForWindow(app, "#32770", nullptr, 5000);
    ASSERT_NE(about, nullptr) << "Alt+A";
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    // Close: disconnected, caption and title back.
    Press(IDM_CONNECT);
    EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(main, IDM_CONNECT)) == "&Connect"; }));
    EXPECT_EQ(Text(main), "Veltro Lite");
    EXPECT_TRUE(Shows(remoteList, "readme.txt", false));
}

}  // namespace
