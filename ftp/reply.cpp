#include "ftp/reply.h"

#include <string.h>
#include <strings.h>

void ClearPending(PendingBytes *pending)
{
    pending->start = 0;
    pending->length = 0;
}

int TakePendingLine(PendingBytes *pending, char *line, bool *complete)
{
    *complete = false;
    if (pending->length <= 0) {
        ClearPending(pending);
        return 0;
    }
    const char *from = pending->bytes + pending->start;
    const char *lf = (const char *)memchr(from, '\n', (size_t)pending->length);
    int moved = lf ? (int)(lf - from) + 1 : pending->length;
    memcpy(line, from, (size_t)moved);
    if (lf) {
        *complete = true;
        pending->start += moved;
        pending->length -= moved;
        if (pending->length == 0)
            ClearPending(pending);
    } else {
        ClearPending(pending);
    }
    return moved;
}

int AcceptReceived(char *line, int held, int received, PendingBytes *pending,
                   bool *complete)
{
    *complete = false;
    if (received <= 0)
        return held;
    char *from = line + held;
    int end = -1;
    for (int i = 0; i < received; i++) {
        if (from[i] == '\0' || from[i] == '\n') {
            end = i;
            break;
        }
    }
    if (end >= 0 && end < received - 1) {
        // Bytes of the next line(s) came with this one: keep them for later.
        int rest = received - end - 1;
        memcpy(pending->bytes, from + end + 1, (size_t)rest);
        pending->start = 0;
        pending->length = rest;
        memset(from + end + 1, 0, (size_t)rest);
        *complete = true;
        return held + end + 1;
    }
    *complete = from[received - 1] == '\n';
    return held + received;
}

static bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int ReplyLineCode(const char *line)
{
    if (!IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]))
        return 0;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

bool IsContinuedLine(const char *line, int code)
{
    // A code of 100..599 guarantees three characters, so line[3] exists.
    if (code < 100 || code > 599)
        return true;
    return line[3] == '-';
}

int ReplyCodeAfterLine(int current, int depth, int lineCode)
{
    if ((depth == 1 || current == 0) && lineCode >= 100 && lineCode <= 599)
        return lineCode;
    return current;
}

bool ReplyContinues(bool lineContinued, int replyCode, int depth, int lineCode)
{
    return lineContinued || (replyCode > 0 && depth > 1 && lineCode != replyCode);
}

int ReplyClass(int code)
{
    return code >= 100 && code <= 599 ? code / 100 : 0;
}

const char *CommandEcho(const char *command, bool hideNoop)
{
    if (strncmp(command, "PASS ", 5) == 0)
        return "PASS (hidden)";
    if (strncmp(command, "ACCT ", 5) == 0)
        return "ACCT (hidden)";
    if (hideNoop && strncmp(command, "NOOP", 4) == 0)
        return nullptr;
    return command;
}

bool IsQuietReply(const char *line)
{
    return strncasecmp(line, "200 NOOP", 8) == 0;
}

bool KeepsTrailingBlanks(const char *command)
{
    return strncasecmp(command, "PASS ", 5) == 0;
}

char *TrimRight(char *text)
{
    size_t n = strlen(text);
    while (n > 0) {
        char c = text[n - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            break;
        text[--n] = '\0';
    }
    return text;
}

const char *FindText(const char *text, const char *pattern)
{
    return strstr(text, pattern);
}

char *FindText(char *text, const char *pattern)
{
    return strstr(text, pattern);
}
