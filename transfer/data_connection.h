// Data connections: passive (PASV, or XPSV when PASV is unknown; connect to
// the address in the reply) and active (listen on a fresh port, announce it
// with PORT using the control connection's own local address, accept after
// the server's preliminary reply).
//
// Every failure is logged here, returns NO_SOCKET and leaves no socket open.
// Connect and accept wait through the control channel's wait layer, so the
// blocking-call timer and Cancel end them.
#pragma once
#include <winsock2.h>
#include <windows.h>

// Sends "PASV" (then "XPSV" after a 500); returns the reply class.
int PassiveCommand(SOCKET control);
// Passive command, address parsing, connect. The connected socket or NO_SOCKET.
SOCKET OpenPassiveData(SOCKET control);
// Socket, bind to any address and port 0, listen (backlog 1), "PORT". The
// listening socket or NO_SOCKET.
SOCKET OpenActiveListener(SOCKET control);
// Accepts the server's connection under the blocking-call timer; closes the
// listener either way. The data socket or NO_SOCKET.
SOCKET AcceptData(SOCKET listener);

// The mode choice every transfer makes: passive when the session asks for
// it and the passive attempt works (DataSocket set, returns 1), else active
// (ListenSocket set, returns 2); 0 when neither could be made (the
// transfer-failure sound has played).
int OpenDataConnection(SOCKET control);
