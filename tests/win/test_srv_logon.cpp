// Logon and remote folder and file actions against real servers (vsftpd
// and pyftpdlib on loopback, started by tests/servers/with-servers.sh),
// checked by what the servers' folders then hold.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_actions.h"
#include "ftp/remote_commands.h"
#include "listing/file_item.h"
#include "logon_helper.h"
#include "veltro_process_helper.h"
#include "real_server_helper.h"
#include "remote_rows_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "ui/layout.h"

namespace {

using Lines = std::vector<std::string>;

bool IsFolder(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Rows on the remote list, all selected.
void Rows(std::initializer_list<std::pair<const char *, uint32_t>> rows)
{
    ClearRows(RemoteListWindow);
    for (const auto &row : rows)
        AddItemRow(RemoteListWindow, row.first, row.second);
    SelectAllRows(RemoteListWindow);
}

class OnRealServer : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        server = RealServers[GetParam()];
        if (!RealServersRunning())
            GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
        ResetLogonState();
        GlobalSettings.doUpdate = 0;
        root = ServerFile(server, "");
        root.pop_back();
        profile = RealServerProfile(server);
        if (!RemoteListWindow)
            RemoteListWindow = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_EXTENDEDSEL, 0, 0, 200, 200,
                                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ClearRows(RemoteListWindow);
    }
    void TearDown() override
    {
        if (ControlSocket != NO_SOCKET) {
            FtpCommand(ControlSocket, "QUIT");
            CloseSession(ControlSocket);
        }
        if (RemoteListWindow)
            ClearRows(RemoteListWindow);
    }
    // Logs on with the profile and makes the socket the session's.
    bool LogOn()
    {
        CurrentSession = profile;
        SOCKET s = ConnectAndLogon(&CurrentSession);
        ControlSocket = s;
        return s != NO_SOCKET;
    }
    // A fresh folder of this test under the home; its remote name.
    std::string Scratch(const char *name)
    {
        std::string remote = std::string(name) + "-" + server.name;
        std::string local = root + "\\" + remote;
        // Made through the server, so the server's user owns it.
        EXPECT_EQ(MakeRemoteFolder(ControlSocket, remote.c_str()), 2);
        EXPECT_TRUE(IsFolder(local)) << local;
        return remote;
    }
    RealServer server;
    std::string root;
    SiteProfile profile;
};

TEST_P(OnRealServer, ConnectAndCloseCommands)
{
    // Connect goes through the session sheet, which shows the saved profile; OK connects.
    snprintf(profile.name, sizeof profile.name, "%s", server.name);
    snprintf(profile.remoteFolder, sizeof profile.remoteFolder, "/");
    profile.savePassword = 1;
    SaveSiteProfile(&profile);
    CurrentSession = profile;
    DialogAnswerer sheet({{"Properties for Session", "", IDOK, {}, {}}, {"Properties for Session", "", IDOK, {}, {}}});
    ASSERT_TRUE(RunCommand(nullptr, IDM_CONNECT, nullptr, 0));
    ASSERT_NE(ControlSocket, NO_SOCKET);
    EXPECT_TRUE(Connected);
    EXPECT_TRUE(ServerCaps.hostTypeChecked);   // detected after logon
    EXPECT_EQ(ServerCaps.canMakeFolder + ServerCaps.canRename + ServerCaps.canDelete, 3);
    EXPECT_TRUE(LogHasLine("PASS (hidden)"));
    EXPECT_FALSE(LogMentions(profile.password));
    EXPECT_TRUE(LogHasLine("CWD /"));
    RunCommand(nullptr, IDM_DISCONNECT, nullptr, 0);
    EXPECT_EQ(ControlSocket, NO_SOCKET);
    EXPECT_FALSE(Connected);
    EXPECT_TRUE(LogHasLine("QUIT"));
    EXPECT_EQ(ServerCaps.canMakeFolder + ServerCaps.canRename + ServerCaps.canDelete, 0);
    EXPECT_EQ(ServerCaps.useCdup, 1);
    // 9000 again connects anew; a second 9000 closes.
    RunCommand(nullptr, IDM_CONNECT, nullptr, 0);
    EXPECT_NE(ControlSocket, NO_SOCKET);
    RunCommand(nullptr, IDM_CONNECT, nullptr, 0);
    EXPECT_EQ(ControlSocket, NO_SOCKET);
    EXPECT_TRUE(sheet.Finish());
}

