// Connect, disconnect, abort and cancel of the main window.
#include "ftp/session.h"

#include <stdio.h>

#include "app/app.h"
#include "app/config.h"
#include "app/dispatch.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "sites/session_sheet.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "transfer/decisions.h"
#include "transfer/sounds.h"

int ConnectRetryCount;
void (*RemoteListRefresher)(void);
void (*LocalListRefresher)(void);

static BOOL DisconnectGuard;

enum { RETRY_PAUSE_MS = 500 };

void SetConnectButton(BOOL connected)
{
    if (!MainWindow)
        return;
    if (HWND button = GetDlgItem(MainWindow, IDM_CONNECT))
        SetWindowTextA(button, LoadText(connected ? IDS_CLOSE_BUTTON : IDS_CONNECT_BUTTON));
}

static void RefreshRemote(void)
{
    if (RemoteListRefresher)
        RemoteListRefresher();
}

// Waits between two connect attempts with the window alive; returns early
// when the user aborts.
static void RetryPause(void)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= RETRY_PAUSE_MS || AbortFlag)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, RETRY_PAUSE_MS - elapsed, QS_ALLINPUT);
        for (int i = 0; i < 50 && BlockingHook(); i++) {
        }
    }
}

// Step 3 and 4 of a connect: the chosen profile becomes the session, its
// masks go into the mask fields, and the local side moves to its folder.
static void TakeChosenProfile(void)
{
    CurrentSession = WorkingSession;
    if (!MainWindow)
        return;
    SetDlgItemTextA(MainWindow, IDC_LOCAL_MASK, CurrentSession.localMask[0] ? CurrentSession.localMask : "*.*");
    SetDlgItemTextA(MainWindow, IDC_REMOTE_MASK, CurrentSession.remoteMask);
    GlobalSettings.remoteSort = ConfigGetInt("RSORT", 1);
    GlobalSettings.localSort = ConfigGetInt("LSORT", 1);
    if (GlobalSettings.retain)
        LoadFolderHistory(GetDlgItem(MainWindow, IDC_LOCAL_FOLDER_BOX), 0);
    if (CurrentSession.localFolder[0]) {
        const char *folder = lstrcmpiA(CurrentSession.localFolder, "origdir") == 0 ? StartFolder
                                                                                   : CurrentSession.localFolder;
        if (ChangeLocalFolder(folder))
            return;   // the refilled list; a failure is logged there
    }
    if (LocalListRefresher)
        LocalListRefresher();
}

