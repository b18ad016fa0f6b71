#include "data_peer_helper.h"

#include "veltro_process_helper.h"

#include <stdio.h>

DataPeer::DataPeer()
{
    InitializeCriticalSection(&lock_);
}

DataPeer::~DataPeer()
{
    Stop();
    DeleteCriticalSection(&lock_);
}

bool DataPeer::Listen()
{
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET)
        return false;
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof a;
    if (bind(listener_, (sockaddr *)&a, sizeof a) != 0 || listen(listener_, 1) != 0 ||
        getsockname(listener_, (sockaddr *)&a, &length) != 0)
        return false;
    port_ = ntohs(a.sin_port);
    return true;
}

std::string DataPeer::PassiveReply(const char *prefix) const
{
    char text[128];
    snprintf(text, sizeof text, "%s127,0,0,1,%u,%u)\r\n", prefix, port_ >> 8, port_ & 0xFF);
    return text;
}

void DataPeer::SendOnConnect(const std::string &bytes, size_t piece, int pauseMs, Ending ending)
{
    action_ = SEND;
    bytes_ = bytes;
    piece_ = piece;
    pauseMs_ = pauseMs;
    ending_ = ending;
}

void DataPeer::ReceiveOnConnect()
{
    action_ = RECEIVE;
}

void DataPeer::StartPassive()
{
    active_ = false;
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

void DataPeer::StartActive(std::string (*portCommand)(void *), void *context)
{
    active_ = true;
    portCommand_ = portCommand;
    context_ = context;
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

DWORD WINAPI DataPeer::ThreadMain(void *self)
{
    static_cast<DataPeer *>(self)->Run();
    return 0;
}

static bool ParsePortCommand(const std::string &command, sockaddr_in *address);

static bool Readable(SOCKET s, int ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv = {ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) == 1;
}

void DataPeer::Run()
{
    const DWORD start = GetTickCount();
    auto expired = [&] { return stop_ || GetTickCount() - start > 120000; };
    if (active_) {
        std::string command;
        while (!expired()) {
            command = portCommand_(context_);
            if (!command.empty())
                break;
            Sleep(5);
        }
        sockaddr_in a;
        if (!ParsePortCommand(command, &a))
            return;
        data_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (connect(data_, (sockaddr *)&a, sizeof a) != 0)
            return;
    } else {
        while (!expired() && !Readable(listener_, 50)) {
        }
        if (expired())
            return;
        data_ = accept(listener_, nullptr, nullptr);
        if (data_ == INVALID_SOCKET)
            return;
    }

    if (action_ == SEND) {
        size_t at = 0;
        while (at < bytes_.size() && !expired()) {
            size_t n = piece_ ? piece_ : bytes_.size() - at;
            if (n > bytes_.size() - at)
                n = bytes_.size() - at;
            if (n > 1 << 20)
                n = 1 << 20;
            int r = send(data_, bytes_.data() + at, (int)n, 0);
            if (r <= 0)
                break;
            at += (size_t)r;
            if (piece_ && pauseMs_)
                Sleep((DWORD)pauseMs_);
        }
        ok_ = at == bytes_.size();
    } else if (action_ == RECEIVE) {
        char buffer[65536];
        while (!expired()) {
            if (!Readable(data_, 50))
                continue;
            int r = recv(data_, buffer, sizeof buffer, 0);
            if (r <= 0) {
                ok_ = r == 0;
                break;
            }
            EnterCriticalSection(&lock_);
            received_.append(buffer, (size_t)r);
            LeaveCriticalSection(&lock_);
        }
    } else {
        ok_ = true;
    }
    if (ending_ == HOLD) {
        while (!expired())
            Sleep(10);
    }
    if (ending_ == RESET) {
        linger l = {1, 0};
        setsockopt(data_, SOL_SOCKET, SO_LINGER, (const char *)&l, sizeof l);
    } else {
        shutdown(data_, SD_SEND);
        // Let the client read to the end before the socket goes.
        char sink[4096];
        DWORD until = GetTickCount() + 5000;
        while (action_ != RECEIVE && GetTickCount() < until && Readable(data_, 50) &&
               recv(data_, sink, sizeof sink, 0) > 0) {
        }
    }
    closesocket(data_);
    data_ = INVALID_SOCKET;
}

bool DataPeer::Finish(int timeoutMs)
{
    if (!thread_)
        return false;
    if (WaitForSingleObject(thread_, (DWORD)timeoutMs) != WAIT_OBJECT_0)
        return false;
    return ok_;
}

void DataPeer::Stop()
{
    InterlockedExchange(&stop_, 1);
    if (thread_) {
        WaitForSingleObject(thread_, 15000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (listener_ != INVALID_SOCKET) {
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
    }
}

std::string DataPeer::Received() const
{
    EnterCriticalSection(&lock_);
    std::string copy = received_;
    LeaveCriticalSection(&lock_);
    return copy;
}

static bool ParsePortCommand(const std::string &command, sockaddr_in *address)
{
    unsigned n[6];
    if (sscanf(command.c_str(), "PORT %u,%u,%u,%u,%u,%u", &n[0], &n[1], &n[2], &n[3], &n[4],
               &n[5]) != 6)
        return false;
    *address = sockaddr_in{};
    address->sin_family = AF_INET;
    address->sin_addr.s_addr = htonl((n[0] << 24) | (n[1] << 16) | (n[2] << 8) | n[3]);
    address->sin_port = htons((u_short)(n[4] * 256 + n[5]));
    return true;
}

std::string ReadLocalFile(const std::string &path)
{
    return ReadTextFile(path);
}

bool WriteLocalFile(const std::string &path, const std::string &bytes)
{
    WriteTextFile(path, bytes);
    return ReadTextFile(path) == bytes;
}