TEST_P(OnRealServer, FolderChangesWithCdupAndFallbacks)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("cwd");
    EXPECT_EQ(ChangeRemoteFolder(ControlSocket, folder.c_str()), 2);
    EXPECT_EQ(PrintRemoteFolder(ControlSocket), 2);
    EXPECT_NE(strstr(ReplyText, folder.c_str()), nullptr) << ReplyText;
    EXPECT_EQ(ChangeRemoteFolder(ControlSocket, ".."), 2);
    EXPECT_EQ(PrintRemoteFolder(ControlSocket), 2);
    EXPECT_EQ(strstr(ReplyText, folder.c_str()), nullptr) << ReplyText;
    EXPECT_EQ(ChangeRemoteFolder(ControlSocket, "no-such-folder"), 5);
    EXPECT_EQ(RemoveRemoteFolder(ControlSocket, folder.c_str()), 2);
    EXPECT_FALSE(FileExists(root + "\\" + folder));
}

TEST_P(OnRealServer, MakeAndRemoveFolderThroughTheActions)
{
    ASSERT_TRUE(LogOn());
    std::string name = std::string("made-") + server.name;
    EXPECT_EQ(PromptsDuring({{"Input", name, IDOK, {}, {}}}, [] { MakeFolderAction(1); }),
              Lines{"Enter new remote folder name:"});
    EXPECT_TRUE(IsFolder(root + "\\" + name));

    Rows({{name.c_str(), KIND_FOLDER}});
    {
        DialogAnswerer answers({{"Verify Deletion", "", IDYES, {}, {}}});
        RemoveFolderAction(1);
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), (Lines{"Are you sure you want to delete \"" + name + "\"?"}));
        // One entry: no "Delete All", no "Cancel".
        EXPECT_EQ(answers.ButtonsShown(IDC_DELETE_ALL), std::vector<bool>{false});
        EXPECT_EQ(answers.ButtonsShown(IDCANCEL), std::vector<bool>{false});
    }
    EXPECT_FALSE(FileExists(root + "\\" + name));
}

TEST_P(OnRealServer, DeleteAsksLastSelectedFirstAndDeleteAllStopsAsking)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("del");
    ASSERT_EQ(ChangeRemoteFolder(ControlSocket, folder.c_str()), 2);
    std::string local = root + "\\" + folder;
    for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
        WriteTextFile(local + "\\" + n, "data\n");
    Rows({{"a.txt", KIND_FILE}, {"b.txt", KIND_FILE}, {"c.txt", KIND_FILE}, {"d.txt", KIND_FILE}});
    // d is asked first: No keeps it; c: Delete All removes c, b and a.
    DialogAnswerer answers({{"Verify Deletion", "", IDNO, {}, {}}, {"Verify Deletion", "", IDC_DELETE_ALL, {}, {}}});
    DeleteAction(1);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Are you sure you want to delete \"d.txt\"?",
                                        "Are you sure you want to delete \"c.txt\"?"}));
    EXPECT_EQ(answers.ButtonsShown(IDC_DELETE_ALL), (std::vector<bool>{true, true}));
    EXPECT_TRUE(FileExists(local + "\\d.txt"));
    EXPECT_FALSE(FileExists(local + "\\c.txt"));
    EXPECT_FALSE(FileExists(local + "\\b.txt"));
    EXPECT_FALSE(FileExists(local + "\\a.txt"));

    // Cancel ends the walk at once; a missing file fails and the walk goes on.
    Rows({{"e.txt", KIND_FILE}, {"d.txt", KIND_FILE}});
    {
        DialogAnswerer cancel({{"Verify Deletion", "", IDCANCEL, {}, {}}});
        DeleteAction(1);
        ASSERT_TRUE(cancel.Finish());
    }
    EXPECT_TRUE(FileExists(local + "\\d.txt"));
    EXPECT_TRUE(FileExists(local + "\\e.txt"));
    Rows({{"gone.txt", KIND_FILE}, {"d.txt", KIND_FILE}});
    GlobalSettings.verifyDelete = 0;
    DeleteAction(1);
    EXPECT_FALSE(FileExists(local + "\\d.txt"));
    EXPECT_TRUE(LogHasLine("! Delete of gone.txt failed."));
}

