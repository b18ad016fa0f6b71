// The FTP control channel: command sender, reply reader, flush, closes,
// the Telnet abort, and the blocking-call and keep-alive timers.
//
// The user-interface thread and the transfer worker share this channel.
// One of them at a time holds the channel's turn (a lock taken and released
// atomically, nesting on its owner); a command that re-enters through a
// message pump while the turn is held lower on the same stack is refused,
// so it can never wait for itself.
#include "ftp/control.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "listing/host_library.h"
#include "resources/resource.h"
#include "sites/site_profile.h"

namespace {

// The last ReadReplyLine ended without a line: closed, failed or timed out;
// ClosedByPeer: the server closed the connection.
bool LineReadFailed;
bool ClosedByPeer;

const int SEND_TIMEOUT_MS = 32000;
const int DRAIN_TIMEOUT_MS = 1000;
// A closing socket is drained so the peer sees an orderly end; a peer that
// keeps sending (a download being abandoned) is cut off after this much.
const long DRAIN_LIMIT = 1L << 20;
const int TURN_SLICE_MS = 10;
// Owed replies are read with at most this time-out each, so a server that
// never sends one delays the next command only this long.
const int CATCH_UP_SECONDS = 10;
const int CATCH_UP_REPLIES_MAX = 4;

// The turn: the owning thread's id (0: free), its nesting depth and the
// message-pump depth at which it took the turn.
volatile LONG TurnOwner;
volatile LONG TurnWaiter;   // a thread waiting for the turn, or 0
int TurnDepth;
int TurnPumpDepth;
// A reply cut short while owed replies are being read is not owed again.
bool CatchingUp;
// The connection the owed replies belong to (handle and local port, as a
// handle can come back for a new connection): a new one owes nothing.
SOCKET OwedOn = NO_SOCKET;
unsigned OwedPort;

unsigned LocalPort(SOCKET s)
{
    sockaddr_in local = {};
    int length = sizeof local;
    return getsockname(s, (sockaddr *)&local, &length) == 0 ? ntohs(local.sin_port) : 0;
}

void Owe(SOCKET s, int count)
{
    if (RepliesOwed == 0) {
        OwedOn = s;
        OwedPort = LocalPort(s);
    }
    RepliesOwed = count;
}

bool Verbose()
{
    return GlobalSettings.verbose != 0;
}

// Sends the command and reads its reply; the caller holds the turn and
// CommandLock. Nothing is sent for an operation already cancelled.
int RunCommand(SOCKET s, const char *command)
{
    if (s == NO_SOCKET) {
        LogFormat("! %s", LoadText(IDS_NOT_CONNECTED));
        return 0;
    }
    if (CancelFlag) {
        LastReplyCode = 421;
        return 4;
    }
    if (SendLine(s, command) == -1)
        return 0;
    return GetReply(s);
}

// Reads the replies the server still owes, so that the next command reads
// its own. A wait cut short ends the catching up.
void CatchUpReplies(SOCKET s)
{
    int savedTimeout = ReplyTimeout;
    if (ReplyTimeout > CATCH_UP_SECONDS)
        ReplyTimeout = CATCH_UP_SECONDS;
    CatchingUp = true;
    for (int i = 0; RepliesOwed > 0 && i < CATCH_UP_REPLIES_MAX && !CancelFlag; i++) {
        DWORD start = GetTickCount();
        if (GetReply(s) == 0 || LineReadFailed) {
            // Nothing came in time: the command still goes out. (A cancel,
            // which ends the wait early, stands.)
            if (LineReadFailed && !ClosedByPeer &&
                GetTickCount() - start >= (DWORD)ReplyTimeout * 1000 - 100)
                CancelFlag = FALSE;
            break;
        }
    }
    CatchingUp = false;
    ReplyTimeout = savedTimeout;
    RepliesOwed = 0;
}

// A closed connection owes nothing (its handle may come back for a new one).
void ForgetOwedReplies(SOCKET s)
{
    if (s == OwedOn) {
        OwedOn = NO_SOCKET;
        RepliesOwed = 0;
    }
}

void RefuseReentry(void)
{
    LogFormat("! %s", LoadText(IDS_COMMAND_IN_PROGRESS));
}

// Reads and drops what the peer still sends, until it closes, a read fails
// or DRAIN_TIMEOUT_MS pass without data. CancelFlag does not stop it: a
// connection closed because of a cancel is still closed in order.
void Drain(SOCKET s)
{
    char discard[256];
    long total = 0;
    while (total < DRAIN_LIMIT) {
        if (WaitSocket(s, WAIT_READ, DRAIN_TIMEOUT_MS, FALSE) != 1)
            return;
        int n = recv(s, discard, sizeof discard, 0);
        if (n <= 0)
            return;
        total += n;
    }
}

void CALLBACK BlockingTimerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    if (id == BLOCKING_TIMER_ID)
        OnBlockingTimer(window);
}

}  // namespace

