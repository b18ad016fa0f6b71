// Resuming a download cut by a scripted server, a refused REST, and the
// overwrite check against the rows of a destination list.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "ftp_server_helper.h"
#include "listing/host_library.h"
#include "listing/remote_list.h"
#include "logon_helper.h"
#include "remote_rows_helper.h"
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
    // act against a scripted server ("227": the data peer's reply); the commands.
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
    EXPECT_EQ(Offer(data.substr(offset), "350 Restarting"),
              (std::vector<std::string>{"TYPE I", "PASV", "REST " + std::to_string(offset), "RETR /pub/big.bin"}));
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

TEST_F(Resume, OverwriteCheckAsksAboutTheSameNamedFileRow)
{
    char error[256];
    ASSERT_TRUE(LoadHostLibraryFrom(nullptr, error, sizeof error)) << error;
    HWND list = MakeRemoteList();
    WriteTextFile("dir.txt", "drwxr-xr-x 2 u g 0 Jan  1  2009 same.txt\r\n"   // a folder: skipped
                             "-rw-r--r-- 1 u g 100 Feb  3  2003 Same.TXT\r\n"
                             "-rw-r--r-- 1 u g 5 Mar  1  2004 quarterly report 2026 (final, reviewed).xlsx\r\n");
    ReadListingFile("dir.txt");
    CurrentEntry = EntryRecord{0, 2003, 2, 3, 0, 0, 100, "same.txt"};
    GlobalSettings.keepOverwrite = SelectionCount = 1;
    const char *newer = "quarterly report 2026 (final, reviewed).xlsx";
    DialogAnswerer answers({{"same.txt", "", IDNO, {}, {}, "overwrite-one.bmp"},
                            {newer, "", IDC_OVERWRITE_YES_ALL, {}, {}, "overwrite-two.bmp"}});
    EXPECT_EQ(CheckOverwrite("same.txt", list), 0);
    SelectionCount = 2;
    SnapshotDestination(list);
    EXPECT_EQ(CheckOverwrite(newer, list), 1);
    EXPECT_EQ(CheckOverwrite("same.txt", list), 1) << "yes to all remembered";
    EXPECT_EQ(CheckOverwrite("absent.txt", list), 1);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.ButtonsShown(IDC_OVERWRITE_NO_ALL), (std::vector<bool>{false, true}));
    EXPECT_EQ(answers.Prompts().at(0), "Same version of same.txt exists in the destination folder.\nCopy the file anyway?");
    EXPECT_EQ(answers.Prompts().at(1).rfind("Newer version of quarterly", 0), 0u);
    DropDestinationSnapshot();
}

}  // namespace
