// The two data-connection sockets of the session (the connected data
// socket and the listening socket of an active connection) and the
// transfer worker's busy state, shared by the transfer code, the command
// dispatch and the shutdown.
#pragma once
#include <winsock2.h>
#include <windows.h>

extern SOCKET DataSocket;     // the open data connection, or NO_SOCKET
extern SOCKET ListenSocket;   // listening for an active connection, or NO_SOCKET

// Closes both data sockets that are open (orderly, with error reports).
void CloseDataConnections(void);

// The batch busy flag, read and written under TransferLock.
BOOL IsBusy(void);
void SetBusy(BOOL busy);
extern HANDLE TransferThread;  // the running batch worker, or none
// Ends a running worker with exit code 1 and clears the busy flag.
// Returns whether one was running.
BOOL TerminateTransferWorker(void);
