// Connect and close, and the remote folder and file actions against real
// servers (vsftpd and pyftpdlib on loopback), checked by the prompts shown
// and by what the servers' folders then hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/commands.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_actions.h"
#include "ftp/remote_commands.h"
#include "logon_helper.h"
#include "veltro_process_helper.h"
#include "real_server_helper.h"
#include "remote_rows_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "ui/layout.h"

namespace {

using Lines = std::vector<std::string>;

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
    }
    // Logs on with the profile and makes the socket the session's.
    bool LogOn()
    {
        CurrentSession = profile;
        ControlSocket = ConnectAndLogon(&CurrentSession);
        return ControlSocket != NO_SOCKET;
    }
    // A fresh folder of this test under the home, made by the server's
    // user; with files (made here), and the current folder when it has some.
    std::string Folder(const char *name, std::initializer_list<const char *> files)
    {
        std::string remote = std::string(name) + "-" + server.name, local = root + "\\" + remote;
        EXPECT_TRUE(MakeRemoteFolder(ControlSocket, remote.c_str()) == 2 && IsFolder(local)) << remote;
        for (const char *f : files)
            WriteTextFile(local + "\\" + f, "data\n");
        EXPECT_TRUE(!files.size() || ChangeRemoteFolder(ControlSocket, remote.c_str()) == 2);
        return local;
    }
    // The files and folders ("name/") of a folder, sorted, between blanks.
    static std::string Entries(const std::string &folder)
    {
        std::vector<std::string> names;
        ForEachEntry(folder, [&](const std::string &name, bool isFolder) {
            names.push_back(name + (isFolder ? "/" : ""));
        });
        std::sort(names.begin(), names.end());
        std::string all;
        for (const std::string &n : names)
            all += (all.empty() ? "" : " ") + n;
        return all;
    }
    RealServer server;
    std::string root;
    SiteProfile profile;
};

TEST_P(OnRealServer, ConnectAndCloseCommands)
{
    // Connect goes through the session sheet, which shows the saved profile; OK connects.
    snprintf(profile.remoteFolder, sizeof profile.remoteFolder, "/");
    profile.savePassword = 1;
    SaveSiteProfile(&profile);
    CurrentSession = profile;
    DialogAnswerer sheet({{"Properties for Session", "", IDOK, {}, {}}});
    ASSERT_TRUE(RunCommand(nullptr, IDM_CONNECT, nullptr, 0));
    ASSERT_TRUE(sheet.Finish());
    ASSERT_NE(ControlSocket, NO_SOCKET);
    EXPECT_TRUE(Connected && ServerCaps.hostTypeChecked);   // detected after logon
    EXPECT_EQ(ServerCaps.canMakeFolder + ServerCaps.canRename + ServerCaps.canDelete, 3);
    EXPECT_TRUE(LogHasLine("CWD /") && !LogMentions(profile.password));
    RunCommand(nullptr, IDM_DISCONNECT, nullptr, 0);
    EXPECT_TRUE(ControlSocket == NO_SOCKET && !Connected && LogHasLine("QUIT"));
    EXPECT_EQ(ServerCaps.canMakeFolder + ServerCaps.canRename + ServerCaps.canDelete, 0);
    EXPECT_EQ(ServerCaps.useCdup, 1);
}

DialogAnswerer::Answer Verify(int button) { return {"Verify Deletion", "", button, {}, {}}; }
DialogAnswerer::Answer Input(const char *text) { return {"Input", text, IDOK, {}, {}}; }
std::string Asked(const char *name) { return "Are you sure you want to delete \"" + std::string(name) + "\"?"; }
const uint32_t F = KIND_FILE, D = KIND_FOLDER;

