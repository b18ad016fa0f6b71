// The two data-connection sockets of the session (the connected data
// socket and the listening socket of an active connection) and the
// transfer worker's busy state, shared by the transfer code, the command
// dispatch and the shutdown.
#pragma once
#include <winsock2.h>
#include <windows.h>

extern SOCKET DataSocket;     // the open data connection, or NO_SOCKET
extern SOCKET ListenSocket;   // listening for an active connection, or NO_SOCKET

// Set while a send or receive loop works on DataSocket: the loop then owns
// the socket and alone closes it.
extern volatile LONG DataSocketHeld;

// Closes both data sockets that are open (orderly, with error reports). A
// data socket a loop holds is only shut down, with a cancel request: the
// loop ends and closes it itself, so no socket is closed twice.
void CloseDataConnections(void);

// The batch busy flag, read and written under TransferLock.
BOOL IsBusy(void);
void SetBusy(BOOL busy);
extern HANDLE TransferThread;  // the running batch worker, or none
// Stops a running worker: asks it to stop (AbortFlag, CancelFlag, the
// socket waits end) and waits for it a bounded time while delivering
// messages; only a worker that does not end is terminated (exit code 1).
// Clears the busy flag. Returns whether one was running.
BOOL TerminateTransferWorker(void);
