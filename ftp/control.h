// The FTP control channel: one blocking stream socket, one command sender
// (FtpCommand / FtpCommandText), one reply reader (GetReply / ReadReplyLine).
// Nothing else sends on or reads from the control socket.
//
// Every operation returns the class of the final reply (1..5), 0 when no
// valid reply was read; a closed, failed or cancelled read reads as 421.
// All waits are bounded select() slices that run the thread's blocking hook
// in between and stop when CancelFlag is set, so windows stay painted and
// Cancel works while a socket waits.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <stdarg.h>

#include "ftp/reply.h"
#include "ui/log.h"

#define NO_SOCKET ((SOCKET)(~(UINT_PTR)0))   // -1: no socket

enum { REPLY_TEXT_SIZE = 4097 + 16, PENDING_TEXT_SIZE = REPLY_LINE_READ };

extern SOCKET ControlSocket;
extern BOOL Connected;
extern volatile LONG CommandBusy;     // a command or reply line is outstanding
extern volatile BOOL CommandLock;     // FtpCommand is running (held with the turn)
// A request to stop the operation in progress. Set by Cancel, the
// blocking-call timer, a failed read and the loops; honoured by every wait;
// cleared only when a thread starts a new operation (takes the channel's
// turn at the outermost level) and by a transfer loop that has acted on it.
extern volatile BOOL CancelFlag;
extern volatile BOOL AbortFlag;       // stop the batch or connect
// Per thread: the last reply a thread read is its own, and its buffer is
// also that thread's transfer block.
extern thread_local int LastReplyCode;
extern thread_local char ReplyText[REPLY_TEXT_SIZE];
extern int ReplyDepth;
extern int ReplyTimeout;              // seconds per receive while awaiting a reply
extern BOOL DetectFromReplies;        // offer reply lines to host-type detection
extern int TimerCountdown;

extern PendingBytes PendingText;      // bytes received behind the current line
// Replies the server still owes: a preliminary (1xx) reply whose final
// reply was not read, or a reply wait cut short by a cancel or time-out.
// The next command reads them first (bounded), so it gets its own reply.
extern int RepliesOwed;

// The channel's turn: one thread at a time owns the control connection,
// from sending a command to reading its final reply, and a transfer driver
// for the whole transfer. Taking it nests on the owning thread; a command
// that re-enters through a message pump while the turn is held lower on the
// same stack is refused; another thread waits (running its own blocking
// hook, so its windows stay alive) until the turn is free, a cancel is
// requested or the reply time-out passes. Taking the turn at the outermost
// level starts a new operation: CancelFlag is cleared.
BOOL TakeChannelTurn(void);
void ReleaseChannelTurn(void);
// Frees the turn whoever holds it: only for a worker thread that was
// terminated while holding it.
void ResetChannelTurn(void);
struct ChannelTurn {
    BOOL held;
    ChannelTurn() : held(TakeChannelTurn()) {}
    ~ChannelTurn()
    {
        if (held)
            ReleaseChannelTurn();
    }
    ChannelTurn(const ChannelTurn &) = delete;
    ChannelTurn &operator=(const ChannelTurn &) = delete;
};

// Window timers of the main window.
enum { BLOCKING_TIMER_ID = 20, KEEPALIVE_TIMER_ID = 50 };

int FtpCommand(SOCKET s, const char *format, ...);
int FtpCommandText(SOCKET s, const char *text);
int SendLine(SOCKET s, const char *text);
int SendAll(SOCKET s, const char *bytes, int length);
// One send / receive after a wait of at most the given milliseconds (the
// wait layer below): the call's own result, or -1 with WSA error 10004 on
// time-out or cancel.
int SendTimed(SOCKET s, const char *bytes, int length, int milliseconds);
int SendTimedFlags(SOCKET s, const char *bytes, int length, int flags, int milliseconds);
int RecvTimed(SOCKET s, char *buffer, int length, int flags, int milliseconds);
int GetReply(SOCKET s);
int ReadReplyLine(SOCKET s);
void FlushReply(SOCKET s);
SOCKET CloseGraceful(SOCKET s);
SOCKET CloseQuiet(SOCKET s);
int SendAbort(SOCKET control);

const char *WinSockErrorText(int error, char *buffer);
void ReportWinSockError(const char *label, int error);

// The blocking-call timer counts the session's time-out down in 5-second
// ticks and, at zero, cancels the socket wait in progress. It carries its
// own timer procedure, so the window procedure need not route WM_TIMER;
// OnBlockingTimer is the body of one tick.
void StartBlockingTimer(HWND window, UINT timerId);
void StopBlockingTimer(HWND window);
void OnBlockingTimer(HWND window);
// Timer procedure of the keep-alive timer (KEEPALIVE_TIMER_ID, 30000 ms):
// "NOOP" while the channel is idle; stops its timer when there is no
// connection or no window.
void CALLBACK KeepAliveTick(HWND window, UINT message, UINT_PTR id, DWORD time);

// The reply-based host-type detection (remote commands module): offered every
// reply line while DetectFromReplies is set and the host type is automatic.
int DetectHostTypeFromReply(const char *line);

// The socket wait layer. WinSock 2 never calls a blocking hook, so every wait
// is a loop of short select() slices with the blocking hook run in between.
// A socket with bytes already buffered costs one FIONREAD and never
// touches the message queue; only a real wait runs the hook, and only while messages
// are queued.
// WaitSocket returns 1 when ready, 0 on time-out (WSA error 10004 set), -1
// on failure (WSA error of the failure) or when the wait was cancelled
// (CancelFlag when honourCancelFlag is set, or CancelBlockingWait) with WSA
// error 10004. milliseconds 0 only polls; below 0 waits until ready or
// cancelled. WAIT_CONNECT waits for a non-blocking connect to finish and
// fails with the connect's own error.
enum WaitKind { WAIT_READ, WAIT_WRITE, WAIT_CONNECT };
int WaitSocket(SOCKET s, WaitKind kind, int milliseconds, BOOL honourCancelFlag = TRUE);
// One select of at most the given microseconds, no hook: 1, 0 or -1.
int PollSocket(SOCKET s, WaitKind kind, long microseconds);
BOOL IsBlockingWait(void);              // a socket wait is running on some thread
void CancelBlockingWait(void);          // ends the running waits with 10004
// Installs the blocking hook of the calling thread (null: waits just wait).
void SetThreadBlockingHook(BOOL (CALLBACK *hook)(void));
// Message pumps of the calling thread that are running (the blocking hook,
// the transfer loops' pump): a command started inside one re-enters.
int MessagePumpDepth(void);
void EnterMessagePump(void);
void LeaveMessagePump(void);
// Waits up to the given milliseconds for this thread's messages and runs
// its blocking hook on them (without a hook, only messages sent from other
// threads are delivered).
void PumpWhileWaiting(int milliseconds);
// connect / accept through the wait layer. ConnectSocket leaves the socket
// blocking and returns 0 or SOCKET_ERROR (WSA error set: the connect's error,
// 10004 when cancelled, 10060 on time-out). AcceptSocket returns the new
// socket or INVALID_SOCKET (10004 on time-out or cancel).
int ConnectSocket(SOCKET s, const struct sockaddr *address, int length, int milliseconds);
SOCKET AcceptSocket(SOCKET listener, struct sockaddr *address, int *length, int milliseconds);
