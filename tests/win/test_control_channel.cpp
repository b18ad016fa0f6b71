// The FTP control channel against scripted servers on loopback: reply
// reading, command echoes and bytes on the wire, cancels and time-outs, the
// blocking hook, aborts and closes.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp_server_helper.h"
#include "veltro_process_helper.h"
#include "listing/host_library.h"
#include "sites/site_profile.h"
#include "ui/msglog.h"

namespace {

// The log as the program writes it: with BatchLogging on, the message log
// appends every line, uncut, to xferlog.txt in the current folder.
std::vector<std::string> Log()
{
    std::vector<std::string> lines;
    FILE *f = fopen("xferlog.txt", "rb");
    if (!f)
        return lines;
    std::string line;
    for (int c; (c = fgetc(f)) != EOF;) {
        if (c == '\n') {   // the file is written in text mode: CR LF
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back((char)c);
        }
    }
    fclose(f);
    return lines;
}

bool LogHas(const std::string &line)
{
    for (const std::string &l : Log())
        if (l == line)
            return true;
    return false;
}

bool LogMentions(const std::string &part)
{
    for (const std::string &l : Log())
        if (l.find(part) != std::string::npos)
            return true;
    return false;
}

// A plain blocking hook: one queued message, dispatched.
BOOL CALLBACK TestHook(void)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return TRUE;
}

// What the test window saw of a message dispatched during a wait.
enum { WM_TEST_NESTED = WM_APP + 1, WM_TEST_TIMER_TICK, WM_TEST_CANCEL };
struct Seen {
    int count;
    BOOL waiting;        // IsBlockingWait() inside the handler
    LONG busy;           // CommandBusy inside the handler
    int nestedResult;    // FtpCommand issued from inside the wait
    int nestedCode;
} seen;

LRESULT CALLBACK TestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TEST_NESTED:
        seen.count++;
        seen.waiting = IsBlockingWait();
        seen.busy = CommandBusy;
        seen.nestedResult = FtpCommand(ControlSocket, "PWD");
        seen.nestedCode = LastReplyCode;
        return 0;
    case WM_TEST_TIMER_TICK:
        seen.count++;
        TimerCountdown = 1;
        OnBlockingTimer(window);
        return 0;
    case WM_TEST_CANCEL:
        seen.count++;
        CancelFlag = TRUE;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND TestWindow()
{
    static HWND window;
    if (!window) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TestWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VeltroControlTest";
        RegisterClassA(&wc);
        window = CreateWindowA("VeltroControlTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }
    return window;
}

class ControlChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        static bool initialised;
        if (!initialised) {
            char folder[MAX_PATH];
            GetTempPathA(sizeof folder, folder);
            strncat(folder, "veltro-control-test", sizeof folder - strlen(folder) - 1);
            CreateDirectoryA(folder, nullptr);
            SetCurrentDirectoryA(folder);
            initialised = true;
        }
        BatchLogging = TRUE;
        DeleteFileA("xferlog.txt");
        GlobalSettings = GlobalSettingValues{};
        CurrentSession = SiteProfile{};
        CurrentSession.hostType = HOST_AUTO;
        ControlSocket = NO_SOCKET;
        CommandBusy = 0;
        CommandLock = FALSE;
        CancelFlag = FALSE;
        LastReplyCode = 0;
        ReplyDepth = 0;
        ReplyTimeout = 5;
        DetectFromReplies = FALSE;
        ClearPending(&PendingText);
        SetThreadBlockingHook(nullptr);
        seen = Seen{};
    }
    void TearDown() override
    {
        SetThreadBlockingHook(nullptr);
        if (client != INVALID_SOCKET)
            closesocket(client);
        ControlSocket = NO_SOCKET;
    }
    // Starts the script and connects the client.
    SOCKET Connect(ScriptedFtpServer &server)
    {
        server.Start();
        client = ConnectToServer(server.Port());
        EXPECT_NE(client, INVALID_SOCKET);
        return client;
    }
    SOCKET client = INVALID_SOCKET;
};

// --- reading replies ---------------------------------------------------

struct ReplyCase {
    const char *name;
    std::string bytes;
    size_t piece;   // 0: one send; else split with pauses
    int replyClass;
    int code;
    const char *lastLine;
    std::vector<std::string> logged;
};

