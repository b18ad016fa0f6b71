// The FTP control channel against scripted servers on loopback: reply
// reading, command echoes and bytes on the wire, cancels and time-outs, the
// blocking hook, aborts and closes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "listing/host_library.h"
#include "logon_helper.h"
#include "sites/site_profile.h"
#include "transcript_helper.h"
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;

// What the test window saw of a message dispatched during a wait.
enum { WM_TEST_NESTED = WM_APP + 1, WM_TEST_CANCEL };
struct Seen {
    int count;
    BOOL waiting;   // IsBlockingWait() inside the handler
    LONG busy;      // CommandBusy inside the handler
    int nestedResult, nestedCode;   // FtpCommand issued from inside the wait
} seen;

LRESULT CALLBACK TestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < WM_TEST_NESTED || message > WM_TEST_CANCEL)
        return DefWindowProcA(window, message, wParam, lParam);
    seen.count++;
    if (message == WM_TEST_NESTED) {
        seen.waiting = IsBlockingWait();
        seen.busy = CommandBusy;
        seen.nestedResult = FtpCommand(ControlSocket, "PWD");
        seen.nestedCode = LastReplyCode;
    } else {
        CancelFlag = TRUE;
    }
    return 0;
}

class ControlChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLogonState();
        CurrentSession.hostType = HOST_AUTO;
        SetThreadBlockingHook(nullptr);
        seen = Seen{};
    }
    void TearDown() override { DropControlSocket(); }
    // Plays the rows; the client socket is the session's.
    SOCKET Open(Transcript &t)
    {
        EXPECT_TRUE(UseTranscriptSocket(t));
        return ControlSocket;
    }
    HWND Window()
    {
        static HWND window;
        if (!window)
            window = MakeTestWindow("VeltroControlTest", TestWndProc);
        return window;
    }
};

// --- reading replies ---------------------------------------------------

TEST_F(ControlChannel, ReplyShapes)
{
    const struct {
        const char *name;
        Lines rows;
        int replyClass, code;
        const char *lastLine;
        Lines logged;
        bool cancelled;
    } cases[] = {
        {"other codes and words inside", {"<< 220-Hi\\r\\n230 inner\\r\\n650 odd\\r\\nplain\\r\\n220 end\\r\\n"}, 2,
         220, "220 end", {"220-Hi", "230 inner", "650 odd", "plain", "220 end"}, false},
        {"bare line feed", {"<< 250 ok\\n"}, 2, 250, "250 ok", {"250 ok"}, false},
        {"server closes mid-reply", {"<< 220-Hello\\r\\n220-more to co", "! pause 50", "! close"}, 4, 421, nullptr,
         {"220-Hello"}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Lines rows = c.rows;
        if (!c.cancelled)
            rows.push_back("! drain");
        Transcript t(rows);
        EXPECT_EQ(GetReply(Open(t)), c.replyClass);
        EXPECT_EQ(LastReplyCode, c.code);
        EXPECT_STREQ(c.lastLine ? ReplyText : "", c.lastLine ? c.lastLine : "");
        EXPECT_EQ(LoggedLines(), c.logged);
        EXPECT_EQ(CommandBusy, 0);
        EXPECT_EQ(ReplyDepth, 0);
        EXPECT_EQ(CancelFlag != FALSE, c.cancelled);
        DropControlSocket();
        EXPECT_TRUE(t.Finish());
    }
}

TEST_F(ControlChannel, LongLinesArriveInPieces)
{
    const std::string longText(1500, 'x');
    Transcript t({"! split 100 5", "<< 220-" + longText + "\\r\\n220 end\\r\\n", "! drain"});
    EXPECT_EQ(GetReply(Open(t)), 2);
    EXPECT_EQ(LastReplyCode, 220);
    Lines log = LoggedLines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.back(), "220 end");
    std::string joined;
    for (size_t i = 0; i + 1 < log.size(); i++) {
        bool wholePiece = i + 2 < log.size();   // every piece but the line's last
        EXPECT_TRUE(!wholePiece || (log[i].size() >= 942 && log[i].size() <= 1024)) << log[i].size();
        joined += log[i];
    }
    EXPECT_EQ(joined, "220-" + longText);
}

// Another thread cancels a wait (mode 1: CancelFlag, 2: CancelBlockingWait).
DWORD WINAPI CancelLater(void *mode)
{
    for (int i = 0; i < 200 && !IsBlockingWait(); i++)
        Sleep(5);
    Sleep(100);
    seen.waiting = IsBlockingWait();
    if (mode == (void *)1)
        CancelFlag = TRUE;
    else
        CancelBlockingWait();
    return 0;
}

