// The send loop (local file to data socket) and the receive loops (data
// socket to local file).
//
// Speed: a block costs one socket call while data flows. The receive loop
// switches the data socket to non-blocking mode and waits through the
// control channel's wait layer (blocking hook, Cancel, time-out) only when
// nothing is there; the send loop sends on the blocking socket, bounded by
// the socket's send time-out, because a partly filled send buffer would
// otherwise cost a wait and a second send for nearly every block.
// Window messages are pumped when some are waiting or every PUMP_PERIOD_MS,
// not after every block: under Wine a message-queue call costs as much as a
// socket call.
#include "transfer/transfer.h"

#include <inttypes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "cmdline/cmdline.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "transfer/transfer_text.h"

SendOutcome LastSend;

namespace {

enum { PUMP_PERIOD_MS = 30, DEFAULT_RECEIVE_BLOCK = 4096, DEFAULT_SEND_BLOCK = 512 };
const long FIRST_WAIT_US = 15000;   // as long as one slice of the wait layer

// The block buffer: ReplyText for the usual sizes, a grown buffer beyond.
char *BlockBuffer(int size)
{
    static char *grown;
    static int grownSize;
    if (size <= REPLY_TEXT_SIZE - 16)
        return ReplyText;
    if (size > grownSize) {
        char *bigger = (char *)realloc(grown, (size_t)size);
        if (!bigger)
            return nullptr;
        grown = bigger;
        grownSize = size;
    }
    return grown;
}

int WaitLimitMs(void)
{
    int seconds = ReplyTimeout > 0 ? ReplyTimeout : 65;
    return seconds > 2000000 ? 2000000000 : seconds * 1000;
}

void SetNonBlocking(SOCKET s, bool on)
{
    u_long value = on ? 1 : 0;
    ioctlsocket(s, FIONBIO, &value);
}

// Pumps messages when it is time: cheap enough to call after every block.
struct Pump {
    DWORD last = GetTickCount();
    void Tick(DWORD now)
    {
        if (now - last < PUMP_PERIOD_MS)
            return;
        last = now;
        PumpTransferMessages();
    }
};

// One recv; waits (cancellable, bounded) while nothing is there. Returns
// the count, 0 at the end of the data, -1 on failure (error in *error).
int ReceiveSome(SOCKET s, char *buffer, int size, int *error)
{
    for (;;) {
        int n = recv(s, buffer, size, 0);
        if (n >= 0)
            return n;
        *error = WSAGetLastError();
        if (*error != WSAEWOULDBLOCK)
            return -1;
        // Nothing buffered, as the recv just said: the next block is usually
        // on its way, so one select slice comes first; the full wait (with
        // its look for buffered bytes, the message pump and the time-out)
        // only when that slice passes empty.
        if (PollSocket(s, WAIT_READ, FIRST_WAIT_US) == 1)
            continue;
        int w = WaitSocket(s, WAIT_READ, WaitLimitMs());
        if (w == 1)
            continue;
        *error = w == 0 ? WSAETIMEDOUT : WSAGetLastError();
        return -1;
    }
}

// Sends all bytes on the blocking data socket; 0 on success, else the
// WinSock error. The socket's send time-out bounds a stalled peer; Cancel
// acts between blocks, which leave quickly while the peer reads.
int SendAllBytes(SOCKET s, const char *bytes, int length)
{
    while (length > 0) {
        int n = send(s, bytes, length, 0);
        if (n > 0) {
            bytes += n;
            length -= n;
            continue;
        }
        return n == 0 ? WSAECONNRESET : WSAGetLastError();
    }
    return 0;
}

void SetSendTimeout(SOCKET s, int milliseconds)
{
    DWORD value = (DWORD)milliseconds;
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, (const char *)&value, sizeof value);
}

// Sets the entry's local date and time (seconds 0) on the file.
void KeepEntryTime(HANDLE file)
{
    SYSTEMTIME local = {};
    local.wYear = (WORD)CompleteYear(CurrentEntry.year);
    local.wMonth = CurrentEntry.month;
    local.wDay = CurrentEntry.day;
    local.wHour = CurrentEntry.hour;
    local.wMinute = CurrentEntry.minute;
    FILETIME localTime, utc;
    if (SystemTimeToFileTime(&local, &localTime) && LocalFileTimeToFileTime(&localTime, &utc))
        SetFileTime(file, &utc, &utc, &utc);
}

struct ReceiveOutcome {
    uint64_t total;
    int result;
    bool recvFailed;
    int error;
    bool ended;   // recv saw the end of the data
};

