// The unattended command line against real servers: the real veltro.exe is
// started with path words, runs to its end, and the files on both sides are
// compared byte for byte.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "sites/stored_password.h"
#include "veltro_process_helper.h"

namespace {

std::string Env(const char *name)
{
    const char *v = getenv(name);
    return v ? v : "";
}

// A Linux path of the servers' side as this Windows program sees it.
std::string Server(const std::string &linuxRoot, const std::string &relative)
{
    std::string path = "Z:" + linuxRoot + "/" + relative;
    for (char &c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string Bytes(size_t n, unsigned seed)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; i++) {
        seed = seed * 1103515245u + 12345u;
        s[i] = (char)(seed >> 16);
    }
    return s;
}

// Byte-for-byte equality without printing binary contents.
::testing::AssertionResult SameBytes(const std::string &expected, const std::string &actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        at++;
    return ::testing::AssertionFailure() << "expected " << expected.size() << " bytes, got " << actual.size()
                                         << ", first difference at " << at;
}

class CommandLine : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder, out, vroot, proot;
    bool ready = false;

    void SetUp() override
    {
        if (Env("VELTRO_VSFTPD_PORT").empty())
            GTEST_SKIP() << "needs the test servers (tests/servers/with-servers.sh)";
        vroot = Env("VELTRO_VSFTPD_ROOT");
        proot = Env("VELTRO_PYFTPD_ROOT");
        folder = MakeTestFolder("cmdline");
        out = folder + "\\out";
        CreateDirectoryA(out.c_str(), nullptr);
        WriteIni("");
        ready = true;
    }
    void TearDown() override
    {
        KillVeltro(&app);
        if (!folder.empty())
            RemoveTree(folder);
    }

    // Profiles "vs" and "py" name the two servers; extra goes to _config_.
    void WriteIni(const std::string &config, const std::string &vsExtra = "")
    {
        std::string user = Env("VELTRO_FTP_USER"), pass = Env("VELTRO_FTP_PASS");
        std::string stored = EncodeStoredPassword(user.c_str(), pass.c_str());
        std::string ini = "[_config_]\r\nAUTOSTART=0\r\nMAILADDR=tester@example.org\r\n" + config +
                          "[vs]\r\nHOST=127.0.0.1\r\nPORT=" + Env("VELTRO_VSFTPD_PORT") +
                          "\r\nUID=" + user + "\r\nPWD=" + stored + "\r\n" + vsExtra +
                          "[py]\r\nHOST=127.0.0.1\r\nPORT=" + Env("VELTRO_PYFTPD_PORT") +
                          "\r\nUID=" + user + "\r\nPWD=" + stored + "\r\n";
        WriteTextFile(folder + "\\VELTRO.INI", ini);
    }

    // Runs the program to its end; returns the exit code (or -1).
    long Run(const std::string &arguments, DWORD milliseconds = 60000)
    {
        EXPECT_TRUE(StartVeltro(&app, folder, arguments));
        DWORD code = 0;
        bool ended = WaitForExit(&app, milliseconds, &code);
        EXPECT_TRUE(ended) << "veltro " << arguments << " did not end";
        return ended ? (long)code : -1;
    }
    std::string Log() { return ReadTextFile(folder + "\\xferlog.txt"); }
    // A remote path on vsftpd: its user is not confined to the home folder,
    // so paths are the server's own (the home's full path). Folders made by
    // this test are not writable by the server's user: uploads go to the home.
    std::string V(const std::string &relative) { return vroot + "/" + relative; }
};

TEST_F(CommandLine, DownloadsOneBinaryFileIntoAFolder)
{
    std::string data = Bytes(300000, 1);
    CreateDirectoryA(Server(vroot, "dl").c_str(), nullptr);
    WriteTextFile(Server(vroot, "dl/file.bin"), data);
    EXPECT_EQ(0, Run("-quiet vs:" + V("dl/file.bin") + " local:" + out + "\\"));
    EXPECT_TRUE(SameBytes(data, ReadTextFile(out + "\\file.bin"))) << Log();
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("receiving file \"" + V("dl/file.bin") + "\" from site \"vs\"")) << log;
    EXPECT_NE(std::string::npos, log.find("Successful transfer")) << log;
}

TEST_F(CommandLine, DownloadsWithoutDestinationIntoCurrentFolderAndFromPyftpd)
{
    std::string data = Bytes(70000, 2);
    WriteTextFile(Server(proot, "only.bin"), data);
    EXPECT_EQ(0, Run("-quiet py:/only.bin"));
    EXPECT_TRUE(SameBytes(data, ReadTextFile(folder + "\\only.bin"))) << Log();
}

