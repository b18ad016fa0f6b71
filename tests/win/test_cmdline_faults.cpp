// The unattended command line against scripted faulty servers: the real
// veltro.exe runs a transfer against a server that plays a transcript (one
// row per command: what the client must send, what the server answers, and
// the data a passive connection carries), then the exit code, the log, the
// files and the commands are compared.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data_peer_helper.h"
#include "ftp_server_helper.h"
#include "sites/stored_password.h"
#include "veltro_process_helper.h"

namespace {

struct Row {
    std::string command;   // expected from the client
    std::string reply;     // "PASV": a data peer's 227 reply
    std::string data = "";  // bytes the data peer sends on connect
    DataPeer::Ending ending = DataPeer::CLOSE;
};

std::vector<Row> Logon()
{
    return {{"USER u", "331 Password\r\n"}, {"PASS p", "230 In\r\n"}};
}

Row Pasv(const std::string &data, DataPeer::Ending ending = DataPeer::CLOSE)
{
    return {"PASV", "PASV", data, ending};
}

class CommandLineFaults : public ::testing::Test {
protected:
    VeltroProcess app;
    std::unique_ptr<ScriptedFtpServer> server;
    std::vector<std::unique_ptr<DataPeer>> peers;
    std::string folder, port, timeout = "3";
    DWORD took = 0;

    void SetUp() override { Fresh(); }
    void TearDown() override { Fresh(false); }
    // A new server and a new folder (for the next row of a table).
    void Fresh(bool again = true)
    {
        KillVeltro(&app);
        peers.clear();
        server.reset();
        if (!folder.empty())
            RemoveTree(folder);
        folder.clear();
        if (!again)
            return;
        folder = MakeTestFolder("faults");
        server = std::make_unique<ScriptedFtpServer>();
        port = std::to_string(server->Port());
    }

