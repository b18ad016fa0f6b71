// Remote folder and file commands on the control connection, and the
// detection of the server's host type after logon.
//
// Every primitive sends through FtpCommand and returns the class of the
// last reply (LastReplyCode / 100). The X-form of a command (XCWD, XPWD,
// XMKD, XRMD, XPSV) is sent once, and only when the standard form was
// answered with code 500 exactly.
//
// The host type is CurrentSession.hostType; the capabilities are those of
// the current connection (ServerCaps).
#pragma once
#include <winsock2.h>
#include <windows.h>

#include "ftp/remote_rules.h"

extern ServerCapabilities ServerCaps;

// "CDUP" first for ".." (when useCdup), then "CWD folder" with the 500
// fallback; a class-3 answer asks for the account ("Password required:")
// and sends "ACCT". An empty folder sends nothing and yields 2. A final
// class 5 plays the error sound.
int ChangeRemoteFolder(SOCKET s, const char *folder);
int PrintRemoteFolder(SOCKET s);                      // PWD / XPWD
int RequestPassive(SOCKET s);                         // PASV / XPSV
int MakeRemoteFolder(SOCKET s, const char *folder);   // MKD / XMKD
int RemoveRemoteFolder(SOCKET s, const char *folder); // RMD / XRMD
int DeleteRemoteFile(SOCKET s, const char *name);     // DELE
// "RNFR old" (must give class 3), then "RNTO new". Returns the last class.
int RenameRemote(SOCKET s, const char *from, const char *to);
// Sends "SITE text".
int SiteCommand(SOCKET s, const char *text);
// A typed command, sent as it stands.
int RawCommand(SOCKET s, const char *text);

// Runs the detection once per connection (SYST, or HELP for an unknown
// server), decides the capabilities and enables the remote buttons.
// Returns the last reply code read.
int DetectHostType(SOCKET s);

// Offers one reply line to the host-type library while the current host
// type is automatic; returns the current host type.
int DetectHostTypeFromReply(const char *line);
// The same for another profile record (the one a logon works with).
int DetectHostTypeForProfile(struct SiteProfile *profile, const char *line);

// Capabilities without a connection: the three button flags cleared,
// useCdup set.
void ResetServerCapabilities(void);
// Enables the remote make-folder, rename and delete buttons by the flags
// (rename and delete only with a selection in the remote list).
void UpdateRemoteButtons(void);

// Error sound for a failed remote or local action.
void PlayErrorSound(void);