TEST_F(ControlChannel, ReplyShapes)
{
    const ReplyCase cases[] = {
        {"indented inner line", "220-Welcome\r\n to the host\r\n220 Ready\r\n", 0, 2, 220,
         "220 Ready", {"220-Welcome", " to the host", "220 Ready"}},
        {"other code inside", "220-Hi\r\n230 inner\r\n220 Done\r\n", 0, 2, 220, "220 Done",
         {"220-Hi", "230 inner", "220 Done"}},
        {"650 and words inside", "220-Hi\r\n650 odd\r\nplain words\r\n220 end\r\n", 0, 2, 220,
         "220 end", {"220-Hi", "650 odd", "plain words", "220 end"}},
        {"split into pieces", "331 Password required\r\n", 3, 3, 331, "331 Password required",
         {"331 Password required"}},
        {"bare line feed", "250 ok\n", 0, 2, 250, "250 ok", {"250 ok"}},
        {"permanent failure", "550-No\r\n550 such file\r\n", 0, 5, 550, "550 such file",
         {"550-No", "550 such file"}},
        {"trailing blanks trimmed", "200 ok  \t \r\n", 0, 2, 200, "200 ok", {"200 ok"}},
        {"service closing line", "421 Too many users\r\n", 0, 4, 421, "421 Too many users",
         {"421 Too many users"}},
    };
    for (const ReplyCase &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ScriptedFtpServer server;
        if (c.piece)
            server.SendSplit(c.bytes, c.piece, 30);
        else
            server.Send(c.bytes);
        server.ReadUntilClosed();
        SOCKET s = Connect(server);
        EXPECT_EQ(GetReply(s), c.replyClass);
        EXPECT_EQ(LastReplyCode, c.code);
        EXPECT_STREQ(ReplyText, c.lastLine);
        EXPECT_EQ(Log(), c.logged);
        EXPECT_EQ(CommandBusy, 0);
        EXPECT_EQ(ReplyDepth, 0);
        EXPECT_FALSE(CancelFlag);
        closesocket(s);
        client = INVALID_SOCKET;
        EXPECT_TRUE(server.Finish()) << server.Error();
    }
}

TEST_F(ControlChannel, SecondReplyOfOneReceiveIsServedFromPendingText)
{
    ScriptedFtpServer server;
    const std::string both = "200 First\r\n226-Second\r\n226 done\r\n";
    server.Send(both).ReadUntilClosed();
    SOCKET s = Connect(server);
    ASSERT_EQ(WaitForBytes(s, (int)both.size(), 3000), (int)both.size());

    EXPECT_EQ(GetReply(s), 2);
    EXPECT_STREQ(ReplyText, "200 First");
    EXPECT_EQ(WaitForBytes(s, 1, 0), 0) << "one receive should have taken everything";
    EXPECT_GT(PendingText.length, 0);

    // The socket is gone: the next reply can only come from PendingText.
    closesocket(s);
    client = INVALID_SOCKET;
    EXPECT_EQ(GetReply(s), 2);
    EXPECT_EQ(LastReplyCode, 226);
    EXPECT_STREQ(ReplyText, "226 done");
    EXPECT_FALSE(LogMentions("!"));
}

TEST_F(ControlChannel, LongLinesArriveInPieces)
{
    const std::string longText(1500, 'x');
    const std::string reply = "220-" + longText + "\r\n220 end\r\n";
    for (size_t piece : {reply.size(), (size_t)100}) {
        SCOPED_TRACE(piece);
        SetUp();
        ScriptedFtpServer server;
        server.SendSplit(reply, piece, 5).ReadUntilClosed();
        SOCKET s = Connect(server);
        EXPECT_EQ(GetReply(s), 2);
        EXPECT_EQ(LastReplyCode, 220);
        std::vector<std::string> log = Log();
        ASSERT_GE(log.size(), 3u);
        EXPECT_EQ(log.back(), "220 end");
        std::string joined;
        for (size_t i = 0; i + 1 < log.size(); i++) {
            if (i + 2 < log.size()) {   // every piece but the line's last
                EXPECT_GE(log[i].size(), 942u);
                EXPECT_LE(log[i].size(), 1024u);
            }
            joined += log[i];
        }
        EXPECT_EQ(joined, "220-" + longText);
        closesocket(s);
        client = INVALID_SOCKET;
        EXPECT_TRUE(server.Finish()) << server.Error();
    }
}

