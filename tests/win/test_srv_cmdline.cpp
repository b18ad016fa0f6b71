// The unattended command line against real servers: the real veltro.exe is
// started with path words and runs to its end; its exit code, its log and
// the files on both sides are checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "real_server_helper.h"
#include "sites/stored_password.h"
#include "transcript_helper.h"
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;
const char *const Absent = "(absent)";

class CommandLine : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder = MakeTestFolder("cmdline");

    // Profiles "vs" and "py" name the two servers, "dead" a port nobody listens on.
    void SetUp() override
    {
        if (!RealServersRunning())
            GTEST_SKIP() << "needs the test servers (tests/servers/with-servers.sh)";
        std::string user = Env("VELTRO_FTP_USER"), ini = "[_config_]\r\nAUTOSTART=0\r\nMAILADDR=t@example.org\r\n";
        for (const char *site : {"vs", "py"})
            ini += std::string("[") + site + "]\r\nHOST=127.0.0.1\r\nPORT=" +
                   Env(RealServers[site[0] == 'p'].portVariable) + "\r\nUID=" + user +
                   "\r\nPWD=" + EncodeStoredPassword(user.c_str(), Env("VELTRO_FTP_PASS").c_str()) + "\r\n";
        WriteTextFile(folder + "\\VELTRO.INI", ini + "[dead]\r\nHOST=127.0.0.1\r\nPORT=1\r\nRETRIES=1\r\n");
    }
    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    // $V is vsftpd's home as the server names it (its user is not confined),
    // $L this test's folder.
    std::string Expand(std::string text)
    {
        for (size_t at; (at = text.find('$')) != std::string::npos;)
            text.replace(at, 2, text[at + 1] == 'V' ? Env("VELTRO_VSFTPD_ROOT") : folder);
        return text;
    }
    std::string Log() { return ReadTextFile(folder + "\\xferlog.txt"); }
};

