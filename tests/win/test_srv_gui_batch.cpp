// Batches through the windows of the real program: whole trees down and up
// byte for byte on vsftpd and pyftpdlib with the transfer log's lines, a
// selection with the folder question answered No, the overwrite question's
// answers, a cancel in the middle, server names that try to leave the
// chosen folder, the destination-name prompt with Ctrl held, the event
// sounds by their mask, and the edit round trip of a remote file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <map>
#include <regex>
#include <string>

#include "real_server_helper.h"
#include "resources/resource.h"
#include "sites/stored_password.h"
#include "veltro_process_helper.h"

namespace {

// Every file under root by relative path, with its bytes.
std::map<std::string, std::string> Tree(const std::string &root, const std::string &rel = "")
{
    std::map<std::string, std::string> t;
    ForEachEntry(root + rel, [&](const std::string &name, bool isFolder) {
        const std::string path = rel + "\\" + name;
        if (isFolder)
            t.merge(Tree(root, path));
        t[path + (isFolder ? "\\" : "")] = isFolder ? "" : ReadTextFile(root + path);
    });
    return t;
}

// 20 folders (ten with a subfolder each) of 50 files each: mixed sizes, one
// in five empty, one name with spaces.
void MakeTree(const std::string &root)
{
    CreateDirectoryA(root.c_str(), nullptr);
    for (int d = 0; d < 10; d++) {
        std::string top = root + "\\d" + std::to_string(d), sub = top + "\\inner " + std::to_string(d);
        CreateDirectoryA(top.c_str(), nullptr);
        CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < 50; f++) {
            size_t size = f % 5 == 0 ? 0 : f == 7 ? 300000 : (size_t)(f * f * 911 + d * 37) % 20000;
            std::string bytes(size, '\0');
            for (size_t i = 0; i < size; i++) bytes[i] = (char)((i * 131 + f * 7 + d) & 0xff);
            WriteTextFile(top + (d == 0 && f == 1 ? "\\name with spaces.txt" : "\\f" + std::to_string(f) + ".bin"), bytes);
            WriteTextFile(sub + "\\g " + std::to_string(f) + ".txt", bytes.substr(0, size / 3));
        }
    }
}

size_t Count(const std::string &text, const std::string &part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
}

const SYSTEMTIME May2020 = {2020, 5, 2, 5, 0, 0, 0, 0};   // listed as "May  5  2020"
// A wave file of 8 kHz mono 8-bit samples, without samples.
const std::string Wave("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data\0\0\0\0", 44);

class GuiBatch : public ::testing::Test {
protected:
    const RealServer *server = &RealServers[1];
    VeltroProcess app;
    std::string folder, local, root;
    HWND main = nullptr, localList = nullptr, remoteList = nullptr;

    void SetUp() override
    {
        if (!RealServersRunning()) GTEST_SKIP() << "needs tests/servers/with-servers.sh";
        root = ServerFile(*server, "");
        root.pop_back();
        folder = MakeTestFolder("guibatch");
        local = folder + "\\files";
        CreateDirectoryA(local.c_str(), nullptr);
    }
    void TearDown() override { KillVeltro(&app); RemoveTree(folder); }