// A wait ends at the reply time-out (0: at once) or when another thread
// cancels it, with code 421 and one log line.
TEST_F(ControlChannel, WaitsEndAtTheTimeOutOrWhenCancelled)
{
    const struct { int timeout, cancel; DWORD least, most; } cases[] = {
        {0, 0, 0, 400}, {1, 0, 900, 3000}, {30, 1, 100, 2500}, {30, 2, 100, 2500}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.cancel * 100 + c.timeout);
        SetUp();
        ReplyTimeout = c.timeout;
        Transcript t({"<< 220-Part", "! pause " + std::to_string(c.timeout ? 1800 : 800), "< one", "! drain"});
        SOCKET s = Open(t);
        ASSERT_EQ(WaitForBytes(s, 8, 2000), 8);
        void *mode = (void *)(INT_PTR)c.cancel;
        HANDLE thread = c.cancel ? CreateThread(nullptr, 0, CancelLater, mode, 0, nullptr) : nullptr;
        DWORD start = GetTickCount();
        EXPECT_EQ(GetReply(s), 4);
        DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(elapsed >= c.least && elapsed <= c.most) << elapsed;
        if (thread) {
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
            EXPECT_TRUE(seen.waiting);
        }
        EXPECT_FALSE(IsBlockingWait());
        EXPECT_EQ(LastReplyCode, 421);
        EXPECT_EQ(LoggedLines(), Lines{"! Receive error: Blocking call cancelled"});
    }
    // A cancel with no wait running does not cancel the next one.
    Transcript t({"! pause 200", "< 200 ok", "! drain"});
    SOCKET s = Open(t);
    CancelBlockingWait();
    EXPECT_EQ(GetReply(s), 2);
}

// --- the command sender ------------------------------------------------

TEST_F(ControlChannel, SecretsHiddenLongCommandsRefusedTrailingBlanksDropped)
{
    Transcript t({"> USER joe", "< 331 Password", "> PASS se cret ", "< 332 Account", "> ACCT 42", "< 230 ok",
                  "> CWD /pub", "< 250 CWD ok", "> PASS other ", "< 230 again", "! drain"});
    SOCKET s = Open(t);
    EXPECT_EQ(FtpCommand(s, "USER %s", "joe"), 3);
    EXPECT_EQ(FtpCommand(s, "PASS %s", "se cret "), 3);
    EXPECT_EQ(FtpCommand(s, "ACCT %s", "42 "), 2);
    EXPECT_EQ(FtpCommand(s, "CWD %s", "/pub  \t"), 2);
    EXPECT_EQ(FtpCommandText(s, "PASS other "), 2);
    EXPECT_EQ(FtpCommand(s, "CWD %s", std::string(600, 'n').c_str()), 5) << "too long: refused, never cut";
    DropControlSocket();
    EXPECT_TRUE(t.Finish());
    EXPECT_TRUE(LogHasLine("PASS (hidden)") && LogHasLine("ACCT (hidden)") && LogHasLine("USER joe"));
    EXPECT_FALSE(LogMentions("cret") || LogMentions("other") || LogMentions("42"));
    EXPECT_TRUE(LogMentions("! Command too long, not sent: CWD nnn"));
    EXPECT_EQ(CommandLock, FALSE);
}

TEST_F(ControlChannel, RefusedWhileLockedOrNotConnected)
{
    Transcript t({"! drain"});
    SOCKET s = Open(t);
    CommandLock = TRUE;
    EXPECT_EQ(FtpCommand(s, "CWD %s", "x"), 4);
    EXPECT_EQ(LastReplyCode, 400);
    LastReplyCode = 123;
    EXPECT_EQ(FtpCommandText(s, "RETR x"), 5);
    EXPECT_EQ(LastReplyCode, 0);
    EXPECT_TRUE(CommandLock);
    EXPECT_TRUE(LoggedLines().empty());
    DropControlSocket();
    EXPECT_TRUE(t.Finish());
    EXPECT_EQ(t.Received(), "");

    CommandLock = FALSE;
    EXPECT_EQ(FtpCommand(NO_SOCKET, "CWD %s", "pub"), 0);
    EXPECT_FALSE(CommandLock);
    EXPECT_EQ(FtpCommandText(NO_SOCKET, "PASS x"), 0);
    EXPECT_EQ(LoggedLines(), (Lines{"CWD pub", "! Not connected, ignored", "PASS (hidden)", "! Not connected, ignored"}));
    EXPECT_EQ(SendLine(NO_SOCKET, "X"), -1);
    EXPECT_EQ(GetReply(NO_SOCKET), 0);
    EXPECT_EQ(ReadReplyLine(NO_SOCKET), 0);
    EXPECT_EQ(SendAll(NO_SOCKET, "", 0), 0);
}

