// Transfer speed under Wine: the engine's DownloadFile/UploadFile against a
// bare loop (recv + WriteFile, ReadFile + send) over the same passive data
// connection, at a given block size.
//
//   bench_transfer.exe engine|bare down|up port user password remote local block [buffer]
// buffer: the bare loop's socket buffer in bytes (default: the system's).
//
// Prints "RATE <MiB/s> BYTES <n> MS <ms>".
#include <winsock2.h>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

#include "app/settings.h"
#include "ftp/control.h"
#include "sites/site_profile.h"
#include "transfer/passive_reply.h"
#include "transfer/transfer.h"

static SOCKET LogOn(int port, const char *user, const char *password)
{
    SOCKET c = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons((u_short)port);
    if (connect(c, (sockaddr *)&a, sizeof a) != 0 || GetReply(c) != 2 ||
        FtpCommand(c, "USER %s", user) != 3 || FtpCommand(c, "PASS %s", password) != 2)
        return NO_SOCKET;
    return c;
}

// The bare loop: PASV, connect, the command, then only recv+WriteFile or
// ReadFile+send with a plain blocking socket and no send delay on uploads.
// Its socket keeps the system's default buffers unless `buffer` names a
// size: the platform's practical limit, or the cost of a given buffer.
static long long Bare(SOCKET c, bool down, const char *remote, const char *local, int block, int buffer)
{
    if (FtpCommand(c, "TYPE I") != 2 || FtpCommand(c, "PASV") != 2)
        return -1;
    PassiveAddress pa;
    if (ParsePassiveReply(ReplyText, &pa) != PASSIVE_OK)
        return -1;
    SOCKET d = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    memcpy(&a.sin_addr, pa.host, 4);
    a.sin_port = htons((u_short)pa.port);
    if (connect(d, (sockaddr *)&a, sizeof a) != 0)
        return -1;
    if (buffer > 0)
        setsockopt(d, SOL_SOCKET, down ? SO_RCVBUF : SO_SNDBUF, (const char *)&buffer, sizeof buffer);
    if (!down) {
        BOOL noDelay = TRUE;
        setsockopt(d, IPPROTO_TCP, TCP_NODELAY, (const char *)&noDelay, sizeof noDelay);
    }
    if (FtpCommand(c, "%s %s", down ? "RETR" : "STOR", remote) != 1)
        return -1;
    char *bytes = (char *)malloc((size_t)block);
    long long total = 0;
    HANDLE f = down ? CreateFileA(local, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr)
                    : CreateFileA(local, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return -1;
    for (;;) {
        DWORD n = 0;
        if (down) {
            int r = recv(d, bytes, block, 0);
            if (r <= 0)
                break;
            WriteFile(f, bytes, (DWORD)r, &n, nullptr);
            total += r;
        } else {
            if (!ReadFile(f, bytes, (DWORD)block, &n, nullptr) || n == 0)
                break;
            for (DWORD sent = 0; sent < n;) {
                int r = send(d, bytes + sent, (int)(n - sent), 0);
                if (r <= 0)
                    return -1;
                sent += (DWORD)r;
            }
            total += n;
        }
    }
    CloseHandle(f);
    free(bytes);
    shutdown(d, SD_SEND);
    closesocket(d);
    return GetReply(c) == 2 ? total : -1;
}

int main(int argc, char **argv)
{
    if (argc != 9 && argc != 10) {
        fprintf(stderr, "usage: bench_transfer engine|bare down|up port user password remote local block [buffer]\n");
        return 2;
    }
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    bool engine = strcmp(argv[1], "engine") == 0;
    bool down = strcmp(argv[2], "down") == 0;
    int block = atoi(argv[8]);
    ReplyTimeout = 60;
    CurrentSession.timeout = 60;
    CurrentSession.passive = 1;
    CurrentSession.serverFlags = 0;
    GlobalSettings.hash = 0;
    GlobalSettings.keepTimes = 0;
    GlobalSettings.recvBlock = block;
    GlobalSettings.sendBlock = block;
    SOCKET c = LogOn(atoi(argv[3]), argv[4], argv[5]);
    if (c == NO_SOCKET) {
        fprintf(stderr, "log on failed\n");
        return 1;
    }
    Connected = TRUE;
    AnnouncedType = 'A';
    if (engine && FtpCommand(c, "TYPE I") == 2)
        AnnouncedType = 'I';
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long long bytes = 0;
    if (engine) {
        std::string command = std::string(down ? "RETR " : "STOR ") + argv[6];
        char text[512];
        snprintf(text, sizeof text, "%s", command.c_str());
        int result = down ? DownloadFile(c, text, argv[7], 'I', FALSE)
                          : UploadFile(c, text, argv[7], 'I', FALSE);
        if (result != 2) {
            fprintf(stderr, "transfer failed: %d (%s)\n", result, LastCompletionLine);
            return 1;
        }
        const char *count = strchr(LastCompletionLine, ' ');
        bytes = count ? atoll(count + 1) : 0;
    } else {
        bytes = Bare(c, down, argv[6], argv[7], block, argc > 9 ? atoi(argv[9]) : 0);
        if (bytes < 0) {
            fprintf(stderr, "bare transfer failed\n");
            return 1;
        }
    }
    QueryPerformanceCounter(&end);
    double ms = (double)(end.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart;
    printf("RATE %.1f BYTES %lld MS %.0f\n", (double)bytes / 1048576.0 / (ms / 1000.0), bytes, ms);
    FtpCommand(c, "QUIT");
    closesocket(c);
    return 0;
}
