// Logon and remote folder and file actions against real servers (vsftpd
// and pyftpdlib on loopback, started by tests/servers/with-servers.sh),
// checked by what the servers' folders then hold.
#include <gtest/gtest.h>

#include <stdlib.h>
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
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "ui/layout.h"

namespace {

using Lines = std::vector<std::string>;

struct Server {
    const char *name;
    const char *portVariable;
    const char *rootVariable;
};

const Server Servers[] = {
    {"vsftpd", "VELTRO_VSFTPD_PORT", "VELTRO_VSFTPD_ROOT"},
    {"pyftpdlib", "VELTRO_PYFTPD_PORT", "VELTRO_PYFTPD_ROOT"},
};

std::string Env(const char *name)
{
    const char *v = getenv(name);
    return v ? v : "";
}

// The Linux folder as Wine sees it.
std::string WinePath(const std::string &linuxPath)
{
    std::string p = "Z:" + linuxPath;
    for (char &c : p)
        if (c == '/')
            c = '\\';
    return p;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string &path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFile(const std::string &path, const char *text = "data\n")
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written;
    WriteFile(f, text, (DWORD)strlen(text), &written, nullptr);
    CloseHandle(f);
}

// A remote list row holding a FileItem, as the owner-drawn lists will.
void AddItemRow(HWND list, const char *name, uint32_t kind)
{
    size_t length = strlen(name);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(FileItem) + length + 8);
    FileItem *item = (FileItem *)GlobalLock(block);
    item->pane = 1;
    item->kind = kind;
    item->nameLength = (uint32_t)length;
    memcpy(item->text, name, length);
    memcpy(item->text + length, "\t123", 5);
    GlobalUnlock(block);
    int index = (int)SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    SendMessageA(list, LB_SETITEMDATA, index, (LPARAM)block);
}

void ClearRows(HWND list)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        LRESULT data = SendMessageA(list, LB_GETITEMDATA, i, 0);
        if (data && data != LB_ERR)
            GlobalFree((HGLOBAL)data);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

void SelectAll(HWND list)
{
    SendMessageA(list, LB_SETSEL, TRUE, -1);
}

class RealServer : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        server = Servers[GetParam()];
        if (Env(server.portVariable).empty())
            GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
        ResetLogonState();
        GlobalSettings.doUpdate = 0;
        root = WinePath(Env(server.rootVariable));
        profile = SiteProfile{};
        snprintf(profile.host, sizeof profile.host, "127.0.0.1");
        snprintf(profile.userId, sizeof profile.userId, "%s", Env("VELTRO_FTP_USER").c_str());
        snprintf(profile.password, sizeof profile.password, "%s", Env("VELTRO_FTP_PASS").c_str());
        profile.port = (uint32_t)atoi(Env(server.portVariable).c_str());
        profile.timeout = 10;
        profile.hostType = 6000;
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
    Server server;
    std::string root;
    SiteProfile profile;
};

TEST_P(RealServer, ConnectAndCloseCommands)
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

TEST_P(RealServer, WrongPasswordIsALogonFailureAndARetryWorks)
{
    snprintf(profile.password, sizeof profile.password, "wrong");
    CurrentSession = profile;
    EXPECT_EQ(ConnectAndLogon(&CurrentSession), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Logon failure, so quitting"));
    EXPECT_FALSE(Connected);
    EXPECT_FALSE(CancelFlag);
    snprintf(profile.password, sizeof profile.password, "%s", Env("VELTRO_FTP_PASS").c_str());
    EXPECT_TRUE(LogOn());
}

TEST_P(RealServer, AnonymousLogon)
{
    snprintf(profile.userId, sizeof profile.userId, "anonymous");
    snprintf(profile.password, sizeof profile.password, "guest@example.org");
    ASSERT_TRUE(LogOn());
    EXPECT_EQ(ChangeRemoteFolder(ControlSocket, "pub"), 2);
    EXPECT_EQ(PrintRemoteFolder(ControlSocket), 2);
    EXPECT_NE(strstr(ReplyText, "/pub"), nullptr) << ReplyText;
    // The anonymous root is read-only.
    EXPECT_EQ(MakeRemoteFolder(ControlSocket, "nope"), 5);
}

TEST_P(RealServer, FolderChangesWithCdupAndFallbacks)
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
    EXPECT_FALSE(Exists(root + "\\" + folder));
}

TEST_P(RealServer, MakeAndRemoveFolderThroughTheActions)
{
    ASSERT_TRUE(LogOn());
    std::string name = std::string("made-") + server.name;
    {
        DialogAnswerer answers({{"Input", name, IDOK, {}, {}}});
        MakeFolderAction(1);
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), (Lines{"Enter new remote folder name:"}));
    }
    EXPECT_TRUE(IsFolder(root + "\\" + name));

    AddItemRow(RemoteListWindow, name.c_str(), KIND_FOLDER);
    SelectAll(RemoteListWindow);
    {
        DialogAnswerer answers({{"Verify Deletion", "", IDYES, {}, {}}});
        RemoveFolderAction(1);
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), (Lines{"Are you sure you want to delete \"" + name + "\"?"}));
        // One entry: no "Delete All", no "Cancel".
        EXPECT_EQ(answers.ButtonsShown(IDC_DELETE_ALL), std::vector<bool>{false});
        EXPECT_EQ(answers.ButtonsShown(IDCANCEL), std::vector<bool>{false});
    }
    EXPECT_FALSE(Exists(root + "\\" + name));
}