    // The profile names the server; the sheet opens at start and OK connects.
    void StartAndConnect(const std::string &shown, const std::string &config = "")
    {
        std::string user = Env("VELTRO_FTP_USER"), pass = Env("VELTRO_FTP_PASS");
        WriteTextFile(folder + "\\VELTRO.INI",
                      "[_config_]\r\nAUTOSTART=1\r\nSESSION=" + std::string(server->name) +
                      "\r\nDOUPDATE=1\r\nMAILADDR=t@example.org\r\n" + config + "[" + server->name +
                      "]\r\nHOST=127.0.0.1\r\nPORT=" + Env(server->portVariable) + "\r\nUID=" + user +
                      "\r\nPWD=" + EncodeStoredPassword(user.c_str(), pass.c_str()) + "\r\nLOCDIR=" + local + "\r\n");
        ASSERT_TRUE(StartVeltro(&app, folder, ""));
        HWND sheet = WaitForWindow(app, "#32770", nullptr, 30000);
        ASSERT_NE(sheet, nullptr);
        main = WaitForWindow(app, "Veltro Lite", nullptr, 10000);
        localList = GetDlgItem(main, IDC_LOCAL_LIST);
        remoteList = GetDlgItem(main, IDC_REMOTE_LIST);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        ASSERT_TRUE(Shows(remoteList, shown)) << "connected and listed: " << SendMessageA(remoteList, LB_GETCOUNT, 0, 0)
                                              << " rows";
    }
    int RowOf(HWND list, const std::string &name) { return PaneRowOf(app.info.hProcess, list, name); }
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
    // A question box of the title answered with the button; allShown (0 or
    // 1) checks the overwrite question's two "All" buttons.
    void Answer(const char *title, int button, const char *picture = nullptr, int allShown = -1)
    {
        HWND box = WaitForWindow(app, "#32770", title, 20000);
        ASSERT_NE(box, nullptr) << title;
        for (int id : {IDC_OVERWRITE_YES_ALL, IDC_OVERWRITE_NO_ALL})
            EXPECT_TRUE(allShown < 0 || (IsWindowVisible(GetDlgItem(box, id)) != 0) == (allShown == 1)) << title << " " << id;
        if (picture) { Sleep(300); SaveWindowPicture(box, picture); }
        PostMessageA(box, WM_COMMAND, button, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    bool Asks(const char *title, DWORD ms = 1500) { return WaitForWindow(app, "#32770", title, ms) != nullptr; }
};

// The same batches on both servers.
class GuiBatchOn : public GuiBatch, public ::testing::WithParamInterface<int> {
protected:
    GuiBatchOn() { server = &RealServers[GetParam()]; }
};
INSTANTIATE_TEST_SUITE_P(Servers, GuiBatchOn, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int> &i) { return std::string(RealServers[i.param].name); });

TEST_P(GuiBatchOn, TreeGoesDownAndUpByteForByte)
{
    MakeTree(root + "\\tree");
    const auto source = Tree(root + "\\tree");
    ASSERT_EQ(source.size(), 1020u);   // 20 folders, 1,000 files
    StartAndConnect("tree", "logfile=" + folder + "\\transfers.log\r\n");
    const std::string site = server->name, log = folder + "\\transfers.log";
    const std::string home = site == "vsftpd" ? Env(server->rootVariable) : "";   // vsftpd's PWD shows the full path

    SelectRows(remoteList, {"tree"});
    Press(IDM_DOWNLOAD);
    Answer("Veltro Lite", IDYES, "batch-folder-question.bmp");
    EXPECT_FALSE(Asks("Veltro Lite")) << "asked only once";
    SaveWindowPicture(main, "batch-downloading.bmp");
    EXPECT_TRUE(WaitUntil([&] { return Tree(local + "\\tree") == source; }, 300000, 2000)) << "the tree came down whole";
    EXPECT_TRUE(WaitUntil([&] { return Count(ReadTextFile(log), " <-- ") == 800; })) << "a line per file that brought bytes";
    Sleep(1500);   // the batch ends after its last file
    EXPECT_EQ(ReadTextFile(folder + "\\VELTRO.INI").find("REGETRFILE"), std::string::npos) << "no restart keys left";

    // Under another name the local tree goes up into the server's home.
    ASSERT_TRUE(MoveFileA((local + "\\tree").c_str(), (local + "\\back").c_str()));
    PostMessageA(main, WM_COMMAND, IDM_LOCAL_REFRESH, 0);
    SelectRows(localList, {"back"});
    Press(IDM_UPLOAD);
    Answer("Veltro Lite", IDYES);
    EXPECT_TRUE(WaitUntil([&] { return Tree(root + "\\back") == source; }, 300000, 2000)) << "the tree went up whole";
    EXPECT_TRUE(Shows(remoteList, "back")) << "DOUPDATE refreshes the remote list";
    SaveWindowPicture(main, "batch-after-upload.bmp");

    // One line per file each way, in the log's format.
    EXPECT_TRUE(WaitUntil([&] { return Count(ReadTextFile(log), " --> 127.0.0.1 ") == 1000; }));
    const std::string lines = ReadTextFile(log);
    const std::regex stamp(R"(\d{4}\.\d\d\.\d\d \d\d:\d\d [AB] )");
    for (const std::string &line : {local + "\\tree\\d0\\name with spaces.txt <-- " + site + " " + home +
                                        "/tree/d0 name with spaces.txt\r\n",
                                    local + "\\back\\d3\\inner 3\\g 4.txt --> 127.0.0.1 " + home +
                                        "/back/d3/inner 3 g 4.txt\r\n"}) {
        size_t at = lines.find(line);
        ASSERT_TRUE(at != std::string::npos && at >= 19) << line;
        EXPECT_TRUE(std::regex_match(lines.substr(at - 19, 19), stamp) && (at == 19 || lines[at - 20] == '\n'))
            << lines.substr(at - 19, 19);
    }
    EXPECT_EQ(Count(lines, "\n"), 1800u);
}

// Remote files of one day; local copies of the same size: a newer, b c d
// the same stamp, e older (copied without a question).
TEST_F(GuiBatch, OverwriteAnswersDecideWhichFilesChange)
{
    const SYSTEMTIME newer = {2024, 1, 1, 1, 0, 0, 0, 0}, older = {2010, 1, 5, 1, 0, 0, 0, 0};
    for (char c : std::string("abcde")) {
        std::string name = std::string(1, c) + ".txt";
        WriteTextFile(root + "\\" + name, "new " + name);
        SetFileWriteTime(root + "\\" + name, May2020);
        WriteTextFile(local + "\\" + name, "old " + name);
        SetFileWriteTime(local + "\\" + name, c == 'a' ? newer : c == 'e' ? older : May2020);
    }
    auto changed = [&] {
        std::string letters;
        for (char c : std::string("abcde"))
            if (ReadTextFile(local + "\\" + c + ".txt").rfind("new", 0) == 0) letters += c;
        return letters;
    };
    StartAndConnect("e.txt");
    SelectRows(remoteList, {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    Press(IDM_DOWNLOAD);
    Answer("a.txt", IDYES, "overwrite-all-buttons.bmp", 1);
    Answer("b.txt", IDNO, nullptr, 1);
    Answer("c.txt", IDC_OVERWRITE_NO_ALL, nullptr, 1);
    EXPECT_TRUE(WaitUntil([&] { return changed() == "ae"; })) << changed();
    EXPECT_FALSE(Asks("d.txt")) << "no to all is remembered";

    SelectRows(remoteList, {"b.txt"});   // one file: no "All" buttons
    Press(IDM_DOWNLOAD);
    Answer("b.txt", IDNO, "overwrite-one-file.bmp", 0);
    Sleep(1500);
    EXPECT_EQ(changed(), "ae");

    SelectRows(remoteList, {"b.txt", "c.txt", "d.txt"});
    Press(IDM_DOWNLOAD);
    Answer("b.txt", IDC_OVERWRITE_YES_ALL, nullptr, 1);
    EXPECT_TRUE(WaitUntil([&] { return changed() == "abcde"; })) << changed();
    EXPECT_FALSE(Asks("c.txt") || Asks("d.txt", 100)) << "yes to all is remembered";
}

TEST_F(GuiBatch, CancelKeepsTheCompletedFiles)
{
    const std::string big(1 << 20, 'b');
    CreateDirectoryA((root + "\\many").c_str(), nullptr);
    for (int i = 0; i < 80; i++) WriteTextFile(root + "\\many\\m" + std::to_string(100 + i), big);
    WriteTextFile(root + "\\after.txt", "after");
    StartAndConnect("many");
    SelectRows(remoteList, {"many"});
    Press(IDM_DOWNLOAD);
    Answer("Veltro Lite", IDYES);
    HWND status = WaitForWindow(app, "#32770", "Transfer Status", 10000);
    ASSERT_TRUE(WaitUntil([&] { return Tree(local + "\\many").size() >= 4; }));
    Press(IDM_CANCEL);
    Sleep(1000);
    const auto got = Tree(local + "\\many");
    EXPECT_LT(got.size(), 80u) << "the batch stopped";
    int partial = 0;
    for (const auto &f : got) partial += f.second != big;
    EXPECT_LE(partial, 1) << "only the file in flight is short";
    Sleep(2000);
    EXPECT_TRUE(Tree(local + "\\many") == got) << "nothing more arrives within a second of the cancel";
    // (Wine takes up to 2 s to close a window on a display without a window manager.)
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(status); }, 5000));
    SelectRows(remoteList, {"after.txt"});
    Press(IDM_DOWNLOAD);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\after.txt") == "after"; })) << "the next command works";
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
    Answer("Veltro Lite", IDYES);
    ASSERT_TRUE(WaitUntil([&] { return Tree(local + "\\evil").size() == 7; })) << "six files and a folder";
    Sleep(1000);
    std::string joined;
    for (const auto &f : Tree(local + "\\evil")) joined += f.second;
    EXPECT_EQ(joined.size(), 6u) << "every file arrived under the chosen folder";
    for (const auto &f : Tree(folder))
        EXPECT_TRUE(before.count(f.first) || f.first.find(".LOG") != std::string::npos ||
                    f.first.rfind("\\files\\evil\\", 0) == 0) << f.first << " landed outside";
    EXPECT_FALSE(FileExists(folder + "\\escape.txt"));
    EXPECT_FALSE(FileExists(local + "\\deep.txt"));
}

