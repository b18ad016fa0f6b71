// Resuming a download cut by a scripted server, a refused REST, and the
// overwrite question's buttons.
#include <gtest/gtest.h>

#include <functional>
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
    for (size_t i = 0; i < n; i++) bytes[i] = (char)(i * 131 + i / 251);
    return bytes;
}

class Resume : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLogonState();
        snprintf(AppTitle, sizeof AppTitle, "Veltro Lite");
        snprintf(CurrentSession.name, sizeof CurrentSession.name, "site1");
        CurrentSession.passive = GlobalSettings.keepReget = GlobalSettings.verbose = 1;
    }
    void TearDown() override { DeleteFileA("big.bin"); }
    // act runs against a scripted server (one reply per command, "227" for
    // the data peer's, which sends bytes); returns the commands read.
    std::vector<std::string> Session(const std::string &bytes, DataPeer::Ending ending,
                                     const std::vector<std::string> &replies,
                                     const std::function<void()> &act)
    {
        ScriptedFtpServer server;
        DataPeer peer;
        EXPECT_TRUE(peer.Listen());
        peer.SendOnConnect(bytes, 0, 0, ending);
        peer.StartPassive();
        for (const std::string &r : replies)
            server.Reply(r == "227" ? peer.PassiveReply() : r + "\r\n");
        server.Start();
        ControlSocket = ConnectToServer(server.Port());
        Connected = TRUE;
        AnnouncedType = 'A';   // a new session
        act();
        CloseSession(ControlSocket);
        EXPECT_TRUE(ending == DataPeer::HOLD || peer.Finish());
        EXPECT_TRUE(server.Finish()) << server.Error();
        return server.Commands();
    }
    // The offer, answered Yes; the server answers REST with restReply.
    std::vector<std::string> Offer(const std::string &bytes, const std::string &restReply)
    {
        return Session(bytes, DataPeer::CLOSE,
                       {"200 Type set", "227", restReply, "150 Opening\r\n226 Done"}, [] {
                           DialogAnswerer yes({{AppTitle, "", IDYES, {}, {}, "resume-offer.bmp"}});
                           OfferResume("site1");
                           EXPECT_TRUE(yes.Finish());
                           EXPECT_NE(yes.Prompts().at(0).find("/pub/big.bin\n-->\n"), std::string::npos);
                       });
    }
};

TEST_F(Resume, CutDownloadResumesWithRest)
{
    const std::string data = Pattern(400000);
    SaveRestartInfo("site1", "/pub", "big.bin", "big.bin");
    ReplyTimeout = 1;   // the data connection falls silent after 150000 bytes
    Session(data.substr(0, 150000), DataPeer::HOLD, {"200 Type set", "227", "150 Opening\r\n426 Reset"}, [] {
        char command[] = "RETR big.bin";
        DownloadFile(ControlSocket, command, "big.bin", 'I', FALSE);
    });
    ReplyTimeout = 5;
    EXPECT_EQ(ReceiveResult, 2);
    size_t partial = ReadTextFile("big.bin").size(), offset = partial / 1024 * 1024;
    ASSERT_TRUE(partial > 1024 && partial < data.size()) << partial;
    std::vector<std::string> expected = {"TYPE I", "PASV", "REST " + std::to_string(offset),
                                         "RETR /pub/big.bin"};
    EXPECT_EQ(Offer(data.substr(offset), "350 Restarting"), expected);
    EXPECT_TRUE(ReadTextFile("big.bin") == data);
    char key[16] = "";
    ProfileGetString("site1", "REGETRFILE", "", key, sizeof key);
    EXPECT_STREQ(key, "") << "cleared after the file completed";
    EXPECT_NE(ReadTextFile("VELTRO.LOG").find("\\big.bin <-- site1 /pub big.bin\r\n"), std::string::npos);
}

TEST_F(Resume, RefusedRestStartsOverInTheSameFile)
{
    WriteTextFile("big.bin", std::string(1500, 'x'));   // longer than the server's file
    SaveRestartInfo("site1", "/pub", "big.bin", "big.bin");
    const std::string data = Pattern(1000);
    EXPECT_EQ(Offer(data, "500 REST not understood").at(2), "REST 1024");
    EXPECT_TRUE(ReadTextFile("big.bin") == data);
    EXPECT_TRUE(LogMentions("+ Cannot restart at requested location, starting over."));
}

TEST_F(Resume, OverwriteQuestionShowsAllButtonsForTwoOrMore)
{
    const char *newer = "Newer version of quarterly report 2026 (final, reviewed).xlsx exists in the "
                        "destination folder.\nCopy the file anyway?";
    DialogAnswerer answers({{"a.txt", "", IDC_OVERWRITE_YES_ALL, {}, {}, "overwrite-two.bmp"},
                            {"b.txt", "", IDNO, {}, {}, "overwrite-one.bmp"}});
    EXPECT_EQ(AskOverwrite(nullptr, "Same version of a.txt", "a.txt", 2), IDC_OVERWRITE_YES_ALL);
    EXPECT_EQ(AskOverwrite(nullptr, newer, "b.txt", 1), IDNO);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.ButtonsShown(IDC_OVERWRITE_NO_ALL), (std::vector<bool>{true, false}));
    EXPECT_EQ(answers.Prompts().at(1), newer);
}

}  // namespace
