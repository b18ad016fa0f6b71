// A scripted FTP server on 127.0.0.1 for tests that run under Wine.
//
// The server listens on an ephemeral loopback port, accepts one client on
// a thread of its own and plays a script: canned replies (whole, split into
// pieces, delayed), command reads that record what the client sent, urgent
// data reads, and faults (close or reset in the middle of a reply). Tests
// then compare the recorded commands and bytes.
//
//   ScriptedFtpServer server;
//   server.Send("220 Ready\r\n").ReadCommand().Send("331 Password\r\n");
//   server.Start();
//   SOCKET s = ConnectToServer(server.Port());
//   ... client code ...
//   ASSERT_TRUE(server.Finish());           // script ran to the end
//   EXPECT_EQ(server.Commands()[0], "USER anonymous");
//
// Every step is bounded: reads give up after the step time-out (default 5 s)
// and mark the script failed; the destructor closes everything and joins
// the thread. WinSock is started for every test program that links this
// helper.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class ScriptedFtpServer {
public:
    ScriptedFtpServer();
    ~ScriptedFtpServer();
    ScriptedFtpServer(const ScriptedFtpServer &) = delete;
    ScriptedFtpServer &operator=(const ScriptedFtpServer &) = delete;

    // --- script steps, played in order ---------------------------------
    // One send call with these bytes.
    ScriptedFtpServer &Send(const std::string &bytes);
    // The bytes in pieces of `piece` bytes, each its own send, with a pause
    // between pieces.
    ScriptedFtpServer &SendSplit(const std::string &bytes, size_t piece, int pauseMs);
    ScriptedFtpServer &Delay(int ms);
    // Reads one command line (up to LF) and records it without its CR LF;
    // the raw bytes go to Received().
    ScriptedFtpServer &ReadCommand();
    // ReadCommand, then send the reply.
    ScriptedFtpServer &Reply(const std::string &reply);
    // Reads exactly n bytes of normal data into Received().
    ScriptedFtpServer &ReadBytes(size_t n);
    // Reads one byte of urgent data (recv with MSG_OOB) into Urgent(); waits
    // until the urgent byte has arrived.
    ScriptedFtpServer &ReadUrgent();
    // Reads until the client closes (or the step time-out passes), then
    // closes the server's end too.
    ScriptedFtpServer &ReadUntilClosed();
    // Serves commands until the client closes or sends the command "QUIT":
    // each command is recorded and answered with the reply of the first
    // entry whose key is a prefix of it, else "502 Command not implemented".
    // "QUIT" is answered with "221 Goodbye" unless the table says otherwise.
    ScriptedFtpServer &Serve(const std::vector<std::pair<std::string, std::string>> &table);
    // Closes the client connection in an orderly way / with a reset.
    ScriptedFtpServer &Close();
    ScriptedFtpServer &Reset();

    // Options, before Start().
    void SetOobInline(bool inlineUrgent) { oobInline_ = inlineUrgent; }
    void SetStepTimeout(int ms) { stepTimeoutMs_ = ms; }

    // --- running ---------------------------------------------------------
    void Start();
    unsigned short Port() const { return port_; }
    // Waits for the script to end; true when every step succeeded.
    bool Finish(int timeoutMs = 10000);

    std::vector<std::string> Commands() const;
    std::string Received() const;   // every byte of normal data read
    std::string Urgent() const;     // bytes read as urgent data
    std::string Error() const;      // why the script failed, empty if not

private:
    struct Step {
        enum Kind { SEND, DELAY, READ_COMMAND, READ_BYTES, READ_URGENT, READ_CLOSED, SERVE, CLOSE, RESET };
        Kind kind = SEND;
        std::string bytes;
        size_t count = 0;
        int ms = 0;
        std::vector<std::pair<std::string, std::string>> table;
    };
    ScriptedFtpServer &Add(Step::Kind kind, const std::string &bytes, size_t count, int ms);
    static DWORD WINAPI ThreadMain(void *self);
    void Play();
    bool RunStep(const Step &step);
    bool ReadLine(std::string *line);
    bool WaitReadable(int ms);
    void Fail(const std::string &why);
    void AddReceived(const char *bytes, size_t n);

    std::vector<Step> steps_;
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET client_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    HANDLE thread_ = nullptr;
    bool oobInline_ = false;
    int stepTimeoutMs_ = 5000;
    std::string buffered_;   // bytes read past the current command line
    mutable CRITICAL_SECTION lock_;
    std::vector<std::string> commands_;
    std::string received_, urgent_, error_;
    volatile LONG stop_ = 0;
    bool failed_ = false;
};

// A blocking client socket connected to 127.0.0.1:port, INVALID_SOCKET on
// failure.
SOCKET ConnectToServer(unsigned short port);

// Waits (bounded) until at least n bytes can be read from s without
// blocking; returns the count available.
int WaitForBytes(SOCKET s, int n, int timeoutMs);