TEST_F(ControlChannel, ServerClosingMidReplyReadsAs421)
{
    ScriptedFtpServer server;
    server.Send("220-Hello\r\n220-more to co").Delay(50).Close();
    SOCKET s = Connect(server);
    EXPECT_EQ(GetReply(s), 4);
    EXPECT_EQ(LastReplyCode, 421);
    EXPECT_TRUE(CancelFlag);
    EXPECT_EQ(Log(), std::vector<std::string>{"220-Hello"});
    EXPECT_EQ(CommandBusy, 0);
    EXPECT_TRUE(server.Finish()) << server.Error();
}

TEST_F(ControlChannel, ReceiveTimeOuts)
{
    struct {
        int timeout;
        DWORD atLeast, atMost;
    } cases[] = {{0, 0, 400}, {1, 900, 3000}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.timeout);
        SetUp();
        ReplyTimeout = c.timeout;
        ScriptedFtpServer server;
        server.Send("220-Part").Delay(c.timeout * 1000 + 800).Send(" one\r\n220 late\r\n").ReadUntilClosed();
        SOCKET s = Connect(server);
        ASSERT_EQ(WaitForBytes(s, 8, 2000), 8);
        DWORD start = GetTickCount();
        EXPECT_EQ(GetReply(s), 4);
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, c.atLeast);
        EXPECT_LE(elapsed, c.atMost);
        EXPECT_EQ(LastReplyCode, 421);
        EXPECT_TRUE(CancelFlag);
        EXPECT_EQ(Log(), std::vector<std::string>{"! Receive error: Blocking call cancelled"});
        closesocket(s);
        client = INVALID_SOCKET;
        server.Finish();
    }
}

// Another thread cancels a wait on a server that stays silent.
struct CancelJob {
    bool useFlag;
    BOOL sawWait;
};

DWORD WINAPI CancelLater(void *arg)
{
    CancelJob *job = (CancelJob *)arg;
    for (int i = 0; i < 200 && !IsBlockingWait(); i++)
        Sleep(5);
    Sleep(100);
    job->sawWait = IsBlockingWait();
    if (job->useFlag)
        CancelFlag = TRUE;
    else
        CancelBlockingWait();
    return 0;
}

TEST_F(ControlChannel, WaitEndsWhenCancelledFromAnotherThread)
{
    for (bool useFlag : {true, false}) {
        SCOPED_TRACE(useFlag ? "CancelFlag" : "CancelBlockingWait");
        SetUp();
        ReplyTimeout = 30;
        ScriptedFtpServer server;
        server.ReadUntilClosed();   // silent until the client goes
        SOCKET s = Connect(server);
        CancelJob job = {useFlag, FALSE};
        HANDLE thread = CreateThread(nullptr, 0, CancelLater, &job, 0, nullptr);
        DWORD start = GetTickCount();
        EXPECT_EQ(GetReply(s), 4);
        EXPECT_LT(GetTickCount() - start, 2500u);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        EXPECT_TRUE(job.sawWait);
        EXPECT_FALSE(IsBlockingWait());
        EXPECT_EQ(LastReplyCode, 421);
        EXPECT_TRUE(LogHas("! Receive error: Blocking call cancelled"));
        closesocket(s);
        client = INVALID_SOCKET;
        server.Finish();
    }
}

TEST_F(ControlChannel, CancelWithNoWaitRunningDoesNotCancelTheNextOne)
{
    ScriptedFtpServer server;
    server.Delay(200).Send("200 ok\r\n").ReadUntilClosed();
    SOCKET s = Connect(server);
    CancelBlockingWait();
    EXPECT_EQ(GetReply(s), 2);
    EXPECT_STREQ(ReplyText, "200 ok");
}

// --- the command sender ------------------------------------------------

