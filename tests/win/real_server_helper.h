// The real FTP servers that tests/servers/with-servers.sh starts for test_srv_*
// programs (vsftpd and pyftpdlib on 127.0.0.1), as a test under Wine sees
// them: ports and home folders from the environment, a profile for the
// test account, and a logon through the command sender.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "sites/site_profile.h"

struct RealServer {
    const char *name;           // "vsftpd" or "pyftpdlib"
    const char *portVariable;
    const char *rootVariable;
};
extern const RealServer RealServers[2];

// An environment variable, "" when unset.
std::string Env(const char *name);
// True when the servers run (false: the test should skip).
bool RealServersRunning(void);
// A file or folder in the server's writable home, as a Windows path.
std::string ServerFile(const RealServer &s, const std::string &name);
// The site profile of the test account on the server.
SiteProfile RealServerProfile(const RealServer &s);
// Connects and logs on with USER and PASS; NO_SOCKET on failure.
SOCKET LogOnTo(const RealServer &s);
