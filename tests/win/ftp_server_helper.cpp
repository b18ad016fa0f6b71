#include "ftp_server_helper.h"

#include <algorithm>

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

class Guard {
public:
    explicit Guard(CRITICAL_SECTION *cs) : cs_(cs) { EnterCriticalSection(cs_); }
    ~Guard() { LeaveCriticalSection(cs_); }

private:
    CRITICAL_SECTION *cs_;
};

}  // namespace

ScriptedFtpServer::ScriptedFtpServer()
{
    InitializeCriticalSection(&lock_);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (listener_ == INVALID_SOCKET || bind(listener_, (sockaddr *)&address, sizeof address) != 0 ||
        listen(listener_, 1) != 0) {
        Fail("cannot listen on loopback");
        return;
    }
    int size = sizeof address;
    getsockname(listener_, (sockaddr *)&address, &size);
    port_ = ntohs(address.sin_port);
}

ScriptedFtpServer::~ScriptedFtpServer()
{
    InterlockedExchange(&stop_, 1);
    if (thread_) {
        WaitForSingleObject(thread_, 15000);
        CloseHandle(thread_);
    }
    if (client_ != INVALID_SOCKET)
        closesocket(client_);
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    DeleteCriticalSection(&lock_);
}

ScriptedFtpServer &ScriptedFtpServer::Add(Step::Kind kind, const std::string &bytes, size_t count, int ms)
{
    Step s;
    s.kind = kind;
    s.bytes = bytes;
    s.count = count;
    s.ms = ms;
    steps_.push_back(s);
    return *this;
}

ScriptedFtpServer &ScriptedFtpServer::Send(const std::string &bytes) { return Add(Step::SEND, bytes, bytes.size(), 0); }
ScriptedFtpServer &ScriptedFtpServer::Delay(int ms) { return Add(Step::DELAY, "", 0, ms); }
ScriptedFtpServer &ScriptedFtpServer::ReadCommand() { return Add(Step::READ_COMMAND, "", 0, 0); }
ScriptedFtpServer &ScriptedFtpServer::Reply(const std::string &reply) { return ReadCommand().Send(reply); }
ScriptedFtpServer &ScriptedFtpServer::ReadBytes(size_t n) { return Add(Step::READ_BYTES, "", n, 0); }
ScriptedFtpServer &ScriptedFtpServer::ReadUrgent() { return Add(Step::READ_URGENT, "", 0, 0); }
ScriptedFtpServer &ScriptedFtpServer::ReadUntilClosed() { return Add(Step::READ_CLOSED, "", 0, 0); }
ScriptedFtpServer &ScriptedFtpServer::Close() { return Add(Step::CLOSE, "", 0, 0); }
ScriptedFtpServer &ScriptedFtpServer::Reset() { return Add(Step::RESET, "", 0, 0); }

ScriptedFtpServer &ScriptedFtpServer::SendSplit(const std::string &bytes, size_t piece, int pauseMs)
{
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0)
            Delay(pauseMs);
        Send(bytes.substr(at, piece));
    }
    return *this;
}

ScriptedFtpServer &ScriptedFtpServer::Serve(const std::vector<std::pair<std::string, std::string>> &table)
{
    Add(Step::SERVE, "", 0, 0);
    steps_.back().table = table;
    return *this;
}

