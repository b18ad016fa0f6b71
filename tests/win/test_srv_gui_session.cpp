// The real program against a real server, driven only through its windows:
// a first start fills the session sheet, connects, browses and manages
// files on both sides, transfers, cancels, closes and retries.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stdlib.h>
#include <string>

#include "listing/file_item.h"
#include "logon_helper.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

std::string Env(const char *name) { const char *v = getenv(name); return v ? v : ""; }
std::string WinPath(std::string p) { for (char &c : p) if (c == '/') c = '\\'; return "Z:" + p; }
std::string Text(HWND w)
{
    static char t[262144];
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
size_t Count(const std::string &text, const std::string &part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
}

class GuiSession : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder, local, root = WinPath(Env("VELTRO_PYFTPD_ROOT")), windowsIni;
    HWND main = nullptr, localList = nullptr, remoteList = nullptr, logWindow = nullptr;

    void SetUp() override
    {
        folder = MakeTestFolder("guisession");
        local = folder + "\\files";
        CreateDirectoryA(local.c_str(), nullptr);
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        windowsIni = std::string(windows) + "\\VELTRO.INI";   // where a first start puts it
        DeleteFileA(windowsIni.c_str());
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); DeleteFileA(windowsIni.c_str()); }
    void Press(int id) { PostMessageA(GetDlgItem(main, id), BM_CLICK, 0, 0); }
    // A row's name, read from the row's FileItem in the program's memory.
    std::string RowName(HWND list, int row)
    {
        LRESULT data = SendMessageA(list, LB_GETITEMDATA, row, 0);
        FileItem item;
        char name[1024] = "";
        if (data == LB_ERR || !data ||
            !ReadProcessMemory(app.info.hProcess, (void *)data, &item, offsetof(FileItem, text), nullptr) ||
            item.nameLength >= sizeof name ||
            !ReadProcessMemory(app.info.hProcess, (char *)data + offsetof(FileItem, text), name, item.nameLength, nullptr))
            return "";
        std::string s(name, strnlen(name, item.nameLength));
        s = s.substr(0, s.find('\t'));
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }
    int RowOf(HWND list, const std::string &name)
    {
        for (int i = 0, n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0); i < n; i++)
            if (RowName(list, i) == name) return i;
        return -1;
    }
    bool Shows(HWND list, const std::string &name, bool shown = true)
    {
        return WaitUntil([&] { return (RowOf(list, name) >= 0) == shown; });
    }
    // Answers the next dialog with the caption: types text, presses the button.
    void Answer(const char *caption, const std::string &text, int button = IDOK, int uncheck = 0)
    {
        HWND d = WaitForWindow(app, "#32770", caption, 10000);
        ASSERT_NE(d, nullptr) << caption;
        Sleep(100);
        if (HWND f = GetDlgItem(d, IDC_INPUT_FIELD)) SendMessageA(f, WM_SETTEXT, 0, (LPARAM)text.c_str());
        if (uncheck) SendMessageA(GetDlgItem(d, uncheck), BM_SETCHECK, BST_UNCHECKED, 0);
        PostMessageA(d, WM_COMMAND, button, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 10000)) << caption;
    }
    // Clicks a row (a double-click when twice): the list selects it and tells its parent.
    void Select(HWND list, const std::string &name, bool twice = false)
    {
        ASSERT_TRUE(Shows(list, name)) << name;
        int row = RowOf(list, name);
        SendMessageA(list, LB_SETTOPINDEX, row, 0);
        RECT r = {};
        SendMessageA(list, LB_GETITEMRECT, row, (LPARAM)&r);
        LPARAM at = MAKELPARAM(r.left + 20, r.top + 2);
        for (UINT m : {(UINT)WM_LBUTTONDOWN, (UINT)WM_LBUTTONUP, twice ? (UINT)WM_LBUTTONDBLCLK : 0u, twice ? (UINT)WM_LBUTTONUP : 0u})
            if (m) PostMessageA(list, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETSEL, row, 0) > 0; }, 5000)) << name;
    }
    void DoubleClick(HWND list, const std::string &name) { Select(list, name, true); }
    std::string Log() { return Text(GetDlgItem(logWindow, IDC_LOG_EDIT)); }
    // The sheet of a first start, filled for the server on its four pages.
    void StartAndConnect(const std::string &port, const std::string &retries, bool pictures)
    {
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
        ASSERT_NE(sheet, nullptr) << "a first start opens the session sheet";
        main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
        Press(IDM_LOG_WINDOW);
        const struct { int page, id; std::string text; } fields[] = {
            {0, IDC_PROFILE_NAME, " test site"}, {0, IDC_SITE_HOST, "127.0.0.1"},
            {0, IDC_SITE_USER, Env("VELTRO_FTP_USER")}, {0, IDC_SITE_PASSWORD, Env("VELTRO_FTP_PASS")},
            {1, IDC_SITE_LOCAL_FOLDER, local}, {2, IDC_SITE_PORT, port}, {2, IDC_SITE_RETRIES, retries}};
        const char *names[] = {"session-general.bmp", "session-startup.bmp", "session-advanced.bmp", "session-firewall.bmp"};
        for (int page = 0; page < 4; page++) {
            SendMessageA(sheet, PSM_SETCURSEL, page, 0);
            HWND p = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
            for (const auto &f : fields)
                if (f.page == page) SendMessageA(GetDlgItem(p, f.id), WM_SETTEXT, 0, (LPARAM)f.text.c_str());
            if (pictures) SaveWindowPicture(sheet, names[page]);
        }
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        logWindow = WaitForWindow(app, "VELTRDBWNDC", nullptr, 10000);
    }
};

