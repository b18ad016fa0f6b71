// The two per-file drivers: type, data connection, transfer command, loop,
// completion reply, file time.
#include "transfer/transfer.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/ascii_names.h"
#include "transfer/data_connection.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "transfer/transfer_text.h"

char AnnouncedType = 'A';
int ReceiveResult;
uint64_t ExpectedSize;
char TransferDescription[DESCRIPTION_SIZE];
EntryRecord CurrentEntry;

namespace {

enum { HOST_TYPE_QUOTED_NAMES = 6024, MDTM_ALLOWED = 2 };

// The part of a path after its last "\" or "/".
const char *NamePart(const char *path)
{
    const char *name = path;
    for (const char *p = path; *p; p++) {
        if (*p == '\\' || *p == '/')
            name = p + 1;
    }
    return name;
}

// Refuses to start without a connection or while another command runs;
// `turn` is the channel's turn taken for the whole transfer.
bool MayStart(SOCKET control, const ChannelTurn &turn)
{
    if (control == NO_SOCKET) {
        LogFormat("! %s", LoadText(IDS_NOT_CONNECTED));
        return false;
    }
    if (!turn.held || CommandBusy > 0 || CommandLock) {
        LogFormat("! %s", LoadText(IDS_COMMAND_IN_PROGRESS));
        return false;
    }
    return true;
}


// Closes a download's data connection: one the server has already closed
// has nothing left to drain.
SOCKET CloseData(SOCKET s)
{
    if (s == NO_SOCKET || !LastReceive.ended)
        return CloseQuiet(s);
    shutdown(s, SD_SEND);
    closesocket(s);
    return NO_SOCKET;
}

void CopyDescription(void)
{
    snprintf(TransferDescription, sizeof TransferDescription, "%s", ReplyText);
}

// After an upload: tell the server the local file's modification time
// while it accepts MDTM; a refusal stops it for the rest of the session.
void SendFileTime(SOCKET control, const char *command, const char *localPath)
{
    if (!(CurrentSession.serverFlags & MDTM_ALLOWED) || !GlobalSettings.keepTimes)
        return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME t;
    if (!GetFileAttributesExA(localPath, GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &t))
        return;
    char text[REPLY_TEXT_SIZE];
    FormatMdtmCommand(text, sizeof text, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                      t.wSecond, strlen(command) > 5 ? command + 5 : "");
    if (FtpCommandText(control, text) != 2)
        CurrentSession.serverFlags &= ~(uint32_t)MDTM_ALLOWED;
}

}  // namespace

// Socket buffers of the data connection follow the block size
// (DataBufferBytes): measured under Wine on loopback, a 16384-byte buffer
// caps 65536-byte blocks at a third of the bare loop's rate (uploads far
// worse), while four blocks or the system's own tuned buffer reach it.
void SetDataBuffer(SOCKET s, int option, int blockSize)
{
    int system = 0;
    int size = sizeof system;
    if (getsockopt(s, SOL_SOCKET, option, (char *)&system, &size) != 0)
        system = 0;
    int bytes = DataBufferBytes(blockSize, system);
    if (bytes > 0)
        setsockopt(s, SOL_SOCKET, option, (const char *)&bytes, sizeof bytes);
}

void ClearCurrentEntry(void)
{
    memset(&CurrentEntry, 0, sizeof CurrentEntry);
}