TEST_F(ControlChannel, SecretsHiddenAndTrailingBlanksOnTheWire)
{
    ScriptedFtpServer server;
    server.Reply("331 Password\r\n").Reply("332 Account\r\n").Reply("230 Logged on\r\n")
        .Reply("250 CWD ok\r\n").Reply("230 again\r\n").ReadUntilClosed();
    SOCKET s = Connect(server);
    EXPECT_EQ(FtpCommand(s, "USER %s", "joe"), 3);
    EXPECT_EQ(FtpCommand(s, "PASS %s", "se cret "), 3);
    EXPECT_EQ(FtpCommand(s, "ACCT %s", "42 "), 2);
    EXPECT_EQ(FtpCommand(s, "CWD %s", "/pub  \t"), 2);
    EXPECT_EQ(FtpCommandText(s, "PASS other "), 2);
    EXPECT_EQ(LastReplyCode, 230);
    closesocket(s);
    client = INVALID_SOCKET;
    ASSERT_TRUE(server.Finish()) << server.Error();
    EXPECT_EQ(server.Received(), "USER joe\r\nPASS se cret \r\nACCT 42\r\nCWD /pub\r\nPASS other \r\n");
    EXPECT_TRUE(LogHas("PASS (hidden)"));
    EXPECT_TRUE(LogHas("ACCT (hidden)"));
    EXPECT_FALSE(LogMentions("cret"));
    EXPECT_FALSE(LogMentions("other"));
    EXPECT_FALSE(LogMentions("42"));
    EXPECT_TRUE(LogHas("USER joe"));
    EXPECT_EQ(CommandLock, FALSE);
}

TEST_F(ControlChannel, CommandLongerThanTheLimitIsCut)
{
    ScriptedFtpServer server;
    server.Reply("250 ok\r\n").ReadUntilClosed();
    SOCKET s = Connect(server);
    std::string name(400, 'n');
    EXPECT_EQ(FtpCommand(s, "CWD %s", name.c_str()), 2);
    closesocket(s);
    client = INVALID_SOCKET;
    ASSERT_TRUE(server.Finish()) << server.Error();
    ASSERT_EQ(server.Commands().size(), 1u);
    EXPECT_EQ(server.Commands()[0], "CWD " + std::string(287, 'n'));
}

TEST_F(ControlChannel, NoopStaysOutOfTheLogUnlessVerbose)
{
    for (int verbose : {0, 1}) {
        SCOPED_TRACE(verbose);
        SetUp();
        GlobalSettings.verbose = verbose;
        ScriptedFtpServer server;
        server.Reply("200 NOOP ok\r\n").Reply("200 noop too\r\n").ReadUntilClosed();
        SOCKET s = Connect(server);
        EXPECT_EQ(FtpCommand(s, "NOOP"), 2);
        EXPECT_EQ(FtpCommandText(s, "NOOP"), 2);
        std::vector<std::string> expected;
        if (verbose)
            expected = {"NOOP", "200 NOOP ok", "NOOP", "200 noop too"};
        else
            expected = {"NOOP"};   // FtpCommandText always echoes
        EXPECT_EQ(Log(), expected);
        closesocket(s);
        client = INVALID_SOCKET;
        EXPECT_TRUE(server.Finish()) << server.Error();
        EXPECT_EQ(server.Commands(), (std::vector<std::string>{"NOOP", "NOOP"}));
    }
}

TEST_F(ControlChannel, CommandWhileAnotherRunsIsRefused)
{
    ScriptedFtpServer server;
    server.ReadUntilClosed();
    SOCKET s = Connect(server);
    CommandLock = TRUE;
    EXPECT_EQ(FtpCommand(s, "CWD %s", "x"), 4);
    EXPECT_EQ(LastReplyCode, 400);
    LastReplyCode = 123;
    EXPECT_EQ(FtpCommandText(s, "RETR x"), 5);
    EXPECT_EQ(LastReplyCode, 0);
    EXPECT_TRUE(CommandLock);
    EXPECT_TRUE(Log().empty());
    closesocket(s);
    client = INVALID_SOCKET;
    ASSERT_TRUE(server.Finish()) << server.Error();
    EXPECT_EQ(server.Received(), "");
}

