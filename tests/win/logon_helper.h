// Shared pieces of the logon and remote-command tests under Wine: the
// program state a logon needs (instance, INI file, log capture), a reader
// of the captured log, and a dialog answerer that drives the program's
// modal dialogs from a thread of its own.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

// Resets the session globals and points the program at a fresh INI file in
// the temporary folder; the log goes to "xferlog.txt", which is emptied.
void ResetLogonState(void);
// ResetLogonState, then the transfer settings of the engine tests (no
// status dialog, small blocks, times kept), connected, with the time-out.
void ResetTransferState(int timeoutSeconds);
// Runs one transfer: verb "RETR" downloads the remote name into the local
// file, "STOR" (or "STOU") uploads it. Returns the engine's answer.
int TransferFile(SOCKET s, const char *verb, const std::string &remote, const std::string &local, int type);
// Writes the FIREWALL section (type, host, port, user, password; an empty
// password writes no PWD).
void WriteFirewallSection(int type, const char *host, unsigned port, const char *user,
                          const char *password);
// The lines logged since ResetLogonState.
std::vector<std::string> LoggedLines(void);
bool LogHasLine(const std::string &line);
bool LogMentions(const std::string &part);
int LogCount(const std::string &part);
// Closes a logged-on socket and clears the connected state.
void CloseSession(SOCKET s);
class Transcript;
// Closes the session's control socket at once, if there is one.
void DropControlSocket(void);
// Drops the session's control socket, then makes the transcript's client
// connection the session's; false when it could not connect.
bool UseTranscriptSocket(Transcript &t);
// A port on 127.0.0.1 where nothing listens.
unsigned short UnusedPort(void);
// A hidden window of a class registered here with the procedure.
HWND MakeTestWindow(const char *className, WNDPROC procedure);

// Answers modal dialogs of this process: each expected dialog is found by
// its caption (class "#32770"), its prompt text is recorded, the edit
// field gets the answer, and OK (or the given button) is pressed. Each
// answer waits at most waitMs for its dialog.
class DialogAnswerer {
public:
    struct Answer {
        std::string caption;    // "Input", "Password", "Verify Deletion", ...
        std::string text;       // typed into the edit field (if any)
        int button;             // IDOK, IDCANCEL, IDYES, ...
        std::vector<int> uncheck, check;   // check boxes to change first
        std::string picture = "";          // saved in the artifacts when named
    };
    explicit DialogAnswerer(std::vector<Answer> answers, int waitMs = 8000);
    ~DialogAnswerer();
    // Waits for the thread; true when every answer was given.
    bool Finish(int timeoutMs = 10000);
    std::vector<std::string> Prompts() const { return prompts_; }   // prompt texts seen, in order
    std::vector<bool> ButtonsShown(int id) const;   // per dialog: whether the button was visible

private:
    static DWORD WINAPI ThreadMain(void *self);
    std::vector<Answer> answers_;
    int waitMs_;
    HANDLE thread_ = nullptr;
    volatile LONG answered_ = 0;
    std::vector<std::string> prompts_;
    std::vector<std::vector<int>> visible_;
};