void ScriptedFtpServer::Start()
{
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

DWORD WINAPI ScriptedFtpServer::ThreadMain(void *self)
{
    static_cast<ScriptedFtpServer *>(self)->Play();
    return 0;
}

void ScriptedFtpServer::Fail(const std::string &why)
{
    Guard g(&lock_);
    if (!failed_)
        error_ = why;
    failed_ = true;
}

void ScriptedFtpServer::AddReceived(const char *bytes, size_t n)
{
    Guard g(&lock_);
    received_.append(bytes, n);
}

bool ScriptedFtpServer::WaitReadable(int ms)
{
    // Short selects so the destructor's stop request is seen promptly.
    DWORD start = GetTickCount();
    while (!stop_) {
        SOCKET s = client_ != INVALID_SOCKET ? client_ : listener_;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(s, &fds);
        timeval slice = {0, 20000};
        int r = select(0, &fds, nullptr, nullptr, &slice);
        if (r != 0)
            return r > 0;
        if (GetTickCount() - start >= (DWORD)ms)
            return false;
    }
    return false;
}

void ScriptedFtpServer::Play()
{
    if (failed_)
        return;
    if (!WaitReadable(stepTimeoutMs_)) {
        Fail("no client connected");
        return;
    }
    client_ = accept(listener_, nullptr, nullptr);
    if (client_ == INVALID_SOCKET) {
        Fail("accept failed");
        return;
    }
    if (oobInline_) {
        BOOL on = TRUE;
        setsockopt(client_, SOL_SOCKET, SO_OOBINLINE, (const char *)&on, sizeof on);
    }
    for (const Step &step : steps_) {
        if (stop_ || !RunStep(step))
            return;
    }
}

bool ScriptedFtpServer::ReadLine(std::string *line)
{
    for (int reads = 0; reads < 100000; reads++) {
        size_t lf = buffered_.find('\n');
        if (lf != std::string::npos) {
            *line = buffered_.substr(0, lf + 1);
            buffered_.erase(0, lf + 1);
            AddReceived(line->data(), line->size());
            return true;
        }
        if (!WaitReadable(stepTimeoutMs_))
            return false;
        char chunk[4096];
        int n = recv(client_, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffered_.append(chunk, (size_t)n);
    }
    return false;
}

static std::string WithoutLineEnd(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

bool ScriptedFtpServer::RunStep(const Step &step)
{
    switch (step.kind) {
    case Step::SEND:
        if (send(client_, step.bytes.data(), (int)step.bytes.size(), 0) != (int)step.bytes.size()) {
            Fail("send failed");
            return false;
        }
        return true;
    case Step::DELAY:
        for (int waited = 0; waited < step.ms && !stop_; waited += 10)
            Sleep(10);
        return true;
    case Step::READ_COMMAND: {
        std::string line;
        if (!ReadLine(&line)) {
            Fail("no command line arrived");
            return false;
        }
        Guard g(&lock_);
        commands_.push_back(WithoutLineEnd(line));
        return true;
    }
    case Step::READ_BYTES: {
        size_t want = step.count;
        size_t take = std::min(want, buffered_.size());
        AddReceived(buffered_.data(), take);
        buffered_.erase(0, take);
        want -= take;
        while (want > 0) {
            if (!WaitReadable(stepTimeoutMs_)) {
                Fail("fewer bytes than expected");
                return false;
            }
            char chunk[4096];
            int n = recv(client_, chunk, (int)std::min(want, sizeof chunk), 0);
            if (n <= 0) {
                Fail("connection ended before the expected bytes");
                return false;
            }
            AddReceived(chunk, (size_t)n);
            want -= (size_t)n;
        }
        return true;
    }
    case Step::READ_URGENT: {
        DWORD start = GetTickCount();
        while (!stop_ && GetTickCount() - start < (DWORD)stepTimeoutMs_) {
            fd_set except;
            FD_ZERO(&except);
            FD_SET(client_, &except);
            timeval slice = {0, 20000};
            if (select(0, nullptr, nullptr, &except, &slice) > 0) {
                char byte;
                int n = recv(client_, &byte, 1, MSG_OOB);
                if (n == 1) {
                    Guard g(&lock_);
                    urgent_.push_back(byte);
                    return true;
                }
            }
        }
        Fail("no urgent data arrived");
        return false;
    }
    case Step::READ_CLOSED: {
        for (;;) {
            if (!WaitReadable(stepTimeoutMs_)) {
                Fail("client did not close");
                return false;
            }
            char chunk[4096];
            int n = recv(client_, chunk, sizeof chunk, 0);
            if (n <= 0) {   // the client has gone: so does the server
                closesocket(client_);
                client_ = INVALID_SOCKET;
                return true;
            }
            AddReceived(chunk, (size_t)n);
        }
    }
    case Step::SERVE:
        for (int served = 0; served < 10000; served++) {
            std::string line;
            if (!ReadLine(&line))
                return true;   // the client closed
            std::string command = WithoutLineEnd(line);
            {
                Guard g(&lock_);
                commands_.push_back(command);
            }
            std::string reply = "502 Command not implemented\r\n";
            bool quit = command == "QUIT";
            if (quit)
                reply = "221 Goodbye\r\n";
            for (const auto &entry : step.table) {
                if (command.compare(0, entry.first.size(), entry.first) == 0) {
                    reply = entry.second;
                    break;
                }
            }
            send(client_, reply.data(), (int)reply.size(), 0);
            if (quit)
                return true;
        }
        return true;
    case Step::CLOSE:
        shutdown(client_, SD_SEND);
        closesocket(client_);
        client_ = INVALID_SOCKET;
        return true;
    case Step::RESET: {
        linger hard = {1, 0};
        setsockopt(client_, SOL_SOCKET, SO_LINGER, (const char *)&hard, sizeof hard);
        closesocket(client_);
        client_ = INVALID_SOCKET;
        return true;
    }
    }
    return false;
}

bool ScriptedFtpServer::Finish(int timeoutMs)
{
    if (!thread_)
        return false;
    if (WaitForSingleObject(thread_, (DWORD)timeoutMs) != WAIT_OBJECT_0) {
        Fail("script did not finish in time");
        return false;
    }
    Guard g(&lock_);
    return !failed_;
}

std::vector<std::string> ScriptedFtpServer::Commands() const
{
    Guard g(&lock_);
    return commands_;
}

std::string ScriptedFtpServer::Received() const
{
    Guard g(&lock_);
    return received_;
}

std::string ScriptedFtpServer::Urgent() const
{
    Guard g(&lock_);
    return urgent_;
}

std::string ScriptedFtpServer::Error() const
{
    Guard g(&lock_);
    return error_;
}

SOCKET ConnectToServer(unsigned short port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (connect(s, (sockaddr *)&address, sizeof address) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
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
