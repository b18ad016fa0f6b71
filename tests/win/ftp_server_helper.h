// The scripted peer on 127.0.0.1 that plays every transcript: the control
// server (transcript_helper.h writes its steps from rows) and the data peers
// (data_peer_helper.h). It accepts one client (or connects to a PORT address)
// on a thread of its own and plays the steps in order; reads give up after
// the step time-out (default 5 s) and fail the script. Stop() and the
// destructor end and join the thread. WinSock is started for every program
// linking this.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

class ScriptedFtpServer {
public:
    ScriptedFtpServer();
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer &) = delete;
    ScriptedFtpServer &operator=(const ScriptedFtpServer &) = delete;

    // Steps. ReadCommand records one line (to LF) without its CR LF; every
    // byte read goes to Received(), urgent bytes (MSG_OOB) to Urgent().
    ScriptedFtpServer &Send(const std::string &bytes) { return Add(SEND, bytes); }
    ScriptedFtpServer &Delay(int ms) { return Add(DELAY, "", (size_t)ms); }
    // The bytes in pieces of `piece` bytes (0: whole), `pauseMs` apart.
    ScriptedFtpServer &SendPieces(const std::string &bytes, size_t piece, int pauseMs);
    ScriptedFtpServer &ReadCommand() { return Add(READ_COMMAND); }
    ScriptedFtpServer &Reply(const std::string &reply) { return ReadCommand().Send(reply); }
    ScriptedFtpServer &ReadBytes(size_t n) { return Add(READ_BYTES, "", n); }
    ScriptedFtpServer &ReadUrgent() { return Add(READ_URGENT); }
    // Reads until the client closes, then closes the server's end.
    ScriptedFtpServer &ReadUntilClosed() { return Add(READ_CLOSED); }
    // An orderly close: the client reads to the end (up to 5 s) first.
    ScriptedFtpServer &Close() { return Add(CLOSE); }
    ScriptedFtpServer &Reset() { return Add(RESET); }
    // Serves commands until the client closes or sends "QUIT": the reply of
    // the first entry whose key is a prefix of the command, else "502
    // Command not implemented"; "QUIT" gets "221 Goodbye" unless listed.
    ScriptedFtpServer &Serve(const std::vector<std::pair<std::string, std::string>> &table);

    void SetStepTimeout(int ms) { stepTimeoutMs_ = ms; }
    void Start();
    // Start(), but connect to the address of the PORT command the function
    // returns ("" while there is none yet) instead of accepting.
    void StartConnecting(std::string (*portCommand)(void *), void *context);
    void Stop();
    unsigned short Port() const { return port_; }
    // Waits for the script to end; true when every step succeeded.
    bool Finish(int timeoutMs = 10000);

    std::vector<std::string> Commands() const;
    std::string Received() const { return Copy(received_); }
    std::string Urgent() const { return Copy(urgent_); }
    std::string Error() const { return Copy(error_); }

private:
    enum Kind { SEND, DELAY, READ_COMMAND, READ_BYTES, READ_URGENT, READ_CLOSED, SERVE, CLOSE, RESET };
    struct Step {
        Kind kind;
        std::string bytes;
        size_t count;
        std::vector<std::pair<std::string, std::string>> table;
    };
    ScriptedFtpServer &Add(Kind kind, const std::string &bytes = "", size_t count = 0);
    static DWORD WINAPI ThreadMain(void *self);
    void Play();
    bool RunStep(const Step &step);
    bool Pull(int ms);
    bool Connect();
    bool ReadLine(std::string *line);
    bool WaitReadable(int ms, bool urgent = false);
    bool Fail(const std::string &why);
    std::string Copy(const std::string &field) const;

    std::vector<Step> steps_;
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET client_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE thread_ = nullptr;
    std::string (*portCommand_)(void *) = nullptr;
    void *context_ = nullptr;
    int stepTimeoutMs_ = 5000;
    std::string buffered_;   // bytes read, not yet taken by a step
    bool closed_ = false;    // the client has closed its end
    mutable std::mutex lock_;
    std::vector<std::string> commands_;
    std::string received_, urgent_, error_;
    volatile LONG stop_ = 0;
};

// A socket listening on 127.0.0.1 at an ephemeral port (INVALID_SOCKET on
// failure), and the port.
SOCKET ListenOnLoopback(unsigned short *port);
// A blocking client socket connected to 127.0.0.1:port, INVALID_SOCKET on
// failure.
SOCKET ConnectToServer(unsigned short port);
// Waits (bounded) until at least n bytes can be read from s without
// blocking; returns the count available.
int WaitForBytes(SOCKET s, int n, int timeoutMs);