BOOL TakeChannelTurn(void)
{
    LONG me = (LONG)GetCurrentThreadId();
    if (TurnOwner == me) {
        if (MessagePumpDepth() != TurnPumpDepth)
            return FALSE;   // re-entered through a pump: the holder is below us
        TurnDepth++;
        return TRUE;
    }
    // Turns alternate: a thread that finds another one waiting lets it go
    // first, so a batch taking turn after turn cannot starve the window
    // thread (or the other way round).
    LONG waiter = TurnWaiter;
    if ((waiter != 0 && waiter != me) || InterlockedCompareExchange(&TurnOwner, me, 0) != 0) {
        LogLine(LoadText(IDS_COMMAND_YIELDING));
        InterlockedCompareExchange(&TurnWaiter, me, 0);
        DWORD start = GetTickCount();
        DWORD limit = (DWORD)(ReplyTimeout > 0 && ReplyTimeout < 2000000 ? ReplyTimeout : 2000000) * 1000;
        for (;;) {
            waiter = TurnWaiter;
            if ((waiter == me || waiter == 0) && InterlockedCompareExchange(&TurnOwner, me, 0) == 0)
                break;
            if (CancelFlag || GetTickCount() - start >= limit) {
                InterlockedCompareExchange(&TurnWaiter, 0, me);
                return FALSE;
            }
            if (waiter == 0)
                InterlockedCompareExchange(&TurnWaiter, me, 0);
            PumpWhileWaiting(TURN_SLICE_MS);
        }
        InterlockedCompareExchange(&TurnWaiter, 0, me);
    }
    TurnDepth = 1;
    TurnPumpDepth = MessagePumpDepth();
    CancelFlag = FALSE;   // a new operation: earlier requests are spent
    return TRUE;
}

void ReleaseChannelTurn(void)
{
    if (TurnOwner != (LONG)GetCurrentThreadId())
        return;
    if (--TurnDepth == 0)
        InterlockedExchange(&TurnOwner, 0);
}

void ResetChannelTurn(void)
{
    TurnDepth = 0;
    CommandLock = FALSE;
    CommandBusy = 0;
    InterlockedExchange(&TurnWaiter, 0);
    InterlockedExchange(&TurnOwner, 0);
}

int FtpCommand(SOCKET s, const char *format, ...)
{
    LastReplyCode = 0;
    char command[COMMAND_TEXT_MAX + 1];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(command, sizeof command, format, args);
    va_end(args);
    if (length < 0 || (size_t)length >= sizeof command) {
        // A cut name would make the server act on another file.
        char text[128];
        snprintf(text, sizeof text, LoadText(IDS_COMMAND_TOO_LONG), command);
        LogFormat("! %s", text);
        return 5;
    }
    ChannelTurn turn;
    if (!turn.held || CommandLock) {
        if (!turn.held)
            RefuseReentry();
        LastReplyCode = 400;
        return 4;
    }
    CommandLock = TRUE;
    const char *echo = CommandEcho(command, !Verbose());
    if (echo)
        LogLine(echo);
    int result = RunCommand(s, command);
    CommandLock = FALSE;
    return result;
}

int FtpCommandText(SOCKET s, const char *text)
{
    LastReplyCode = 0;
    ChannelTurn turn;
    if (!turn.held || CommandLock) {
        if (!turn.held)
            RefuseReentry();
        return 5;
    }
    CommandLock = TRUE;
    LogLine(CommandEcho(text, false));
    int result = RunCommand(s, text);
    CommandLock = FALSE;
    return result;
}

