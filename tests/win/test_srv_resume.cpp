// Resuming an interrupted download: a scripted server drops the data
// connection in the middle; after the next connect the offer, answered
// Yes, fetches the rest with REST at the rounded offset; a refused REST
// rewrites the file from byte 0; vsftpd and pyftpdlib resume a 50 MiB file.
// Also the overwrite question's buttons.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "ftp_server_helper.h"
#include "logon_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/decisions.h"
#include "transfer/transfer.h"
#include "veltro_process_helper.h"

namespace {

std::string Pattern(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; i++)
        bytes[i] = (char)((i * 131 + i / 251) & 0xFF);
    return bytes;
}

std::string RestartKey(const char *key)
{
    char value[256];
    ProfileGetString("site1", key, "", value, sizeof value);
    return value;
}

class Resume : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLogonState();
        snprintf(AppTitle, sizeof AppTitle, "Veltro Lite");
        snprintf(CurrentSession.name, sizeof CurrentSession.name, "site1");
        CurrentSession.passive = 1;
        GlobalSettings.keepReget = GlobalSettings.verbose = 1;
        GlobalSettings.recvBlock = 4096;
        Connected = TRUE;
        AnnouncedType = 'A';   // a new session
        DeleteFileA("big.bin");
        DeleteFileA("VELTRO.LOG");
    }
    void TearDown() override { DeleteFileA("big.bin"); }
    // The offer answered Yes against a scripted server that sends `data`
    // from `from` after answering REST with `restReply`.
    std::vector<std::string> Offer(const std::string &data, const char *restReply, size_t from)
    {
        ScriptedFtpServer server;
        DataPeer peer;
        EXPECT_TRUE(peer.Listen());
        peer.SendOnConnect(data.substr(from));
        peer.StartPassive();
        server.Reply("200 Type set\r\n").Reply(peer.PassiveReply()).Reply(restReply);
        server.Reply("150 Opening BINARY\r\n").Send("226 Done\r\n");
        server.Start();
        ControlSocket = ConnectToServer(server.Port());
        Connected = TRUE;
        DialogAnswerer yes({{AppTitle, "", IDYES, {}, {}, "resume-offer.bmp"}});
        OfferResume("site1");
        EXPECT_TRUE(yes.Finish());
        EXPECT_NE(yes.Prompts().at(0).find("/pub/big.bin\n-->\n"), std::string::npos);
        CloseSession(ControlSocket);
        EXPECT_TRUE(peer.Finish());
        EXPECT_TRUE(server.Finish()) << server.Error();
        return server.Commands();
    }
};

TEST_F(Resume, CutDownloadResumesWithRest)
{
    const std::string data = Pattern(400000);
    SaveRestartInfo("site1", "/pub", "big.bin", "big.bin");
    {
        ScriptedFtpServer server;
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        peer.SendOnConnect(data.substr(0, 150000), 0, 0, DataPeer::HOLD);   // then silence
        peer.StartPassive();
        server.Reply("200 Type set\r\n").Reply(peer.PassiveReply()).Reply("150 Opening\r\n");
        server.Send("426 Connection reset\r\n").Start();
        ControlSocket = ConnectToServer(server.Port());
        char command[] = "RETR big.bin";
        ReplyTimeout = 1;
        DownloadFile(ControlSocket, command, "big.bin", 'I', FALSE);
        EXPECT_EQ(ReceiveResult, 2);
        CloseSession(ControlSocket);
        peer.Stop();
        ReplyTimeout = 5;
    }
    size_t partial = ReadTextFile("big.bin").size();
    ASSERT_GT(partial, 1024u);
    ASSERT_LT(partial, data.size());
    EXPECT_EQ(RestartKey("REGETRFILE"), "big.bin") << "kept for the next connect";
    AnnouncedType = 'A';
    size_t offset = partial / 1024 * 1024;
    std::vector<std::string> expected = {"TYPE I", "PASV", "REST " + std::to_string(offset),
                                         "RETR /pub/big.bin"};
    EXPECT_EQ(Offer(data, "350 Restarting\r\n", offset), expected);
    EXPECT_TRUE(ReadTextFile("big.bin") == data);
    EXPECT_EQ(RestartKey("REGETRFILE"), "");
    EXPECT_NE(ReadTextFile("VELTRO.LOG").find("\\big.bin <-- site1 /pub big.bin\r\n"), std::string::npos);
}

TEST_F(Resume, RefusedRestStartsOverInTheSameFile)
{
    WriteTextFile("big.bin", std::string(1500, 'x'));   // longer than the server's file
    SaveRestartInfo("site1", "/pub", "big.bin", "big.bin");
    const std::string data = Pattern(1000);
    std::vector<std::string> commands = Offer(data, "500 REST not understood\r\n", 0);
    EXPECT_EQ(commands.at(2), "REST 1024");
    EXPECT_TRUE(ReadTextFile("big.bin") == data);
    EXPECT_TRUE(LogMentions("+ Cannot restart at requested location, starting over."));
}

TEST_F(Resume, RealServersResumeByteIdentical)
{
    const std::string data = Pattern(50u << 20);
    for (const char *server : {"VSFTPD", "PYFTPD"}) {
        const char *port = getenv((std::string("VELTRO_") + server + "_PORT").c_str());
        const char *root = getenv((std::string("VELTRO_") + server + "_ROOT").c_str());
        if (!port || !root)
            GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
        WriteTextFile(std::string("Z:") + root + "/big.bin", data);
        WriteTextFile("big.bin", data.substr(0, 20000123));
        SaveRestartInfo("site1", ".", "big.bin", "big.bin");
        ControlSocket = ConnectToServer((unsigned short)atoi(port));
        Connected = TRUE;
        ASSERT_EQ(GetReply(ControlSocket), 2);
        ASSERT_EQ(FtpCommand(ControlSocket, "USER %s", getenv("VELTRO_FTP_USER")), 3);
        ASSERT_EQ(FtpCommand(ControlSocket, "PASS %s", getenv("VELTRO_FTP_PASS")), 2);
        AnnouncedType = 'A';
        DialogAnswerer yes({{AppTitle, "", IDYES, {}, {}, ""}});
        OfferResume("site1");
        EXPECT_TRUE(yes.Finish());
        EXPECT_TRUE(LogMentions("REST 19999744")) << server;
        EXPECT_TRUE(ReadTextFile("big.bin") == data) << server;
        CloseSession(ControlSocket);
        DeleteFileA((std::string("Z:") + root + "/big.bin").c_str());
    }
}

TEST_F(Resume, OverwriteQuestionShowsAllButtonsForTwoOrMore)
{
    DialogAnswerer answers({{"a.txt", "", IDC_OVERWRITE_YES_ALL, {}, {}, "overwrite-two.bmp"},
                            {"b.txt", "", IDNO, {}, {}, "overwrite-one.bmp"}});
    EXPECT_EQ(AskOverwrite(nullptr, "Same version of a.txt", "a.txt", 2), IDC_OVERWRITE_YES_ALL);
    EXPECT_EQ(AskOverwrite(nullptr, "Newer version of b.txt", "b.txt", 1), IDNO);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.ButtonsShown(IDC_OVERWRITE_NO_ALL), (std::vector<bool>{true, false}));
    EXPECT_EQ(answers.Prompts().at(1), "Newer version of b.txt");
}

}  // namespace
