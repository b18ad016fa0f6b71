// Batches through the windows of the real program against pyftpdlib: whole
// trees down and up byte for byte, a selection with the folder question
// answered No, a cancel in the middle, and server names that try to leave
// the chosen folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <stddef.h>
#include <stdlib.h>
#include <map>
#include <string>

#include "listing/file_item.h"
#include "resources/resource.h"
#include "sites/stored_password.h"
#include "veltro_process_helper.h"

namespace {

std::string Env(const char *name) { const char *v = getenv(name); return v ? v : ""; }
std::string WinPath(std::string p) { for (char &c : p) if (c == '/') c = '\\'; return "Z:" + p; }

template <class F> bool WaitUntil(F done, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(100))
        if (GetTickCount() - start > ms) return false;
    return true;
}

// The rows hold FileItem blocks of the program: their names are read from
// its memory.
HANDLE Program;
int RowOf(HWND list, const std::string &name)
{
    return PaneRowOf(Program, list, name);
}

// Every file under root by relative path, with its bytes.
void ReadTree(const std::string &root, const std::string &rel, std::map<std::string, std::string> *out)
{
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((root + rel + "\\*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = f.cFileName, path = rel + "\\" + name;
        if (name == "." || name == "..") continue;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) { (*out)[path + "\\"] = ""; ReadTree(root, path, out); }
        else (*out)[path] = ReadTextFile(root + path);
    } while (FindNextFileA(h, &f));
    FindClose(h);
}
std::map<std::string, std::string> Tree(const std::string &root)
{
    std::map<std::string, std::string> t;
    ReadTree(root, "", &t);
    return t;
}

// 20 folders (ten with a subfolder each) of 15 files of mixed sizes, empty
// ones among them, and a name with spaces.
void MakeTree(const std::string &root)
{
    CreateDirectoryA(root.c_str(), nullptr);
    for (int d = 0; d < 10; d++) {
        std::string top = root + "\\d" + std::to_string(d), sub = top + "\\inner " + std::to_string(d);
        CreateDirectoryA(top.c_str(), nullptr);
        CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < 15; f++) {
            size_t size = f % 5 == 0 ? 0 : (size_t)(f * f * 911 + d * 37) % 90000;
            std::string bytes(size, '\0');
            for (size_t i = 0; i < size; i++) bytes[i] = (char)((i * 131 + f * 7 + d) & 0xff);
            WriteTextFile(top + "\\f" + std::to_string(f) + ".bin", bytes);
            WriteTextFile(sub + "\\g " + std::to_string(f) + ".txt", bytes.substr(0, size / 3));
        }
    }
    WriteTextFile(root + "\\d0\\name with spaces.txt", "spaced\r\n");
}

class GuiBatch : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder, local, root = WinPath(Env("VELTRO_PYFTPD_ROOT"));
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        if (Env("VELTRO_PYFTPD_PORT").empty()) GTEST_SKIP() << "needs tests/servers/with-servers.sh";
        folder = MakeTestFolder("guibatch");
        local = folder + "\\files";
        CreateDirectoryA(local.c_str(), nullptr);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); }

    // The profile names pyftpdlib; the sheet opens at start and OK connects.
    void StartAndConnect(const std::string &shown)
    {
        std::string user = Env("VELTRO_FTP_USER"), pass = Env("VELTRO_FTP_PASS");
        WriteTextFile(folder + "\\VELTRO.INI",
                      "[_config_]\r\nAUTOSTART=1\r\nSESSION=py\r\nDOUPDATE=1\r\nMAILADDR=t@example.org\r\n"
                      "[py]\r\nHOST=127.0.0.1\r\nPORT=" + Env("VELTRO_PYFTPD_PORT") + "\r\nUID=" + user +
                      "\r\nPWD=" + EncodeStoredPassword(user.c_str(), pass.c_str()) + "\r\nLOCDIR=" + local + "\r\n");
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        Program = app.info.hProcess;
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
        ASSERT_NE(sheet, nullptr);
        main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        ASSERT_TRUE(Shows(remoteList, shown)) << "connected and listed: " << SendMessageA(remoteList, LB_GETCOUNT, 0, 0)
                                              << " rows";
    }
    bool Shows(HWND list, const std::string &name) { return WaitUntil([&] { return RowOf(list, name) >= 0; }); }
    void Press(int id) { PostMessageA(GetDlgItem(main, id), BM_CLICK, 0, 0); }
    void SelectRows(HWND list, std::initializer_list<std::string> names)
    {
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (const std::string &n : names) {
            ASSERT_TRUE(Shows(list, n)) << n;
            SendMessageA(list, LB_SETSEL, TRUE, RowOf(list, n));
            SendMessageA(list, LB_SETCARETINDEX, RowOf(list, n), FALSE);
        }
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), (LPARAM)list);
    }
    // The folder question: asked once, answered with button.
    void AnswerFolderQuestion(int button, const char *picture = nullptr)
    {
        HWND box = WaitForWindow(app, "#32770", "Veltro Lite", 20000);
        ASSERT_NE(box, nullptr) << "the folder question";
        if (picture) { Sleep(300); SaveWindowPicture(box, picture); }
        PostMessageA(box, WM_COMMAND, button, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_EQ(WaitForWindow(app, "#32770", "Veltro Lite", 1500), nullptr) << "asked only once";
    }
};