int SendLine(SOCKET s, const char *text)
{
    if (s == NO_SOCKET)
        return -1;
    ChannelTurn turn;
    if (!turn.held || CancelFlag)
        return -1;
    if (RepliesOwed > 0 && (OwedOn != s || OwedPort != LocalPort(s)))
        RepliesOwed = 0;
    if (RepliesOwed > 0 && !CatchingUp)
        CatchUpReplies(s);
    if (CancelFlag)
        return -1;

    int length = (int)strlen(text);
    if (!KeepsTrailingBlanks(text)) {
        while (length > 0 && strchr(" \t\r\n", text[length - 1]))
            length--;
    }

    InterlockedIncrement(&CommandBusy);
    int sent;
    char *line = (char *)malloc((size_t)length + 2);
    if (line) {
        memcpy(line, text, (size_t)length);
        line[length] = '\r';
        line[length + 1] = '\n';
        sent = SendAll(s, line, length + 2);
        free(line);
    } else {
        sent = SendAll(s, text, length);
        if (sent == length)
            sent += SendAll(s, "\r\n", 2);
    }
    InterlockedDecrement(&CommandBusy);
    return sent;
}

int SendAll(SOCKET s, const char *bytes, int length)
{
    if (length < 1)
        return 0;
    int sent = 0;
    while (sent < length) {
        int n = SendTimed(s, bytes + sent, length - sent, SEND_TIMEOUT_MS);
        if (n <= 0) {
            int error = WSAGetLastError();
            ReportWinSockError(LoadText(IDS_SEND_ERROR), error);
            return sent;
        }
        sent += n;
    }
    return sent;
}

int ReadReplyLine(SOCKET s)
{
    if (s == NO_SOCKET)
        return 0;
    InterlockedIncrement(&CommandBusy);
    LineReadFailed = false;
    memset(ReplyText, 0, REPLY_TEXT_CLEARED);

    bool complete = false;
    int held = TakePendingLine(&PendingText, ReplyText, &complete);
    int received = 1;
    // Seconds to milliseconds without overflow for absurd time-outs.
    int limit = ReplyTimeout > 2000000 ? 2000000000 : ReplyTimeout * 1000;
    while (!complete && held < REPLY_LINE_PIECE && !CancelFlag) {
        received = RecvTimed(s, ReplyText + held, REPLY_LINE_READ - held, 0, limit);
        if (received <= 0)
            break;
        held = AcceptReceived(ReplyText, held, received, &PendingText, &complete);
    }
    ClosedByPeer = received == 0;
    if (received <= 0) {
        if (received < 0) {
            int error = WSAGetLastError();
            ReportWinSockError(LoadText(IDS_RECEIVE_ERROR), error);
        }
        CancelFlag = TRUE;
        LineReadFailed = true;
        InterlockedDecrement(&CommandBusy);
        return 421;
    }
    int code = CancelFlag ? 421 : ReplyLineCode(ReplyText);
    TrimRight(ReplyText);
    InterlockedDecrement(&CommandBusy);
    return code;
}

int GetReply(SOCKET s)
{
    if (s == NO_SOCKET)
        return 0;
    ChannelTurn turn;
    if (!turn.held)
        return 0;
    int lines = 0;
    int code = 0;
    for (;;) {
        InterlockedIncrement(&CommandBusy);
        ReplyDepth++;
        lines++;
        int lineCode = ReadReplyLine(s);
        bool continued = IsContinuedLine(ReplyText, lineCode);
        // A read that produced no line (closed, failed, cancelled) logs
        // nothing here; the failure was reported where it happened.
        if (!LineReadFailed && ReplyText[0] != '\0' && (Verbose() || !IsQuietReply(ReplyText)))
            LogLine(ReplyText);
        if (CancelFlag) {
            code = 421;
            LastReplyCode = code;
            break;
        }
        code = ReplyCodeAfterLine(LastReplyCode, lines, lineCode);
        if (DetectFromReplies && CurrentSession.hostType == HOST_AUTO)
            DetectHostTypeFromReply(ReplyText);
        LastReplyCode = code;
        if (!ReplyContinues(continued, code, lines, lineCode))
            break;
    }
    ReplyDepth -= lines;
    InterlockedExchangeAdd(&CommandBusy, -lines);
    // Keep count of what the server still owes: a preliminary reply is
    // followed by a final one; a final reply settles one owed; a wait cut
    // short leaves its reply owed (unless the connection is gone).
    int replyClass = ReplyClass(code);
    if (RepliesOwed > 0 && OwedOn != s)
        RepliesOwed = 0;
    if (CancelFlag || LineReadFailed) {
        if (!CatchingUp && !ClosedByPeer)
            Owe(s, RepliesOwed + 1);
    } else if (replyClass == 1) {
        if (RepliesOwed == 0)
            Owe(s, 1);
    } else if (RepliesOwed > 0) {
        RepliesOwed--;
    }
    return replyClass;
}