// The connection itself, with the session as it stands: retries, then the
// remote folder, the host type and the lists.
static void ConnectSession(BOOL withLists, BOOL chosen)
{
    SOCKET s = NO_SOCKET;
    HCURSOR previous = nullptr;
    if (chosen) {
        AbortFlag = FALSE;
        previous = SetCursor(WaitCursor ? WaitCursor : LoadCursor(nullptr, IDC_WAIT));
        if (!CurrentSession.host[0]) {
            // Nothing to connect to: no prompt for an empty host.
            LogLine(LoadText(IDS_NO_HOST_GIVEN));
        } else {
            ConnectRetryCount = (int)CurrentSession.retries;
            s = ConnectAndLogon(&CurrentSession);
            while (s == NO_SOCKET && ConnectRetryCount-- >= 1 && !AbortFlag) {
                RetryPause();
                if (AbortFlag)
                    break;
                s = ConnectAndLogon(&CurrentSession);
            }
            if (ConnectRetryCount < 0)
                ConnectRetryCount = 0;
        }
    }
    if (s != NO_SOCKET) {
        ControlSocket = s;
        SetConnectButton(TRUE);
        if (CurrentSession.remoteFolder[0])
            ChangeRemoteFolder(ControlSocket, CurrentSession.remoteFolder);
        if (!ServerCaps.hostTypeChecked)
            DetectHostType(ControlSocket);
        if (withLists) {
            RefreshRemote();
            if (GlobalSettings.retain && MainWindow)
                LoadFolderHistory(GetDlgItem(MainWindow, IDC_REMOTE_FOLDER_BOX), 1);
        }
    }
    UpdateButtons();
    SetCursor(previous ? previous : ArrowCursor);
    if (MainWindow)
        PostMessageA(MainWindow, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
    PlayEventSound(s != NO_SOCKET ? SOUND_CONNECT_SUCCESS : SOUND_CONNECT_FAILURE);
    if (s != NO_SOCKET)
        OfferResume(CurrentSession.name);
}

// Both connect commands: nothing while busy, a disconnect while connected;
// otherwise the listing cache goes and the connect may go ahead.
static bool ReadyToConnect(void)
{
    if (IsBusy())
        return false;
    if (ControlSocket != NO_SOCKET) {
        Disconnect();
        return false;
    }
    DiscardListingCache();
    return true;
}

void ConnectCommand(BOOL withLists)
{
    if (!ReadyToConnect())
        return;
    ConnectSession(withLists, TRUE);
}

void SessionConnectCommand(BOOL withLists)
{
    if (!ReadyToConnect())
        return;
    BOOL chosen = ShowSessionSheet(MainWindow);
    if (chosen)
        TakeChosenProfile();
    ConnectSession(withLists, chosen);
}

static void SaveHistory(void)
{
    if (MainWindow)
        SaveFolderHistory(GetDlgItem(MainWindow, IDC_REMOTE_FOLDER_BOX),
                          GetDlgItem(MainWindow, IDC_LOCAL_FOLDER_BOX));
}

void CloseSessionConnections(BOOL stopWorker)
{
    if (stopWorker && IsBusy() && TerminateTransferWorker())
        LogFormat("! %s", LoadText(IDS_ABORTING_THREAD));
    CloseDataConnections();
    if (ControlSocket != NO_SOCKET) {
        FtpCommand(ControlSocket, "QUIT");
        ControlSocket = CloseGraceful(ControlSocket);
    }
    Connected = FALSE;
}

static void ResetWindowState(void)
{
    if (MainWindow)
        SetWindowTextA(MainWindow, AppTitle);
    SetConnectButton(FALSE);
    UpdateRemoteButtons();
}

void Disconnect(void)
{
    CancelFlag = TRUE;
    ConnectRetryCount = 0;
    if (!DisconnectGuard) {
        DisconnectGuard = TRUE;
        CloseSessionConnections(FALSE);
        DisconnectGuard = FALSE;
        SaveHistory();
        ResetWindowState();
        RefreshRemote();
        ResetServerCapabilities();
        UpdateRemoteButtons();
    }
    ResetWindowState();
    DiscardListingCache();
}

void AbortAndDisconnect(void)
{
    ConnectRetryCount = 0;
    AbortFlag = TRUE;
    if (DisconnectGuard)
        return;
    DisconnectGuard = TRUE;
    CloseSessionConnections(TRUE);
    SaveHistory();
    DisconnectGuard = FALSE;
    ResetServerCapabilities();
    ResetWindowState();
}

void DisconnectMenuCommand(void)
{
    if (CommandBusy > 0) {
        AbortAndDisconnect();
        RefreshRemote();
        return;
    }
    Disconnect();
}

void CancelCommand(void)
{
    ConnectRetryCount = 0;
    AbortFlag = TRUE;
    CancelFlag = TRUE;
    if (IsBlockingWait())
        CancelBlockingWait();
    // A transfer loop that runs under this command sees the flag after its
    // block, drops its data connection at once and aborts on the control
    // connection; an orderly close here would first drain what the server
    // still sends, and the replies belong to that loop.
    if (CommandBusy > 0 && DataSocket != NO_SOCKET)
        return;
    CloseDataConnections();
    if (ControlSocket != NO_SOCKET)
        FlushReply(ControlSocket);
}