TEST_P(RealServer, DeleteAsksLastSelectedFirstAndDeleteAllStopsAsking)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("del");
    ASSERT_EQ(ChangeRemoteFolder(ControlSocket, folder.c_str()), 2);
    std::string local = root + "\\" + folder;
    for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        MakeFile(local + "\\" + n);
    for (const char *n : {"a.txt", "b.txt", "c.txt", "d.txt"})
        AddItemRow(RemoteListWindow, n, KIND_FILE);
    SelectAll(RemoteListWindow);
    // d is asked first: No keeps it; c: Delete All removes c, b and a.
    DialogAnswerer answers({{"Verify Deletion", "", IDNO, {}, {}}, {"Verify Deletion", "", IDC_DELETE_ALL, {}, {}}});
    DeleteAction(1);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Are you sure you want to delete \"d.txt\"?",
                                        "Are you sure you want to delete \"c.txt\"?"}));
    EXPECT_EQ(answers.ButtonsShown(IDC_DELETE_ALL), (std::vector<bool>{true, true}));
    EXPECT_TRUE(Exists(local + "\\d.txt"));
    EXPECT_FALSE(Exists(local + "\\c.txt"));
    EXPECT_FALSE(Exists(local + "\\b.txt"));
    EXPECT_FALSE(Exists(local + "\\a.txt"));

    // Cancel ends the walk at once; a missing file fails and the walk goes on.
    ClearRows(RemoteListWindow);
    MakeFile(local + "\\e.txt");
    AddItemRow(RemoteListWindow, "e.txt", KIND_FILE);
    AddItemRow(RemoteListWindow, "d.txt", KIND_FILE);
    SelectAll(RemoteListWindow);
    {
        DialogAnswerer cancel({{"Verify Deletion", "", IDCANCEL, {}, {}}});
        DeleteAction(1);
        ASSERT_TRUE(cancel.Finish());
    }
    EXPECT_TRUE(Exists(local + "\\d.txt"));
    EXPECT_TRUE(Exists(local + "\\e.txt"));
    ClearRows(RemoteListWindow);
    AddItemRow(RemoteListWindow, "gone.txt", KIND_FILE);
    AddItemRow(RemoteListWindow, "d.txt", KIND_FILE);
    SelectAll(RemoteListWindow);
    GlobalSettings.verifyDelete = 0;
    DeleteAction(1);
    EXPECT_FALSE(Exists(local + "\\d.txt"));
    EXPECT_TRUE(LogHasLine("! Delete of gone.txt failed."));
}

TEST_P(RealServer, RenameAndMove)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("ren");
    ASSERT_EQ(ChangeRemoteFolder(ControlSocket, folder.c_str()), 2);
    std::string local = root + "\\" + folder;
    MakeFile(local + "\\old.txt", "renamed\n");
    MakeFile(local + "\\m1.txt");
    MakeFile(local + "\\m2.txt");
    ASSERT_EQ(MakeRemoteFolder(ControlSocket, "dest"), 2);

    AddItemRow(RemoteListWindow, "old.txt", KIND_FILE);
    SelectAll(RemoteListWindow);
    {
        DialogAnswerer answers({{"Input", "new.txt", IDOK, {}, {}}});
        RenameAction(1);
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), (Lines{"Enter new name for \"old.txt\":"}));
    }
    EXPECT_FALSE(Exists(local + "\\old.txt"));
    EXPECT_TRUE(Exists(local + "\\new.txt"));

    ClearRows(RemoteListWindow);
    AddItemRow(RemoteListWindow, "m1.txt", KIND_FILE);
    AddItemRow(RemoteListWindow, "m2.txt", KIND_FILE);
    AddItemRow(RemoteListWindow, "..", KIND_FOLDER);   // skipped
    SelectAll(RemoteListWindow);
    {
        DialogAnswerer answers({{"Input", "dest", IDOK, {}, {}}});
        MoveAction(1);
        ASSERT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), (Lines{"Please enter the remote destination folder:"}));
    }
    EXPECT_TRUE(Exists(local + "\\dest\\m1.txt"));
    EXPECT_TRUE(Exists(local + "\\dest\\m2.txt"));
    EXPECT_FALSE(Exists(local + "\\m1.txt"));

    // A rename whose source is missing is skipped without a message.
    ClearRows(RemoteListWindow);
    AddItemRow(RemoteListWindow, "missing.txt", KIND_FILE);
    SelectAll(RemoteListWindow);
    {
        DialogAnswerer answers({{"Input", "x.txt", IDOK, {}, {}}});
        RenameAction(1);
        ASSERT_TRUE(answers.Finish());
    }
    EXPECT_FALSE(LogMentions("! Rename of missing.txt"));
    EXPECT_FALSE(Exists(local + "\\x.txt"));
}

TEST_P(RealServer, ChmodThroughThePermissionsDialog)
{
    ASSERT_TRUE(LogOn());
    std::string folder = Scratch("chmod");
    LastChmodMode = 644;
    AddItemRow(RemoteListWindow, folder.c_str(), KIND_FOLDER);
    SelectAll(RemoteListWindow);
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

INSTANTIATE_TEST_SUITE_P(Servers, RealServer, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(info.param == 0 ? "vsftpd" : "pyftpdlib");
                         });

}  // namespace
