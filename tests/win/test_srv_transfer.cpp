// The transfer engine against real servers (vsftpd and pyftpdlib on
// loopback): bytes checked on both file systems, in passive and active mode,
// empty files, names with spaces, and a file just over 4 GiB.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "logon_helper.h"
#include "real_server_helper.h"
#include "sites/site_profile.h"
#include "transcript_helper.h"
#include "transfer/transfer.h"
#include "veltro_process_helper.h"

namespace {

class ServerTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RealServersRunning())
            GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
        ResetTransferState(20);
        CurrentSession.passive = 1;
    }
    void TearDown() override
    {
        for (const std::string &f : cleanup)
            DeleteFileA(f.c_str());
    }
    // A local file of this test; removed at the end like Remote() files.
    std::string Local(const std::string &name)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        cleanup.push_back(std::string(temp) + "veltro-srv-" + std::to_string(GetCurrentProcessId()) + "-" + name);
        return cleanup.back();
    }
    std::string Remote(const RealServer &server, const std::string &name)
    {
        cleanup.push_back(ServerFile(server, name));
        return cleanup.back();
    }
    std::vector<std::string> cleanup;
};

TEST_F(ServerTransfer, BinaryRoundTripsAreByteExact)
{
    const struct {
        size_t size;
        const char *remote;
    } files[] = {{300001, "data.bin"}, {0, "empty.bin"}, {5000, "my file with spaces.bin"}};
    for (const RealServer &server : RealServers) {
        for (int passive = 0; passive < 2; passive++) {
            SOCKET c = LogOnTo(server);
            ASSERT_NE(c, NO_SOCKET) << server.name;
            CurrentSession.passive = passive;
            for (const auto &f : files) {
                SCOPED_TRACE(std::string(server.name) + (passive ? " passive " : " active ") + f.remote);
                const std::string bytes = TestPattern(f.size), up = Local("up.bin"), down = Local("down.bin");
                const std::string remote = Remote(server, f.remote);
                ASSERT_TRUE(WriteLocalFile(up, bytes));
                WriteLocalFile(down, "stale contents");
                EXPECT_EQ(TransferFile(c, "STOR", f.remote, up, 'I'), 2);
                EXPECT_TRUE(ReadTextFile(remote) == bytes) << "server copy differs";
                EXPECT_EQ(TransferFile(c, "RETR", f.remote, down, 'I'), 2);
                EXPECT_EQ(ReceiveResult, f.size ? 1 : 0);
                EXPECT_TRUE(ReadTextFile(down) == bytes) << "local copy differs";
                DeleteFileA(remote.c_str());
            }
            FtpCommand(c, "QUIT");
            closesocket(c);
        }
    }
}

TEST_F(ServerTransfer, FileJustOver4GiBDoesNotWrap)
{
    const uint64_t size = 4294967297ull;
    const std::string remote = Remote(RealServers[0], "huge.bin"), down = Local("huge.bin");
    ULARGE_INTEGER free;
    if (!GetDiskFreeSpaceExA(down.substr(0, down.rfind('\\')).c_str(), &free, nullptr, nullptr) ||
        free.QuadPart < size + (2ull << 30))
        GTEST_SKIP() << "less than 6 GiB free for the local copy";
    MakeSparseFile(remote, size, '!');
    SOCKET c = LogOnTo(RealServers[0]);
    ASSERT_NE(c, NO_SOCKET);
    GlobalSettings.recvBlock = 65536;
    GlobalSettings.hash = 1;   // the full progress text, with the dialog
    EXPECT_EQ(TransferFile(c, "RETR", "huge.bin", down, 'I'), 2);
    GlobalSettings.hash = 0;
    EXPECT_EQ(ReceiveResult, 1);
    EXPECT_EQ(ExpectedSize, size);
    EXPECT_EQ(FileSize(down), size);
    EXPECT_EQ(std::string(LastProgressText).rfind("4294967297 : ", 0), 0u) << LastProgressText;
    EXPECT_EQ(std::string(LastCompletionLine).rfind("Received 4294967297 bytes in ", 0), 0u) << LastCompletionLine;
    HANDLE h = CreateFileA(down.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)size - 1;
    char last = 0;
    DWORD n = 0;
    SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
    ReadFile(h, &last, 1, &n, nullptr);
    CloseHandle(h);
    EXPECT_EQ(last, '!');
    FtpCommand(c, "QUIT");
    closesocket(c);
}

}  // namespace
