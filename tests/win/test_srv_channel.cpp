// The control channel and the transfer drivers under faults, Cancel,
// re-entry and a second thread: a failed upload is never a success, the
// HELP scan ends with its reply, a command issued inside a transfer is
// refused, a cancelled or failed exchange leaves the next command its own
// reply, an overlong command is refused, the data socket is closed once.
// Scripted servers, and vsftpd for the second thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "ftp/remote_commands.h"
#include "ftp_server_helper.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "transfer/transfer.h"

const char *LogHistoryLine(int index);

namespace {

bool LoggedSinceMark(const std::string &part)
{
    for (int i = 59; i >= 0; i--) {
        std::string line = LogHistoryLine(i);
        if (line == "-- mark --")
            return false;
        if (line.find(part) != std::string::npos)
            return true;
    }
    return false;
}

// Runs inside the transfer's pump (posted), or the user's Cancel (a timer).
std::function<void()> OnPump;
enum { WM_RUN = WM_APP + 7, CANCEL_TIMER = 7 };

LRESULT CALLBACK WindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN && OnPump)
        OnPump();
    else if (message == WM_TIMER && wParam == CANCEL_TIMER && KillTimer(w, CANCEL_TIMER)) {
        CancelFlag = TRUE;
        AbortFlag = TRUE;
    } else {
        return DefWindowProcA(w, message, wParam, lParam);
    }
    return 0;
}

BOOL CALLBACK Hook(void)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    DispatchMessageA(&msg);
    return TRUE;
}

class ChannelFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = AppInstance;
        wc.lpszClassName = "VeltroChannelFaults";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 1, 1, nullptr, nullptr, AppInstance, nullptr);
        GlobalSettings.hash = 0;
        GlobalSettings.keepTimes = 0;
        CurrentSession = SiteProfile{};
        CurrentSession.timeout = ReplyTimeout = 5;
        CurrentSession.passive = 1;
        CurrentSession.hostType = 6000;
        Connected = TRUE;
        CommandBusy = 0;
        CommandLock = FALSE;
        CancelFlag = FALSE;
        AbortFlag = FALSE;
        AnnouncedType = 'I';
        OnPump = nullptr;
        SetThreadBlockingHook(nullptr);
        local = std::string(getenv("TEMP") ? getenv("TEMP") : ".") + "\\veltro-faults.bin";
        DeleteFileA(local.c_str());
        LogLine("-- mark --");
    }
    void TearDown() override
    {
        SetThreadBlockingHook(nullptr);
        if (ControlSocket != NO_SOCKET)
            closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
        DestroyWindow(window);
        DeleteFileA(local.c_str());
    }
    void Connect(ScriptedFtpServer &server)
    {
        server.Start();
        ControlSocket = ConnectToServer(server.Port());
        ASSERT_NE(ControlSocket, INVALID_SOCKET);
    }
    // Ends the session and returns the commands the server saw.
    std::vector<std::string> Hangup(ScriptedFtpServer &server)
    {
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
        EXPECT_TRUE(server.Finish()) << server.Error();
        return server.Commands();
    }
    int Transfer(const char *text, int type = 'I')
    {
        char command[64];
        snprintf(command, sizeof command, "%s", text);
        return text[0] == 'S' ? UploadFile(ControlSocket, command, local.c_str(), type, FALSE)
                              : DownloadFile(ControlSocket, command, local.c_str(), type, FALSE);
    }
    HWND window = nullptr;
    std::string local;
};

bool Has(const std::vector<std::string> &commands, const std::string &prefix)
{
    return std::any_of(commands.begin(), commands.end(), [&](const std::string &c) { return c.rfind(prefix, 0) == 0; });
}

