// The rules of the FTP control channel that need no socket: how a reply
// line is cut out of received bytes, which code it carries, when a reply
// continues, and how commands and replies are echoed to the message log.
//
// Contract (RFC 959 multi-line replies as this program reads them):
//  - a line's code is the number in its first three characters, 0 when
//    they are not all digits;
//  - a line continues the reply when its code is below 100 or above 599,
//    or when its fourth character is '-';
//  - after the first line, a line whose code differs from the reply code
//    also continues it, so "220-" ... "230 x" ... "220 end" is one reply
//    ending at "220 end";
//  - a received line ends after the first NUL or LF; a line of 942 bytes
//    or more without one is handed out as it stands (a piece).
#pragma once

enum {
    REPLY_LINE_READ = 1024,    // most bytes one line read holds
    REPLY_LINE_PIECE = 942,    // a line this long without LF is handed out
    REPLY_TEXT_CLEARED = 2048, // bytes of the reply buffer cleared per line
    COMMAND_TEXT_MAX = 291,    // longest command FtpCommand formats
};

// Bytes received behind the current line, kept for the next line read.
struct PendingBytes {
    char bytes[REPLY_LINE_READ];
    int start;    // first byte not yet handed out
    int length;   // bytes from start
};

void ClearPending(PendingBytes *pending);

// Moves pending bytes into line (which has room for REPLY_LINE_READ bytes)
// up to and including the first LF. Returns the number moved; *complete is
// set when an LF ended the line. When no LF was found all pending bytes
// were moved and the pending store is empty.
int TakePendingLine(PendingBytes *pending, char *line, bool *complete);

// One receive has appended `received` bytes at line + held. Cuts the line
// after the first NUL or LF among them when that is not the last received
// byte, and stores the bytes behind it as pending. Returns the number of
// bytes the line now holds; *complete is set when the line has ended
// (cut, or the last received byte is an LF).
int AcceptReceived(char *line, int held, int received, PendingBytes *pending,
                   bool *complete);

// The code in the first three characters of a line, 0 when not digits.
int ReplyLineCode(const char *line);

// The line, with this code, announces that the reply goes on.
bool IsContinuedLine(const char *line, int code);

// The reply code after a line: `current` is the code recorded so far (the
// last reply's code before the first line), `depth` the number of lines
// read including this one. The first line, or any line while no code is
// recorded, sets the code when its own code is 100..599.
int ReplyCodeAfterLine(int current, int depth, int lineCode);

// Whether another line must be read after this one.
bool ReplyContinues(bool lineContinued, int replyCode, int depth, int lineCode);

// The reply class of a final code: its first digit, or 0 when the code is
// not 100..599.
int ReplyClass(int code);

// The log echo of a command. Passwords and accounts ("PASS ", "ACCT ",
// compared with case) read "PASS (hidden)" / "ACCT (hidden)". Other
// commands are echoed as they stand, except "NOOP..." when hideNoop is set.
// Returns null when nothing is to be logged.
const char *CommandEcho(const char *command, bool hideNoop);

// A reply line that stays out of the log while debug messages are off.
bool IsQuietReply(const char *line);

// Trailing blanks are part of a password: only "PASS " (any case) keeps them.
bool KeepsTrailingBlanks(const char *command);

// Removes trailing spaces, tabs, CR and LF in place; returns text.
char *TrimRight(char *text);

// First occurrence of pattern in text, compared byte for byte; null if none.
// An empty pattern is found at the start.
const char *FindText(const char *text, const char *pattern);
char *FindText(char *text, const char *pattern);
