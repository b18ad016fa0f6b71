// The real program driven through its windows: one change on every page of
// the options sheet and a list font chosen in the common font dialog; Exec
// of a file whose extension has no association; drags between and within
// the lists, drops from this process on a list and on the minimized window,
// and the view of a remote file, against a real server.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "real_server_helper.h"
#include "resources/resource.h"
#include "veltro_process_helper.h"

namespace {

class GuiOptions : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("guioptions"), local = folder + "\\files";
    std::string root = ServerFile(RealServers[1], "");
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        root.pop_back();
        CreateDirectoryA(local.c_str(), nullptr);
        WriteTextFile(local + "\\drag.txt", "dragged");
        WriteTextFile(folder + "\\VELTRO.CNV", ".htm=.x\n.gif=.jpg\n");
        WriteTextFile(folder + "\\VELTRO.EXT", ".TXT\n");
    }
    void Start(const std::string &config, const std::string &site = "")
    {
        WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\nSESSION=site\nAUTOSTART=0\nLOC=0,0,1260,900,800,0\n" +
                      config + "VIEWER=cmd /c copy\n[site]\nHOST=127.0.0.1\nUID=" + Env("VELTRO_FTP_USER") +
                      "\nPORT=" + Env("VELTRO_PYFTPD_PORT") + "\nLOCDIR=" + local + "\n" + site);
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
        ASSERT_NE(main, nullptr);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); }
    int RowOf(HWND list, const char *name) { return PaneRowOf(app.info.hProcess, list, name); }
    int RowHeight() { return (int)SendMessageA(localList, LB_GETITEMHEIGHT, 0, 0); }
    // Waits for a dialog of the program, types into its field, saves its
    // picture and presses the button; returns the prompt shown.
    std::string Answer(const char *title, int field, const std::string &text, int button = IDOK,
                       const char *picture = nullptr)
    {
        HWND d = WaitForWindow(app, "#32770", title, 15000);
        if (!d) return std::string("(no dialog ") + title + ")";
        Sleep(300);
        char prompt[400] = "";
        GetDlgItemTextA(d, IDC_INPUT_PROMPT, prompt, sizeof prompt);
        if (field) SetDlgItemTextA(d, field, text.c_str());
        if (picture) SaveWindowPicture(d, picture);
        PostMessageA(d, WM_COMMAND, button, 0);
        WaitUntil([&] { return !IsWindow(d); }, 10000);
        return prompt;
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
    // Another program's drop: a dropped-files block in the program's memory.
    void DropFrom(HWND target, const std::vector<std::string> &paths)
    {
        std::string block(sizeof(DROPFILES), '\0');
        ((DROPFILES *)&block[0])->pFiles = sizeof(DROPFILES);
        for (const std::string &path : paths) block += path + '\0';
        block += '\0';
        void *memory = VirtualAllocEx(app.info.hProcess, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
        ASSERT_TRUE(memory && WriteProcessMemory(app.info.hProcess, memory, block.data(), block.size(), nullptr));
        PostMessageA(target, WM_DROPFILES, (WPARAM)memory, 0);
    }
};

TEST_F(GuiOptions, EveryPageStoresItsChangeAndTheFontDialogSetsTheListFont)
{
    Start("FONT=4\nFHEIGHT=-30\n");
    const int before = RowHeight();
    EXPECT_GE(before, 30) << "the custom font of 30 pixels sets the row height";
    // The date column follows the list font: 14 characters of 30 pixels need over 200 (the default is 120).
    RECT header;
    GetWindowRect(GetDlgItem(main, IDC_LOCAL_HEADER0 + 2), &header);
    EXPECT_GT(header.right - header.left, 200) << "the date column fits the dates";
    SaveWindowPicture(main, "list-font-30px.bmp");

    PostMessageA(main, WM_COMMAND, IDM_OPTIONS, 0);
    HWND sheet = WaitForWindow(app, "#32770", nullptr, 20000);
    ASSERT_NE(sheet, nullptr);
    // {page, control, text to type or "" to click}
    const struct { int page, id; const char *text; } edits[] = {
        {0, IDC_OPT_VIEWER, "myviewer"}, {1, IDC_OPT_RBP, "50"}, {1, IDC_OPT_SBP, "10000"},
        {2, IDC_OPT_SCALE, ""}, {3, IDC_OPT_SND_NONE, ""}, {4, IDC_OPT_RSORT0 + 4, ""},
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
    // "Custom Font" opens the common font dialog at once: 12 points, OK.
    SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
    PostMessageA(GetDlgItem((HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0), IDC_OPT_FONT0 + 4), BM_CLICK, 0, 0);
    HWND font = WaitForWindow(app, "#32770", "Font", 15000);
    ASSERT_NE(font, nullptr) << "the font dialog";
    std::string face;   // a face this machine has
    for (const char *name : {"Tahoma", "DejaVu Sans", "Liberation Sans"})
        if (face.empty() && SendDlgItemMessageA(font, cmb1, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name) >= 0) face = name;
    for (const auto &choice : {std::make_pair(cmb1, face.c_str()), std::make_pair(cmb3, "12")}) {
        HWND box = GetDlgItem(font, choice.first);
        int index = (int)SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)choice.second);
        ASSERT_GE(SendMessageA(box, CB_SETCURSEL, index, 0), 0) << choice.second;
        SendMessageA(font, WM_COMMAND, MAKEWPARAM(choice.first, CBN_SELCHANGE), (LPARAM)box);
    }
    Sleep(300);
    SaveWindowPicture(font, "font-dialog.bmp");
    PostMessageA(font, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(font); }));
    EXPECT_LT(RowHeight(), before) << "the rows follow the 12-point font at once";

    RECT was, now;
    GetWindowRect(main, &was);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet); }));
    GetWindowRect(main, &now);
    EXPECT_EQ(1, abs((now.right - now.left) - (was.right - was.left))) << "SCALE lays the window out again";
    SaveWindowPicture(main, "main-scale-96dpi.bmp");
    std::string ini = ReadIniText(folder + "\\VELTRO.INI");
    const std::vector<std::string> lines = {"VIEWER=myviewer", "RBP=80", "SBP=4096", "SCALE=1", "FONT=4",
        "FHEIGHT=4294967280", "FNAME=" + face, "BELL=0", "RSORT=4", "KEPDIROW=0", "CONVEXT=1", "STOU=1"};
    for (const std::string &line : lines)
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.CNV"), ".gif=.jpg\r\n.htm=.html\r\n");
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.EXT"), ".TXT\r\n.log\r\n");
    char value[128] = "";
    GetProfileStringA("Extensions", "vlt", "", value, sizeof value);
    EXPECT_STREQ(value, "notepad ^.vlt");
}

