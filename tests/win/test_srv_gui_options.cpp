// The real program driven through its windows: one change on every page of
// the options sheet, then drags between and within the lists, a drop from
// this process, and the view of a remote file, against a real server.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <stdlib.h>
#include <algorithm>
#include <string>

#include "listing/file_item.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

std::string Env(const char *name) { const char *v = getenv(name); return v ? v : ""; }
template <class F> bool WaitUntil(F done, DWORD ms = 20000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms) return false;
    return true;
}
class GuiOptions : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("guioptions"), local = folder + "\\files";
    std::string root = "Z:" + Env("VELTRO_PYFTPD_ROOT");
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        std::replace(root.begin(), root.end(), '/', '\\');
        CreateDirectoryA(local.c_str(), nullptr);
        WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\nSESSION=site\nAUTOSTART=0\nFONT=4\nFHEIGHT=-30\n"
                      "VIEWER=cmd /c copy\n[site]\nHOST=127.0.0.1\nUID=" + Env("VELTRO_FTP_USER") +
                      "\nPORT=" + Env("VELTRO_PYFTPD_PORT") + "\nLOCDIR=" + local + "\n");
        WriteTextFile(folder + "\\VELTRO.CNV", ".htm=.x\n.gif=.jpg\n");
        WriteTextFile(folder + "\\VELTRO.EXT", ".TXT\n");
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
        ASSERT_NE(main, nullptr);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); }
    int RowOf(HWND list, const char *name) { return PaneRowOf(app.info.hProcess, list, name); }
    void Connect()
    {
        PostMessageA(main, WM_COMMAND, IDM_CONNECT, 0);
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 20000);
        ASSERT_NE(sheet, nullptr);
        HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        SendDlgItemMessageA(page, IDC_SITE_PASSWORD, WM_SETTEXT, 0, (LPARAM)Env("VELTRO_FTP_PASS").c_str());
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }
    // Press on a row, move to a row of a list, release: all to the capturing source list.
    void Drag(HWND from, const char *row, HWND to, const char *target, const char *picture = nullptr)
    {
        int h = (int)SendMessageA(from, LB_GETITEMHEIGHT, 0, 0), a = RowOf(from, row), b = RowOf(to, target);
        ASSERT_GE(a, 0) << row;
        POINT p = {6, (b - (int)SendMessageA(to, LB_GETTOPINDEX, 0, 0)) * h + h / 2};
        MapWindowPoints(to, from, &p, 1);
        LPARAM start = MAKELPARAM(6, (a - SendMessageA(from, LB_GETTOPINDEX, 0, 0)) * h + h / 2);
        PostMessageA(from, WM_LBUTTONDOWN, MK_LBUTTON, start);
        PostMessageA(from, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        if (picture) { Sleep(500); SaveWindowPicture(main, picture); }
        PostMessageA(from, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
};

TEST_F(GuiOptions, EveryPageStoresItsChangeAndTheFontSetsTheRowHeight)
{
    int before = (int)SendMessageA(localList, LB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(before, 30) << "the custom font of 30 pixels sets the row height";
    PostMessageA(main, WM_COMMAND, IDM_OPTIONS, 0);
    HWND sheet = WaitForWindow(app, "#32770", nullptr, 20000);
    ASSERT_NE(sheet, nullptr);
    // {page, control, text to type or "" to click}
    const struct { int page, id; const char *text; } edits[] = {
        {0, IDC_OPT_VIEWER, "myviewer"}, {1, IDC_OPT_RBP, "50"}, {1, IDC_OPT_SBP, "10000"},
        {2, IDC_OPT_FONT0 + 3, ""}, {3, IDC_OPT_SND_NONE, ""}, {4, IDC_OPT_RSORT0 + 4, ""},
        {5, IDC_OPT_KEPDIROW, ""}, {6, IDC_OPT_CONVEXT, ""}, {7, IDC_OPT_STOU, ""},
        {8, IDC_OPT_CNV_SOURCE, ".htm"}, {8, IDC_OPT_CNV_DEST, ".html"}, {8, IDC_OPT_CNV_ADD, ""},
        {9, IDC_OPT_EXT_FIELD, ".log"}, {9, IDC_OPT_EXT_ADD, ""},
        {10, IDC_OPT_ASSOC_EXT, "vlt"}, {10, IDC_OPT_ASSOC_CMD, "notepad"}};
    for (int page = 0; page < 11; page++) {
        SendMessageA(sheet, PSM_SETCURSEL, page, 0);
        HWND p = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        for (const auto &e : edits)
            if (e.page == page && e.text[0]) SendMessageA(GetDlgItem(p, e.id), WM_SETTEXT, 0, (LPARAM)e.text);
            else if (e.page == page) SendMessageA(GetDlgItem(p, e.id), BM_CLICK, 0, 0);
        SaveWindowPicture(sheet, ("options-page" + std::to_string(page + 1) + ".bmp").c_str());
    }
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    std::string ini = ReadTextFile(folder + "\\VELTRO.INI");
    for (const char *line : {"VIEWER=myviewer", "RBP=80", "SBP=4096", "FONT=3", "BELL=0", "RSORT=4",
                             "KEPDIROW=0", "CONVEXT=1", "STOU=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.CNV"), ".gif=.jpg\r\n.htm=.html\r\n");
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.EXT"), ".TXT\r\n.log\r\n");
    char value[128] = "";
    GetProfileStringA("Extensions", "vlt", "", value, sizeof value);
    EXPECT_STREQ(value, "notepad ^.vlt");
    EXPECT_LT((int)SendMessageA(localList, LB_GETITEMHEIGHT, 0, 0), before) << "ANSI Fixed is smaller";
}

TEST_F(GuiOptions, DragsDropsAndViewsAgainstAServer)
{
    CreateDirectoryA((root + "\\dest").c_str(), nullptr);
    WriteTextFile(root + "\\moveme.txt", "move me");
    WriteTextFile(root + "\\show.txt", "server bytes");
    WriteTextFile(local + "\\drag.txt", "dragged");
    WriteTextFile(folder + "\\outside.txt", "from another program");
    Connect();
    ASSERT_TRUE(WaitUntil([&] { return RowOf(remoteList, "moveme.txt") >= 0; })) << "connected";

    Drag(localList, "drag.txt", remoteList, "moveme.txt");
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\drag.txt") == "dragged"; })) << "uploaded";

    Drag(remoteList, "moveme.txt", remoteList, "dest", "drag-in-progress.bmp");
    HWND ask = WaitForWindow(app, "#32770", "Veltro Lite", 10000);
    ASSERT_NE(ask, nullptr) << "the move is asked";
    PostMessageA(ask, WM_COMMAND, IDYES, 0);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(root + "\\dest\\moveme.txt"); })) << "moved into dest";

    // Another program's drop: a dropped-files block in the program's memory.
    const std::string path = folder + "\\outside.txt";
    std::string block(sizeof(DROPFILES), '\0');
    ((DROPFILES *)&block[0])->pFiles = sizeof(DROPFILES);
    block += path + std::string(2, '\0');
    void *remote = VirtualAllocEx(app.info.hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(remote && WriteProcessMemory(app.info.hProcess, remote, block.data(), block.size(), nullptr));
    PostMessageA(remoteList, WM_DROPFILES, (WPARAM)remote, 0);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\outside.txt") == "from another program"; }))
        << "a drop from another program uploads";

    SendMessageA(remoteList, LB_SETSEL, FALSE, -1);
    SendMessageA(remoteList, LB_SETSEL, TRUE, RowOf(remoteList, "show.txt"));
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_VIEW, 0);
    // The viewer ("cmd /c copy") copies the display file into the local folder.
    EXPECT_TRUE(WaitUntil([&] { return !FilesMatching(local, "DSP*.txt").empty(); })) << "viewer started";
    auto shown = FilesMatching(local, "DSP*.txt");
    EXPECT_EQ(shown.empty() ? "" : ReadTextFile(local + "\\" + shown[0]), "server bytes");
}

} // namespace