// Each step puts rows on the remote list (all selected), answers the dialogs
// of the action, and checks the prompts and which "Delete All" buttons were
// shown, then the folder's entries on the server's disk (folders with "/").
TEST_P(OnRealServer, FolderAndFileActionsInOrder)
{
    ASSERT_TRUE(LogOn());
    const std::string local = Folder("acts", {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "old.txt", "m1.txt"});
    ASSERT_EQ(MakeRemoteFolder(ControlSocket, "dest"), 2);
    const struct {
        std::vector<std::pair<const char *, uint32_t>> rows;
        std::vector<DialogAnswerer::Answer> answers;
        void (*action)(void);
        Lines prompts;
        std::vector<bool> deleteAll;
        const char *entries;
    } steps[] = {
        {{}, {Input("made")}, [] { MakeFolderAction(1); }, {"Enter new remote folder name:"}, {false},
         "a.txt b.txt c.txt d.txt dest/ e.txt m1.txt made/ old.txt"},
        // One entry: neither "Delete All" nor "Cancel".
        {{{"made", D}}, {Verify(IDYES)}, [] { RemoveFolderAction(1); }, {Asked("made")}, {false},
         "a.txt b.txt c.txt d.txt dest/ e.txt m1.txt old.txt"},
        // The last selected is asked first: No keeps d; at c, Delete All removes c, b and a.
        {{{"a.txt", F}, {"b.txt", F}, {"c.txt", F}, {"d.txt", F}}, {Verify(IDNO), Verify(IDC_DELETE_ALL)},
         [] { DeleteAction(1); }, {Asked("d.txt"), Asked("c.txt")}, {true, true}, "d.txt dest/ e.txt m1.txt old.txt"},
        // Cancel ends the walk at once.
        {{{"e.txt", F}, {"d.txt", F}}, {Verify(IDCANCEL)}, [] { DeleteAction(1); }, {Asked("d.txt")}, {true},
         "d.txt dest/ e.txt m1.txt old.txt"},
        {{{"old.txt", F}}, {Input("new.txt")}, [] { RenameAction(1); }, {"Enter new name for \"old.txt\":"}, {false},
         "d.txt dest/ e.txt m1.txt new.txt"},
        // ".." is skipped.
        {{{"m1.txt", F}, {"..", D}}, {Input("dest")}, [] { MoveAction(1); },
         {"Please enter the remote destination folder:"}, {false}, "d.txt dest/ e.txt new.txt"},
        // A rename whose source is missing is skipped without a message.
        {{{"missing.txt", F}}, {Input("x.txt")}, [] { RenameAction(1); }, {"Enter new name for \"missing.txt\":"},
         {false}, "d.txt dest/ e.txt new.txt"},
        // Without asking, a missing file fails and the walk goes on.
        {{{"gone.txt", F}, {"d.txt", F}}, {}, [] { GlobalSettings.verifyDelete = 0, DeleteAction(1); }, {}, {},
         "dest/ e.txt new.txt"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.entries);
        ClearRows(RemoteListWindow);
        for (const auto &row : step.rows)
            AddItemRow(RemoteListWindow, row.first, row.second);
        SelectAllRows(RemoteListWindow);
        DialogAnswerer answers(step.answers);
        step.action();
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), step.prompts);
        EXPECT_EQ(answers.ButtonsShown(IDC_DELETE_ALL), step.deleteAll);
        EXPECT_EQ(Entries(local), step.entries);
    }
    EXPECT_EQ(Entries(local + "\\dest"), "m1.txt");
    EXPECT_TRUE(LogHasLine("! Delete of gone.txt failed."));
    EXPECT_FALSE(LogMentions("! Rename of missing.txt"));
}

// The dialog with every box cleared acts like Cancel: nothing is sent.
TEST_P(OnRealServer, ChmodWithNoBoxCheckedSendsNothing)
{
    ASSERT_TRUE(LogOn());
    const std::string folder = Folder("chmod", {}).substr(root.size() + 1);
    LastChmodMode = 644;
    AddItemRow(RemoteListWindow, folder.c_str(), KIND_FOLDER);
    SelectAllRows(RemoteListWindow);
    std::vector<int> all;
    for (int box = 0; box < 9; box++)
        all.push_back(IDC_CHMOD_BOX0 + box);
    DialogAnswerer none({{"Remote file permissions", "", IDOK, all, {}}});
    ChmodAction();
    ASSERT_TRUE(none.Finish());
    EXPECT_FALSE(LogMentions("SITE chmod"));
    EXPECT_EQ(LastChmodMode, 644u);
}

INSTANTIATE_TEST_SUITE_P(Servers, OnRealServer, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == 0 ? "vsftpd" : "pyftpdlib");
                         });

}  // namespace