TEST_F(ControlChannel, NotConnected)
{
    EXPECT_EQ(FtpCommand(NO_SOCKET, "CWD %s", "pub"), 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{"CWD pub", "! Not connected, ignored"}));
    EXPECT_FALSE(CommandLock);
    EXPECT_EQ(FtpCommandText(NO_SOCKET, "PASS x"), 0);
    EXPECT_EQ(Log().back(), "! Not connected, ignored");
    EXPECT_EQ(Log()[2], "PASS (hidden)");
    EXPECT_EQ(SendLine(NO_SOCKET, "X"), -1);
    EXPECT_EQ(GetReply(NO_SOCKET), 0);
    EXPECT_EQ(ReadReplyLine(NO_SOCKET), 0);
    EXPECT_EQ(SendAll(NO_SOCKET, "", 0), 0);
}

// The other thread holds the channel; SendLine waits without dispatching.
struct BusyJob {
    bool cancel;
};

DWORD WINAPI ReleaseLater(void *arg)
{
    BusyJob *job = (BusyJob *)arg;
    Sleep(200);
    if (job->cancel)
        CancelFlag = TRUE;
    else
        InterlockedDecrement(&CommandBusy);
    return 0;
}

TEST_F(ControlChannel, SendLineWaitsForTheOtherThread)
{
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "released");
        SetUp();
        GlobalSettings.verbose = 1;
        ScriptedFtpServer server;
        server.ReadUntilClosed();
        SOCKET s = Connect(server);
        CommandBusy = 1;
        BusyJob job = {cancel};
        HANDLE thread = CreateThread(nullptr, 0, ReleaseLater, &job, 0, nullptr);
        DWORD start = GetTickCount();
        int sent = SendLine(s, "CWD x ");
        DWORD elapsed = GetTickCount() - start;
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        EXPECT_GE(elapsed, 150u);
        EXPECT_LT(elapsed, 3000u);
        EXPECT_EQ(sent, cancel ? -1 : 7);
        EXPECT_TRUE(LogHas("[X] Command in progress, yielding."));
        closesocket(s);
        client = INVALID_SOCKET;
        ASSERT_TRUE(server.Finish()) << server.Error();
        EXPECT_EQ(server.Received(), cancel ? "" : "CWD x\r\n");
        CommandBusy = 0;
    }
}

TEST_F(ControlChannel, SendFailureIsReported)
{
    ScriptedFtpServer server;
    server.ReadUntilClosed();
    SOCKET s = Connect(server);
    shutdown(s, SD_SEND);
    EXPECT_EQ(SendAll(s, "NOOP\r\n", 6), 0);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].rfind("! Send error: ", 0), 0u) << Log()[0];
}

TEST_F(ControlChannel, GreetingRecognisesTheHostTypeOnlyWhileAutomatic)
{
    char error[256];
    ASSERT_TRUE(LoadHostLibraryFrom(BuildFile("veltr32.dll").c_str(), error, sizeof error)) << error;
    for (int hostType : {(int)HOST_AUTO, (int)HOST_AUTO + 1}) {
        SetUp();
        DetectFromReplies = TRUE;
        CurrentSession.hostType = hostType;
        ScriptedFtpServer server;
        server.Send("220-Welcome\r\n220 (vsFTPd 3.0.3)\r\n").ReadUntilClosed();
        SOCKET s = Connect(server);
        EXPECT_EQ(GetReply(s), 2);
        bool noted = false;
        for (const std::string &line : Log())
            noted = noted || line.rfind("Host type (1): ", 0) == 0;
        if (hostType == HOST_AUTO) {
            EXPECT_NE(CurrentSession.hostType, HOST_AUTO) << "recognised from the greeting";
            EXPECT_TRUE(noted);
        } else {
            EXPECT_EQ(CurrentSession.hostType, hostType) << "a chosen host type stays";
            EXPECT_FALSE(noted);
        }
        closesocket(s);
        client = INVALID_SOCKET;
        server.Finish();
    }
    DetectFromReplies = FALSE;
    CurrentSession.hostType = HOST_AUTO;
    FreeHostLibrary();
}