// The loop shared by both receive forms. `writable` is false when the local
// file could not be opened: the first block then fails as a write.
ReceiveOutcome ReceiveBlocks(SOCKET data, HANDLE file, bool writable, DWORD start)
{
    ReceiveOutcome out = {0, 0, false, 0, false};
    int block = EffectiveBlockSize(GlobalSettings.recvBlock, DEFAULT_RECEIVE_BLOCK);
    char *buffer = BlockBuffer(block);
    if (!buffer) {
        block = DEFAULT_RECEIVE_BLOCK;
        buffer = ReplyText;
    }
    Pump pump;
    SetNonBlocking(data, true);
    while (!CancelFlag) {
        int n = ReceiveSome(data, buffer, block, &out.error);
        if (n <= 0) {
            out.recvFailed = n < 0;
            out.ended = n == 0;
            break;
        }
        DWORD written = 0;
        if (!writable || !WriteFile(file, buffer, (DWORD)n, &written, nullptr) ||
            written != (DWORD)n) {
            LogFormat("! %s", LoadText(IDS_WRITE_ERROR));
            PlayEventSound(SOUND_OTHER_FAILURE);
            CancelFlag = TRUE;
            out.result = 0;
            break;
        }
        out.total += (uint64_t)n;
        out.result = 1;
        DWORD now = GetTickCount();
        ShowProgress(out.total, start, now, ExpectedSize);
        pump.Tick(now);
    }
    SetNonBlocking(data, false);
    return out;
}

// Steps common to both receive forms after the loop. Returns the result.
int FinishReceive(ReceiveOutcome out, SOCKET data, SOCKET control, DWORD start, bool openFailed)
{
    if (out.recvFailed) {
        ReportWinSockError(LoadText(IDS_RECEIVE_ERROR), out.error);
        if (out.total == 0) {
            LastReceive.failed = TRUE;
            DataSocketHeld = 0;
            PlayEventSound(SOUND_TRANSFER_FAILURE);
            InterlockedDecrement(&CommandBusy);
            ShowProgress(0, 0, 0, 0);
            CloseStatusDialog();
            return 0;
        }
        out.result = 2;
    }
    // The completion line waits for the completion reply (ReportReceived).
    LastReceive.bytes = out.total;
    LastReceive.startTick = start;
    LastReceive.endTick = GetTickCount();
    LastReceive.failed = CancelFlag || openFailed || out.result == 2;
    LastReceive.pending = TRUE;
    LastReceive.ended = out.ended && !CancelFlag;
    if (CancelFlag) {
        out.result = 2;
        // Drop the data connection first: a server blocked writing into a
        // full connection would not read the abort until its write fails.
        linger hard = {1, 0};
        setsockopt(data, SOL_SOCKET, SO_LINGER, (const char *)&hard, sizeof hard);
        closesocket(data);
        if (DataSocket == data)
            DataSocket = NO_SOCKET;
        DataSocketHeld = 0;
        // The cancel is acted on: the abort and its replies are read so the
        // channel stays in step.
        CancelFlag = FALSE;
        SendAbort(control);
    }
    DataSocketHeld = 0;
    InterlockedDecrement(&CommandBusy);
    ShowProgress(0, 0, 0, 0);
    CloseStatusDialog();
    return out.result;
}

// A binary transfer that ends cleanly with fewer bytes than its
// preliminary reply announced lost the rest: partial, never complete.
// (ASCII transfers change line ends, so their counts prove nothing.)
void CheckAnnouncedSize(ReceiveOutcome *out, uint64_t alreadyHeld)
{
    uint64_t announced = ParseAnnouncedSize(TransferDescription);
    if (out->result == 2 || announced == 0 || alreadyHeld + out->total >= announced)
        return;
    char got[32], expected[32];
    snprintf(got, sizeof got, "%" PRIu64, alreadyHeld + out->total);
    snprintf(expected, sizeof expected, "%" PRIu64, announced);
    LogFormat(LoadText(IDS_SHORT_TRANSFER), got, expected);
    PlayEventSound(SOUND_TRANSFER_FAILURE);
    out->result = 2;
}

void BeginReceive(void)
{
    LastReceive = ReceiveRecord{};
    InterlockedIncrement(&CommandBusy);
    DataSocketHeld = 1;
    if (MainWindow)
        StopBlockingTimer(MainWindow);
    OpenStatusDialog(2);
    ShowProgress(0, 0, 0, 0);
}

}  // namespace

ReceiveRecord LastReceive;

void ReportReceived(int replyClass)
{
    if (!LastReceive.pending)
        return;
    LastReceive.pending = FALSE;
    if (replyClass != 2)
        LastReceive.failed = TRUE;
    ReportCompletion(LoadText(IDS_RECEIVED), LastReceive.bytes, LastReceive.startTick,
                     LastReceive.endTick, LastReceive.failed);
}

