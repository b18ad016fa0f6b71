#include "ftp_server_helper.h"

#include <stdio.h>

#include <utility>

namespace {

// Every test program linking this helper talks WinSock.
struct WinSockStarter {
    WinSockStarter()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinSockStarter() { WSACleanup(); }
} winSockStarter;

sockaddr_in Loopback(unsigned short port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

}  // namespace

SOCKET ListenOnLoopback(unsigned short *port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(0);
    int size = sizeof address;
    if (s != INVALID_SOCKET && (bind(s, (sockaddr *)&address, sizeof address) != 0 || listen(s, 1) != 0 ||
                                getsockname(s, (sockaddr *)&address, &size) != 0)) {
        closesocket(s);
        s = INVALID_SOCKET;
    }
    *port = s == INVALID_SOCKET ? 0 : ntohs(address.sin_port);
    return s;
}

SOCKET ConnectToServer(unsigned short port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = Loopback(port);
    if (s != INVALID_SOCKET && connect(s, (sockaddr *)&address, sizeof address) != 0) {
        closesocket(s);
        s = INVALID_SOCKET;
    }
    return s;
}

int WaitForBytes(SOCKET s, int n, int timeoutMs)
{
    DWORD start = GetTickCount();
    u_long available = 0;
    while (ioctlsocket(s, FIONREAD, &available) == 0 && (int)available < n &&
           GetTickCount() - start < (DWORD)timeoutMs)
        Sleep(5);
    return (int)available;
}

ScriptedFtpServer::ScriptedFtpServer()
{
    listener_ = ListenOnLoopback(&port_);
    if (listener_ == INVALID_SOCKET)
        Fail("cannot listen on loopback");
}

ScriptedFtpServer::~ScriptedFtpServer() { Stop(); }

void ScriptedFtpServer::Stop()
{
    InterlockedExchange(&stop_, 1);
    if (thread_) {
        WaitForSingleObject(thread_, 15000);
        CloseHandle(std::exchange(thread_, nullptr));
    }
    for (SOCKET *s : {&client_, &listener_})
        if (*s != INVALID_SOCKET)
            closesocket(std::exchange(*s, INVALID_SOCKET));
}

ScriptedFtpServer &ScriptedFtpServer::Add(Kind kind, const std::string &bytes, size_t count)
{
    steps_.push_back({kind, bytes, count, {}});
    return *this;
}

ScriptedFtpServer &ScriptedFtpServer::SendPieces(const std::string &bytes, size_t piece, int pauseMs)
{
    for (size_t at = 0; at < bytes.size(); at += piece ? piece : bytes.size())
        (at ? Delay(pauseMs) : *this).Send(bytes.substr(at, piece ? piece : bytes.size()));
    return *this;
}

ScriptedFtpServer &ScriptedFtpServer::Serve(const std::vector<std::pair<std::string, std::string>> &table)
{
    Add(SERVE).steps_.back().table = table;
    return *this;
}

void ScriptedFtpServer::Start() { thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr); }

void ScriptedFtpServer::StartConnecting(std::string (*portCommand)(void *), void *context)
{
    portCommand_ = portCommand;
    context_ = context;
    Start();
}

bool ScriptedFtpServer::Connect()
{
    std::string command;
    for (DWORD start = GetTickCount(); !stop_ && GetTickCount() - start < (DWORD)stepTimeoutMs_; Sleep(5))
        if (!(command = portCommand_(context_)).empty())
            break;
    unsigned n[6];
    if (sscanf(command.c_str(), "PORT %u,%u,%u,%u,%u,%u", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]) != 6)
        return false;
    sockaddr_in address = Loopback((u_short)(n[4] * 256 + n[5]));
    address.sin_addr.s_addr = htonl((n[0] << 24) | (n[1] << 16) | (n[2] << 8) | n[3]);
    client_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return connect(client_, (sockaddr *)&address, sizeof address) == 0;
}

DWORD WINAPI ScriptedFtpServer::ThreadMain(void *self)
{
    static_cast<ScriptedFtpServer *>(self)->Play();
    return 0;
}

bool ScriptedFtpServer::Fail(const std::string &why)
{
    std::lock_guard<std::mutex> g(lock_);
    if (error_.empty())
        error_ = why;
    return false;
}

std::string ScriptedFtpServer::Copy(const std::string &field) const
{
    std::lock_guard<std::mutex> g(lock_);
    return field;
}

std::vector<std::string> ScriptedFtpServer::Commands() const
{
    std::lock_guard<std::mutex> g(lock_);
    return commands_;
}