TEST_F(ChannelFaults, FailedUploadsAreNeverSuccess)
{
    struct Case {
        const char *name;
        size_t localSize;          // 0: no local file
        DataPeer::Ending peerEnd;  // HOLD: the peer reads everything
        const char *storReply;
    } cases[] = {
        {"local file missing", 0, DataPeer::HOLD, "150 Ok\r\n226 Done\r\n"},
        {"426 during STOR", 50000, DataPeer::HOLD, "150 Ok\r\n426 Transfer aborted\r\n"},
        {"552 on STOR", 50000, DataPeer::HOLD, "552 Exceeded storage allocation\r\n"},
        {"data dropped mid-upload", 8 << 20, DataPeer::RESET, "150 Ok\r\n226 Done\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogLine("-- mark --");
        DeleteFileA(local.c_str());
        ASSERT_TRUE(!c.localSize || WriteLocalFile(local, std::string(c.localSize, 'u')));
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        c.peerEnd == DataPeer::RESET ? peer.SendOnConnect("", 0, 0, DataPeer::RESET) : peer.ReceiveOnConnect();
        peer.StartPassive();
        ScriptedFtpServer server;
        server.Serve({{"PASV", peer.PassiveReply() + "\r\n"}, {"STOR", c.storReply}});
        Connect(server);
        EXPECT_NE(Transfer("STOR file.bin"), 2);
        EXPECT_FALSE(LoggedSinceMark("transfer succeeded"));
        EXPECT_EQ(Has(Hangup(server), "STOR"), c.localSize != 0);
    }
}

TEST_F(ChannelFaults, HelpScanEndsWithASingleLineRefusal)
{
    ScriptedFtpServer server;
    server.Serve({{"SYST", "215 MysteryOS\r\n"}});   // HELP gets 502
    Connect(server);
    DWORD start = GetTickCount();
    DetectHostType(ControlSocket);
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(FtpCommand(ControlSocket, "NOOP"), 5);   // the next reply is its own
    Hangup(server);
}

void PacedDownloadPeer(DataPeer &peer)   // the data trickles in: the loop pumps messages
{
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect(std::string(64 * 1024, 'd'), 4096, 25);
    peer.StartPassive();
}

TEST_F(ChannelFaults, CommandInsideATransferIsRefused)
{
    DataPeer peer;
    PacedDownloadPeer(peer);
    ScriptedFtpServer server;
    server.Serve({{"PASV", peer.PassiveReply() + "\r\n"}, {"RETR", "150 Data\r\n226 Done\r\n"},
                  {"PWD", "257 \"/\"\r\n"}});
    Connect(server);
    int pwd = -1, pwdCode = -1, help = 0;
    OnPump = [&] {   // the flush would drop the pending "226 Done"
        pwd = FtpCommand(ControlSocket, "PWD"), pwdCode = LastReplyCode, help = SendLine(ControlSocket, "HELP");
        FlushReply(ControlSocket);
    };
    PostMessageA(window, WM_RUN, 0, 0);
    EXPECT_EQ(Transfer("RETR file.bin"), 2);
    EXPECT_TRUE(pwd == 4 && pwdCode == 400 && help == -1) << pwd << " " << pwdCode << " " << help;
    EXPECT_EQ(FtpCommand(ControlSocket, "PWD"), 2);
    EXPECT_EQ(Hangup(server), (std::vector<std::string>{"PASV", "RETR file.bin", "PWD"}));
}

TEST_F(ChannelFaults, NextCommandGetsItsOwnReply)
{
    struct Case {
        const char *name;
        BOOL passive;
        std::vector<std::pair<std::string, std::string>> table;
        int delayMs;   // the server's pause before its first reply
        std::vector<std::string> commands;
    } cases[] = {
        {"cancel during the TYPE reply", TRUE, {{"TYPE", "200 Type set\r\n"}}, 1500, {"TYPE A", "PWD"}},
        {"cancelled active accept", FALSE,
         {{"PORT", "200 Ok\r\n"}, {"RETR", "150 Opening\r\n425 No data connection\r\n"}}, 0,
         {"PORT", "RETR file.bin", "PWD"}},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.name);
        CurrentSession.passive = c.passive;
        AnnouncedType = c.passive ? 'I' : 'A';   // TYPE A only in the first case
        c.table.push_back({"PWD", "257 \"/\"\r\n"});
        ScriptedFtpServer server;
        if (c.delayMs)
            server.ReadCommand().Delay(c.delayMs).Send(c.table[0].second);
        server.Serve(c.table);
        Connect(server);
        SetThreadBlockingHook(Hook);
        SetTimer(window, CANCEL_TIMER, 300, nullptr);
        EXPECT_NE(Transfer("RETR file.bin", 'A'), 2);
        EXPECT_TRUE(FtpCommand(ControlSocket, "PWD") == 2 && LastReplyCode == 257) << LastReplyCode;
        std::vector<std::string> commands = Hangup(server);
        std::replace_if(commands.begin(), commands.end(), [](auto &s) { return s.rfind("PORT", 0) == 0; }, "PORT");
        EXPECT_EQ(commands, c.commands);
    }
}

