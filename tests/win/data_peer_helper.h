// The server's end of a data connection, for transfer tests under Wine: a
// scripted peer (ftp_server_helper.h) that listens on an ephemeral loopback
// port (PassiveReply() gives "227 ... (127,0,0,1,p1,p2)") or connects to the
// address of a PORT command, then sends bytes (in paced pieces, then closes,
// resets or holds the connection until stopped) or receives until the
// client closes (Received()). Finish() is true when that ran to its end.
#pragma once
#include <string>

#include "ftp_server_helper.h"

class DataPeer : public ScriptedFtpServer {
public:
    enum Ending { CLOSE, RESET, HOLD };
    DataPeer() { SetStepTimeout(120000); }
    bool Listen() { return Port() != 0; }   // listening since construction
    std::string PassiveReply(const char *prefix = "227 Entering Passive Mode (") const;
    void SendOnConnect(const std::string &bytes, size_t piece = 0, int pauseMs = 0, Ending ending = CLOSE);
    void StartPassive() { Start(); }
};

// Writes a local file; true when it reads back the same.
bool WriteLocalFile(const std::string &path, const std::string &bytes);