bool ScriptedFtpServer::WaitReadable(int ms, bool urgent)
{
    // Short selects so the destructor's stop request is seen promptly.
    for (DWORD start = GetTickCount(); !stop_ && GetTickCount() - start < (DWORD)ms;) {
        SOCKET s = client_ != INVALID_SOCKET ? client_ : listener_;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(s, &fds);
        timeval slice = {0, 20000};
        if (int r = select(0, urgent ? nullptr : &fds, nullptr, urgent ? &fds : nullptr, &slice))
            return r > 0;
    }
    return false;
}

// One receive into buffered_ and Received(); false at the time-out or when
// the client has closed (closed_ tells which).
bool ScriptedFtpServer::Pull(int ms)
{
    if (!WaitReadable(ms))
        return false;
    char chunk[4096];
    int n = recv(client_, chunk, sizeof chunk, 0);
    closed_ = n <= 0;
    if (n > 0) {
        buffered_.append(chunk, (size_t)n);
        std::lock_guard<std::mutex> g(lock_);
        received_.append(chunk, (size_t)n);
    }
    return n > 0;
}

bool ScriptedFtpServer::ReadLine(std::string *line)
{
    size_t lf;
    while ((lf = buffered_.find('\n')) == std::string::npos)
        if (!Pull(stepTimeoutMs_))
            return false;
    *line = buffered_.substr(0, lf > 0 && buffered_[lf - 1] == '\r' ? lf - 1 : lf);
    buffered_.erase(0, lf + 1);
    std::lock_guard<std::mutex> g(lock_);
    commands_.push_back(*line);
    return true;
}

void ScriptedFtpServer::Play()
{
    if (listener_ == INVALID_SOCKET)
        return;
    if (portCommand_ ? !Connect() : !WaitReadable(stepTimeoutMs_) ||
                                        (client_ = accept(listener_, nullptr, nullptr)) == INVALID_SOCKET) {
        Fail(portCommand_ ? "no connection to the PORT address" : "no client connected");
        return;
    }
    for (const Step &step : steps_)
        if (stop_ || !RunStep(step))
            return;
}

bool ScriptedFtpServer::RunStep(const Step &step)
{
    std::string line;
    switch (step.kind) {
    case SEND:
        return send(client_, step.bytes.data(), (int)step.bytes.size(), 0) == (int)step.bytes.size() ||
               Fail("send failed");
    case DELAY:
        for (size_t waited = 0; waited < step.count && !stop_; waited += 10)
            Sleep(10);
        return true;
    case READ_COMMAND:
        return ReadLine(&line) || Fail("no command line arrived");
    case READ_BYTES:
        while (buffered_.size() < step.count)
            if (!Pull(stepTimeoutMs_))
                return Fail("fewer bytes than expected");
        buffered_.erase(0, step.count);
        return true;
    case READ_URGENT: {
        char byte;
        if (!WaitReadable(stepTimeoutMs_, true) || recv(client_, &byte, 1, MSG_OOB) != 1)
            return Fail("no urgent data arrived");
        std::lock_guard<std::mutex> g(lock_);
        urgent_.push_back(byte);
        return true;
    }
    case READ_CLOSED:
        while (Pull(stepTimeoutMs_)) {
        }
        if (!closed_)
            return Fail("client did not close");
        closesocket(client_);   // the client has gone: so does the server
        client_ = INVALID_SOCKET;
        return true;
    case SERVE:
        for (int served = 0; served < 10000 && ReadLine(&line); served++) {
            std::string reply = line == "QUIT" ? "221 Goodbye\r\n" : "502 Command not implemented\r\n";
            for (const auto &entry : step.table)
                if (line.compare(0, entry.first.size(), entry.first) == 0) {
                    reply = entry.second;
                    break;
                }
            send(client_, reply.data(), (int)reply.size(), 0);
            if (line == "QUIT")
                break;
        }
        return true;
    case CLOSE:
    case RESET: {
        linger hard = {1, 0};
        if (step.kind == RESET) {
            setsockopt(client_, SOL_SOCKET, SO_LINGER, (const char *)&hard, sizeof hard);
        } else {
            shutdown(client_, SD_SEND);
            while (Pull(5000)) {   // the client reads to the end
            }
        }
        closesocket(client_);
        client_ = INVALID_SOCKET;
        return true;
    }
    }
    return false;
}

bool ScriptedFtpServer::Finish(int timeoutMs)
{
    if (!thread_ || WaitForSingleObject(thread_, (DWORD)timeoutMs) != WAIT_OBJECT_0)
        return Fail("script did not finish in time");
    std::lock_guard<std::mutex> g(lock_);
    return error_.empty();
}
