// The socket wait layer. WinSock 2 (and Wine) never call a blocking hook,
// so a blocking call would freeze the windows and make Cancel useless.
// Instead every wait is a loop of short select() slices; between slices the
// thread's blocking hook dispatches queued messages, and the loop ends when
// CancelFlag is set or CancelBlockingWait is called.
//
// Cost matters: the transfer loops wait once per block. A socket with bytes
// already buffered costs one FIONREAD query and nothing else; the message
// queue is looked at only when the wait is real, and the hook runs only
// when something is queued.
#include "ftp/control.h"

namespace {

typedef BOOL(CALLBACK *HookProc)(void);

thread_local HookProc ThreadHook;
thread_local int PumpDepth;

volatile LONG WaitsRunning;      // socket waits in progress, all threads
volatile LONG CancelGeneration;  // raised by every CancelBlockingWait

// Slice lengths: with a hook, short enough that a window repaints and a
// button reacts without visible delay; without one, short enough that a
// cancel ends the wait promptly.
const int HOOK_SLICE_MS = 15;
const int PLAIN_SLICE_MS = 50;
// Messages handled per slice at most, so a flood of messages cannot starve
// the socket or hide a cancel.
const int HOOK_MESSAGES_PER_SLICE = 32;

bool Cancelled(LONG generation, BOOL honourCancelFlag)
{
    return (honourCancelFlag && CancelFlag) || CancelGeneration != generation;
}

void RunHook(HookProc hook, LONG generation, BOOL honourCancelFlag)
{
    if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0)
        return;
    PumpDepth++;
    for (int i = 0; i < HOOK_MESSAGES_PER_SLICE; i++) {
        if (!hook() || Cancelled(generation, honourCancelFlag))
            break;
    }
    PumpDepth--;
}

}  // namespace

int PollSocket(SOCKET s, WaitKind kind, long microseconds)
{
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval limit;
    limit.tv_sec = microseconds / 1000000;
    limit.tv_usec = microseconds % 1000000;
    int r = select(0, kind == WAIT_READ ? &ready : nullptr,
                   kind == WAIT_READ ? nullptr : &ready,
                   kind == WAIT_CONNECT ? &failed : nullptr, &limit);
    if (r == SOCKET_ERROR)
        return -1;
    if (r == 0)
        return 0;
    if (kind == WAIT_CONNECT && FD_ISSET(s, &failed)) {
        int error = 0;
        int size = sizeof error;
        getsockopt(s, SOL_SOCKET, SO_ERROR, (char *)&error, &size);
        WSASetLastError(error ? error : WSAECONNREFUSED);
        return -1;
    }
    return 1;
}

int WaitSocket(SOCKET s, WaitKind kind, int milliseconds, BOOL honourCancelFlag)
{
    // Under Wine a select costs several times a receive, even with nothing
    // to wait for; bytes already buffered are seen far more cheaply.
    if (kind == WAIT_READ) {
        u_long buffered = 0;
        if (ioctlsocket(s, FIONREAD, &buffered) == 0 && buffered > 0)
            return 1;
    }
    int r = 0;
    if (kind != WAIT_READ || milliseconds == 0) {
        r = PollSocket(s, kind, 0);
        if (r != 0)
            return r;
    }
    if (milliseconds == 0) {
        WSASetLastError(WSAEINTR);
        return 0;
    }

    InterlockedIncrement(&WaitsRunning);
    LONG generation = CancelGeneration;
    HookProc hook = ThreadHook;
    DWORD start = GetTickCount();
    for (bool first = true;; first = false) {
        if (Cancelled(generation, honourCancelFlag)) {
            WSASetLastError(WSAEINTR);
            r = -1;
            break;
        }
        // The first slice goes straight to select: a reply or block that is
        // about to arrive should not pay for a look at the message queue.
        if (hook && !first) {
            RunHook(hook, generation, honourCancelFlag);
            if (Cancelled(generation, honourCancelFlag))
                continue;
        }
        int slice = hook ? HOOK_SLICE_MS : PLAIN_SLICE_MS;
        if (milliseconds > 0) {
            DWORD elapsed = GetTickCount() - start;
            if (elapsed >= (DWORD)milliseconds) {
                WSASetLastError(WSAEINTR);
                r = 0;
                break;
            }
            if ((DWORD)milliseconds - elapsed < (DWORD)slice)
                slice = (int)((DWORD)milliseconds - elapsed);
        }
        r = PollSocket(s, kind, slice * 1000L);
        if (r != 0)
            break;
    }
    InterlockedDecrement(&WaitsRunning);
    return r;
}

BOOL IsBlockingWait(void)
{
    return WaitsRunning > 0;
}

void CancelBlockingWait(void)
{
    InterlockedIncrement(&CancelGeneration);
}

void SetThreadBlockingHook(BOOL(CALLBACK *hook)(void))
{
    ThreadHook = hook;
}

int MessagePumpDepth(void)
{
    return PumpDepth;
}

void EnterMessagePump(void)
{
    PumpDepth++;
}

void LeaveMessagePump(void)
{
    PumpDepth--;
}

void PumpWhileWaiting(int milliseconds)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)milliseconds, QS_ALLINPUT);
    if (ThreadHook) {
        RunHook(ThreadHook, CancelGeneration, TRUE);
    } else {
        MSG msg;   // delivers messages sent from other threads, takes none
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

int SendTimedFlags(SOCKET s, const char *bytes, int length, int flags, int milliseconds)
{
    if (WaitSocket(s, WAIT_WRITE, milliseconds) != 1)
        return -1;   // time-out or cancel: WSA error 10004 is set
    return send(s, bytes, length, flags);
}

int SendTimed(SOCKET s, const char *bytes, int length, int milliseconds)
{
    return SendTimedFlags(s, bytes, length, 0, milliseconds);
}

int RecvTimed(SOCKET s, char *buffer, int length, int flags, int milliseconds)
{
    if (WaitSocket(s, WAIT_READ, milliseconds) != 1)
        return -1;   // time-out or cancel: WSA error 10004 is set
    return recv(s, buffer, length, flags);
}

int ConnectSocket(SOCKET s, const struct sockaddr *address, int length, int milliseconds)
{
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0)
        return SOCKET_ERROR;
    int error = 0;
    if (connect(s, address, length) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            int w = WaitSocket(s, WAIT_CONNECT, milliseconds);
            error = w == 1 ? 0 : w == 0 ? WSAETIMEDOUT : WSAGetLastError();
        }
    }
    u_long blocking = 0;
    ioctlsocket(s, FIONBIO, &blocking);
    if (error != 0) {
        WSASetLastError(error);
        return SOCKET_ERROR;
    }
    return 0;
}

SOCKET AcceptSocket(SOCKET listener, struct sockaddr *address, int *length, int milliseconds)
{
    if (WaitSocket(listener, WAIT_READ, milliseconds) != 1)
        return INVALID_SOCKET;
    return accept(listener, address, length);
}