TEST_F(ControlChannel, SendAndAbortOnABrokenSocketAreReported)
{
    GlobalSettings.verbose = 1;
    Transcript t({"! drain"});
    SOCKET s = Open(t);
    shutdown(s, SD_SEND);
    EXPECT_EQ(SendAll(s, "NOOP\r\n", 6), 0);
    EXPECT_EQ(SendAbort(s), 0);
    Lines log = LoggedLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("! Send error: ", 0), 0u) << log[0];
    EXPECT_EQ(log[1].rfind("[" + std::to_string(s) + "] IP not accepted ", 0), 0u) << log[1];
}

TEST_F(ControlChannel, GreetingRecognisesTheHostTypeOnlyWhileAutomatic)
{
    char error[256];
    ASSERT_TRUE(LoadHostLibraryFrom(BuildFile("veltr32.dll").c_str(), error, sizeof error)) << error;
    for (int hostType : {(int)HOST_AUTO, (int)HOST_AUTO + 1}) {
        SetUp();
        DetectFromReplies = TRUE;
        CurrentSession.hostType = hostType;
        Transcript t({"< 220-Welcome", "< 220 (vsFTPd 3.0.3)", "! drain"});
        EXPECT_EQ(GetReply(Open(t)), 2);
        bool noted = LogMentions("Host type (1): ");
        EXPECT_NE(CurrentSession.hostType, HOST_AUTO) << "recognised from the greeting";
        EXPECT_TRUE(hostType == HOST_AUTO || CurrentSession.hostType == hostType) << "a chosen host type stays";
        EXPECT_EQ(noted, hostType == HOST_AUTO);
    }
    DetectFromReplies = FALSE;
    FreeHostLibrary();
}

