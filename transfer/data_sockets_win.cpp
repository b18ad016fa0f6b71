#include "transfer/data_sockets.h"

#include "app/app.h"
#include "ftp/control.h"

SOCKET DataSocket = NO_SOCKET;
SOCKET ListenSocket = NO_SOCKET;
HANDLE TransferThread;
static BOOL Busy;

void CloseDataConnections(void)
{
    if (DataSocket != NO_SOCKET)
        DataSocket = CloseGraceful(DataSocket);
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
        TerminateThread(TransferThread, 1);
        CloseHandle(TransferThread);
        TransferThread = nullptr;
    }
    SetBusy(FALSE);
    return TRUE;
}