// Each event's wave key names a file of the test's own; playing a wave
// reads its file, which moves the file's access time out of 2001.
void AgeAccessTime(const std::string &path)
{
    const SYSTEMTIME y2001 = {2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME past;
    SystemTimeToFileTime(&y2001, &past);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, &past, nullptr);
    CloseHandle(h);
}
bool WasRead(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME t = {};
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) FileTimeToSystemTime(&data.ftLastAccessTime, &t);
    return t.wYear > 2001;
}

TEST_F(GuiBatch, SoundsFollowTheirEventMask)
{
    const std::string probe = folder + "\\probe.wav";
    WriteTextFile(probe, Wave);
    AgeAccessTime(probe);
    ReadTextFile(probe);
    if (!WasRead(probe)) GTEST_SKIP() << "this file system keeps no access times";
    const struct { const char *config, *afterConnect, *afterDownload; } runs[] = {
        {"soundflags=8", "", "8 "},     // transfer success only: the listing fetches stay silent
        {"soundflags=18", "2 ", "2 "},  // connection success and transfer failure
        {"usewave=0", "", ""},          // beeps only
    };
    const char *keys[] = {"sndaf", "sndcs", "sndcf", "sndts", "sndtf"};
    auto wave = [&](int bit) { return folder + "\\" + std::to_string(1 << bit) + ".wav"; };
    WriteTextFile(root + "\\tune.bin", "notes");
    for (const auto &run : runs) {
        SCOPED_TRACE(run.config);
        std::string config = std::string(run.config) + "\r\n";
        for (int bit = 0; bit < 5; bit++) {
            WriteTextFile(wave(bit), Wave);
            AgeAccessTime(wave(bit));
            config += std::string(keys[bit]) + "=" + wave(bit) + "\r\n";
        }
        auto played = [&] {
            std::string events;
            for (int bit = 0; bit < 5; bit++)
                if (WasRead(wave(bit))) events += std::to_string(1 << bit) + " ";
            return events;
        };
        StartAndConnect("tune.bin", config);
        Sleep(2000);
        EXPECT_EQ(played(), run.afterConnect);
        SelectRows(remoteList, {"tune.bin"});
        Press(IDM_DOWNLOAD);
        EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\tune.bin") == "notes"; }));
        Sleep(2000);
        EXPECT_EQ(played(), run.afterDownload);
        KillVeltro(&app);
        DeleteFileA((local + "\\tune.bin").c_str());
    }
}

