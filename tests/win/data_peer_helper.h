// The server's end of a data connection, for transfer tests under Wine.
//
// A DataPeer either listens on an ephemeral loopback port (for a passive
// reply: PassiveReply() gives "227 ... (127,0,0,1,p1,p2)") or connects to
// the address of a PORT command (active). On its own thread it then plays
// one action: send bytes (optionally in paced pieces, then close or reset),
// receive until the client closes, or accept/connect and do nothing.
// Every wait is bounded; the destructor stops and joins the thread.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

class DataPeer {
public:
    enum Ending { CLOSE, RESET, HOLD };   // HOLD: keep the connection open until stopped
    DataPeer();
    ~DataPeer();
    DataPeer(const DataPeer &) = delete;
    DataPeer &operator=(const DataPeer &) = delete;

    // Passive side: listen now; the reply text names the port.
    bool Listen();
    std::string PassiveReply(const char *prefix = "227 Entering Passive Mode (") const;
    unsigned short Port() const { return port_; }

    // What to do once connected.
    void SendOnConnect(const std::string &bytes, size_t piece = 0, int pauseMs = 0,
                       Ending ending = CLOSE);
    void ReceiveOnConnect();

    // Passive: accept on the listener. Active: connect to the address of
    // `portCommand` ("PORT a,b,c,d,p1,p2") once `ready` returns true.
    void StartPassive();
    void StartActive(std::string (*portCommand)(void *), void *context);

    // Waits for the action to end; true when it ran to its end.
    bool Finish(int timeoutMs = 10000);
    void Stop();
    std::string Received() const;

private:
    static DWORD WINAPI ThreadMain(void *self);
    void Run();
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET data_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE thread_ = nullptr;
    bool active_ = false;
    std::string (*portCommand_)(void *) = nullptr;
    void *context_ = nullptr;
    enum { SEND, RECEIVE, ACCEPT } action_ = ACCEPT;
    std::string bytes_;
    size_t piece_ = 0;
    int pauseMs_ = 0;
    Ending ending_ = CLOSE;
    volatile LONG stop_ = 0;
    bool ok_ = false;
    mutable CRITICAL_SECTION lock_;
    std::string received_;
};

// Reads a whole local file ("" when missing); writes one.
std::string ReadLocalFile(const std::string &path);
bool WriteLocalFile(const std::string &path, const std::string &bytes);