TEST_F(GuiBatch, TreeGoesDownAndUpByteForByte)
{
    MakeTree(root + "\\tree");
    CreateDirectoryA((root + "\\up").c_str(), nullptr);
    const auto source = Tree(root + "\\tree");
    ASSERT_EQ(source.size(), 321u);   // 20 folders, 301 files
    StartAndConnect("tree");

    SelectRows(remoteList, {"tree"});
    Press(IDM_DOWNLOAD);
    AnswerFolderQuestion(IDYES, "batch-folder-question.bmp");
    SaveWindowPicture(main, "batch-downloading.bmp");
    EXPECT_TRUE(WaitUntil([&] { return Tree(local + "\\tree") == source; }, 180000)) << "the tree came down whole";
    Sleep(1500);   // the batch ends after its last file
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.INI").find("REGETRFILE"), std::string::npos) << "no restart keys left";

    // Into the remote "up" and the local tree goes up.
    PostMessageA(main, WM_COMMAND, IDM_LOCAL_REFRESH, 0);
    SelectRows(remoteList, {"up"});
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_REMOTE_LIST, LBN_DBLCLK), (LPARAM)remoteList);   // as a double-click
    ASSERT_TRUE(WaitUntil([&] { return RowOf(remoteList, "tree") < 0 && RowOf(remoteList, "..") >= 0; }))
        << "a double-click on a short folder name opens it";
    SelectRows(localList, {"tree"});
    Press(IDM_UPLOAD);
    AnswerFolderQuestion(IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Tree(root + "\\up\\tree") == source; }, 180000)) << "the tree went up whole";
    EXPECT_TRUE(Shows(remoteList, "tree")) << "DOUPDATE refreshes the remote list";
    SaveWindowPicture(main, "batch-after-upload.bmp");

    // One log line per file each way, naming its folder.
    std::string log = ReadTextFile(local + "\\VELTRO.LOG") + ReadTextFile(folder + "\\VELTRO.LOG");
    auto count = [&](const char *arrow) {
        size_t n = 0;
        for (size_t at = log.find(arrow); at != std::string::npos; at = log.find(arrow, at + 1)) n++;
        return n;
    };
    EXPECT_EQ(count(" <-- py "), 241u) << "a line per file that brought bytes (none for the 60 empty ones)";
    EXPECT_EQ(count(" --> 127.0.0.1 "), 301u);
    EXPECT_NE(log.find("\\files\\tree\\d0\\name with spaces.txt <-- py "), std::string::npos);
    EXPECT_NE(log.find("\\files\\tree\\d3\\inner 3\\g 4.txt --> 127.0.0.1 "), std::string::npos);
}

TEST_F(GuiBatch, FolderQuestionAnsweredNoStillMovesTheFiles)
{
    CreateDirectoryA((root + "\\skipme").c_str(), nullptr);
    WriteTextFile(root + "\\skipme\\inside.txt", "no");
    WriteTextFile(root + "\\one.bin", std::string(5000, '\x01'));
    WriteTextFile(root + "\\two.txt", "two\r\n");
    StartAndConnect("skipme");
    SelectRows(remoteList, {"skipme", "one.bin", "two.txt"});
    Press(IDM_DOWNLOAD);
    AnswerFolderQuestion(IDNO);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\two.txt") == "two\r\n"; }));
    EXPECT_TRUE(ReadTextFile(local + "\\one.bin") == std::string(5000, '\x01'));
    EXPECT_FALSE(FileExists(local + "\\skipme"));
}

TEST_F(GuiBatch, CancelKeepsTheCompletedFiles)
{
    const std::string big(1 << 20, 'b');
    CreateDirectoryA((root + "\\many").c_str(), nullptr);
    for (int i = 0; i < 80; i++) WriteTextFile(root + "\\many\\m" + std::to_string(100 + i), big);
    StartAndConnect("many");
    SelectRows(remoteList, {"many"});
    Press(IDM_DOWNLOAD);
    AnswerFolderQuestion(IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Tree(local + "\\many").size() >= 4; }));
    PostMessageA(main, WM_COMMAND, IDM_CANCEL, 0);
    Sleep(3000);
    const auto got = Tree(local + "\\many");
    EXPECT_LT(got.size(), 80u) << "the batch stopped";
    int partial = 0;
    for (const auto &f : got) partial += f.second != big;
    EXPECT_LE(partial, 1) << "only the file in flight is short";
    Sleep(2000);
    EXPECT_EQ(Tree(local + "\\many").size(), got.size()) << "nothing more arrives";
    DWORD_PTR answer;
    EXPECT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "the window lives";
}

// Names the server lists may try to climb out or name devices; the batch
// keeps every byte inside the chosen folder.
TEST_F(GuiBatch, ServerNamesNeverLeaveTheChosenFolder)
{
    std::string base = Env("VELTRO_PYFTPD_ROOT") + "/evil";
    std::string script = "mkdir -p '" + base + "/..\\up' && cd '" + base + "' && "
                         "printf a > '..\\..\\escape.txt' && printf b > 'C:evil.txt' && printf c > CON && "
                         "printf d > nul.txt && printf e > COM1.log && printf f > '..\\up/..\\..\\deep.txt'";
    std::string command = "Z:\\bin\\sh -c \"" + script + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    StartAndConnect("evil");
    const auto before = Tree(folder);

    SelectRows(remoteList, {"evil"});
    Press(IDM_DOWNLOAD);
    AnswerFolderQuestion(IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Tree(local + "\\evil").size() == 7; })) << "six files and a folder";
    Sleep(1000);
    std::string joined;
    for (const auto &f : Tree(local + "\\evil")) joined += f.second;
    EXPECT_EQ(joined.size(), 6u) << "every file arrived under the chosen folder";
    auto after = Tree(folder);
    for (const auto &f : after) {
        if (before.count(f.first) == 0 && f.first.find(".LOG") == std::string::npos) {
            EXPECT_EQ(f.first.rfind("\\files\\evil\\", 0), 0u) << f.first << " landed outside";
        }
    }
    EXPECT_FALSE(FileExists(folder + "\\escape.txt"));
    EXPECT_FALSE(FileExists(local + "\\deep.txt"));
}

}  // namespace