// Bytes are written exactly as they arrive in every type; `binary` only
// decides whether the count is held against the announced size.
int ReceiveToFileLoop(SOCKET data, const char *localPath, BOOL binary, SOCKET control, BOOL append)
{
    if (data == NO_SOCKET || !Connected)
        return 0;
    BeginReceive();
    HANDLE file = CreateFileA(localPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool openFailed = file == INVALID_HANDLE_VALUE;
    if (openFailed) {
        LogFormat("! %s %s (%u)", LoadText(IDS_FAILED_TO_OPEN_FILE), localPath,
                  (unsigned)GetLastError());
        PlayEventSound(SOUND_OTHER_FAILURE);
    } else if (append) {
        LARGE_INTEGER zero = {};
        SetFilePointerEx(file, zero, nullptr, FILE_END);
    }
    DWORD start = GetTickCount();
    ReceiveOutcome out = ReceiveBlocks(data, file, !openFailed, start);
    if (binary && !out.recvFailed && !CancelFlag)
        CheckAnnouncedSize(&out, 0);
    if (!openFailed) {
        if (GlobalSettings.keepTimes && CurrentEntry.year && CurrentEntry.month &&
            CurrentEntry.day && !out.recvFailed && out.result == 1 && !CancelFlag)
            KeepEntryTime(file);
        CloseHandle(file);
    }
    ClearCurrentEntry();
    return FinishReceive(out, data, control, start, openFailed);
}

int ReceiveToHandleLoop(SOCKET data, HANDLE file, SOCKET control, uint64_t startOffset)
{
    if (data == NO_SOCKET || !Connected)
        return 0;
    BeginReceive();
    if (ExpectedSize > startOffset)
        ExpectedSize -= startOffset;
    DWORD start = GetTickCount();
    ReceiveOutcome out = ReceiveBlocks(data, file, file != INVALID_HANDLE_VALUE, start);
    if (!out.recvFailed && !CancelFlag)
        CheckAnnouncedSize(&out, startOffset);
    ClearCurrentEntry();
    int result = FinishReceive(out, data, control, start, false);
    // The restart driver reads its completion reply itself: this line
    // reports what the data did.
    ReportReceived(2);
    return result;
}

HANDLE OpenFileForSending(const char *localPath)
{
    HANDLE file = CreateFileA(localPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    char line[600];
    snprintf(line, sizeof line, "! %s %s (%u)", LoadText(IDS_FAILED_TO_OPEN_FILE), localPath,
             (unsigned)GetLastError());
    LogLine(line);
    PlayEventSound(SOUND_OTHER_FAILURE);
    if (Unattended && !CommandLineOptions.quiet)
        MessageText(MainWindow, line, MB_OK | MB_ICONEXCLAMATION);
    return INVALID_HANDLE_VALUE;
}

BOOL SendFileLoop(SOCKET data, const char *localPath, BOOL binary)
{
    (void)binary;   // the end-of-file rule follows the type announced
    LastSend = SendOutcome{0, GetTickCount(), GetTickCount()};
    if (data == NO_SOCKET || !Connected)
        return FALSE;
    HANDLE file = OpenFileForSending(localPath);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    InterlockedIncrement(&CommandBusy);
    DataSocketHeld = 1;
    BOOL noDelay = TRUE;
    setsockopt(data, IPPROTO_TCP, TCP_NODELAY, (const char *)&noDelay, sizeof noDelay);
    bool ascii = AnnouncedType == 'A';

    int written = snprintf(TransferDescription, sizeof TransferDescription,
                           LoadText(ascii ? IDS_SENDING_ASCII : IDS_SENDING_BINARY), localPath);
    LARGE_INTEGER size;
    size.QuadPart = -1;
    if (GetFileSizeEx(file, &size) && written > 0 && (size_t)written < sizeof TransferDescription) {
        char count[32];
        snprintf(count, sizeof count, "%" PRIu64, (uint64_t)size.QuadPart);
        snprintf(TransferDescription + written, sizeof TransferDescription - (size_t)written,
                 LoadText(IDS_SIZE_IN_BYTES), count);
    }
    OpenStatusDialog(1);
    ShowProgress(0, 0, 0, 0);

    int block = EffectiveBlockSize(GlobalSettings.sendBlock, DEFAULT_SEND_BLOCK);
    char *buffer = BlockBuffer(block);
    if (!buffer) {
        block = DEFAULT_SEND_BLOCK;
        buffer = ReplyText;
    }
    uint64_t total = 0, read = 0;
    DWORD start = GetTickCount();
    Pump pump;
    bool failed = false;
    SetSendTimeout(data, WaitLimitMs());
    while (!CancelFlag) {
        DWORD n = 0;
        if (!ReadFile(file, buffer, (DWORD)block, &n, nullptr)) {
            LogFormat("! %s %s (%u)", LoadText(IDS_READ_ERROR), localPath, (unsigned)GetLastError());
            PlayEventSound(SOUND_OTHER_FAILURE);
            failed = true;
            break;
        }
        if (n == 0)
            break;
        read += n;
        // The DOS end-of-file mark is dropped only from the file's last
        // block: a 0x1A inside the file is data.
        bool last = size.QuadPart >= 0 && read >= (uint64_t)size.QuadPart;
        int length = (int)SendableLength(buffer, n, ascii && last);
        int error = SendAllBytes(data, buffer, length);
        if (error != 0) {
            ReportWinSockError(LoadText(IDS_SEND_ERROR), error);
            failed = true;
            break;
        }
        total += (uint64_t)length;
        DWORD now = GetTickCount();
        ShowProgress(total, start, now, ExpectedSize);
        pump.Tick(now);
    }
    failed = failed || CancelFlag;
    SetSendTimeout(data, 0);
    CloseHandle(file);
    LastSend = SendOutcome{total, start, GetTickCount()};
    CloseStatusDialog();
    ShowProgress(0, 0, 0, 0);
    DataSocketHeld = 0;
    InterlockedDecrement(&CommandBusy);
    return !failed;
}