TEST_F(ControlChannel, FlushDropsPendingAndWaitingBytes)
{
    ScriptedFtpServer server;
    server.Send("200 a\r\n226 stale\r\n").ReadCommand().Send("999 junk\r\n").ReadCommand()
        .Send("250 fresh\r\n").ReadUntilClosed();
    SOCKET s = Connect(server);
    ASSERT_EQ(WaitForBytes(s, 18, 3000), 18);
    EXPECT_EQ(GetReply(s), 2);
    EXPECT_GT(PendingText.length, 0);
    EXPECT_EQ(SendLine(s, "GO1"), 5);
    ASSERT_EQ(WaitForBytes(s, 10, 3000), 10);
    FlushReply(s);
    EXPECT_EQ(PendingText.length, 0);
    EXPECT_EQ(WaitForBytes(s, 1, 0), 0);
    EXPECT_EQ(SendLine(s, "GO2"), 5);
    EXPECT_EQ(GetReply(s), 2);
    EXPECT_STREQ(ReplyText, "250 fresh");
}

// --- the blocking hook and the timers ------------------------------------

TEST_F(ControlChannel, BlockingHookDispatchesDuringASlowReply)
{
    HWND window = TestWindow();
    ASSERT_NE(window, nullptr);
    SetThreadBlockingHook(BlockingHook);   // the program's own hook
    ScriptedFtpServer server;
    server.ReadCommand().Delay(400).Send("211 status\r\n").ReadUntilClosed();
    ControlSocket = Connect(server);
    PostMessageA(window, WM_TEST_NESTED, 0, 0);
    EXPECT_EQ(FtpCommand(ControlSocket, "STAT"), 2);
    EXPECT_EQ(seen.count, 1);
    EXPECT_TRUE(seen.waiting);
    EXPECT_GT(seen.busy, 0);
    EXPECT_EQ(seen.nestedResult, 4);   // re-entered command refused
    EXPECT_EQ(seen.nestedCode, 400);
    EXPECT_EQ(LastReplyCode, 211);
    closesocket(ControlSocket);
    client = INVALID_SOCKET;
    ASSERT_TRUE(server.Finish()) << server.Error();
    EXPECT_EQ(server.Commands(), std::vector<std::string>{"STAT"});
}

