// Restart information of binary downloads, the resume offer after a
// connect, and the restart download with "REST".
#include "transfer/decisions.h"

#include <inttypes.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/remote_rules.h"
#include "ftp/session.h"
#include "transfer/local_name.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/data_connection.h"
#include "transfer/data_sockets.h"
#include "transfer/decision_rules.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "transfer/transfer_log.h"
#include "transfer/transfer_text.h"

namespace {

enum { KEY_VALUE_SIZE = 256, HOST_TYPE_QUOTED_NAMES = 6024 };

const char *const RestartKeys[5] = {"REGETRDIR", "REGETRFILE", "REGETLDIR", "REGETLFILE",
                                    "REGETTIME"};

void RescanLocal(void)
{
    if (LocalListRefresher)
        LocalListRefresher();
}

// Closes the handle when the offer ends, however it ends.
struct FileHandle {
    HANDLE h = INVALID_HANDLE_VALUE;
    ~FileHandle()
    {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
};

bool SeekTo(HANDLE file, uint64_t offset)
{
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// Runs the receive after a preliminary reply; returns the completion class
// or 0 when the active connection could not be accepted.
int ReceiveRest(SOCKET control, HANDLE file, int mode, uint64_t offset)
{
    snprintf(TransferDescription, sizeof TransferDescription, "%s", ReplyText);
    if (mode == 2) {
        DataSocket = AcceptData(ListenSocket);
        ListenSocket = NO_SOCKET;
        if (DataSocket == NO_SOCKET)
            return 0;
        SetDataBuffer(DataSocket, SO_RCVBUF, GlobalSettings.recvBlock);
    }
    ReceiveResult = ReceiveToHandleLoop(DataSocket, file, control, offset);
    PlayEventSound(SOUND_TRANSFER_SUCCESS);
    DataSocket = CloseQuiet(DataSocket);
    LogFormat(LoadText(IDS_LOOKING_FOR_COMPLETION), (unsigned)control);
    return GetReply(control);
}

}  // namespace

void SaveRestartInfo(const char *profile, const char *remoteFolder, const char *remoteFile,
                     const char *localFile)
{
    if (!profile[0])
        return;   // no site section to keep it in
    if (GlobalSettings.keepReget)
        LogFormat(LoadText(IDS_SAVING_RESTART_INFO), profile, remoteFile);
    // A local path with a folder part keeps that folder; a bare name lives
    // in the current folder.
    const char *localName = LastPathPart(localFile);
    char localFolder[KEY_VALUE_SIZE] = "";
    if (localName != localFile) {
        snprintf(localFolder, sizeof localFolder, "%.*s", (int)(localName - localFile), localFile);
    } else {
        DWORD n = GetCurrentDirectoryA(sizeof localFolder, localFolder);
        if (n == 0 || n >= sizeof localFolder)
            localFolder[0] = '\0';
    }
    char when[24];
    snprintf(when, sizeof when, "%lu", (unsigned long)time(nullptr));
    const char *values[5] = {remoteFolder, remoteFile, localFolder, localName, when};
    ProfilePutStrings(profile, RestartKeys, values, 5);
}

void ClearRestartInfo(const char *profile)
{
    char file[KEY_VALUE_SIZE];
    ProfileGetString(profile, "REGETRFILE", "", file, sizeof file);
    if (!file[0])
        return;
    const char *const none[5] = {};
    ProfilePutStrings(profile, RestartKeys, none, 5);
}

int RestartDownload(SOCKET control, HANDLE file, const char *remoteFolder, const char *remoteFile,
                    uint64_t offset)
{
    ReceiveResult = 0;
    GlobalSettings.mode = 'I';
    if (MainWindow)
        PostMessageA(MainWindow, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
    AnnounceType(control, 'I');
    ExpectedSize = 0;

    int mode = OpenDataConnection(control);
    if (mode == 0)
        return 0;
    if (FtpCommand(control, "REST %" PRIu64, offset) != 3) {
        SeekTo(file, 0);
        offset = 0;
        LogLine(LoadText(IDS_RESUME_STARTING_OVER));
    }
    char path[REPLY_TEXT_SIZE];
    BuildRemotePath(CurrentSession.hostType, remoteFolder, remoteFile, path, sizeof path);
    char command[REPLY_TEXT_SIZE + 8];
    snprintf(command, sizeof command, "RETR %s", path);
    if (mode == 1)
        SetDataBuffer(DataSocket, SO_RCVBUF, GlobalSettings.recvBlock);
    int result = FtpCommandText(control, command);
    if (mode == 2 && LastReplyCode == 550 && CurrentSession.hostType == HOST_TYPE_QUOTED_NAMES) {
        char quoted[sizeof command];
        QuoteCommandArgument(quoted, sizeof quoted, command);
        result = FtpCommandText(control, quoted);
    }
    if (result == 1)
        return ReceiveRest(control, file, mode, offset);
    // Refused: the reply just read is the last one (waiting for another
    // would only run into the time-out).
    if (mode == 1) {
        DataSocket = CloseQuiet(DataSocket);
        return result;
    }
    ListenSocket = CloseGraceful(ListenSocket);
    PlayEventSound(SOUND_TRANSFER_FAILURE);
    return 0;
}

void OfferResume(const char *profile)
{
    if (!GlobalSettings.keepReget)
        return;
    if (ControlSocket == NO_SOCKET) {
        LogFormat("! %s", LoadText(IDS_NOT_CONNECTED));
        return;
    }
    if (CommandBusy > 0 || CommandLock) {
        LogFormat("! %s", LoadText(IDS_COMMAND_IN_PROGRESS));
        return;
    }
    char values[4][KEY_VALUE_SIZE];
    for (int i = 0; i < 4; i++) {
        ProfileGetString(profile, RestartKeys[i], "", values[i], KEY_VALUE_SIZE);
        if (!values[i][0])
            return;
    }
    const char *remoteFolder = values[0], *remoteFile = values[1];
    const char *localFolder = values[2], *localFile = values[3];

    char shownFolder[KEY_VALUE_SIZE];
    snprintf(shownFolder, sizeof shownFolder, "%s", localFolder);
    size_t folderLength = strlen(shownFolder);
    if (folderLength > 0 && shownFolder[folderLength - 1] == '\\')
        shownFolder[folderLength - 1] = '\0';
    char remotePath[REPLY_TEXT_SIZE];
    BuildRemotePath(CurrentSession.hostType, remoteFolder, remoteFile, remotePath, sizeof remotePath);
    char question[1200];
    snprintf(question, sizeof question, "%s%s\n-->\n  %s\\%s", LoadText(IDS_ASK_RESUME), remotePath,
             shownFolder, localFile);
    if (MessageText(MainWindow, question, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        ClearRestartInfo(profile);
        return;
    }

    ClearCurrentEntry();
    // A folder that is gone counts as a file that cannot be opened: a file
    // of the same name elsewhere is never written.
    bool inFolder = SetCurrentDirectoryA(localFolder) != 0;
    RescanLocal();
    FileHandle file;
    if (inFolder)
        file.h = CreateFileA(localFile, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file.h == INVALID_HANDLE_VALUE) {
        if (MessageText(MainWindow, LoadText(IDS_ASK_LOCAL_DELETED), MB_YESNO | MB_ICONQUESTION) ==
            IDYES) {
            ClearRestartInfo(profile);
            MessageText(MainWindow, LoadText(IDS_RETRIEVE_AGAIN), MB_OK | MB_ICONINFORMATION);
        } else {
            MessageText(MainWindow, LoadText(IDS_LOCAL_FILE_LOCKED), MB_OK | MB_ICONEXCLAMATION);
        }
        return;
    }
    LARGE_INTEGER size;
    uint64_t offset = GetFileSizeEx(file.h, &size) ? RestartOffset((uint64_t)size.QuadPart) : 0;
    if (!SeekTo(file.h, offset)) {
        MessageText(MainWindow, LoadText(IDS_FILE_POINTER_FAILED), MB_OK | MB_ICONSTOP);
        return;
    }
    if (RestartDownload(ControlSocket, file.h, remoteFolder, remoteFile, offset) == 0)
        LogFormat("! %s", LoadText(IDS_REGET_FAILED));
    // The file ends where the server's data ended, also after a restart
    // from byte 0 over a longer partial file, so that a later offer starts
    // from what really arrived.
    if (ReceiveResult == 1 || ReceiveResult == 2)
        SetEndOfFile(file.h);
    if (ReceiveResult == 1)
        WriteTransferLog(LOG_DOWNLOAD, localFile, profile, remoteFolder, remoteFile);
    if (ReceiveResult == 2)
        SaveRestartInfo(profile, remoteFolder, remoteFile, localFile);
    else
        ClearRestartInfo(profile);
    Sleep(100);
    RescanLocal();
}
