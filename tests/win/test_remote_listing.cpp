// The remote pane against a scripted server: PWD reply forms, LIST and MLSD,
// failed listings, the cache; and listing files read into rows.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "data_peer_helper.h"
#include "ftp_server_helper.h"
#include "listing/host_library.h"
#include "listing/listing_cache.h"
#include "listing/remote_list.h"
#include "ftp/remote_commands.h"
#include "remote_rows_helper.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "ui/layout.h"
#include "ui/msglog.h"

namespace {

// A passive data connection that sends the bytes once the client connects.
struct DataServer : DataPeer {
    explicit DataServer(const std::string &bytes)
    {
        Listen();
        SendOnConnect(bytes);
        StartPassive();
    }
    std::string PasvReply() const { return PassiveReply(); }
};

const char kUnixListing[] =
    "total 3\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 inner\r\n"
    "-rw-r--r--   1 ftp ftp     12 Mar  1  2021 notes.txt\r\n"
    "-rw-r--r--   1 ftp ftp 123456 Mar  1  2021 data.bin\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 .\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 ..\r\n";

class RemoteListing : public ::testing::Test {
protected:
    ScriptedFtpServer server;

    void SetUp() override
    {
        MakeRemoteList();
        ClearListingCache();
        memset(&CurrentSession, 0, sizeof CurrentSession);
        CurrentSession.hostType = 6001;
        CurrentSession.passive = 1;
        CurrentSession.timeout = 20;
        ServerCaps.hostTypeChecked = 1;
    }
    void TearDown() override
    {
        ControlSocket = CloseQuiet(ControlSocket);
        Connected = FALSE;
        ClearRemoteList();
        ClearListingCache();
        DestroyWindow(RemoteListWindow);
        RemoteListWindow = nullptr;
    }
    void Connect() { Connect(server); }
    void Connect(ScriptedFtpServer &s)
    {
        s.Start();
        ControlSocket = ConnectToServer(s.Port());
        ASSERT_NE(INVALID_SOCKET, ControlSocket);
        Connected = TRUE;
    }
    std::vector<std::string> Names() { return RowNames(ReadRemoteRows(RemoteListWindow)); }
    int Count(const char *prefix) { return Count(server, prefix); }
    static int Count(const ScriptedFtpServer &s, const char *prefix)
    {
        int n = 0;
        for (const std::string &c : s.Commands())
            n += c.compare(0, strlen(prefix), prefix) == 0;
        return n;
    }
};

TEST_F(RemoteListing, PwdFormsFolderShownAndListed)
{
    // The folder as the reply names it, or a placeholder when PWD is refused.
    const std::pair<const char *, const char *> forms[] = {
        {"257 \"/home/me\" is the current directory\r\n", "/home/me"},
        {"550 No way\r\n", "directory identifier unavailable"}};
    for (const auto &[reply, folder] : forms) {
        SCOPED_TRACE(reply);
        DataServer data(kUnixListing);
        ScriptedFtpServer server;
        server.Serve({{"PWD", reply}, {"XPWD", "550 no\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", data.PasvReply()},
                      {"LIST", "150 Here it comes\r\n226 Done\r\n"}});
        Connect(server);
        RefreshRemoteList(nullptr, 1);
        EXPECT_STREQ(folder, RemoteFolder);
        EXPECT_EQ((std::vector<std::string>{"..", "inner", "data.bin", "notes.txt"}), Names());
        EXPECT_EQ(1, Count(server, "LIST"));
        EXPECT_FALSE(IsBusy()) << "the guard gives the busy flag back";
        ControlSocket = CloseQuiet(ControlSocket);
    }
}

TEST_F(RemoteListing, RowsCarryKindDateAndSize)
{
    DataServer data(kUnixListing);
    server.Serve({{"PWD", "257 \"/r\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", data.PasvReply()},
                  {"LIST", "150 go\r\n226 Done\r\n"}});
    Connect();
    RefreshRemoteList(nullptr, 0);
    std::vector<RemoteRow> rows = ReadRemoteRows(RemoteListWindow);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(KIND_FOLDER, rows[0].kind);
    EXPECT_EQ(KIND_FOLDER, rows[1].kind);
    EXPECT_EQ(123456u, rows[2].size);
    EXPECT_EQ(2021, rows[2].year);
    EXPECT_EQ(3, rows[2].month);
    EXPECT_EQ(KIND_TEXT, rows[3].kind) << "text files by extension";
    EXPECT_EQ(0, rows[2].text.find("data.bin\t")) << rows[2].text;
}

TEST_F(RemoteListing, MlsdForItsHostTypeWithTheMask)
{
    CurrentSession.hostType = 6059;
    DataServer data("type=file;size=5;modify=20230102030405; five.txt\r\n"
                    "type=dir;modify=20230102030405; sub\r\n");
    server.Serve({{"PWD", "257 \"/m\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", data.PasvReply()},
                  {"MLSD", "150 go\r\n226 Done\r\n"}});
    Connect();
    RefreshRemoteList(nullptr, 0);
    EXPECT_EQ(1, Count("MLSD"));
    EXPECT_EQ(0, Count("LIST"));
    EXPECT_EQ((std::vector<std::string>{"..", "sub", "five.txt"}), Names());
}

TEST_F(RemoteListing, RefusedListLeavesTheListEmptyWithAnErrorLine)
{
    server.Serve({{"PWD", "257 \"/f\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", "500 no passive\r\n"},
                  {"PORT", "200 ok\r\n"}, {"LIST", "550 Permission denied\r\n"}});
    Connect();
    RefreshRemoteList(nullptr, 0);
    EXPECT_TRUE(Names().empty());
}

TEST_F(RemoteListing, RefusedListOnMemberHostShowsOnlyTheUpRow)
{
    CurrentSession.hostType = 6018;
    server.Serve({{"PWD", "257 \"'USER.LIB'\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", "500 no\r\n"},
                  {"PORT", "200 ok\r\n"}, {"LIST", "550 No members\r\n"}});
    Connect();
    RefreshRemoteList(nullptr, 0);
    EXPECT_EQ((std::vector<std::string>{".."}), Names());
}

TEST_F(RemoteListing, CacheServesTheSecondShowAndRefreshAlwaysFetches)
{
    DataServer first(kUnixListing), second(kUnixListing);
    server.Serve({{"PWD", "257 \"/c\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", first.PasvReply()},
                  {"LIST", "150 go\r\n226 Done\r\n"}});
    Connect();
    ShowRemoteFolder(nullptr, 0);
    ShowRemoteFolder(nullptr, 0);
    EXPECT_EQ(1, Count("LIST"));
    EXPECT_EQ(2, Count("PWD"));
    EXPECT_EQ(4u, Names().size());
}

TEST_F(RemoteListing, NotConnectedEmptiesTheList)
{
    Connected = FALSE;
    RefreshRemoteList(nullptr, 0);
    EXPECT_TRUE(Names().empty());
}

// Listing files read straight into rows.
class ListingFile : public ::testing::Test {
protected:
    char path[MAX_PATH];
    void SetUp() override
    {
        MakeRemoteList();
        memset(&CurrentSession, 0, sizeof CurrentSession);
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        GetTempFileNameA(folder, "TST", 0, path);
    }
    void TearDown() override
    {
        DeleteFileA(path);
        ClearRemoteList();
        DestroyWindow(RemoteListWindow);
        RemoteListWindow = nullptr;
    }
    std::vector<RemoteRow> Read(const std::string &text, int hostType, int offset = 0)
    {
        FILE *f = fopen(path, "wb");
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
        CurrentSession.hostType = hostType;
        CurrentSession.timeOffset = offset;
        ReadListingFile(path);
        return ReadRemoteRows(RemoteListWindow);
    }
};

// The rows take the site's time offset, sizes over 4 GiB and the sort order.
TEST_F(ListingFile, RowsAreShiftedSizedAndSorted)
{
    std::string text = "type=file;size=5368709120;modify=20210301013000; big.iso\r\n";
    for (int i = 300; i > 0; i--) {
        char line[128];
        snprintf(line, sizeof line, "type=file;size=%d;modify=20210301120000; file%03d.bin\r\n", i, i);
        text += line;
    }
    text += "type=dir;modify=20210301120000; zdir\r\n";
    std::vector<RemoteRow> rows = Read(text, 6059, -2);
    ASSERT_EQ(303u, rows.size());
    EXPECT_EQ("..", rows[0].name);
    EXPECT_EQ("zdir", rows[1].name);
    EXPECT_EQ("big.iso", rows[2].name);
    EXPECT_EQ("file001.bin", rows[3].name);
    EXPECT_EQ("file300.bin", rows[302].name);
    const RemoteRow &big = rows[2];
    EXPECT_TRUE(big.year == 2021 && big.month == 2 && big.day == 28 && big.hour == 23 && big.minute == 30)
        << big.text;
    EXPECT_EQ(5368709120ull, big.size);
    EXPECT_NE(std::string::npos, big.text.find("5368709120")) << big.text;
}

TEST_F(ListingFile, MissingFileShowsTheUpRowOnly)
{
    DeleteFileA(path);
    CurrentSession.hostType = 6001;
    ReadListingFile(path);
    EXPECT_EQ((std::vector<std::string>{".."}), RowNames(ReadRemoteRows(RemoteListWindow)));
}

// The listing lines are read by the real library beside the test program.
class HostLibrary : public ::testing::Environment {
public:
    void SetUp() override
    {
        char error[256] = "";
        ASSERT_TRUE(LoadHostLibraryFrom(nullptr, error, sizeof error)) << error;
    }
    void TearDown() override { FreeHostLibrary(); }
};

const auto *const kLibrary = ::testing::AddGlobalTestEnvironment(new HostLibrary);

}  // namespace