TEST_F(ControlChannel, NoHookNoDispatch)
{
    HWND window = TestWindow();
    ScriptedFtpServer server;
    server.Delay(200).Send("200 ok\r\n").ReadUntilClosed();
    SOCKET s = Connect(server);
    PostMessageA(window, WM_TEST_CANCEL, 0, 0);
    EXPECT_EQ(GetReply(s), 2);
    EXPECT_EQ(seen.count, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

TEST_F(ControlChannel, BlockingTimerTickCancelsTheWait)
{
    HWND window = TestWindow();
    SetThreadBlockingHook(TestHook);
    ReplyTimeout = 30;
    ScriptedFtpServer server;
    server.Delay(3000).ReadUntilClosed();
    SOCKET s = Connect(server);
    PostMessageA(window, WM_TEST_TIMER_TICK, 0, 0);
    DWORD start = GetTickCount();
    EXPECT_EQ(GetReply(s), 4);
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(Log(), (std::vector<std::string>{"! Timer cancelled blocking call",
                                               "! Receive error: Blocking call cancelled"}));
}

TEST_F(ControlChannel, BlockingTimerCountsDownAndIdlesQuietly)
{
    HWND window = TestWindow();
    CurrentSession.timeout = 12;
    StartBlockingTimer(window, BLOCKING_TIMER_ID);
    EXPECT_EQ(TimerCountdown, 2);
    OnBlockingTimer(window);
    EXPECT_EQ(TimerCountdown, 1);
    EXPECT_TRUE(KillTimer(window, BLOCKING_TIMER_ID)) << "timer still armed after one tick";
    StartBlockingTimer(window, BLOCKING_TIMER_ID);
    TimerCountdown = 1;
    OnBlockingTimer(window);   // reaches zero with no wait running
    EXPECT_FALSE(KillTimer(window, BLOCKING_TIMER_ID)) << "timer stopped at zero";
    EXPECT_FALSE(CancelFlag);
    EXPECT_TRUE(Log().empty());
}

TEST_F(ControlChannel, RealBlockingTimerEndsAStalledReply)
{
    // A session time-out under 5 seconds: the first 5-second tick ends it.
    HWND window = TestWindow();
    SetThreadBlockingHook(TestHook);
    CurrentSession.timeout = 1;
    ReplyTimeout = 60;
    ScriptedFtpServer server;
    server.SetStepTimeout(15000);
    server.Delay(9000).ReadUntilClosed();
    SOCKET s = Connect(server);
    StartBlockingTimer(window, BLOCKING_TIMER_ID);
    DWORD start = GetTickCount();
    EXPECT_EQ(GetReply(s), 4);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 4000u);
    EXPECT_LT(elapsed, 8000u);
    EXPECT_TRUE(LogHas("! Timer cancelled blocking call"));
    EXPECT_FALSE(KillTimer(window, BLOCKING_TIMER_ID));
}

TEST_F(ControlChannel, KeepAliveSendsNoopOnlyWhenIdle)
{
    HWND window = TestWindow();
    ScriptedFtpServer server;
    server.Reply("200 NOOP ok\r\n").ReadUntilClosed();
    ControlSocket = Connect(server);
    CommandBusy = 1;
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    CommandBusy = 0;
    CommandLock = TRUE;
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    CommandLock = FALSE;
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    EXPECT_EQ(LastReplyCode, 200);
    EXPECT_TRUE(Log().empty());
    closesocket(ControlSocket);
    client = INVALID_SOCKET;
    ASSERT_TRUE(server.Finish()) << server.Error();
    EXPECT_EQ(server.Received(), "NOOP\r\n");

    // Without a connection the tick stops its own timer.
    ControlSocket = NO_SOCKET;
    SetTimer(window, KEEPALIVE_TIMER_ID, 30000, KeepAliveTick);
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    EXPECT_FALSE(KillTimer(window, KEEPALIVE_TIMER_ID));
}

// --- abort and close -----------------------------------------------------

TEST_F(ControlChannel, AbortSendsInterruptAsUrgentDataThenAbor)
{
    for (bool oobInline : {true, false}) {
        SCOPED_TRACE(oobInline ? "urgent inline" : "urgent apart");
        SetUp();
        GlobalSettings.verbose = 1;
        ScriptedFtpServer server;
        server.SetOobInline(oobInline);
        if (oobInline)
            server.ReadBytes(10);
        else
            server.ReadUrgent().ReadBytes(9);
        server.Send("426 Aborted\r\n226 ABOR ok\r\n").ReadUntilClosed();
        SOCKET s = Connect(server);
        EXPECT_EQ(SendAbort(s), 4);
        EXPECT_EQ(LastReplyCode, 426);
        EXPECT_EQ(GetReply(s), 2);
        closesocket(s);
        client = INVALID_SOCKET;
        ASSERT_TRUE(server.Finish()) << server.Error();
        if (oobInline) {
            EXPECT_EQ(server.Received(), std::string("\xFF\xF4\xFF\xF2" "ABOR\r\n", 10));
        } else {
            // TCP carries the last byte of the urgent send as the mark.
            EXPECT_EQ(server.Urgent(), "\xFF");
            EXPECT_EQ(server.Received(), std::string("\xFF\xF4\xF2" "ABOR\r\n", 9));
        }
        char expected[64];
        snprintf(expected, sizeof expected, "[%u] Transmitted ABOR", (unsigned)s);
        EXPECT_TRUE(LogHas(expected));
    }
}

TEST_F(ControlChannel, AbortOnABrokenSocketIsNotAccepted)
{
    GlobalSettings.verbose = 1;
    ScriptedFtpServer server;
    server.ReadUntilClosed();
    SOCKET s = Connect(server);
    shutdown(s, SD_SEND);
    EXPECT_EQ(SendAbort(s), 0);
    ASSERT_EQ(Log().size(), 1u);
    char prefix[64];
    snprintf(prefix, sizeof prefix, "[%u] IP not accepted ", (unsigned)s);
    EXPECT_EQ(Log()[0].rfind(prefix, 0), 0u) << Log()[0];
}

TEST_F(ControlChannel, ClosesDrainAndReturnNoSocket)
{
    for (bool graceful : {true, false}) {
        SCOPED_TRACE(graceful ? "CloseGraceful" : "CloseQuiet");
        SetUp();
        ScriptedFtpServer server;
        server.Send("226 leftover\r\n").ReadUntilClosed().Send("221 bye\r\n").Close();
        SOCKET s = Connect(server);
        DWORD start = GetTickCount();
        EXPECT_EQ(graceful ? CloseGraceful(s) : CloseQuiet(s), NO_SOCKET);
        EXPECT_LT(GetTickCount() - start, 3000u);
        client = INVALID_SOCKET;
        EXPECT_EQ(CancelFlag, graceful ? TRUE : FALSE);
        EXPECT_TRUE(server.Finish()) << server.Error();
        EXPECT_TRUE(Log().empty());
    }
    EXPECT_EQ(CloseGraceful(NO_SOCKET), NO_SOCKET);
    EXPECT_EQ(CloseQuiet(NO_SOCKET), NO_SOCKET);
}

TEST_F(ControlChannel, ClosingAClosedSocketIsQuiet)
{
    ScriptedFtpServer server;
    server.ReadUntilClosed();
    SOCKET s = Connect(server);
    closesocket(s);
    client = INVALID_SOCKET;
    EXPECT_EQ(CloseGraceful(s), NO_SOCKET);
    EXPECT_TRUE(Log().empty());
}

// --- log output and error texts ------------------------------------------

TEST_F(ControlChannel, DebugLinesNeedVerbose)
{
    LogLine("[debug] hidden");
    LogLine("! shown");
    LogFormat("%s %d", "+ note", 7);
    GlobalSettings.verbose = 1;
    LogLine("[debug] shown");
    std::string huge(3000, 'h');
    LogFormat("%s", huge.c_str());
    std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "! shown");
    EXPECT_EQ(log[1], "+ note 7");
    EXPECT_EQ(log[2], "[debug] shown");
    EXPECT_EQ(log[3], std::string(2047, 'h'));
}