    // Greeting, then the rows; after the last row the client closes.
    void Play(const std::vector<Row> &rows)
    {
        server->SetStepTimeout(20000);
        server->Send("220 Ready\r\n");
        for (const Row &r : rows) {
            if (r.reply != "PASV") {
                server->Reply(r.reply);
                continue;
            }
            peers.push_back(std::make_unique<DataPeer>());
            ASSERT_TRUE(peers.back()->Listen());
            peers.back()->SendOnConnect(r.data, 0, 0, r.ending);
            peers.back()->StartPassive();
            server->Reply(peers.back()->PassiveReply());
        }
        server->ReadUntilClosed();
        server->Start();
    }
    // Profile "bad" names the scripted server.
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
    std::string Log() { return ReadTextFile(folder + "\\xferlog.txt"); }
    bool Logged(const std::string &text) { return Log().find(text) != std::string::npos; }
    void ExpectCommands(const std::vector<Row> &rows)
    {
        std::vector<std::string> expected;
        for (const Row &r : rows)
            expected.push_back(r.command);
        EXPECT_EQ(expected, server->Commands()) << Log();
    }
};

TEST_F(CommandLineFaults, ServerThatNeverGreetsEndsWithinTheSiteLimits)
{
    server->SetStepTimeout(60000);
    server->ReadUntilClosed();
    server->Start();
    EXPECT_EQ(11, Run("bad:/f.bin local:" + folder + "\\"));
    // Two attempts of 3 seconds each, 2 seconds apart: (1 + 1) x (3 + 2).
    EXPECT_GE(took, 7000u);
    EXPECT_LT(took, 10000u + 8000u) << Log();
    EXPECT_TRUE(Logged("! Connect failed to 127.0.0.1")) << Log();
}

struct DownloadCase {
    const char *what;
    std::string announced;       // in the 150 reply
    size_t sent;                 // bytes sent on the data connection
    std::string completion;      // the final reply ("" = the server goes silent)
    long exitCode;
    const char *logged;
};

TEST_F(CommandLineFaults, DownloadsSucceedOnlyWhenEveryAnnouncedByteArrives)
{
    const DownloadCase cases[] = {
        {"complete", "(5000 bytes)", 5000, "226 Done\r\n", 0, "Successful transfer"},
        {"short", "(10000000 bytes)", 300000, "226 Done\r\n", 12,
         "! Only 300000 of the 10000000 bytes announced arrived"},
        {"past 4 GiB", "(4500000000 bytes)", 100, "226 Done\r\n", 12,
         "! Only 100 of the 4500000000 bytes announced arrived"},
        {"426 after part", "(9000 bytes)", 4000, "426 Aborted\r\n", 12, "transfer failed"},
        {"silent after 150", "(9000 bytes)", 4000, "", 12, "! Receive error"},
    };
    for (const DownloadCase &c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        std::vector<Row> rows = Logon();
        rows.insert(rows.end(), {{"TYPE I", "200 ok\r\n"},
                                 Pasv(std::string(c.sent, 'x'), c.completion.empty() ? DataPeer::HOLD : DataPeer::CLOSE),
                                 {"RETR /d/f.bin", "150 Opening " + c.announced + "\r\n" + c.completion}});
        Play(rows);
        EXPECT_EQ(c.exitCode, Run("bad:/d/f.bin local:" + folder + "\\"));
        EXPECT_TRUE(Logged(c.logged)) << Log();
        EXPECT_EQ(c.exitCode == 0, !Logged("transfer failed")) << Log();
        EXPECT_EQ(c.exitCode != 0, !Logged("transfer succeeded")) << Log();
        EXPECT_EQ(c.sent, ReadTextFile(folder + "\\f.bin").size());
        // A partial file keeps its restart keys for the next run.
        std::string ini = ReadTextFile(folder + "\\VELTRO.INI");
        EXPECT_EQ(c.exitCode != 0, ini.find("REGETRFILE=f.bin") != std::string::npos) << ini;
        ExpectCommands(rows);
        if (c.completion.empty()) {
            EXPECT_LT(took, 20000u) << "data and completion waits of 3 seconds each";
        }
    }
}

TEST_F(CommandLineFaults, PatternIsMatchedHereWhateverTheServerLists)
{
    // A server that ignores the pattern: 200,000 names, two matches, a name
    // of 100 characters, and a line of binary junk that must not become a
    // RETR.
    std::string longName = std::string(96, 'n') + ".txt";
    std::string names = "a.txt\r\nbad\x01\x02.txt\r\n" + longName + "\r\n";
    for (int i = 0; i < 200000; i++)
        names += "file" + std::to_string(i) + ".bin\r\n";
    names += "z.TXT\r\n";
    std::vector<Row> rows = Logon();
    rows.insert(rows.end(), {{"CWD /pub/", "250 ok\r\n"}, {"TYPE A", "200 ok\r\n"}, Pasv(names),
                             {"NLST *.txt", "150 Names\r\n226 Done\r\n"}, {"TYPE I", "200 ok\r\n"}});
    for (const std::string &n : {std::string("a.txt"), longName, std::string("z.TXT")}) {
        rows.push_back(Pasv("data of " + n));
        rows.push_back({"RETR " + n, "150 Opening\r\n226 Done\r\n"});
    }
    Play(rows);
    EXPECT_EQ(0, Run("//bad/pub/*.txt local:" + folder + "\\"));
    ExpectCommands(rows);
    EXPECT_EQ("data of a.txt", ReadTextFile(folder + "\\a.txt"));
    EXPECT_EQ("data of " + longName, ReadTextFile(folder + "\\" + longName));
    EXPECT_EQ("data of z.TXT", ReadTextFile(folder + "\\z.TXT"));
    EXPECT_TRUE(Logged("+ 1 listed names with control characters were skipped")) << Log();
    EXPECT_LT(took, 60000u);
}

TEST_F(CommandLineFaults, RefusedPatternListsTheFolderAndMatchesHere)
{
    std::vector<Row> rows = Logon();
    rows.insert(rows.end(), {{"CWD /pub/", "250 ok\r\n"}, {"TYPE A", "200 ok\r\n"}, Pasv(""),
                             {"NLST *.log", "550 No such file\r\n"}, Pasv("x.log\r\ny.txt\r\n"),
                             {"NLST", "150 Names\r\n226 Done\r\n"}, {"TYPE I", "200 ok\r\n"},
                             Pasv("x"), {"RETR x.log", "150 Opening\r\n226 Done\r\n"}});
    Play(rows);
    EXPECT_EQ(0, Run("bad:/pub/*.log local:" + folder + "\\"));
    ExpectCommands(rows);
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
}

}  // namespace
