// Connect, disconnect, abort and cancel of the main window.
#include "ftp/session.h"

#include <stdio.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
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

void ConnectCommand(BOOL withLists)
{
    if (IsBusy())
        return;
    if (ControlSocket != NO_SOCKET) {
        Disconnect();
        return;
    }
    DiscardListingCache();
    AbortFlag = FALSE;
    ConnectRetryCount = (int)CurrentSession.retries;
    HCURSOR previous = SetCursor(WaitCursor ? WaitCursor : LoadCursor(nullptr, IDC_WAIT));

    SOCKET s = ConnectAndLogon(&CurrentSession);
    while (s == NO_SOCKET && ConnectRetryCount-- >= 1 && !AbortFlag) {
        RetryPause();
        if (AbortFlag)
            break;
        s = ConnectAndLogon(&CurrentSession);
    }
    if (ConnectRetryCount < 0)
        ConnectRetryCount = 0;

    if (s != NO_SOCKET) {
        ControlSocket = s;
        SetConnectButton(TRUE);
        if (CurrentSession.remoteFolder[0])
            ChangeRemoteFolder(ControlSocket, CurrentSession.remoteFolder);
        if (!ServerCaps.hostTypeChecked)
            DetectHostType(ControlSocket);
        if (withLists)
            RefreshRemote();
    }
    UpdateRemoteButtons();
    SetCursor(previous ? previous : ArrowCursor);
    if (MainWindow)
        PostMessageA(MainWindow, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
    PlayEventSound(s != NO_SOCKET ? SOUND_CONNECT_SUCCESS : SOUND_CONNECT_FAILURE);
    if (s != NO_SOCKET)
        OfferResume(CurrentSession.name);
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
    CloseDataConnections();
    if (ControlSocket != NO_SOCKET)
        FlushReply(ControlSocket);
}
