// Scripted FTP exchanges as data, for tests that run under Wine.
//
// A transcript is a list of rows played in order by a ScriptedFtpServer on
// 127.0.0.1. Server rows say what the server sends or does; client rows say
// which command line the client must send at that point. Finish() waits for
// the script and checks every client row against what arrived.
//
//   <  text          the server sends text and CR LF
//   << text          the server sends text as it stands (no CR LF added)
//   >  text          the client sends exactly this line (without CR LF)
//   >~ pattern       the client sends a line matching the pattern:
//                    '*' matches any run of characters, '?' any one
//   !  pause MS      the server waits MS milliseconds
//   !  split N MS    the next '<' or '<<' row goes out in pieces of N
//                    bytes, MS milliseconds apart
//   !  close         the server closes the connection (orderly)
//   !  reset         the server resets the connection
//   !  urgent        the server reads one byte of urgent data (Urgent())
//   !  bytes N       the server reads N raw bytes (Received())
//   !  drain         the server reads until the client closes
//   =  pasv ACTION   a data peer listening now on a loopback port; the next
//                    '<' rows name its address as $PASV ("127,0,0,1,p1,p2")
//   =  port ACTION   a data peer that connects to the address of the
//                    client's PORT command (the n-th port peer to the n-th)
//
// A data peer's ACTION is "recv" (keep what arrives until the client
// closes: Peer(k).Received()) or "send=BYTES" with optional "piece=N",
// "pause=MS" and "end=close|reset|hold". In texts and BYTES, the escapes
// \r \n \t \xHH and a doubled backslash stand for those bytes; BYTES
// "#N" are the N bytes of TestPattern(N). Blank rows and rows starting with
// '#' are skipped.
//
//   Transcript t({"< 220 ready", "> USER joe", "< 331 password", ">~ PASS *", "< 230 in"});
//   SOCKET s = t.Connect();     // or t.Start() and let the program dial t.Port()
//   ... client code ...
//   EXPECT_TRUE(t.Finish());    // ran to its end, every client row matched
//
// A malformed row fails Finish() with its text; nothing is played then.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data_peer_helper.h"
#include "ftp_server_helper.h"

class Transcript {
public:
    explicit Transcript(const std::vector<std::string> &rows);
    Transcript(const Transcript &) = delete;
    Transcript &operator=(const Transcript &) = delete;

    // Starts the server and the data peers.
    void Start();
    // Start(), then a blocking client socket connected to the server.
    SOCKET Connect();
    unsigned short Port() const { return server_.Port(); }

    // Waits for the script (and every data peer that sends) to end; fails
    // with the rows that did not match, or the reason the script stopped.
    ::testing::AssertionResult Finish(int timeoutMs = 10000);

    std::vector<std::string> Commands() const { return server_.Commands(); }
    std::string Received() const { return server_.Received(); }
    std::string Urgent() const { return server_.Urgent(); }
    // The k-th '=' row's data peer.
    DataPeer &Peer(size_t k) { return peers_.at(k)->peer; }
    ScriptedFtpServer &Server() { return server_; }

private:
    struct Expected {
        std::string text;
        bool pattern;
    };
    struct PeerRow {
        DataPeer peer;
        bool active = false, holds = false;
        int portIndex = 0;   // for active peers: which PORT command
        Transcript *owner = nullptr;
    };
    bool AddRow(const std::string &row);
    bool AddPeer(const std::string &args);
    static std::string PortCommandFor(void *peerRow);

    ScriptedFtpServer server_;   // declared first: destroyed after the peers
    std::vector<std::unique_ptr<PeerRow>> peers_;
    std::vector<Expected> expected_;
    std::string pasv_;           // $PASV of the latest passive peer
    size_t splitPiece_ = 0;
    int splitPauseMs_ = 0;
    int portPeers_ = 0;
    std::string error_;
};

// The rows of the parts, one after the other.
std::vector<std::string> JoinRows(std::initializer_list<std::vector<std::string>> parts);
// Bytes of a fixed pattern (not periodic in small powers of two).
std::string TestPattern(size_t n);
// Unescapes \r \n \t \\ \xHH.
std::string Unescape(const std::string &text);
// '*' matches any run, '?' any one character.
bool GlobMatch(const std::string &pattern, const std::string &text);
