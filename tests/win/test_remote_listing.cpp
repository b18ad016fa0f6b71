// The remote pane against a scripted server: PWD reply forms, LIST and MLSD,
// failed listings, the cache; and listing files read into rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
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
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;

const char kUnixListing[] =
    "total 3\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 inner\r\n"
    "-rw-r--r--   1 ftp ftp     12 Mar  1  2021 notes.txt\r\n"
    "-rw-r--r--   1 ftp ftp 123456 Mar  1  2021 data.bin\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 .\r\n"
    "drwxr-xr-x   2 ftp ftp   4096 Jan 10  2020 ..\r\n";
const char kMlsdListing[] =
    "type=file;size=5;modify=20230102030405; five.txt\r\ntype=dir;modify=20230102030405; sub\r\n";

class RemoteListing : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeRemoteList();
        ClearListingCache();
        memset(&CurrentSession, 0, sizeof CurrentSession);
        CurrentSession.passive = 1;
        CurrentSession.timeout = 20;
        ServerCaps.hostTypeChecked = 1;
        // The listing lines are read by the real library beside the test program.
        char error[256] = "";
        ASSERT_TRUE(LoadHostLibraryFrom(nullptr, error, sizeof error)) << error;
    }
    void TearDown() override
    {
        ControlSocket = CloseQuiet(ControlSocket);
        server.reset();
        data.reset();
        Connected = FALSE;
        ClearRemoteList();
        ClearListingCache();
        DestroyWindow(RemoteListWindow);
        RemoteListWindow = nullptr;
        FreeHostLibrary();
    }
    // The server answers PWD, TYPE, PASV (a data peer sending the listing)
    // and the listing command with these replies.
    void Serve(const char *pwd, const char *verb, const char *reply, const char *listing)
    {
        data = std::make_unique<DataPeer>();
        server = std::make_unique<ScriptedFtpServer>();
        data->SendOnConnect(listing);
        data->StartPassive();
        server->Serve({{"PWD", pwd}, {"XPWD", "550 no\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", data->PassiveReply()},
                       {verb, reply}});
        server->Start();
        ControlSocket = ConnectToServer(server->Port());
        ASSERT_NE(INVALID_SOCKET, ControlSocket);
        Connected = TRUE;
    }
    Lines Names() { return RowNames(ReadRemoteRows(RemoteListWindow)); }
    int Count(const char *prefix)
    {
        int n = 0;
        for (const std::string &c : server->Commands())
            n += c.compare(0, strlen(prefix), prefix) == 0;
        return n;
    }
    std::unique_ptr<DataPeer> data;
    std::unique_ptr<ScriptedFtpServer> server;
};

// The folder as the reply names it, a placeholder when PWD is refused; the
// listing command of the host type; a refused listing leaves no rows but
// the up row of a member host.
TEST_F(RemoteListing, FolderAndRowsFromTheReplies)
{
    const char *ok = "150 Here it comes\r\n226 Done\r\n";
    const struct {
        int hostType;
        const char *pwd, *verb, *reply, *listing, *folder;
        Lines names;
    } cases[] = {
        {6001, "257 \"/home/me\" is the current directory\r\n", "LIST", ok, kUnixListing, "/home/me",
         {"..", "inner", "data.bin", "notes.txt"}},
        {6001, "550 No way\r\n", "LIST", ok, kUnixListing, "directory identifier unavailable",
         {"..", "inner", "data.bin", "notes.txt"}},
        {6059, "257 \"/m\"\r\n", "MLSD", ok, kMlsdListing, "/m", {"..", "sub", "five.txt"}},
        {6001, "257 \"/f\"\r\n", "LIST", "550 Permission denied\r\n", "", "/f", {}},
        {6018, "257 \"'USER.LIB'\"\r\n", "LIST", "550 No members\r\n", "", "'USER.LIB'", {".."}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.pwd) + c.reply);
        TearDown();
        SetUp();
        CurrentSession.hostType = c.hostType;
        Serve(c.pwd, c.verb, c.reply, c.listing);
        RefreshRemoteList(nullptr, 1);
        EXPECT_STREQ(c.folder, RemoteFolder);
        EXPECT_EQ(c.names, Names());
        EXPECT_EQ(1, Count(c.verb));
        EXPECT_EQ(c.verb[0] == 'M' ? 0 : 1, Count("LIST"));
        EXPECT_FALSE(IsBusy()) << "the guard gives the busy flag back";
    }
    Connected = FALSE;
    RefreshRemoteList(nullptr, 0);
    EXPECT_TRUE(Names().empty()) << "not connected: no rows";
}

TEST_F(RemoteListing, CacheServesTheSecondShowAndRefreshAlwaysFetches)
{
    CurrentSession.hostType = 6001;
    Serve("257 \"/c\"\r\n", "LIST", "150 go\r\n226 Done\r\n", kUnixListing);
    ShowRemoteFolder(nullptr, 0);
    ShowRemoteFolder(nullptr, 0);
    EXPECT_EQ(1, Count("LIST"));
    EXPECT_EQ(2, Count("PWD"));
    std::vector<RemoteRow> rows = ReadRemoteRows(RemoteListWindow);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(KIND_FOLDER, rows[1].kind);
    EXPECT_EQ(123456u, rows[2].size);
    EXPECT_EQ(KIND_TEXT, rows[3].kind) << "text files by extension";
}

// Listing files read straight into rows: the site's time offset, sizes over
// 4 GiB; a missing file shows the up row only.
TEST_F(RemoteListing, ListingFileRowsAreShiftedAndSized)
{
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "TST", 0, path);
    WriteTextFile(path, "type=file;size=5368709120;modify=20210301013000; big.iso\r\n");
    CurrentSession.hostType = 6059;
    CurrentSession.timeOffset = -2;
    ReadListingFile(path);
    std::vector<RemoteRow> rows = ReadRemoteRows(RemoteListWindow);
    ASSERT_EQ(2u, rows.size());
    const RemoteRow &big = rows[1];
    EXPECT_TRUE(big.year == 2021 && big.month == 2 && big.day == 28 && big.hour == 23 && big.minute == 30)
        << big.text;
    EXPECT_EQ(5368709120ull, big.size);
    EXPECT_NE(std::string::npos, big.text.find("5368709120")) << big.text;
    DeleteFileA(path);
    ReadListingFile(path);
    EXPECT_EQ((Lines{".."}), Names());
}

}  // namespace