TEST_P(OnRealServer, RenameAndMove)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("ren");
    ASSERT_EQ(ChangeRemoteFolder(ControlSocket, folder.c_str()), 2);
    std::string local = root + "\\" + folder;
    for (const char *n : {"old.txt", "m1.txt", "m2.txt"})
        WriteTextFile(local + "\\" + n, "data\n");
    ASSERT_EQ(MakeRemoteFolder(ControlSocket, "dest"), 2);

    Rows({{"old.txt", KIND_FILE}});
    EXPECT_EQ(PromptsDuring({{"Input", "new.txt", IDOK, {}, {}}}, [] { RenameAction(1); }),
              Lines{"Enter new name for \"old.txt\":"});
    EXPECT_FALSE(FileExists(local + "\\old.txt"));
    EXPECT_TRUE(FileExists(local + "\\new.txt"));

    Rows({{"m1.txt", KIND_FILE}, {"m2.txt", KIND_FILE}, {"..", KIND_FOLDER}});   // ".." is skipped
    EXPECT_EQ(PromptsDuring({{"Input", "dest", IDOK, {}, {}}}, [] { MoveAction(1); }),
              Lines{"Please enter the remote destination folder:"});
    EXPECT_TRUE(FileExists(local + "\\dest\\m1.txt"));
    EXPECT_TRUE(FileExists(local + "\\dest\\m2.txt"));
    EXPECT_FALSE(FileExists(local + "\\m1.txt"));

    // A rename whose source is missing is skipped without a message.
    Rows({{"missing.txt", KIND_FILE}});
    EXPECT_EQ(PromptsDuring({{"Input", "x.txt", IDOK, {}, {}}}, [] { RenameAction(1); }).size(), 1u);
    EXPECT_FALSE(LogMentions("! Rename of missing.txt"));
    EXPECT_FALSE(FileExists(local + "\\x.txt"));
}

TEST_P(OnRealServer, ChmodThroughThePermissionsDialog)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("chmod");
    LastChmodMode = 644;
    Rows({{folder.c_str(), KIND_FOLDER}});
    // 644 at first; add owner execute and group execute: 754.
    DialogAnswerer answers({{"Remote file permissions", "", IDOK, {}, {IDC_CHMOD_BOX0 + 2, IDC_CHMOD_BOX0 + 5}}});
    ChmodAction();
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(LastChmodMode, 754u);
    char expected[128];
    snprintf(expected, sizeof expected, "SITE chmod 754 %s", folder.c_str());
    EXPECT_TRUE(LogHasLine(expected));
    EXPECT_FALSE(LogMentions("Chmod failed"));
    // The server lists the folder with the new mode (its parent's status
    // listing, read over the control connection).
    FtpCommand(ControlSocket, "STAT .");
    bool found = false;
    for (const std::string &line : LoggedLines())
        if (line.find("drwxr-xr--") != std::string::npos && line.find(folder) != std::string::npos)
            found = true;
    EXPECT_TRUE(found);

    // All boxes cleared acts like Cancel: nothing is sent.
    int before = LogCount("SITE chmod");
    DialogAnswerer none({{"Remote file permissions", "", IDOK,
                          {IDC_CHMOD_BOX0, IDC_CHMOD_BOX0 + 1, IDC_CHMOD_BOX0 + 2, IDC_CHMOD_BOX0 + 3,
                           IDC_CHMOD_BOX0 + 4, IDC_CHMOD_BOX0 + 5, IDC_CHMOD_BOX0 + 6, IDC_CHMOD_BOX0 + 7,
                           IDC_CHMOD_BOX0 + 8},
                          {}}});
    ChmodAction();
    ASSERT_TRUE(none.Finish());
    EXPECT_EQ(LogCount("SITE chmod"), before);
    EXPECT_EQ(LastChmodMode, 754u);
}

INSTANTIATE_TEST_SUITE_P(Servers, OnRealServer, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == 0 ? "vsftpd" : "pyftpdlib");
                         });

}  // namespace