void FlushReply(SOCKET s)
{
    ChannelTurn turn;
    if (!turn.held)
        return;   // a reply is being read: its bytes are not ours to drop
    ClearPending(&PendingText);
    if (s == NO_SOCKET)
        return;
    if (PollSocket(s, WAIT_READ, 100) == 1) {
        char discard[82];
        RecvTimed(s, discard, sizeof discard, 0, SEND_TIMEOUT_MS);
    }
}

SOCKET CloseGraceful(SOCKET s)
{
    if (s == NO_SOCKET)
        return NO_SOCKET;
    ForgetOwedReplies(s);
    if (shutdown(s, SD_SEND) == 0) {
        Drain(s);
    } else {
        int error = WSAGetLastError();
        if (error == WSAEINPROGRESS)
            CancelBlockingWait();
        else if (error == WSAENOTSOCK)
            return NO_SOCKET;
    }
    if (closesocket(s) == 0)
        return NO_SOCKET;
    int error = WSAGetLastError();
    if (error == WSAENOTSOCK)
        return NO_SOCKET;
    if (error == WSAEINPROGRESS) {
        CancelBlockingWait();
        return closesocket(s) == 0 ? NO_SOCKET : s;
    }
    ReportWinSockError(LoadText(IDS_CLOSESOCKET), error);
    return s;
}

SOCKET CloseQuiet(SOCKET s)
{
    if (s == NO_SOCKET)
        return NO_SOCKET;
    ForgetOwedReplies(s);
    if (shutdown(s, SD_SEND) == 0)
        Drain(s);
    closesocket(s);
    return NO_SOCKET;
}

int SendAbort(SOCKET control)
{
    // Telnet IAC IP IAC as urgent data: the server sees the interrupt even
    // while it is busy sending; then the synch mark DM and the command.
    static const char interrupt[3] = {'\xFF', '\xF4', '\xFF'};
    static const char abort[7] = {'\xF2', 'A', 'B', 'O', 'R', '\r', '\n'};
    ChannelTurn turn;
    if (!turn.held)
        return 0;
    if (SendTimedFlags(control, interrupt, sizeof interrupt, MSG_OOB, SEND_TIMEOUT_MS) !=
        (int)sizeof interrupt) {
        int error = WSAGetLastError();
        LogFormat("[%u] IP %s %u", (unsigned)control, LoadText(IDS_NOT_ACCEPTED), (unsigned)error);
        return 0;
    }
    if (SendTimedFlags(control, abort, sizeof abort, 0, SEND_TIMEOUT_MS) != (int)sizeof abort) {
        int error = WSAGetLastError();
        LogFormat("[%u] ABOR %s %u", (unsigned)control, LoadText(IDS_NOT_ACCEPTED), (unsigned)error);
        return 0;
    }
    LogFormat("[%u] %s ABOR", (unsigned)control, LoadText(IDS_TRANSMITTED));
    return GetReply(control);
}

void StartBlockingTimer(HWND window, UINT timerId)
{
    TimerCountdown = (int)(CurrentSession.timeout / 5);
    SetTimer(window, timerId, 5000, BlockingTimerProc);
}

void StopBlockingTimer(HWND window)
{
    KillTimer(window, BLOCKING_TIMER_ID);
}

void OnBlockingTimer(HWND window)
{
    // A time-out under 5 seconds starts at 0: the first tick ends the wait.
    if (--TimerCountdown > 0)
        return;
    KillTimer(window, BLOCKING_TIMER_ID);
    if (IsBlockingWait()) {
        LogFormat("! %s", LoadText(IDS_TIMER_CANCELLED));
        CancelFlag = TRUE;
        CancelBlockingWait();
    }
}

void CALLBACK KeepAliveTick(HWND window, UINT, UINT_PTR id, DWORD)
{
    if (ControlSocket != NO_SOCKET && IsWindow(window)) {
        if (TurnOwner == 0 && !CommandLock && CommandBusy <= 0)
            FtpCommand(ControlSocket, "NOOP");
    } else {
        KillTimer(window, id);
    }
}
