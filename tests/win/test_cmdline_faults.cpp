// The unattended command line against scripted faulty servers: the real
// veltro.exe runs one transfer against a transcript (tests/win/
// transcript_helper.h), then its exit code, log, files and the commands it
// sent are compared.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sites/stored_password.h"
#include "transcript_helper.h"
#include "veltro_process_helper.h"

namespace {

typedef std::vector<std::string> Lines;

const Lines Logon = {"< 220 Ready", "> USER u", "< 331 Password", "> PASS p", "< 230 In"};

class CommandLineFaults : public ::testing::Test {
protected:
    VeltroProcess app;
    std::string folder, port, timeout = "3";
    DWORD took = 0;

    void SetUp() override { folder = MakeTestFolder("faults"); }
    void TearDown() override
    {
        KillVeltro(&app);
        RemoveTree(folder);
    }
    // Profile "bad" names the server; veltro.exe runs to its end.
    long Run(const std::string &arguments)
    {
        WriteTextFile(folder + "\\VELTRO.INI",
                      "[_config_]\r\nAUTOSTART=0\r\n[bad]\r\nHOST=127.0.0.1\r\nPORT=" + port +
                          "\r\nUID=u\r\nPWD=" + EncodeStoredPassword("u", "p") +
                          "\r\nTYPE=6001\r\nTIMEOUT=" + timeout + "\r\nRETRIES=1\r\n");
        DWORD start = GetTickCount(), code = 0;
        EXPECT_TRUE(StartVeltro(&app, folder, "-quiet -binary " + arguments));
        bool ended = WaitForExit(&app, 120000, &code);
        took = GetTickCount() - start;
        EXPECT_TRUE(ended) << arguments;
        printf("[ measured ] %s: %lu ms\n", arguments.c_str(), (unsigned long)took);
        return ended ? (long)code : -1;
    }
    // Plays the rows (the client closes after the last) around one run.
    long Play(Transcript *t, const std::string &arguments)
    {
        t->Server().SetStepTimeout(20000);
        t->Start();
        port = std::to_string(t->Port());
        long code = Run(arguments);
        EXPECT_TRUE(t->Finish(30000)) << Log();
        return code;
    }
    std::string Log() { return ReadTextFile(folder + "\\xferlog.txt"); }
    bool Logged(const std::string &text) { return Log().find(text) != std::string::npos; }
};

TEST_F(CommandLineFaults, ServerThatNeverGreetsEndsWithinTheSiteLimits)
{
    Transcript t({"! drain"});
    EXPECT_EQ(11, Play(&t, "bad:/f.bin local:" + folder + "\\"));
    // Two attempts of 3 seconds each, 2 seconds apart: (1 + 1) x (3 + 2),
    // and the program's own start.
    EXPECT_GE(took, 7000u);
    EXPECT_LT(took, 10000u + 8000u) << Log();
    EXPECT_TRUE(Logged("! Connect failed to 127.0.0.1")) << Log();
}

// Each fails (code 12) and keeps what arrived with its restart keys.
TEST_F(CommandLineFaults, DownloadsSucceedOnlyWhenEveryAnnouncedByteArrives)
{
    const struct {
        const char *peer;   // the data peer's action
        Lines replies;      // after "> RETR"
        const char *logged;
    } cases[] = {
        {"send=#100", {"< 150 Opening (4500000000 bytes)", "< 226 Done"},
         "! Only 100 of the 4500000000 bytes announced arrived"},
        {"send=#100 end=hold", {"< 150 Opening (9000 bytes)"}, "! Receive error"},
        {"send=#100", {"< 150 Opening (9000 bytes)", "< 426 Aborted"}, "transfer failed"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.logged);
        TearDown();
        SetUp();
        Transcript t(JoinRows({Logon,
                           {"> TYPE I", "< 200 ok", std::string("= pasv ") + c.peer, "> PASV",
                            "< 227 Entering Passive Mode ($PASV)", "> RETR /d/f.bin"},
                           c.replies, {"! drain"}}));
        EXPECT_EQ(12, Play(&t, "bad:/d/f.bin local:" + folder + "\\"));
        EXPECT_TRUE(Logged(c.logged) && Logged("transfer failed") && !Logged("transfer succeeded")) << Log();
        EXPECT_EQ(100u, ReadTextFile(folder + "\\f.bin").size());
        EXPECT_NE(std::string::npos, ReadTextFile(folder + "\\VELTRO.INI").find("REGETRFILE=f.bin"));
        EXPECT_LT(took, 20000u) << "data and completion waits of 3 seconds each";
    }
}

TEST_F(CommandLineFaults, PatternIsMatchedHereWhateverTheServerLists)
{
    // A server that ignores the pattern: other names, a name of 100
    // characters, a line of binary junk that must not become a RETR.
    std::string longName = std::string(96, 'n') + ".txt";
    std::string names = "a.txt\\r\\nbad\\x01\\x02.txt\\r\\n" + longName + "\\r\\nfile.bin\\r\\nz.TXT\\r\\n";
    Lines rows = JoinRows({Logon, {"> CWD /pub/", "< 250 ok", "> TYPE A", "< 200 ok", "= pasv send=" + names,
                               "> PASV", "< 227 ($PASV)", "> NLST *.txt", "< 150 Names", "< 226 Done",
                               "> TYPE I", "< 200 ok"}});
    for (const std::string &n : {std::string("a.txt"), longName, std::string("z.TXT")})
        rows = JoinRows({rows, {"= pasv send=data-" + n, "> PASV", "< 227 ($PASV)", "> RETR " + n,
                            "< 150 Opening", "< 226 Done"}});
    Transcript t(JoinRows({rows, {"! drain"}}));
    EXPECT_EQ(0, Play(&t, "//bad/pub/*.txt local:" + folder + "\\"));
    EXPECT_EQ("data-a.txt", ReadTextFile(folder + "\\a.txt"));
    EXPECT_EQ("data-" + longName, ReadTextFile(folder + "\\" + longName));
    EXPECT_EQ("data-z.TXT", ReadTextFile(folder + "\\z.TXT"));
    EXPECT_TRUE(Logged("+ 1 listed names with control characters were skipped")) << Log();
}

TEST_F(CommandLineFaults, RefusedPatternListsTheFolderAndMatchesHere)
{
    Transcript t(JoinRows({Logon,
                       {"> CWD /pub/", "< 250 ok", "> TYPE A", "< 200 ok", "= pasv send=", "> PASV", "< 227 ($PASV)",
                        "> NLST *.log", "< 550 No such file", "= pasv send=x.log\\r\\ny.txt\\r\\n", "> PASV",
                        "< 227 ($PASV)", "> NLST", "< 150 Names", "< 226 Done", "> TYPE I", "< 200 ok",
                        "= pasv send=x", "> PASV", "< 227 ($PASV)", "> RETR x.log", "< 150 Opening", "< 226 Done",
                        "! drain"}}));
    EXPECT_EQ(0, Play(&t, "bad:/pub/*.log local:" + folder + "\\"));
    EXPECT_EQ("x", ReadTextFile(folder + "\\x.log"));
    EXPECT_FALSE(FileExists(folder + "\\y.txt"));
}

TEST_F(CommandLineFaults, SettingsOutOfRangeFallBackToTheirDefaults)
{
    port = "99999999";
    timeout = "0";
    EXPECT_EQ(11, Run("bad:/f.bin"));
    EXPECT_TRUE(Logged("+ PORT 99999999 is out of range, 21 is used")) << Log();
    EXPECT_TRUE(Logged("+ TIMEOUT 0 is out of range, 65 is used")) << Log();
    EXPECT_TRUE(Logged("connecting to 127.0.0.1:21")) << Log();
    EXPECT_TRUE(Logged("! Connection failed 127.0.0.1 - connection refused")) << Log();
}

}  // namespace