TEST_F(GuiSession, FirstStartConnectsBrowsesManagesAndTransfers)
{
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    WriteTextFile(root + "\\sub\\inner.txt", "inner");
    WriteTextFile(root + "\\readme.txt", std::string(100000, 'r'));
    HANDLE big = CreateFileA((root + "\\big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER gib = {};
    gib.QuadPart = 1LL << 30;
    SetFilePointerEx(big, gib, nullptr, FILE_BEGIN);   // a sparse 1 GiB file
    SetEndOfFile(big);
    CloseHandle(big);
    WriteTextFile(local + "\\up.bin", std::string("bin\0ary\r\n", 9) + std::string(70000, 'u'));
    StartAndConnect(Env("VELTRO_PYFTPD_PORT"), "0", true);
    ASSERT_TRUE(Shows(remoteList, "readme.txt")) << "the remote list shows the server's folder";
    EXPECT_TRUE(Shows(localList, "up.bin")) << "the local list shows the profile's local folder";
    EXPECT_EQ(Text(GetDlgItem(main, IDM_CONNECT)), "&Close");
    std::string ini = ReadTextFile(windowsIni);
    EXPECT_NE(ini.find("[test site]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("HOST=127.0.0.1"), std::string::npos) << ini;
    SaveWindowPicture(main, "main-connected.bmp");

    // Into "sub" by double-click, Enter and the folder box; keyboard search.
    DoubleClick(remoteList, "sub");
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    DoubleClick(remoteList, "..");
    Select(remoteList, "sub");
    PostMessageA(remoteList, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(Shows(remoteList, "inner.txt"));
    PostMessageA(remoteList, WM_KEYDOWN, 'I', 0);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(remoteList, LB_GETCARETINDEX, 0, 0) == RowOf(remoteList, "inner.txt"); }));
    HWND box = GetDlgItem(main, IDC_REMOTE_FOLDER_BOX);
    SendMessageA(box, CB_SETCURSEL, SendMessageA(box, CB_FINDSTRINGEXACT, -1, (LPARAM)"/"), 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_REMOTE_FOLDER_BOX, CBN_CLOSEUP), (LPARAM)box);
    ASSERT_TRUE(Shows(remoteList, "readme.txt"));
    CreateDirectoryA((local + "\\lsub").c_str(), nullptr);
    Press(IDM_LOCAL_REFRESH);
    DoubleClick(localList, "lsub");
    EXPECT_TRUE(Shows(localList, "up.bin", false));
    DoubleClick(localList, "..");
    EXPECT_TRUE(Shows(localList, "up.bin"));

    // Make, rename, chmod and folder information on both sides, seen on disk.
    for (const std::string &side : {root, local}) {
        bool remote = side == root;
        HWND list = remote ? remoteList : localList;
        Press(remote ? IDM_REMOTE_MKDIR : IDM_LOCAL_MKDIR);
        Answer("Input", "made");
        EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((side + "\\made").c_str()) & FILE_ATTRIBUTE_DIRECTORY; }));
        Select(list, remote ? "readme.txt" : "up.bin");
        Press(remote ? IDM_REMOTE_RENAME : IDM_LOCAL_RENAME);
        Answer("Input", remote ? "renamed.txt" : "up2.bin");
        EXPECT_TRUE(WaitUntil([&] { return FileExists(side + (remote ? "\\renamed.txt" : "\\up2.bin")); }));
        Press(remote ? IDM_REMOTE_DIRINFO : IDM_LOCAL_DIRINFO);
        const char *pattern = remote ? "DIR*" : "DSP*";
        EXPECT_TRUE(WaitUntil([&] {
            for (const std::string &f : FilesMatching(app.tempFolder, pattern))
                if (ReadTextFile(app.tempFolder + "\\" + f).find("made") != std::string::npos) return true;
            return false;
        })) << pattern;
    }
    Select(remoteList, "renamed.txt");
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_CHMOD, 0);   // a menu command
    Answer("Remote file permissions", "", IDOK, IDC_CHMOD_BOX0 + 1);
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((root + "\\renamed.txt").c_str()) & FILE_ATTRIBUTE_READONLY; }));

    // "<--" and "-->" byte for byte; then delete on both sides.
    Select(remoteList, "renamed.txt");
    Press(IDM_DOWNLOAD);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\renamed.txt").size() == 100000; }));
    EXPECT_EQ(ReadTextFile(local + "\\renamed.txt"), ReadTextFile(root + "\\renamed.txt"));
    Select(localList, "up2.bin");
    Press(IDM_UPLOAD);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\up2.bin") == ReadTextFile(local + "\\up2.bin"); }));
    for (HWND list : {remoteList, localList}) {
        Select(list, "up2.bin");
        Press(list == remoteList ? IDM_REMOTE_DELETE : IDM_LOCAL_DELETE);
        Answer("Verify Deletion", "", IDYES);
        EXPECT_TRUE(WaitUntil([&] { return !FileExists((list == remoteList ? root : local) + "\\up2.bin"); }));
    }

    // Cancel during the 1 GiB download answers within a second; then MkDir works.
    Select(remoteList, "big.bin");
    Press(IDM_DOWNLOAD);
    HWND status = WaitForWindow(app, "#32770", "Transfer Status", 10000);
    ASSERT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\big.bin").size() > 0; }));
    DWORD pressed = GetTickCount();
    Press(IDM_CANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(status); }, 1000)) << "status closes within a second";
    EXPECT_LE(GetTickCount() - pressed, 1000u);
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr));
    Sleep(8000); WriteTextFile("Z:\\tmp\\dispatch-cancel.log", Log());
    Press(IDM_REMOTE_MKDIR);
    Answer("Input", "after");
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((root + "\\after").c_str()) & FILE_ATTRIBUTE_DIRECTORY; }));

    // Ctrl+C and F7 do nothing; Alt+A opens the about box.
    SetForegroundWindow(main);
    for (WORD key : {(WORD)VK_F7, (WORD)'C'}) {
        if (key == 'C') keybd_event(VK_CONTROL, 0, 0, 0);
        keybd_event((BYTE)key, 0, 0, 0);
        keybd_event((BYTE)key, 0, KEYEVENTF_KEYUP, 0);
        if (key == 'C') keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    }
    EXPECT_EQ(WaitForWindow(app, "#32770", nullptr, 1500), nullptr);
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event('A', 0, 0, 0);
    keybd_event('A', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    HWND about = WaitForWindow(app, "#32770", nullptr, 5000);
    EXPECT_NE(about, nullptr) << "Alt+A";
    PostMessageA(about, WM_COMMAND, IDOK, 0);

    // Close: disconnected, caption and title back.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));
    Press(IDM_CONNECT);
    EXPECT_TRUE(WaitUntil([&] { return Text(GetDlgItem(main, IDM_CONNECT)) == "&Connect"; }));
    EXPECT_EQ(Text(main), "Veltro Lite");
    EXPECT_TRUE(Shows(remoteList, "readme.txt", false));
}

TEST_F(GuiSession, RetriesAgainstARefusedPortUntilCancel)
{
    for (bool cancel : {false, true}) {
        StartAndConnect(std::to_string(UnusedPort()), cancel ? "40" : "3", false);
        size_t atCancel = 0;
        EXPECT_TRUE(WaitUntil([&] { return Count(Log(), "connecting to") >= (cancel ? 2u : 4u); }));
        if (cancel) {
            atCancel = Count(Log(), "connecting to");
            Press(IDM_CANCEL);
        }
        Sleep(1500);   // 500 ms apart: no attempt comes after the last one
        size_t attempts = Count(Log(), "connecting to");
        if (cancel) EXPECT_LE(attempts, atCancel + 1) << "Cancel stops the retries";
        else EXPECT_EQ(attempts, 4u) << "retries 3: four attempts";
        EXPECT_EQ(Text(GetDlgItem(main, IDM_CONNECT)), "&Connect");
        KillVeltro(&app);
    }
}

}  // namespace
