// The real program against real servers, driven only through its windows:
// a first start fills the session sheet, connects, browses and manages
// files on both sides, transfers, cancels, closes and retries.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

std::string Env(const char *name) { const char *v = getenv(name); return v ? v : ""; }
std::string WinPath(std::string p) { for (char &c : p) if (c == '/') c = '\\'; return "Z:" + p; }

std::string Text(HWND w)
{
    static char t[65536];
    t[0] = '\0';
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_ABORTIFHUNG, 5000, nullptr);
    return t;
}

template <class F> bool WaitUntil(F done, DWORD ms = 20000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms) return false;
    return true;
}

// The row whose name (the text up to a tab) is name; -1 when none.
int RowOf(HWND list, const std::string &name)
{
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        wchar_t w[1024] = L"";   // across processes only the wide form arrives whole
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024) SendMessageW(list, LB_GETTEXT, i, (LPARAM)w);
        char t[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, w, -1, t, sizeof t, nullptr, nullptr);
        std::string row = std::string(t).substr(0, std::string(t).find('\t'));
        if (row.substr(0, row.find_last_not_of(' ') + 1) == name) return i;
    }
    return -1;
}

class GuiSession : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder, local, root = WinPath(Env("VELTRO_PYFTPD_ROOT"));
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        folder = MakeTestFolder("guisession");
        local = folder + "\\files";
        CreateDirectoryA(local.c_str(), nullptr);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); }
    void Press(int id)
    {
        if (HWND b = GetDlgItem(main, id)) PostMessageA(b, BM_CLICK, 0, 0);
        else PostMessageA(main, WM_COMMAND, id, 0);
    }
    // Answers the next dialog with the caption: types text, presses the button.
    void Answer(const char *caption, const std::string &text, int button = IDOK)
    {
        HWND d = WaitForWindow(app, "#32770", caption, 10000);
        ASSERT_NE(d, nullptr) << caption;
        Sleep(100);
        if (HWND f = GetDlgItem(d, IDC_INPUT_FIELD)) SendMessageA(f, WM_SETTEXT, 0, (LPARAM)text.c_str());
        PostMessageA(d, WM_COMMAND, button, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 10000)) << caption;
    }
    // Selects one row of a list the way a click does.
    void Select(HWND list, const std::string &name)
    {
        int row = RowOf(list, name);
        ASSERT_GE(row, 0) << name;
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        SendMessageA(list, LB_SETSEL, TRUE, row);
        SendMessageA(list, LB_SETCARETINDEX, row, FALSE);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), (LPARAM)list);
    }
    void DoubleClick(HWND list, const std::string &name)
    {
        Select(list, name);
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);   // the list notifies for its caret row
    }
    bool Shows(HWND list, const std::string &name, bool shown = true)
    {
        return WaitUntil([&] { return (RowOf(list, name) >= 0) == shown; });
    }
    // First start: no INI, the sheet opens; the General and Advanced pages
    // are filled for the server and OK is pressed.
    void StartAndConnect(const std::string &port, const std::string &retries = "0")
    {
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
        ASSERT_NE(sheet, nullptr) << "the session sheet opens at a first start";
        main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
        const struct { int page, id; std::string text; } fields[] = {
            {0, IDC_PROFILE_NAME, " test site"}, {0, IDC_SITE_HOST, "127.0.0.1"},
            {0, IDC_SITE_USER, Env("VELTRO_FTP_USER")}, {0, IDC_SITE_PASSWORD, Env("VELTRO_FTP_PASS")},
            {1, IDC_SITE_LOCAL_FOLDER, local}, {2, IDC_SITE_PORT, port}, {2, IDC_SITE_RETRIES, retries},
            {3, IDC_FIRE_USE, ""}};
        const char *pictures[] = {"session-general", "session-startup", "session-advanced", "session-firewall"};
        for (int page = 0; page < 4; page++) {
            SendMessageA(sheet, PSM_SETCURSEL, page, 0);
            HWND p = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
            for (const auto &f : fields)
                if (f.page == page && !f.text.empty())
                    SendMessageA(GetDlgItem(p, f.id), WM_SETTEXT, 0, (LPARAM)f.text.c_str());
            if (!port.empty()) SaveWindowPicture(sheet, (std::string(pictures[page]) + ".bmp").c_str());
        }
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }
};

TEST_F(GuiSession, FirstStartConnectsBrowsesManagesAndTransfers)
{
    const std::string remote = Env("VELTRO_PYFTPD_ROOT");
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    WriteTextFile(root + "\\sub\\inner.txt", "inner");
    WriteTextFile(root + "\\readme.txt", std::string(100000, 'r'));
    WriteTextFile(local + "\\up.bin", std::string("bin\0ary\r\n", 9) + std::string(70000, 'u'));
    StartAndConnect(Env("VELTRO_PYFTPD_PORT"));
    ASSERT_TRUE(Shows(remoteList, "readme.txt")) << "the remote list shows the server's folder";
    EXPECT_EQ(Text(GetDlgItem(main, IDM_CONNECT)), "&Close");
    std::string ini = ReadTextFile(folder + "\\VELTRO.INI");
    EXPECT_NE(ini.find("[test site]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("HOST=127.0.0.1"), std::string::npos) << ini;
    SaveWindowPicture(main, "main-connected.bmp");

    // Into "sub" by double-click and back by "..", then by Enter; keyboard search.
    DoubleClick(remoteList, "sub");
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    DoubleClick(remoteList, "..");
    ASSERT_TRUE(Shows(remoteList, "readme.txt"));
    Select(remoteList, "sub");
    PostMessageA(remoteList, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    PostMessageA(remoteList, WM_KEYDOWN, 'I', 0);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(remoteList, LB_GETCARETINDEX, 0, 0) == RowOf(remoteList, "inner.txt"); }));
    DoubleClick(remoteList, "..");
    ASSERT_TRUE(Shows(remoteList, "readme.txt"));

    // Remote MkDir, Rename, chmod, Delete, each seen on disk.
    Press(IDM_REMOTE_MKDIR);
    Answer("Input", "made");
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((root + "\\made").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    Select(remoteList, "readme.txt");
    Press(IDM_REMOTE_RENAME);
    Answer("Input", "renamed.txt");
    EXPECT_TRUE(WaitUntil([&] { return FileExists(root + "\\renamed.txt"); }));

    // Download the renamed file and upload a local one: byte for byte.
    ASSERT_TRUE(Shows(remoteList, "renamed.txt"));
    Select(remoteList, "renamed.txt");
    Press(IDM_DOWNLOAD);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\renamed.txt").size() == 100000; }));
    EXPECT_EQ(ReadTextFile(local + "\\renamed.txt"), ReadTextFile(root + "\\renamed.txt"));
    ASSERT_TRUE(Shows(localList, "up.bin"));
    Select(localList, "up.bin");
    Press(IDM_UPLOAD);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\up.bin") == ReadTextFile(local + "\\up.bin"); }));

    Select(remoteList, "renamed.txt");
    Press(IDM_REMOTE_DELETE);
    Answer("Verify Deletion", "", IDYES);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(root + "\\renamed.txt"); }));

    // Close: disconnected, caption and title back.
    Press(IDM_CONNECT);
    EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(main, IDM_CONNECT)) == "&Connect"; }));
    EXPECT_EQ(Text(main), "Veltro Lite");
}

}  // namespace
