// The session commands of the main window: connect (with retries),
// disconnect, the abort-and-disconnect path, and cancel.
//
// Connect uses the current session's profile (CurrentSession). A failed
// connect is tried again, 500 ms later, as long as the retry count (the
// profile's `retries`) lasts and AbortFlag is clear; Cancel sets the count
// to 0 and AbortFlag, so no further attempt starts.
#pragma once
#include <windows.h>

extern int ConnectRetryCount;      // remaining connect attempts

// The list refreshes run after a connect, a disconnect and a remote or
// local change. The listing code installs them; while none is installed
// the lists are left as they are.
extern void (*RemoteListRefresher)(void);
extern void (*LocalListRefresher)(void);

// 9000 and 1320: connect, or disconnect when connected. The session sheet
// comes first; when it ends with OK its profile becomes the session (masks,
// local folder) and is connected; Cancel connects nothing. withLists is
// TRUE for 9000 (the remote list is read after logon).
void SessionConnectCommand(BOOL withLists);
// The same without the sheet: connects the current session as it stands.
void ConnectCommand(BOOL withLists);
// 1321: disconnect; while a command is outstanding, abort first.
void DisconnectMenuCommand(void);
// Ends the session's connections, the one close path of disconnect, abort
// and shutdown: with stopWorker a running transfer worker is terminated
// first ("Aborting thread" logged); then the data connections are closed,
// "QUIT" is sent and the control connection is closed gracefully, and the
// session is marked as not connected.
void CloseSessionConnections(BOOL stopWorker);
// Disconnect: "QUIT", close the control connection, reset the session
// state and the remote buttons. A nested call does nothing.
void Disconnect(void);
// The abort path for Close, Exit and window closing while a command
// waits: stops retries and the batch worker, closes the connections.
void AbortAndDisconnect(void);
// 9033: stops the blocking operation, the retries and the data connections.
void CancelCommand(void);
// Sets the caption of the connect button ("&Connect" / "&Close").
void SetConnectButton(BOOL connected);