// A selection with the folder question answered No; Ctrl held on "<--"
// turns the destination-name prompt on; the editor ("VIEWER", for
// extensions without an association) is a script that appends a line,
// unless a marker file tells it to leave the file be.
TEST_F(GuiBatch, SelectionPromptAndEditRoundTrip)
{
    CreateDirectoryA((root + "\\skipme").c_str(), nullptr);
    WriteTextFile(root + "\\skipme\\inside.txt", "no");
    WriteTextFile(root + "\\one.bin", std::string(5000, '\x01'));
    WriteTextFile(root + "\\two.txt", "two\r\n");
    WriteTextFile(root + "\\asked.bin", "payload");
    const std::string editor = folder + "\\edit.cmd", keep = folder + "\\keep", remote = root + "\\notes.vle";
    WriteTextFile(editor, "@if not exist \"" + keep + "\" echo edited>> %1\r\n");
    WriteTextFile(remote, "first\r\n");
    StartAndConnect("skipme", "dolog=0\r\nlogfile=" + folder + "\\transfers.log\r\nVIEWER=cmd /c " + editor + "\r\n");
    SelectRows(remoteList, {"skipme", "one.bin", "two.txt"});
    Press(IDM_DOWNLOAD);
    Answer("Veltro Lite", IDNO);
    EXPECT_FALSE(Asks("Veltro Lite")) << "asked only once";
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\two.txt") == "two\r\n"; }));
    EXPECT_TRUE(ReadTextFile(local + "\\one.bin") == std::string(5000, '\x01'));
    EXPECT_FALSE(FileExists(local + "\\skipme"));
    Sleep(1500);   // the batch ends after its last file

    SelectRows(remoteList, {"asked.bin"});
    SetForegroundWindow(main);
    keybd_event(VK_CONTROL, 0, 0, 0);
    Sleep(500);   // the key reaches the window's thread before the click
    Press(IDM_DOWNLOAD);
    HWND input = WaitForWindow(app, "#32770", "Input", 20000);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_NE(input, nullptr) << "the destination-name prompt";
    SetDlgItemTextA(input, IDC_INPUT_FIELD, "renamed.bin");
    SaveWindowPicture(input, "batch-destination-name.bmp");
    PostMessageA(input, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(local + "\\renamed.bin") == "payload"; }));
    EXPECT_FALSE(FileExists(local + "\\asked.bin"));
    Sleep(1500);

    SelectRows(remoteList, {"notes.vle"});
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_EDIT, 0);
    std::string log(200000, '\0');   // the message log's text, for the failure message
    EXPECT_TRUE(WaitUntil([&] { return ReadTextFile(remote) == "first\r\nedited\r\n"; }))
        << (Asks("Input", 0) ? "a command-line prompt is open\n" : "")
        << log.substr(0, SendDlgItemMessageA(WaitForWindow(app, "VELTRDBWNDC", nullptr, 1000), IDC_LOG_EDIT,
                                             WM_GETTEXT, log.size(), (LPARAM)&log[0]));

    // Unchanged by the editor, the copy is still written back: a fresh stamp, the same bytes.
    WriteTextFile(keep, "");
    SetFileWriteTime(remote, May2020);
    PostMessageA(main, WM_COMMAND, IDM_REMOTE_EDIT, 0);
    EXPECT_TRUE(WaitUntil([&] {   // the stamp moves as the upload begins: the bytes are checked with it
        return FileWriteTime(remote).wYear > 2020 && ReadTextFile(remote) == "first\r\nedited\r\n";
    })) << ReadTextFile(remote);
    EXPECT_TRUE(WaitUntil([&] { return FilesMatching(app.tempFolder, "EDT*").empty(); })) << "the copies are removed";
    EXPECT_FALSE(FileExists(folder + "\\transfers.log")) << "dolog=0 writes no line";
}

}  // namespace
