#include "transfer/data_sockets.h"

#include "app/app.h"
#include "ftp/control.h"

SOCKET DataSocket = NO_SOCKET;
SOCKET ListenSocket = NO_SOCKET;
volatile LONG DataSocketHeld;
HANDLE TransferThread;
static BOOL Busy;

// How long a worker asked to stop may take before it is terminated.
static const DWORD WORKER_STOP_MS = 5000;

void CloseDataConnections(void)
{
    if (DataSocket != NO_SOCKET && DataSocketHeld) {
        shutdown(DataSocket, SD_BOTH);
        CancelFlag = TRUE;
    } else if (DataSocket != NO_SOCKET) {
        DataSocket = CloseGraceful(DataSocket);
    }
    if (ListenSocket != NO_SOCKET)
        ListenSocket = CloseGraceful(ListenSocket);
}

BOOL IsBusy(void)
{
    if (!TransferLockValid)
        return Busy;
    EnterCriticalSection(&TransferLock);
    BOOL busy = Busy;
    LeaveCriticalSection(&TransferLock);
    return busy;
}

void SetBusy(BOOL busy)
{
    if (!TransferLockValid) {
        Busy = busy;
        return;
    }
    EnterCriticalSection(&TransferLock);
    Busy = busy;
    LeaveCriticalSection(&TransferLock);
}

BOOL TerminateTransferWorker(void)
{
    if (!IsBusy())
        return FALSE;
    if (TransferThread) {
        AbortFlag = TRUE;
        CancelFlag = TRUE;
        CancelBlockingWait();
        DWORD start = GetTickCount();
        while (WaitForSingleObject(TransferThread, 0) == WAIT_TIMEOUT &&
               GetTickCount() - start < WORKER_STOP_MS) {
            // The worker may be sending to this thread's windows.
            MsgWaitForMultipleObjects(1, &TransferThread, FALSE, 20, QS_SENDMESSAGE);
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        if (WaitForSingleObject(TransferThread, 0) == WAIT_TIMEOUT) {
            TerminateThread(TransferThread, 1);
            ResetChannelTurn();
            DataSocketHeld = 0;
        }
        CloseHandle(TransferThread);
        TransferThread = nullptr;
    }
    SetBusy(FALSE);
    return TRUE;
}