TEST_F(GuiOptions, ExecOfAnUnknownExtensionAsksForItsProgramAt144Dpi)
{
    HKEY key; DWORD dpi = 144;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key));
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, (const BYTE *)&dpi, sizeof dpi);
    const std::string stub = folder + "\\stub.bat", file = folder + "\\run.vlx";
    WriteTextFile(stub, "@echo %*> " + folder + "\\stub-args.txt\r\n");
    WriteTextFile(file, "x");
    Start("SCALE=1\n");
    RECT name;
    GetWindowRect(GetDlgItem(main, IDC_LOCAL_HEADER0 + 1), &name);
    EXPECT_EQ(MulDiv(120, 144, 96), name.right - name.left) << "the columns scale with the DPI";
    SaveWindowPicture(main, "main-scale-144dpi.bmp");
    SaveWindowPicture(main, "panes-144dpi.bmp");
    ASSERT_TRUE(WaitUntil([&] { return RowOf(localList, "run.vlx") >= 0; }));
    SendMessageA(localList, LB_SETSEL, TRUE, RowOf(localList, "run.vlx"));
    PostMessageA(main, WM_COMMAND, IDM_LOCAL_EXEC, 0);
    Answer("Associate", IDC_OPT_ASSOC_CMD, stub, IDOK, "associate-dialog.bmp");
    char value[MAX_PATH] = "";
    GetProfileStringA("Extensions", "vlx", "", value, sizeof value);
    EXPECT_EQ(stub + " ^.vlx", value);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(folder + "\\stub-args.txt"); })) << "the program ran";
    std::string args = ReadTextFile(folder + "\\stub-args.txt");
    EXPECT_EQ(file, args.substr(0, args.find_last_not_of("\r\n ") + 1));
    RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

