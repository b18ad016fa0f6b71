// The control channel and the transfer drivers under faults, Cancel and
// re-entry, against scripted servers: a failed upload is never a success,
// the HELP scan ends with its reply, a command issued inside a transfer is
// refused, a cancelled or failed exchange leaves the next command its own
// reply, an overlong command is refused, the data socket is closed once.
#include <gtest/gtest.h>

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

// Runs inside the transfer's message pump (a posted message), or as the
// user's Cancel (a timer during a socket wait).
std::function<void()> OnPump;
enum { WM_RUN = WM_APP + 7, CANCEL_TIMER = 7 };

LRESULT CALLBACK WindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN && OnPump) {
        OnPump();
        return 0;
    }
    if (message == WM_TIMER && wParam == CANCEL_TIMER) {
        KillTimer(w, CANCEL_TIMER);
        CancelFlag = TRUE;
        AbortFlag = TRUE;
        return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
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
        CurrentSession.timeout = 5;
        CurrentSession.passive = 1;
        CurrentSession.hostType = 6000;
        ReplyTimeout = 5;
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
    int Transfer(const char *verb, int type = 'I')
    {
        char command[64];
        snprintf(command, sizeof command, "%s file.bin", verb);
        return verb[0] == 'S' ? UploadFile(ControlSocket, command, local.c_str(), type, FALSE)
                              : DownloadFile(ControlSocket, command, local.c_str(), type, FALSE);
    }
    HWND window = nullptr;
    std::string local;
};

bool Has(const std::vector<std::string> &commands, const std::string &prefix)
{
    for (const std::string &c : commands)
        if (c.rfind(prefix, 0) == 0)
            return true;
    return false;
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
        if (c.localSize) {
            ASSERT_TRUE(WriteLocalFile(local, std::string(c.localSize, 'u')));
        }
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        if (c.peerEnd == DataPeer::RESET)
            peer.SendOnConnect("", 0, 0, DataPeer::RESET);
        else
            peer.ReceiveOnConnect();
        peer.StartPassive();
        ScriptedFtpServer server;
        server.Serve({{"PASV", peer.PassiveReply() + "\r\n"}, {"STOR", c.storReply}});
        Connect(server);
        EXPECT_NE(Transfer("STOR"), 2);
        EXPECT_FALSE(LoggedSinceMark("transfer succeeded"));
        std::vector<std::string> commands = Hangup(server);
        EXPECT_EQ(Has(commands, "STOR"), c.localSize != 0);
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

// A download whose data trickles in, so the transfer pumps messages.
void PacedDownloadPeer(DataPeer &peer)
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
    OnPump = [&] {
        pwd = FtpCommand(ControlSocket, "PWD");
        pwdCode = LastReplyCode;
        help = SendLine(ControlSocket, "HELP");
    };
    PostMessageA(window, WM_RUN, 0, 0);
    EXPECT_EQ(Transfer("RETR"), 2);
    EXPECT_EQ(pwd, 4);
    EXPECT_EQ(pwdCode, 400);
    EXPECT_EQ(help, -1);
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
        EXPECT_NE(Transfer("RETR", 'A'), 2);
        EXPECT_EQ(FtpCommand(ControlSocket, "PWD"), 2);
        EXPECT_EQ(LastReplyCode, 257);
        std::vector<std::string> commands = Hangup(server);
        for (std::string &s : commands)
            if (s.rfind("PORT", 0) == 0)
                s = "PORT";
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
    EXPECT_TRUE(LoggedSinceMark("! Command too long"));
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
    SOCKET spare = INVALID_SOCKET;
    OnPump = [&] {
        CloseDataConnections();
        spare = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);   // may reuse the handle
    };
    PostMessageA(window, WM_RUN, 0, 0);
    Transfer("RETR");
    EXPECT_EQ(ReceiveResult, 2);   // partial: cancelled
    int type = 0, size = sizeof type;
    EXPECT_EQ(getsockopt(spare, SOL_SOCKET, SO_TYPE, (char *)&type, &size), 0);
    closesocket(spare);
    Hangup(server);
}

}  // namespace