TEST_F(CommandLine, TransfersExitCodesAndLogLines)
{
    const std::string data = TestPattern(300000), vs = ServerFile(RealServers[0], ""), py = ServerFile(RealServers[1], "");
    for (const std::string &f : {vs + "dl", vs + "pat", folder + "\\up", folder + "\\up\\dir.log", folder + "\\none"})
        CreateDirectoryA(f.c_str(), nullptr);
    const Lines files = {vs + "dl\\file.bin", data, py + "only.bin", data.substr(7, 70000), vs + "lines.txt",
                         "one\ntwo\n\nthree\n", vs + "pat\\a.dat", "A", vs + "pat\\b.dat", "BB", vs + "pat\\c.txt", "C",
                         folder + "\\up.txt", "a\r\nb\r\n", folder + "\\my notes.bin", "x y z",
                         folder + "\\up\\one.log", "1", folder + "\\up\\two.log", "22", folder + "\\up\\skip.txt", "3"};
    for (size_t i = 0; i < files.size(); i += 2)
        WriteTextFile(files[i], files[i + 1]);
    const struct {
        const char *arguments;
        DWORD code;
        Lines logged, after;   // log texts; then pairs of file and contents
    } runs[] = {
        {"-quiet vs:$V/dl/file.bin local:$L\\", 0, {"receiving file \"$V/dl/file.bin\" from site \"vs\"",
                                                     "Successful transfer"}, {"$L\\file.bin", data}},
        {"-quiet py:/only.bin", 0, {}, {"$L\\only.bin", data.substr(7, 70000)}},
        {"-quiet -ascii vs:$V/lines.txt local:$L\\", 0, {}, {"$L\\lines.txt", "one\r\ntwo\r\n\r\nthree\r\n"}},
        {"local:$L\\up.txt vs:$V/ -ascii -quiet", 0, {}, {vs + "up.txt", "a\nb\n"}},
        {"-quiet \"local:$L\\my notes.bin\" \"vs:$V/\"", 0, {}, {vs + "my notes.bin", "x y z"}},
        {"-quiet //vs$V/pat/*.dat local:$L\\", 0, {}, {"$L\\a.dat", "A", "$L\\b.dat", "BB", "$L\\c.txt", Absent}},
        {"-quiet local:$L\\up\\*.l?g vs:$V/", 0, {},
         {vs + "one.log", "1", vs + "two.log", "22", vs + "skip.txt", Absent, vs + "dir.log", Absent}},
        {"-quiet local:$L\\none\\*.zzz vs:$V/", 12, {"! Transfer failed for"}, {}},
        {"-quiet vs:$V/no/such/file.bin local:$L\\", 12, {"! Transfer failed for $V/no/such/file.bin from vs"}, {}},
        {"-quiet a.txt local:b.txt", 10, {"Unknown batch command!", "SRC(1): a.txt", "DST(1): local:b.txt"}, {}},
        {"-quiet -xyz vs:/x local:y", 10, {"Unknown arguments -xyz vs:/x local:y"}, {}},
        // One retry, two seconds after the refused first attempt.
        {"-quiet dead:/f.bin local:$L\\", 11, {"! Connect failed to 127.0.0.1"}, {}},
    };
    for (const auto &run : runs) {
        SCOPED_TRACE(run.arguments);
        const size_t logged = Log().size();
        DWORD start = GetTickCount(), code = 99;
        ASSERT_TRUE(StartVeltro(&app, folder, Expand(run.arguments)));
        EXPECT_TRUE(WaitForExit(&app, 60000, &code) && code == run.code) << code;
        EXPECT_TRUE(run.code != 11 || GetTickCount() - start >= 2000);
        const std::string log = Log().substr(logged);
        for (const std::string &text : run.logged)
            EXPECT_NE(log.find(Expand(text)), std::string::npos) << Expand(text) << "\n" << log;
        EXPECT_TRUE(run.code == 0 || log.find("Successful transfer") == std::string::npos) << log;
        for (size_t i = 0; i < run.after.size(); i += 2) {
            const std::string path = Expand(run.after[i]);
            EXPECT_TRUE(run.after[i + 1] == Absent ? !FileExists(path) : ReadTextFile(path) == run.after[i + 1]) << path;
        }
        KillVeltro(&app);
    }
}

// A path word naming a folder: the remote list shows the server folder's
// entries (".." first, then folders, then files), the program stays until
// closed, and removes its listing files at exit.
TEST_F(CommandLine, FolderStaysConnectedAndShowsItsRows)
{
    const std::string py = ServerFile(RealServers[1], "list");
    for (const char *f : {"", "\\b dir", "\\a"})
        CreateDirectoryA((py + f).c_str(), nullptr);
    WriteTextFile(py + "\\Zeta.TXT", "z");
    WriteTextFile(py + "\\alpha beta.bin", "");
    ASSERT_TRUE(StartVeltro(&app, folder, "-quiet py:/list/"));
    HWND main = WaitForWindow(app, "Veltro Lite", nullptr, 30000);
    ASSERT_NE(nullptr, main);
    const Lines expected = {"..", "a", "b dir", "alpha beta.bin", "Zeta.TXT"};
    Lines rows;
    for (int tries = 0; tries < 100 && rows.size() < expected.size(); tries++, Sleep(200))
        rows = PaneRowNames(app.info.hProcess, GetDlgItem(main, 931));
    EXPECT_EQ(expected, rows);
    DWORD code = 1;
    EXPECT_FALSE(WaitForExit(&app, 500, &code)) << "the folder case keeps the program open";
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(&app, 30000, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(FilesMatching(app.tempFolder, "DIR*").empty()) << "listing files are removed at exit";
}

TEST_F(CommandLine, UnknownBatchCommandWithoutQuietIsAMessageBox)
{
    ASSERT_TRUE(StartVeltro(&app, folder, "vs:/x vs:/y"));
    HWND box = WaitForWindow(app, "#32770", "Unknown batch command!", 30000);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    EXPECT_TRUE(WaitForExit(&app, 30000, &code));
    EXPECT_EQ(10u, code);
}

}  // namespace
