// The transfer engine against real servers (vsftpd and pyftpdlib on
// loopback): bytes checked on both file systems, in passive and active mode,
// binary and ASCII, empty files, names with spaces, file times, a cancelled
// download, and a file just over 4 GiB.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "logon_helper.h"
#include "real_server_helper.h"
#include "veltro_process_helper.h"
#include "transcript_helper.h"
#include "sites/site_profile.h"
#include "transfer/transfer.h"

namespace {

std::string LocalPath(const std::string &name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "veltro-srv-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

class ServerTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RealServersRunning())
            GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
        ResetTransferState(20);
    }
    void TearDown() override
    {
        for (const std::string &f : cleanup)
            DeleteFileA(f.c_str());
    }
    // Logs on to the server for passive transfers.
    SOCKET Open(const RealServer &server)
    {
        CurrentSession.passive = 1;
        return LogOnTo(server);
    }
    int Upload(SOCKET c, const std::string &remote, const std::string &local, int type)
    {
        return TransferFile(c, "STOR", remote, local, type);
    }
    int Download(SOCKET c, const std::string &remote, const std::string &local, int type)
    {
        return TransferFile(c, "RETR", remote, local, type);
    }
    std::vector<std::string> cleanup;
};

struct RoundTrip {
    const char *what;
    size_t size;
    const char *remote;
};

TEST_F(ServerTransfer, BinaryRoundTripsAreByteExact)
{
    const RoundTrip files[] = {
        {"several blocks", 300001, "data.bin"},
        {"empty", 0, "empty.bin"},
        {"name with spaces", 5000, "my file with spaces.bin"},
    };
    for (const RealServer &server : RealServers) {
        for (int passive = 0; passive < 2; passive++) {
            SOCKET c = LogOnTo(server);
            ASSERT_NE(c, NO_SOCKET) << server.name;
            CurrentSession.passive = passive;
            for (const RoundTrip &f : files) {
                SCOPED_TRACE(std::string(server.name) + (passive ? " passive " : " active ") + f.what);
                const std::string bytes = TestPattern(f.size);
                const std::string up = LocalPath("up.bin"), down = LocalPath("down.bin");
                const std::string remote = ServerFile(server, f.remote);
                cleanup.insert(cleanup.end(), {up, down, remote});
                ASSERT_TRUE(WriteLocalFile(up, bytes));
                WriteLocalFile(down, "stale contents");
                EXPECT_EQ(Upload(c, f.remote, up, 'I'), 2);
                EXPECT_TRUE(ReadLocalFile(remote) == bytes) << "server copy differs";
                EXPECT_EQ(Download(c, f.remote, down, 'I'), 2);
                EXPECT_EQ(ReceiveResult, f.size ? 1 : 0);
                EXPECT_TRUE(ReadLocalFile(down) == bytes) << "local copy differs";
                DeleteFileA(remote.c_str());
            }
            EXPECT_EQ(FtpCommand(c, "QUIT"), 2);
            closesocket(c);
        }
    }
}

TEST_F(ServerTransfer, AsciiLineEndsOnTheServerAndUploadTimesWhereMdtmIsAccepted)
{
    for (const RealServer &server : RealServers) {
        SCOPED_TRACE(server.name);
        SOCKET c = Open(server);
        ASSERT_NE(c, NO_SOCKET);
        const std::string up = LocalPath("text-up.txt"), down = LocalPath("text-down.txt");
        const std::string remoteUp = ServerFile(server, "up.txt"), remoteDown = ServerFile(server, "down.txt");
        cleanup.insert(cleanup.end(), {up, down, remoteUp, remoteDown});
        // Uploads go out as stored (CR LF); the server stores its own line ends.
        ASSERT_TRUE(WriteLocalFile(up, "first line\r\nsecond line\r\n"));
        EXPECT_EQ(Upload(c, "up.txt", up, 'A'), 2);
        EXPECT_EQ(ReadLocalFile(remoteUp), "first line\nsecond line\n");
        // Downloads arrive as CR LF and are written exactly as they arrive.
        ASSERT_TRUE(WriteLocalFile(remoteDown, "one\ntwo\n\nfour\n"));
        EXPECT_EQ(Download(c, "down.txt", down, 'A'), 2);
        EXPECT_EQ(ReadLocalFile(down), "one\r\ntwo\r\n\r\nfour\r\n");
        // The same file in binary is untouched.
        EXPECT_EQ(Download(c, "down.txt", down, 'I'), 2);
        EXPECT_EQ(ReadLocalFile(down), "one\ntwo\n\nfour\n");

        // A binary upload keeps its time where the server takes MDTM.
        SetFileWriteTime(up, SYSTEMTIME{2003, 2, 0, 3, 9, 5, 7, 0});
        EXPECT_EQ(Upload(c, "up.txt", up, 'I'), 2);
        SYSTEMTIME got = FileWriteTime(remoteUp);
        if (CurrentSession.serverFlags & 2)
            EXPECT_EQ(std::vector<int>({got.wYear, got.wMonth, got.wDay, got.wHour, got.wMinute}),
                      std::vector<int>({2003, 2, 3, 9, 5}));
        else   // refused: not sent again in this session, and the upload counted
            EXPECT_EQ(Upload(c, "up.txt", up, 'I'), 2);
        FtpCommand(c, "QUIT");
        closesocket(c);
    }
}