TEST_F(CommandLine, AsciiDownloadAndUploadConvertLineEnds)
{
    WriteTextFile(Server(vroot, "lines.txt"), "one\ntwo\n\nthree\n");
    EXPECT_EQ(0, Run("-quiet -ascii vs:" + V("lines.txt") + " local:" + out + "\\"));
    EXPECT_EQ("one\r\ntwo\r\n\r\nthree\r\n", ReadTextFile(out + "\\lines.txt"));

    WriteTextFile(out + "\\up.txt", "a\r\nb\r\n");
    EXPECT_EQ(0, Run("local:" + out + "\\up.txt vs:" + V("") + " -ascii -quiet"));
    EXPECT_EQ("a\nb\n", ReadTextFile(Server(vroot, "up.txt")));
}

TEST_F(CommandLine, ActiveModeUploadAndDownload)
{
    WriteIni("PASVMODE=0\r\n");
    std::string data = Bytes(150000, 3);
    WriteTextFile(out + "\\act.bin", data);
    EXPECT_EQ(0, Run("-quiet local:" + out + "\\act.bin vs:" + V("")));
    EXPECT_TRUE(SameBytes(data, ReadTextFile(Server(vroot, "act.bin")))) << Log();
    DeleteFileA((out + "\\act.bin").c_str());
    EXPECT_EQ(0, Run("-quiet vs:" + V("act.bin") + " local:" + out + "\\back.bin"));
    EXPECT_TRUE(SameBytes(data, ReadTextFile(out + "\\back.bin"))) << Log();
}

TEST_F(CommandLine, ZeroByteFilesAndNamesWithSpaces)
{
    CreateDirectoryA(Server(vroot, "sp ace").c_str(), nullptr);
    WriteTextFile(Server(vroot, "sp ace/empty file.dat"), "");
    EXPECT_EQ(0, Run("-quiet \"vs:" + V("sp ace/empty file.dat") + "\" \"local:" + out + "\\\""));
    EXPECT_TRUE(FileExists(out + "\\empty file.dat"));
    EXPECT_EQ("", ReadTextFile(out + "\\empty file.dat"));

    WriteTextFile(out + "\\my notes.bin", "x y z");
    EXPECT_EQ(0, Run("-quiet \"local:" + out + "\\my notes.bin\" \"vs:" + V("") + "\""));
    EXPECT_EQ("x y z", ReadTextFile(Server(vroot, "my notes.bin")));
}

TEST_F(CommandLine, PatternsDownloadEveryNlstNameAndUploadEveryMatch)
{
    CreateDirectoryA(Server(vroot, "pat").c_str(), nullptr);
    std::string a = Bytes(1000, 4), b = Bytes(20000, 5);
    WriteTextFile(Server(vroot, "pat/a.dat"), a);
    WriteTextFile(Server(vroot, "pat/b.dat"), b);
    WriteTextFile(Server(vroot, "pat/c.txt"), "not me");
    EXPECT_EQ(0, Run("-quiet //vs" + V("pat/*.dat") + " local:" + out + "\\"));
    EXPECT_TRUE(SameBytes(a, ReadTextFile(out + "\\a.dat"))) << Log();
    EXPECT_TRUE(SameBytes(b, ReadTextFile(out + "\\b.dat")));
    EXPECT_FALSE(FileExists(out + "\\c.txt"));
    // pyftpdlib refuses "NLST *.dat": the folder is listed and matched here.
    CreateDirectoryA(Server(proot, "pat").c_str(), nullptr);
    WriteTextFile(Server(proot, "pat/p.dat"), b);
    WriteTextFile(Server(proot, "pat/q.txt"), "not me");
    CreateDirectoryA((out + "\\py").c_str(), nullptr);
    EXPECT_EQ(0, Run("-quiet py:/pat/*.dat local:" + out + "\\py\\"));
    EXPECT_TRUE(SameBytes(b, ReadTextFile(out + "\\py\\p.dat"))) << Log();
    EXPECT_FALSE(FileExists(out + "\\py\\q.txt"));

    std::string up = folder + "\\up";
    CreateDirectoryA(up.c_str(), nullptr);
    WriteTextFile(up + "\\one.log", "1");
    WriteTextFile(up + "\\two.log", "22");
    WriteTextFile(up + "\\skip.txt", "3");
    CreateDirectoryA((up + "\\dir.log").c_str(), nullptr);
    EXPECT_EQ(0, Run("-quiet local:" + up + "\\*.l?g vs:" + V("")));
    EXPECT_EQ("1", ReadTextFile(Server(vroot, "one.log"))) << Log();
    EXPECT_EQ("22", ReadTextFile(Server(vroot, "two.log")));
    EXPECT_FALSE(FileExists(Server(vroot, "skip.txt")));
    EXPECT_FALSE(FileExists(Server(vroot, "dir.log")));
}