int ChooseType(const char *name, int type)
{
    if (!GlobalSettings.autoMode)
        return type;
    type = IsAsciiFileName(name, ExtPath) ? 'A' : 'I';
    GlobalSettings.mode = type;
    if (MainWindow)
        PostMessageA(MainWindow, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
    return type;
}

void AnnounceType(SOCKET control, int type)
{
    if (type == AnnouncedType)
        return;
    if (type == 'L')
        FtpCommand(control, "TYPE L 8");
    else
        FtpCommand(control, "TYPE %c", type);
    AnnouncedType = (char)type;
}

int UploadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append)
{
    (void)append;   // the verb ("APPE") already says it
    ChannelTurn turn;
    if (!MayStart(control, turn))
        return 0;
    // Nothing reaches the server before the local file is known to open:
    // a STOR without data would replace the remote file with an empty one.
    HANDLE probe = OpenFileForSending(localPath);
    if (probe == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(probe);
    type = ChooseType(NamePart(localPath), type);
    AnnounceType(control, type);
    bool unique = GlobalSettings.storeUnique && strncmp(command, "STOR", 4) == 0;
    if (unique)
        memcpy(command, "STOU", 4);

    int mode = CancelFlag ? 0 : OpenDataConnection(control);
    if (mode == 0)
        return 0;
    if (mode == 1)
        SetDataBuffer(DataSocket, SO_SNDBUF, GlobalSettings.sendBlock);
    int result = FtpCommandText(control, command);
    if (result == 5 && LastReplyCode == 500 && unique) {
        memcpy(command, "STOR", 4);
        result = FtpCommandText(control, command);
    }

    BOOL sent = FALSE;
    bool looped = false;
    if (mode == 1) {
        if (result == 5) {
            DataSocket = CloseQuiet(DataSocket);
            return 5;
        }
        looped = result == 1;
        if (looped)
            sent = SendFileLoop(DataSocket, localPath, type != 'A');
        DataSocket = CloseQuiet(DataSocket);
    } else {
        if (result != 1) {
            ListenSocket = CloseGraceful(ListenSocket);
            PlayEventSound(SOUND_TRANSFER_FAILURE);
            return 0;
        }
        DataSocket = AcceptData(ListenSocket);
        looped = DataSocket != NO_SOCKET;
        if (looped) {
            SetDataBuffer(DataSocket, SO_SNDBUF, GlobalSettings.sendBlock);
            sent = SendFileLoop(DataSocket, localPath, type != 'A');
            DataSocket = CloseQuiet(DataSocket);
        }
    }
    if (result == 1 && !looped && CancelFlag)
        return 0;   // the final reply stays owed to the next command
    if (result == 1) {
        // The send loop has acted on any cancel; the server's verdict is
        // read so the channel stays in step, but a file that did not go out
        // whole is a failure whatever the server says.
        CancelFlag = FALSE;
        result = GetReply(control);
        if (!sent && result == 2)
            result = 4;
        ReportCompletion(LoadText(IDS_TRANSMITTED), LastSend.bytes, LastSend.startTick,
                         LastSend.endTick, result != 2);
    }
    if (mode == 2 && !sent)
        return 0;
    if (result == 2)
        SendFileTime(control, command, localPath);
    return result;
}

int DownloadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append)
{
    ReceiveResult = 0;
    LastReceive = ReceiveRecord{};
    ChannelTurn turn;
    if (!MayStart(control, turn))
        return 0;
    type = ChooseType(command, type);
    AnnounceType(control, type);
    BOOL binary = type == 'I';
    ExpectedSize = 0;

    int mode = CancelFlag ? 0 : OpenDataConnection(control);
    if (mode == 0)
        return 0;
    if (mode == 1) {
        SetDataBuffer(DataSocket, SO_RCVBUF, GlobalSettings.recvBlock);
        int result = FtpCommandText(control, command);
        if (result == 1) {
            CopyDescription();
            ReceiveResult = ReceiveToFileLoop(DataSocket, localPath, binary, control, append);
        }
        DataSocket = CloseData(DataSocket);
        if (result == 5 && CurrentEntry.kind == 2) {
            ReceiveResult = 5;
            return 5;
        }
        if (result == 1) {
            LogFormat(LoadText(IDS_LOOKING_FOR_COMPLETION), (unsigned)control);
            result = GetReply(control);
            ReportReceived(result);
        }
        return result;
    }

    int result = FtpCommandText(control, command);
    if (LastReplyCode == 550 && CurrentSession.hostType == HOST_TYPE_QUOTED_NAMES) {
        char quoted[REPLY_TEXT_SIZE];
        QuoteCommandArgument(quoted, sizeof quoted, command);
        result = FtpCommandText(control, quoted);
    }
    if (result == 5 && CurrentEntry.kind == 2) {
        ReceiveResult = 5;
        ListenSocket = CloseGraceful(ListenSocket);
        return 5;
    }
    if (result != 1) {
        ListenSocket = CloseGraceful(ListenSocket);
        PlayEventSound(SOUND_TRANSFER_FAILURE);
        return 0;
    }
    CopyDescription();
    DataSocket = AcceptData(ListenSocket);
    if (DataSocket == NO_SOCKET) {
        // The server answers the failed connection (425): read it now, or
        // leave it owed when cancelled, so the next command gets its own.
        if (!CancelFlag)
            GetReply(control);
        return 0;
    }
    SetDataBuffer(DataSocket, SO_RCVBUF, GlobalSettings.recvBlock);
    ReceiveResult = ReceiveToFileLoop(DataSocket, localPath, binary, control, append);
    DataSocket = CloseData(DataSocket);
    LogFormat(LoadText(IDS_LOOKING_FOR_COMPLETION), (unsigned)control);
    int final = GetReply(control);
    ReportReceived(final);
    return final;
}
