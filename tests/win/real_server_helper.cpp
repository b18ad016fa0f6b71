#include "real_server_helper.h"

#include <stdio.h>
#include <stdlib.h>

#include "ftp/control.h"
#include "transfer/transfer.h"
#include "veltro_process_helper.h"

const RealServer RealServers[2] = {
    {"vsftpd", "VELTRO_VSFTPD_PORT", "VELTRO_VSFTPD_ROOT"},
    {"pyftpdlib", "VELTRO_PYFTPD_PORT", "VELTRO_PYFTPD_ROOT"},
};

std::string Env(const char *name)
{
    const char *value = getenv(name);
    return value ? value : "";
}

bool RealServersRunning(void)
{
    return !Env("VELTRO_VSFTPD_PORT").empty() && !Env("VELTRO_PYFTPD_PORT").empty();
}

std::string ServerFile(const RealServer &s, const std::string &name)
{
    return WindowsPath(Env(s.rootVariable) + "/" + name);
}

SiteProfile RealServerProfile(const RealServer &s)
{
    SiteProfile p{};
    snprintf(p.name, sizeof p.name, "%s", s.name);
    snprintf(p.host, sizeof p.host, "127.0.0.1");
    snprintf(p.userId, sizeof p.userId, "%s", Env("VELTRO_FTP_USER").c_str());
    snprintf(p.password, sizeof p.password, "%s", Env("VELTRO_FTP_PASS").c_str());
    p.port = (uint32_t)atoi(Env(s.portVariable).c_str());
    p.timeout = 10;
    p.hostType = 6000;
    return p;
}

SOCKET LogOnTo(const RealServer &s)
{
    SiteProfile p = RealServerProfile(s);
    SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons((u_short)p.port);
    if (p.port == 0 || connect(c, (sockaddr *)&a, sizeof a) != 0 || GetReply(c) != 2 ||
        FtpCommand(c, "USER %s", p.userId) != 3 || FtpCommand(c, "PASS %s", p.password) != 2) {
        closesocket(c);
        return NO_SOCKET;
    }
    AnnouncedType = 'A';   // a new session
    return c;
}