TEST_F(CommandLine, PatternWithoutMatchesFails)
{
    std::string up = folder + "\\none";
    CreateDirectoryA(up.c_str(), nullptr);
    EXPECT_EQ(12, Run("-quiet local:" + up + "\\*.zzz vs:" + V("")));
    EXPECT_NE(std::string::npos, Log().find("! Transfer failed for")) << Log();
}

TEST_F(CommandLine, PathThatNamesNothingReportsTheFailure)
{
    EXPECT_EQ(12, Run("-quiet vs:" + V("no/such/file.bin") + " local:" + out + "\\"));
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("! Transfer failed for " + V("no/such/file.bin") + " from vs")) << log;
    EXPECT_EQ(std::string::npos, log.find("Successful transfer")) << log;
}

// Starts the folder case for a path word and checks that the remote list
// shows the server folder's entries (".." first, then folders, then files),
// that the program stays, and that it closes cleanly afterwards.
void ExpectFolderShown(VeltroProcess *app, const std::string &folder, const std::string &word,
                       const std::vector<std::string> &expected)
{
    ASSERT_TRUE(StartVeltro(app, folder, "-quiet " + word));
    HWND main = WaitForWindow(*app, "Veltro Lite", nullptr, 30000);
    ASSERT_NE(nullptr, main);
    HWND list = GetDlgItem(main, 931);
    ASSERT_NE(nullptr, list);
    std::vector<std::string> rows;
    for (int tries = 0; tries < 100 && rows.size() < expected.size(); tries++) {
        Sleep(200);
        rows = PaneRowNames(app->info.hProcess, list);
    }
    EXPECT_EQ(expected, rows);
    DWORD code = 1;
    EXPECT_FALSE(WaitForExit(app, 500, &code)) << "the folder case keeps the program open";
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(app, 30000, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(FilesMatching(app->tempFolder, "DIR*").empty()) << "listing files are removed at exit";
}

TEST_F(CommandLine, FolderStaysConnectedAndShowsItsRowsOnBothServers)
{
    CreateDirectoryA(Server(vroot, "show").c_str(), nullptr);
    CreateDirectoryA(Server(vroot, "show/inner").c_str(), nullptr);
    WriteTextFile(Server(vroot, "show/first.txt"), "1");
    WriteTextFile(Server(vroot, "show/second.bin"), "22");
    ExpectFolderShown(&app, folder, "ftp://vs" + V("show/"), {"..", "inner", "first.txt", "second.bin"});
    CreateDirectoryA(Server(proot, "list").c_str(), nullptr);
    CreateDirectoryA(Server(proot, "list/b dir").c_str(), nullptr);
    CreateDirectoryA(Server(proot, "list/a").c_str(), nullptr);
    WriteTextFile(Server(proot, "list/Zeta.TXT"), "z");
    WriteTextFile(Server(proot, "list/alpha beta.bin"), "");
    ExpectFolderShown(&app, folder, "py:/list/", {"..", "a", "b dir", "alpha beta.bin", "Zeta.TXT"});
}

TEST_F(CommandLine, TwoLocalWordsAreAnUnknownBatchCommand)
{
    EXPECT_EQ(10, Run("-quiet a.txt local:b.txt"));
    // A bad option in a line that names a transfer ends the run, too.
    EXPECT_EQ(10, Run("-quiet -xyz vs:/x local:y"));
    EXPECT_NE(std::string::npos, Log().find("Unknown arguments -xyz vs:/x local:y")) << Log();
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("Unknown batch command!")) << log;
    EXPECT_NE(std::string::npos, log.find("SRC(1): a.txt")) << log;
    EXPECT_NE(std::string::npos, log.find("DST(1): local:b.txt")) << log;

    ASSERT_TRUE(StartVeltro(&app, folder, "vs:/x vs:/y"));
    HWND box = WaitForWindow(app, "#32770", "Unknown batch command!", 30000);
    ASSERT_NE(nullptr, box) << "a message box without -quiet";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    EXPECT_TRUE(WaitForExit(&app, 30000, &code));
    EXPECT_EQ(10u, code);
}

TEST_F(CommandLine, RefusedConnectionIsRetriedTwoSecondsApart)
{
    // A port nobody listens on, one retry: two attempts.
    WriteTextFile(folder + "\\VELTRO.INI", "[_config_]\r\nAUTOSTART=0\r\nSESSION=dead\r\n"
                                           "[dead]\r\nHOST=127.0.0.1\r\nPORT=1\r\nRETRIES=1\r\n");
    DWORD start = GetTickCount();
    EXPECT_EQ(11, Run("-quiet dead:/f.bin local:" + out + "\\"));
    DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 2000u);
    std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("! Connect failed to 127.0.0.1")) << log;
}

}  // namespace
