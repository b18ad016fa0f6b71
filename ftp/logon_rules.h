// The rules of connecting and logging on, free of sockets and windows:
// the greeting check, the XAUT credential form, the initial-command list
// and the logon sequence through each kind of firewall.
//
// The logon sequence is a small machine. The caller starts it, then carries
// out each action it asks for (send a command, ask the user for a secret,
// offer the last reply to host-type detection, mark the session connected)
// and feeds the result back with LogonNext, until the machine answers
// LOGON_DONE or LOGON_FAIL. The machine never blocks and owns no texts: it
// reads and the caller's prompts write the texts it was started with, so a
// prompt's answer is seen by the next step.
//
// Firewall kinds (FirewallType), with where the control connection goes:
//   0 "SITE hostname"                    firewall host and port
//   1 "USER after logon"                 firewall
//   2 "USER with no logon"               firewall
//   3 "Proxy OPEN "                      firewall
//   4 "USER remoteID@remoteHost fireID"  firewall
//   5 "USER fireID@remoteHost"           firewall
//   6 "Transparent"                      the site's own host and port
//   7 "USER remoteID@fireID@remoteHost"  firewall
// Any other kind connects to the firewall and logs on as if directly.
#pragma once
#include <stddef.h>
#include <stdint.h>

enum { LOGON_TEXT_SIZE = 300 };

// Greeting check of one reply line: when the line carries " VELTRO " with
// an "X" two characters before it, *version becomes the number that starts
// just before the marker and, when the line holds a "(", *challenge the
// number after the first "(". Other lines leave both unchanged. Returns
// whether the marker was found.
bool CheckGreetingLine(const char *line, int *version, uint32_t *challenge);

// The XAUT credential text of user id and password for a challenge and a
// server version. Writes 2 x L characters and a NUL (L = length of the
// plain text) and returns 2 x L; returns 0 and writes an empty text when
// the output does not fit (a size of 2 * (2 * 80 + 8) + 1 always does for
// texts of up to 79 characters).
int ScrambleCredentials(const char *userId, const char *password, uint32_t challenge,
                        char *output, size_t outputSize, int version);

// Walks an initial-command list ("cmd1;cmd2;..."). Every piece before a
// ";" is a command, even an empty one; the rest after the last ";" is one
// when it is not empty. Start with *cursor at the list (or null for none);
// each call copies the next piece into piece (cut to size) and returns
// true, or returns false when the list is used up.
bool NextInitialCommand(const char **cursor, char *piece, size_t size);

// ---------------------------------------------------------------------
// The logon machine.

enum LogonActionKind {
    LOGON_SEND,           // send action.text with the command sender
    LOGON_ASK,            // ask for action.secret (see whileEmpty)
    LOGON_DETECT,         // offer the last reply line to host-type detection
    LOGON_SET_CONNECTED,  // the session counts as connected from here on
    LOGON_DONE,           // logged on
    LOGON_FAIL,           // failed: action.failure says how
};

enum LogonSecret { SECRET_SITE_PASSWORD, SECRET_FIREWALL_PASSWORD, SECRET_ACCOUNT };

enum LogonFailure { LOGON_NO_FAILURE, FAIL_FIREWALL, FAIL_DESTINATION, FAIL_LOGON };

struct LogonAction {
    LogonActionKind kind;
    char text[LOGON_TEXT_SIZE];   // LOGON_SEND: the complete command
    LogonSecret secret;           // LOGON_ASK
    int whileEmpty;               // LOGON_ASK: ask again while the answer is empty
    LogonFailure failure;         // LOGON_FAIL
};

// The texts the machine reads; the caller's prompts write userId,
// password, account and firewallPassword (all NUL-terminated).
struct LogonTexts {
    const char *host;              // the site's host name
    const char *userId;
    const char *password;
    const char *account;
    const char *firewallUser;
    const char *firewallPassword;
};

struct LogonMachine {
    LogonTexts texts;
    int useFirewall;
    int firewallType;
    int serverVersion;
    uint32_t serverChallenge;
    int state;           // private
    int accountRequired; // private
};

// Starts the machine for a logon after a good greeting and returns the
// first action. With useFirewall off the site logon runs directly.
LogonAction LogonStart(LogonMachine *m, const LogonTexts &texts, int useFirewall,
                       int firewallType, int serverVersion, uint32_t serverChallenge);
// Continues after the last action: replyClass and replyText are those of
// the command sent (ignored after the other actions).
LogonAction LogonNext(LogonMachine *m, int replyClass, const char *replyText);

// The name of the machine's current step, for the debug log.
const char *LogonStepName(const LogonMachine *m);

// Whether a failure leaves the cancel flag clear, so that the caller may
// retry: firewall failures of kinds 0 and 1, and every destination and
// logon failure. A firewall failure of kind 4 keeps the flag that the close
// set, which stops the retries.
bool LogonFailureClearsCancel(LogonFailure failure, int firewallType);
