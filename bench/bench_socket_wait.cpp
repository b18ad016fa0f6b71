// What the socket wait layer costs per block: a loopback stream read with
// plain recv, then with RecvTimed (the transfer loops' call), then with
// RecvTimed while a blocking hook is installed and a window has queued
// messages now and then. Prints MB/s and microseconds per receive.
//   bench_socket_wait.exe [megabytes] [block]
#include <stdio.h>
#include <stdlib.h>

#include <initializer_list>

#include "ftp/control.h"

namespace {

struct Feed {
    SOCKET s;
    long long bytes;
};

DWORD WINAPI Sender(void *arg)
{
    Feed *feed = (Feed *)arg;
    static char block[65536];
    long long left = feed->bytes;
    while (left > 0) {
        int n = send(feed->s, block, (int)(left < (long long)sizeof block ? left : sizeof block), 0);
        if (n <= 0)
            break;
        left -= n;
    }
    shutdown(feed->s, SD_SEND);
    return 0;
}

BOOL CALLBACK Hook(void)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return FALSE;
    DispatchMessageA(&msg);
    return TRUE;
}

bool Pair(SOCKET *reader, SOCKET *writer)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(listener, (sockaddr *)&address, sizeof address) != 0 || listen(listener, 1) != 0)
        return false;
    getsockname(listener, (sockaddr *)&address, &size);
    *reader = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (connect(*reader, (sockaddr *)&address, sizeof address) != 0)
        return false;
    *writer = accept(listener, nullptr, nullptr);
    closesocket(listener);
    return *writer != INVALID_SOCKET;
}

enum Mode { PLAIN, TIMED, TIMED_WITH_HOOK };

void Run(Mode mode, long long bytes, int block)
{
    SOCKET reader, writer;
    if (!Pair(&reader, &writer)) {
        printf("cannot make a loopback pair\n");
        return;
    }
    HWND window = nullptr;
    if (mode == TIMED_WITH_HOOK) {
        window = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetThreadBlockingHook(Hook);
        SetTimer(window, 1, 10, nullptr);   // a steady trickle of messages
    }
    Feed feed = {writer, bytes};
    HANDLE thread = CreateThread(nullptr, 0, Sender, &feed, 0, nullptr);
    char *buffer = (char *)malloc((size_t)block);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long long total = 0, calls = 0;
    for (;;) {
        int n = mode == PLAIN ? recv(reader, buffer, block, 0)
                              : RecvTimed(reader, buffer, block, 0, 30000);
        calls++;
        if (n <= 0)
            break;
        total += n;
    }
    QueryPerformanceCounter(&end);
    double seconds = (double)(end.QuadPart - start.QuadPart) / (double)frequency.QuadPart;
    static const char *names[] = {"recv", "RecvTimed", "RecvTimed+hook"};
    printf("%-15s %8.1f MB/s  %7.2f us/receive  %lld receives\n", names[mode],
           (double)total / seconds / 1e6, seconds * 1e6 / (double)calls, calls);
    WaitForSingleObject(thread, 60000);
    CloseHandle(thread);
    free(buffer);
    closesocket(reader);
    closesocket(writer);
    if (window) {
        KillTimer(window, 1);
        DestroyWindow(window);
        SetThreadBlockingHook(nullptr);
    }
}

}  // namespace

int main(int argc, char **argv)
{
    long long megabytes = argc > 1 ? atoll(argv[1]) : 64;
    int block = argc > 2 ? atoi(argv[2]) : 4096;
    if (megabytes < 1 || megabytes > 4096 || block < 1 || block > (1 << 20)) {
        printf("usage: bench_socket_wait [megabytes 1..4096] [block 1..1048576]\n");
        return 2;
    }
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    for (Mode mode : {PLAIN, TIMED, TIMED_WITH_HOOK})
        Run(mode, megabytes << 20, block);
    WSACleanup();
    return 0;
}