// Sets CancelFlag once the local file has grown past a size.
struct Canceller {
    std::string path;
    uint64_t after;
    HANDLE thread;
    static DWORD WINAPI Run(void *self)
    {
        Canceller *c = static_cast<Canceller *>(self);
        for (int i = 0; i < 3000; i++) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (GetFileAttributesExA(c->path.c_str(), GetFileExInfoStandard, &data) &&
                ((uint64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow) >= c->after) {
                CancelFlag = TRUE;
                return 0;
            }
            Sleep(5);
        }
        return 1;
    }
};

TEST_F(ServerTransfer, CancelledDownloadSendsAbortAndKeepsThePartialFile)
{
    GlobalSettings.verbose = 1;
    for (const RealServer &server : RealServers) {
        SCOPED_TRACE(server.name);
        SOCKET c = Open(server);
        ASSERT_NE(c, NO_SOCKET);
        const std::string big = TestPattern(48 << 20);
        const std::string remote = ServerFile(server, "big.bin");
        const std::string down = LocalPath("partial.bin");
        cleanup.insert(cleanup.end(), {remote, down});
        ASSERT_TRUE(WriteLocalFile(remote, big));
        DeleteFileA(down.c_str());
        Canceller canceller = {down, 1 << 20, nullptr};
        canceller.thread = CreateThread(nullptr, 0, Canceller::Run, &canceller, 0, nullptr);
        DWORD start = GetTickCount();
        int result = Download(c, "big.bin", down, 'I');
        WaitForSingleObject(canceller.thread, 20000);
        CloseHandle(canceller.thread);
        EXPECT_LT(GetTickCount() - start, 60000u);
        EXPECT_NE(result, 0);
        EXPECT_EQ(ReceiveResult, 2);
        EXPECT_TRUE(LogMentions("Transmitted ABOR"));
        std::string partial = ReadLocalFile(down);
        EXPECT_GE(partial.size(), 1u << 20);
        EXPECT_LT(partial.size(), big.size());
        EXPECT_TRUE(partial == big.substr(0, partial.size())) << "the partial file is a prefix";
        // The connection is still good for the next transfer.
        FlushReply(c);
        const std::string small = ServerFile(server, "small.bin");
        cleanup.push_back(small);
        ASSERT_TRUE(WriteLocalFile(small, "after the cancel"));
        EXPECT_EQ(Download(c, "small.bin", down, 'I'), 2);
        EXPECT_EQ(ReadLocalFile(down), "after the cancel");
        FtpCommand(c, "QUIT");
        closesocket(c);
    }
    GlobalSettings.verbose = 0;
}

TEST_F(ServerTransfer, FileJustOver4GiBDoesNotWrap)
{
    const uint64_t size = 4294967297ull;
    ULARGE_INTEGER free;
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    if (!GetDiskFreeSpaceExA(folder, &free, nullptr, nullptr) || free.QuadPart < size + (2ull << 30))
        GTEST_SKIP() << "less than 6 GiB free for the local copy";
    const RealServer &server = RealServers[0];
    const std::string remote = ServerFile(server, "huge.bin");
    const std::string down = LocalPath("huge.bin");
    cleanup.insert(cleanup.end(), {remote, down});
    // A sparse file on the server: only its last byte is written.
    HANDLE h = CreateFileA(remote.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)size - 1;
    DWORD written = 0;
    ASSERT_TRUE(SetFilePointerEx(h, at, nullptr, FILE_BEGIN));
    ASSERT_TRUE(WriteFile(h, "!", 1, &written, nullptr));
    CloseHandle(h);

    SOCKET c = LogOnTo(server);
    ASSERT_NE(c, NO_SOCKET);
    CurrentSession.passive = 1;
    GlobalSettings.recvBlock = 65536;
    GlobalSettings.hash = 1;   // the full progress text, with the dialog
    EXPECT_EQ(Download(c, "huge.bin", down, 'I'), 2);
    GlobalSettings.hash = 0;
    EXPECT_EQ(ReceiveResult, 1);
    EXPECT_EQ(ExpectedSize, size);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(down.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ((uint64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow, size);
    EXPECT_EQ(std::string(LastProgressText).rfind("4294967297 : ", 0), 0u) << LastProgressText;
    EXPECT_EQ(std::string(LastCompletionLine).rfind("Received 4294967297 bytes in ", 0), 0u)
        << LastCompletionLine;
    // The last byte made it.
    h = CreateFileA(down.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
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