TEST_F(ControlChannel, WinSockErrorTexts)
{
    const struct {
        int error;
        const char *text;
    } table[] = {
        {10004, "Blocking call cancelled"},
        {10035, "socket marked as non-blocking and SO_LINGER set not 0"},
        {10061, "connection refused"},
        {11001, "Host not found or server failure"},
        {11002, "Host not found or server failure"},
        {11004, "Valid name, no data record for type"},
        {10058, "error 10058"},
        {0, "error 0"},
        {-1, "error 4294967295"},
    };
    for (const auto &e : table) {
        SCOPED_TRACE(e.error);
        EXPECT_STREQ(WinSockErrorText(e.error, nullptr), e.text);
        char buffer[128];
        EXPECT_EQ(WinSockErrorText(e.error, buffer), buffer);
        EXPECT_STREQ(buffer, e.text);
    }
    ReportWinSockError("connect", 10061);
    ReportWinSockError(nullptr, 10064);
    EXPECT_EQ(Log(), (std::vector<std::string>{"! connect: connection refused", "! host down"}));
}

// --- the wait layer's connect and accept --------------------------------

TEST_F(ControlChannel, ConnectAndAcceptThroughTheWaitLayer)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, (sockaddr *)&address, sizeof address), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    int size = sizeof address;
    getsockname(listener, (sockaddr *)&address, &size);

    DWORD start = GetTickCount();
    EXPECT_EQ(AcceptSocket(listener, nullptr, nullptr, 150), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), 10004);
    EXPECT_LT(GetTickCount() - start, 2000u);

    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_EQ(ConnectSocket(s, (sockaddr *)&address, sizeof address, 5000), 0);
    SOCKET accepted = AcceptSocket(listener, nullptr, nullptr, 2000);
    ASSERT_NE(accepted, INVALID_SOCKET);
    // The connected socket is blocking again: a plain send/recv pair works.
    EXPECT_EQ(send(accepted, "220 x\r\n", 7, 0), 7);
    EXPECT_EQ(GetReply(s), 2);
    closesocket(accepted);
    closesocket(s);

    closesocket(listener);   // the port is free now: nobody listens
    SOCKET refused = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    EXPECT_EQ(ConnectSocket(refused, (sockaddr *)&address, sizeof address, 5000), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), 10061);
    closesocket(refused);
}

}  // namespace