TEST_F(GuiOptions, DragsAndDropsObeyThePromptSettingAgainstAServer)
{
    CreateDirectoryA((root + "\\dest").c_str(), nullptr);
    WriteTextFile(root + "\\moveme.txt", "move me");
    WriteTextFile(root + "\\show.txt", "server bytes");
    WriteTextFile(folder + "\\outside.txt", "from another program");
    CreateDirectoryA((folder + "\\tree").c_str(), nullptr);
    WriteTextFile(folder + "\\tree\\leaf.txt", "leaf");
    Start("", "PROMPT=1\n");
    PostMessageA(main, WM_COMMAND, IDM_CONNECT, 0);
    HWND sheet = WaitForWindow(app, "#32770", nullptr, 20000);
    ASSERT_NE(sheet, nullptr);
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    SendDlgItemMessageA(page, IDC_SITE_PASSWORD, WM_SETTEXT, 0, (LPARAM)Env("VELTRO_FTP_PASS").c_str());
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(WaitUntil([&] { return RowOf(remoteList, "moveme.txt") >= 0; })) << "connected";

    Drag(localList, "drag.txt", remoteList, "moveme.txt");
    EXPECT_EQ("Enter remote file name for " + local + "\\drag.txt:", Answer("Input", IDC_INPUT_FIELD, "up.txt"));
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\up.txt") == "dragged"; })) << "uploaded";

    Drag(remoteList, "show.txt", localList, "drag.txt");
    EXPECT_EQ("Enter local file name for show.txt:", Answer("Input", IDC_INPUT_FIELD, "got.txt"));
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\got.txt") == "server bytes"; })) << "downloaded";

    Drag(remoteList, "moveme.txt", remoteList, "dest", "drag-in-progress.bmp");
    Answer("Veltro Lite", 0, "", IDYES);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(root + "\\dest\\moveme.txt"); })) << "moved into dest";

    DropFrom(remoteList, {folder + "\\outside.txt"});
    EXPECT_NE(Answer("Input", IDC_INPUT_FIELD, "outside.txt").find("outside.txt"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\outside.txt") == "from another program"; }))
        << "a drop from another program uploads";

    // Dropped on the minimized window: a file (asked for) and a whole folder.
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
    DropFrom(main, {local + "\\drag.txt", folder + "\\tree"});
    Answer("Input", IDC_INPUT_FIELD, "min.txt");
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(root + "\\tree\\leaf.txt") == "leaf"; })) << "folder walked";
    EXPECT_EQ(ReadTextFile(root + "\\min.txt"), "dragged");
    ShowWindow(main, SW_RESTORE);

    SendMessageA(remoteList, LB_SETSEL, FALSE, -1);
    SendMessageA(remoteList, LB_SETSEL, TRUE, RowOf(remoteList, "show.txt"));
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_VIEW, 0);
    // The viewer ("cmd /c copy") copies the display file into the local folder.
    EXPECT_TRUE(WaitUntil([&] { return !FilesMatching(local, "DSP*.txt").empty(); })) << "viewer started";
    auto shown = FilesMatching(local, "DSP*.txt");
    EXPECT_EQ(shown.empty() ? "" : ReadTextFile(local + "\\" + shown[0]), "server bytes");
}

} // namespace
