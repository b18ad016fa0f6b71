// Connecting and logging on: opens the control connection for a site
// profile, reads the greeting, passes the firewall of the FIREWALL section
// when the profile uses one, logs on (asking for what the profile lacks)
// and sends the profile's initial commands.
//
// Contract:
//  - ConnectAndLogon returns the logged-on control socket, or NO_SOCKET
//    after logging why; it never stores the socket (the caller sets
//    ControlSocket). On success Connected is set.
//  - Everything that waits (name lookup, connect, replies, prompts) keeps
//    the window alive through the blocking hook and ends early when
//    CancelFlag is set.
//  - Prompts write their answers into the profile (userId, password,
//    account) so that a retry does not ask again; a typed firewall password
//    stays in FirewallPassword for the rest of the run.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <stdint.h>

#include "sites/site_profile.h"

extern char FirewallUser[80];
extern char FirewallPassword[112];
extern struct sockaddr_in LocalControlAddress;   // local end of the control connection
extern struct sockaddr_in ServerDataAddress;     // the server's address, port 20
extern int ServerVersion;                        // from a " VELTRO " greeting; 0 if none
extern uint32_t ServerChallenge;                 // its "(" number; 0 if none

// Resolves host (a dotted address is used as it is) and connects to each of
// its addresses in turn; returns the connected socket or NO_SOCKET.
SOCKET OpenControlSocket(const char *host, unsigned port);

// Connects and logs on with profile p (see the contract above).
SOCKET ConnectAndLogon(SiteProfile *p);