TEST_F(ControlChannel, FlushDropsPendingAndWaitingBytes)
{
    Transcript t({"<< 200 a\\r\\n226 stale\\r\\n", "> GO1", "< 999 junk", "> GO2", "< 250 fresh", "! drain"});
    SOCKET s = Open(t);
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

TEST_F(ControlChannel, BlockingHookDispatchesDuringASlowReplyOnlyWhenSet)
{
    SetThreadBlockingHook(BlockingHook);   // the program's own hook
    Transcript t({"> STAT", "! pause 400", "< 211 status", "! pause 200", "< 200 again", "! drain"});
    Open(t);
    PostMessageA(Window(), WM_TEST_NESTED, 0, 0);
    EXPECT_EQ(FtpCommand(ControlSocket, "STAT"), 2);
    EXPECT_EQ(seen.count, 1);
    EXPECT_TRUE(seen.waiting);
    EXPECT_GT(seen.busy, 0);
    EXPECT_EQ(seen.nestedResult, 4);   // re-entered command refused
    EXPECT_EQ(seen.nestedCode, 400);
    EXPECT_EQ(LastReplyCode, 211);

    SetThreadBlockingHook(nullptr);   // no hook: nothing is dispatched
    PostMessageA(Window(), WM_TEST_CANCEL, 0, 0);
    EXPECT_EQ(GetReply(ControlSocket), 2);
    EXPECT_EQ(seen.count, 1);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    DropControlSocket();
    EXPECT_TRUE(t.Finish());
}

// The countdown is the session time-out in 5-second ticks; at zero with
// no wait running the timer just stops.
TEST_F(ControlChannel, BlockingTimerCountsDownAndEndsAStalledReply)
{
    HWND window = Window();
    CurrentSession.timeout = 12;
    StartBlockingTimer(window, BLOCKING_TIMER_ID);
    EXPECT_EQ(TimerCountdown, 2);
    OnBlockingTimer(window);
    EXPECT_EQ(TimerCountdown, 1);
    OnBlockingTimer(window);
    EXPECT_FALSE(KillTimer(window, BLOCKING_TIMER_ID)) << "timer stopped at zero";
    EXPECT_FALSE(CancelFlag);
    EXPECT_TRUE(LoggedLines().empty());

    // Under 5 seconds: the first real tick ends the wait.
    SetThreadBlockingHook(BlockingHook);
    CurrentSession.timeout = 1;
    ReplyTimeout = 60;
    Transcript t({"! pause 9000", "! drain"});
    t.Server().SetStepTimeout(15000);
    SOCKET s = Open(t);
    StartBlockingTimer(window, BLOCKING_TIMER_ID);
    DWORD start = GetTickCount();
    EXPECT_EQ(GetReply(s), 4);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(elapsed >= 4000 && elapsed < 8000) << elapsed;
    EXPECT_EQ(LoggedLines(), (Lines{"! Timer cancelled blocking call", "! Receive error: Blocking call cancelled"}));
    EXPECT_FALSE(KillTimer(window, BLOCKING_TIMER_ID));
}

// A cancel from another thread, should the tick wait for the channel.
DWORD WINAPI ReleaseLater(void *)
{
    Sleep(200);
    CancelFlag = TRUE;
    return 0;
}

TEST_F(ControlChannel, KeepAliveSendsNoopOnlyWhenIdle)
{
    HWND window = Window();
    Transcript t({"> NOOP", "< 200 NOOP ok", "! drain"});
    Open(t);
    CommandBusy = 1;
    HANDLE thread = CreateThread(nullptr, 0, ReleaseLater, nullptr, 0, nullptr);
    DWORD start = GetTickCount();
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    EXPECT_LT(GetTickCount() - start, 150u) << "no NOOP while a command runs";
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CancelFlag = FALSE;
    CommandBusy = 0;
    CommandLock = TRUE;
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    CommandLock = FALSE;
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    EXPECT_EQ(LastReplyCode, 200);
    EXPECT_TRUE(LoggedLines().empty());
    DropControlSocket();
    EXPECT_TRUE(t.Finish());
    EXPECT_EQ(t.Received(), "NOOP\r\n");
    // Without a connection the tick stops its own timer.
    SetTimer(window, KEEPALIVE_TIMER_ID, 30000, KeepAliveTick);
    KeepAliveTick(window, WM_TIMER, KEEPALIVE_TIMER_ID, 0);
    EXPECT_FALSE(KillTimer(window, KEEPALIVE_TIMER_ID));
}

// --- abort and close -----------------------------------------------------

// Telnet IP, then IAC DM with the IAC as the urgent byte (TCP carries the
// last byte of an urgent send as the mark), then ABOR.
TEST_F(ControlChannel, AbortSendsInterruptAsUrgentDataThenAbor)
{
    GlobalSettings.verbose = 1;
    Transcript t({"! urgent", "! bytes 9", "< 426 Aborted", "< 226 ABOR ok", "! drain"});
    SOCKET s = Open(t);
    EXPECT_EQ(SendAbort(s), 4);
    EXPECT_EQ(LastReplyCode, 426);
    EXPECT_EQ(GetReply(s), 2);
    DropControlSocket();
    ASSERT_TRUE(t.Finish());
    EXPECT_EQ(t.Urgent(), "\xFF");
    EXPECT_EQ(t.Received(), std::string("\xFF\xF4\xF2" "ABOR\r\n", 9));
    EXPECT_TRUE(LogHasLine("[" + std::to_string(s) + "] Transmitted ABOR"));
}

TEST_F(ControlChannel, ClosesDrainAndReturnNoSocket)
{
    for (bool graceful : {true, false}) {
        SCOPED_TRACE(graceful ? "CloseGraceful" : "CloseQuiet");
        SetUp();
        Transcript t({"< 226 leftover", "! drain"});
        SOCKET s = Open(t);
        ControlSocket = NO_SOCKET;
        DWORD start = GetTickCount();
        EXPECT_EQ(graceful ? CloseGraceful(s) : CloseQuiet(s), NO_SOCKET);
        EXPECT_LT(GetTickCount() - start, 3000u);
        EXPECT_FALSE(CancelFlag) << "a close is no cancel";
        EXPECT_TRUE(t.Finish());
        EXPECT_TRUE(LoggedLines().empty());
        EXPECT_EQ(CloseGraceful(s), NO_SOCKET) << "closing a closed socket is quiet";
        EXPECT_TRUE(LoggedLines().empty());
    }
    EXPECT_EQ(CloseGraceful(NO_SOCKET), NO_SOCKET);
    EXPECT_EQ(CloseQuiet(NO_SOCKET), NO_SOCKET);
}

// --- log output and error texts ------------------------------------------

TEST_F(ControlChannel, DebugLinesNeedVerboseAndErrorTexts)
{
    LogLine("[debug] hidden");
    LogLine("! shown");
    LogFormat("%s %d", "+ note", 7);
    GlobalSettings.verbose = 1;
    LogLine("[debug] shown");
    LogFormat("%s", std::string(3000, 'h').c_str());
    ReportWinSockError("connect", 10061);
    ReportWinSockError(nullptr, 10064);
    EXPECT_EQ(LoggedLines(), (Lines{"! shown", "+ note 7", "[debug] shown", std::string(2047, 'h'),
                                   "! connect: connection refused", "! host down"}));
    const struct {
        int error;
        const char *text;
    } table[] = {
        {10004, "Blocking call cancelled"}, {10058, "error 10058"}, {-1, "error 4294967295"},
    };
    for (const auto &e : table) {
        char buffer[128];
        EXPECT_STREQ(WinSockErrorText(e.error, nullptr), e.text);
        EXPECT_EQ(WinSockErrorText(e.error, buffer), buffer);
        EXPECT_STREQ(buffer, e.text);
    }
}

}  // namespace