TEST_F(ChannelFaults, OverlongCommandIsRefusedWithAMessage)
{
    ScriptedFtpServer server;
    server.Serve({{"NOOP", "200 Ok\r\n"}});
    Connect(server);
    std::string name(600, 'n');
    EXPECT_EQ(FtpCommand(ControlSocket, "DELE /pub/%s", name.c_str()), 5);
    EXPECT_TRUE(LoggedSinceMark("! Command too long, not sent: DELE /pub/nnn"));
    EXPECT_EQ(FtpCommand(ControlSocket, "NOOP"), 2);
    EXPECT_EQ(Hangup(server), std::vector<std::string>{"NOOP"});
}

TEST_F(ChannelFaults, DataSocketClosedByCancelIsClosedOnce)
{
    DataPeer peer;
    PacedDownloadPeer(peer);
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply() + "\r\n").Reply("150 Data\r\n").ReadUrgent().ReadCommand();
    server.Send("426 Aborted\r\n226 ABOR ok\r\n").ReadUntilClosed();
    Connect(server);
    SOCKET spare = INVALID_SOCKET;   // made after the close: may reuse the handle
    OnPump = [&] { CloseDataConnections(), spare = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); };
    PostMessageA(window, WM_RUN, 0, 0);
    Transfer("RETR file.bin");
    EXPECT_EQ(ReceiveResult, 2);   // partial: cancelled
    int type = 0, size = sizeof type;
    EXPECT_EQ(getsockopt(spare, SOL_SOCKET, SO_TYPE, (char *)&type, &size), 0);
    closesocket(spare);
    Hangup(server);
}

// A batch on a second thread while the window thread issues PWD and Cancel,
// against vsftpd: nothing hangs and every reply is the command's own.
struct Worker {
    SOCKET control;
    std::string local;
    int transferred = 0;
    static DWORD WINAPI Run(void *self)
    {
        Worker *w = static_cast<Worker *>(self);
        for (int i = 0; i < 40; i++) {
            char command[] = "RETR threads.bin";
            if (DownloadFile(w->control, command, w->local.c_str(), 'I', FALSE) == 2 && ReceiveResult == 1)
                w->transferred++;
        }
        return 0;
    }
};

TEST_F(ChannelFaults, SecondThreadTransfersWhileWindowThreadCommands)
{
    const char *port = getenv("VELTRO_VSFTPD_PORT"), *root = getenv("VELTRO_VSFTPD_ROOT");
    if (!port || !root)
        GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
    ControlSocket = ConnectToServer((unsigned short)atoi(port));
    ASSERT_TRUE(GetReply(ControlSocket) == 2 && FtpCommand(ControlSocket, "USER %s", getenv("VELTRO_FTP_USER")) == 3 &&
                FtpCommand(ControlSocket, "PASS %s", getenv("VELTRO_FTP_PASS")) == 2);
    const std::string remote = std::string("Z:") + root + "/threads.bin";
    ASSERT_TRUE(WriteLocalFile(remote, std::string(300000, 't')));
    MainWindow = window;   // the worker's log lines are posted to this thread
    LogLine("-- mark --");
    SetThreadBlockingHook(Hook);
    Worker worker{ControlSocket, local};
    HANDLE thread = CreateThread(nullptr, 0, Worker::Run, &worker, 0, nullptr);
    int commands = 0;
    for (DWORD start = GetTickCount(); WaitForSingleObject(thread, 5) == WAIT_TIMEOUT;) {
        ASSERT_LT(GetTickCount() - start, 120000u) << "hung";
        PumpWhileWaiting(1);
        if (++commands % 9 == 0)
            CancelFlag = TRUE;
        int r = FtpCommand(ControlSocket, "PWD");
        EXPECT_TRUE(r == 2 ? strncmp(ReplyText, "257 ", 4) == 0 : r == 4) << r << " " << ReplyText;
    }
    CloseHandle(thread);
    MainWindow = nullptr;
    EXPECT_TRUE(worker.transferred > 0 && commands > 10) << worker.transferred << " " << commands;
    EXPECT_TRUE(FtpCommand(ControlSocket, "PWD") == 2 && strncmp(ReplyText, "257 ", 4) == 0) << ReplyText;
    EXPECT_EQ(Transfer("RETR threads.bin"), 2);
    EXPECT_EQ(ReadLocalFile(local), std::string(300000, 't'));
    DeleteFileA(remote.c_str());
}

}  // namespace
