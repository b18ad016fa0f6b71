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

#define NO_SOCKET ((SOCKET)(~(UINT_PTR)0))   // -1: no socket

extern SOCKET ControlSocket;
extern BOOL Connected;
extern volatile LONG CommandBusy;     // a command or reply line is outstanding
extern volatile BOOL CommandLock;     // FtpCommand is running on this thread
extern volatile BOOL CancelFlag;      // stop the blocking operation
extern volatile BOOL AbortFlag;       // stop the batch or connect
extern int LastReplyCode;
extern char ReplyText[];              // REPLY_TEXT_SIZE bytes; transfer I/O block too
extern int ReplyDepth;
extern int ReplyTimeout;              // seconds per receive while awaiting a reply
extern BOOL DetectFromReplies;        // offer reply lines to host-type detection
extern int TimerCountdown;

enum { REPLY_TEXT_SIZE = 4097 + 16, PENDING_TEXT_SIZE = 1024 };

// Window timers of the main window.
enum { BLOCKING_TIMER_ID = 20, KEEPALIVE_TIMER_ID = 50 };

int FtpCommand(SOCKET s, const char *format, ...);
int FtpCommandText(SOCKET s, const char *text);
int SendLine(SOCKET s, const char *text);
int SendAll(SOCKET s, const char *bytes, int length);
int SendTimed(SOCKET s, const char *bytes, int length, int milliseconds);
int RecvTimed(SOCKET s, char *buffer, int length, int flags, int milliseconds);
int GetReply(SOCKET s);
int ReadReplyLine(SOCKET s);
void FlushReply(SOCKET s);
SOCKET CloseGraceful(SOCKET s);
SOCKET CloseQuiet(SOCKET s);
int SendAbort(SOCKET control);

void LogLine(const char *text);
void LogFormat(const char *format, ...);
const char *WinSockErrorText(int error, char *buffer);
void ReportWinSockError(const char *label, int error);

void StartBlockingTimer(HWND window, UINT timerId);
void StopBlockingTimer(HWND window);
void OnBlockingTimer(HWND window);       // WM_TIMER for BLOCKING_TIMER_ID
void CALLBACK KeepAliveTick(HWND window, UINT message, UINT_PTR id, DWORD time);

// The socket wait layer. WinSock 2 never calls a blocking hook, so every wait
// is a loop of short select() slices with the blocking hook run in between.
// WaitSocket returns 1 when ready, 0 on time-out (WSA error 10004 set), -1
// on failure or when the wait was cancelled (CancelFlag, or
// CancelBlockingWait) with WSA error 10004.
enum WaitKind { WAIT_READ, WAIT_WRITE, WAIT_CONNECT };
int WaitSocket(SOCKET s, WaitKind kind, int milliseconds);
BOOL IsBlockingWait(void);              // a socket wait is running on some thread
void CancelBlockingWait(void);          // ends the running waits with 10004
void SetThreadBlockingHook(BOOL (CALLBACK *hook)(void));
