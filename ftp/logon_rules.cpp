#include "ftp/logon_rules.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// ---------------------------------------------------------------------
// Greeting check

static uint32_t LeadingNumber(const char *p)
{
    uint32_t n = 0;
    while (*p >= '0' && *p <= '9')
        n = n * 10u + (uint32_t)(*p++ - '0');
    return n;
}

bool CheckGreetingLine(const char *line, int *version, uint32_t *challenge)
{
    const char *marker = strstr(line, " VELTRO ");
    if (!marker || marker - line < 2 || marker[-2] != 'X')
        return false;
    *version = (int)LeadingNumber(marker - 1);
    if (const char *paren = strchr(line, '('))
        *challenge = LeadingNumber(paren + 1);
    return true;
}

// ---------------------------------------------------------------------
// XAUT credentials

int ScrambleCredentials(const char *userId, const char *password, uint32_t challenge,
                        char *output, size_t outputSize, int version)
{
    if (outputSize == 0)
        return 0;
    output[0] = '\0';
    char plain[2 * 256 + 16];
    size_t length;
    if (version >= 2) {
        char user[256 + 8];
        int u = snprintf(user, sizeof user, "%s%s", userId, strlen(userId) < 8 ? "~hx4m82" : "");
        if (u < 0 || (size_t)u >= sizeof user)
            return 0;
        if (strlen(userId) < 8)
            user[12 < u ? 12 : u] = '\0';
        int n = snprintf(plain, sizeof plain, "%s:%s%s", user, password,
                         strlen(password) < 8 ? "~pq7d3s" : "");
        if (n < 0 || (size_t)n >= sizeof plain)
            return 0;
        length = (size_t)n;
    } else {
        int n = snprintf(plain, sizeof plain, "%s:%s", userId, password);
        if (n < 0 || (size_t)n >= sizeof plain)
            return 0;
        length = (size_t)n;
    }
    if (2 * length + 1 > outputSize)
        return 0;

    unsigned char *bytes = (unsigned char *)plain;
    if (version == 2) {
        const uint32_t key = 0x6A4D3B2Cu;
        for (size_t i = 0; i < length; i++)
            bytes[i] ^= (unsigned char)(key >> (8 * (i % 4)));
    }
    for (size_t i = 0; i < length; i++)
        bytes[i] ^= (unsigned char)(challenge >> (8 * (i % 4)));
    for (size_t i = 0; i < length; i++) {
        output[2 * i] = (char)((bytes[i] >> 4) + 53);
        output[2 * i + 1] = (char)((bytes[i] & 15) + 49);
    }
    output[2 * length] = '\0';
    return (int)(2 * length);
}

// ---------------------------------------------------------------------
// Initial commands

bool NextInitialCommand(const char **cursor, char *piece, size_t size)
{
    const char *start = *cursor;
    if (!start || size == 0)
        return false;
    const char *semicolon = strchr(start, ';');
    size_t length;
    if (semicolon) {
        length = (size_t)(semicolon - start);
        *cursor = semicolon + 1;
    } else {
        *cursor = nullptr;
        length = strlen(start);
        if (length == 0)
            return false;
    }
    if (length >= size)
        length = size - 1;
    memcpy(piece, start, length);
    piece[length] = '\0';
    return true;
}

// ---------------------------------------------------------------------
// The logon machine

namespace {

enum State {
    S_IDLE,
    // Site logon, password stage and account stage.
    S_SITE_ASKED, S_XAUT_SENT, S_USER_SENT,
    S_PASS_ASKED, S_PASS_SENT,
    S_ACCT_ASKED, S_ACCT_SENT,
    // The firewall user stage (kinds 0, 1 and 6).
    S_FW_USER_SENT, S_FW_PASS_ASKED, S_FW_PASS_SENT,
    S_SITE_CMD_SENT, S_SITE_CMD_CONNECTED,          // kind 0
    S_AT_USER_SENT,                                 // kind 1
    S_NOLOGON_USER_SENT, S_NOLOGON_DETECTED,        // kind 2
    S_OPEN_SENT, S_OPEN_DETECTED, S_OPEN_CONNECTED, // kind 3
    S_K4_USER_SENT, S_K4_SITE_ASKED, S_K4_PASS_SENT, S_K4_FW_ASKED, S_K4_ACCT_SENT,
    S_K5_USER_SENT, S_K5_FW_ASKED, S_K5_PASS_SENT, S_K5_DETECTED,
    S_K6_DETECTED,
    S_K7_USER_SENT, S_K7_FW_ASKED, S_K7_SITE_ASKED, S_K7_PASS_SENT,
    S_DONE, S_FAILED,
    S_COUNT
};

const char *const StateNames[S_COUNT] = {
    "idle",
    "site logon", "XAUT sent", "USER sent",
    "password asked", "PASS sent",
    "account asked", "ACCT sent",
    "firewall USER sent", "firewall password asked", "firewall PASS sent",
    "SITE sent", "SITE passed",
    "USER user@host sent",
    "USER user@host sent (no firewall logon)", "reply offered",
    "OPEN sent", "OPEN reply offered", "OPEN passed",
    "USER user@host fireuser sent", "site password asked", "site PASS sent", "firewall password asked", "firewall ACCT sent",
    "USER fireuser@host sent", "firewall password asked", "firewall PASS sent", "firewall reply offered",
    "transparent firewall passed",
    "USER user@fireuser@host sent", "firewall password asked", "site password asked", "PASS site@firewall sent",
    "logged on", "failed",
};

LogonAction Action(LogonMachine *m, int state, LogonActionKind kind)
{
    LogonAction a{};
    a.kind = kind;
    m->state = state;
    return a;
}

LogonAction Send(LogonMachine *m, int state, const char *format, ...)
{
    LogonAction a = Action(m, state, LOGON_SEND);
    va_list args;
    va_start(args, format);
    vsnprintf(a.text, sizeof a.text, format, args);
    va_end(args);
    return a;
}

LogonAction Fail(LogonMachine *m, LogonFailure failure)
{
    LogonAction a = Action(m, S_FAILED, LOGON_FAIL);
    a.failure = failure;
    return a;
}

LogonAction Done(LogonMachine *m) { return Action(m, S_DONE, LOGON_DONE); }

const char *SecretText(const LogonMachine *m, LogonSecret secret)
{
    switch (secret) {
    case SECRET_SITE_PASSWORD: return m->texts.password;
    case SECRET_FIREWALL_PASSWORD: return m->texts.firewallPassword;
    case SECRET_ACCOUNT: return m->texts.account;
    }
    return "";
}

// Asks for a secret only while it is empty; when it is already there the
// machine goes straight on to the state that follows the question.
LogonAction Ask(LogonMachine *m, int next, LogonSecret secret, int whileEmpty)
{
    if (SecretText(m, secret)[0]) {
        m->state = next;
        return LogonNext(m, 0, "");
    }
    LogonAction a = Action(m, next, LOGON_ASK);
    a.secret = secret;
    a.whileEmpty = whileEmpty;
    return a;
}

LogonAction SiteLogon(LogonMachine *m) { return Ask(m, S_SITE_ASKED, SECRET_SITE_PASSWORD, 0); }

LogonAction PasswordStage(LogonMachine *m) { return Ask(m, S_PASS_ASKED, SECRET_SITE_PASSWORD, 1); }

LogonAction AccountStage(LogonMachine *m, int required)
{
    m->accountRequired = required;
    return Ask(m, S_ACCT_ASKED, SECRET_ACCOUNT, 1);
}

// Step 3 of the password stage: the reply to the password.
LogonAction PasswordReply(LogonMachine *m, int replyClass, const char *replyText)
{
    if (replyClass == 3)
        return AccountStage(m, 1);
    if (replyClass == 2)
        return strstr(replyText, "ACCOUNT") ? AccountStage(m, 0) : Done(m);
    return Fail(m, FAIL_LOGON);
}

LogonAction FirewallUserStage(LogonMachine *m)
{
    return Send(m, S_FW_USER_SENT, "USER %s", m->texts.firewallUser);
}

// The firewall user stage has ended with this class.
LogonAction AfterFirewallUser(LogonMachine *m, int replyClass)
{
    switch (m->firewallType) {
    case 0:
        if (replyClass != 2)
            return Fail(m, FAIL_FIREWALL);
        return Send(m, S_SITE_CMD_SENT, "SITE %s", m->texts.host);
    case 1:
        if (replyClass != 2)
            return Fail(m, FAIL_FIREWALL);
        return Send(m, S_AT_USER_SENT, "USER %s@%s", m->texts.userId, m->texts.host);
    default:  // 6
        if (replyClass != 2)
            return Fail(m, FAIL_DESTINATION);
        return Action(m, S_K6_DETECTED, LOGON_DETECT);
    }
}

}  // namespace

LogonAction LogonStart(LogonMachine *m, const LogonTexts &texts, int useFirewall,
                       int firewallType, int serverVersion, uint32_t serverChallenge)
{
    m->texts = texts;
    m->useFirewall = useFirewall;
    m->firewallType = firewallType;
    m->serverVersion = serverVersion;
    m->serverChallenge = serverChallenge;
    m->accountRequired = 0;
    m->state = S_IDLE;
    if (!useFirewall)
        return SiteLogon(m);
    const LogonTexts &t = m->texts;
    switch (firewallType) {
    case 0:
    case 1:
    case 6:
        return FirewallUserStage(m);
    case 2:
        return Send(m, S_NOLOGON_USER_SENT, "USER %s@%s", t.userId, t.host);
    case 3:
        return Send(m, S_OPEN_SENT, "OPEN %s", t.host);
    case 4:
        return Send(m, S_K4_USER_SENT, "USER %s@%s %s", t.userId, t.host, t.firewallUser);
    case 5:
        return Send(m, S_K5_USER_SENT, "USER %s@%s", t.firewallUser, t.host);
    case 7:
        return Send(m, S_K7_USER_SENT, "USER %s@%s@%s", t.userId, t.firewallUser, t.host);
    default:
        return SiteLogon(m);
    }
}

LogonAction LogonNext(LogonMachine *m, int replyClass, const char *replyText)
{
    const LogonTexts &t = m->texts;
    if (!replyText)
        replyText = "";
    switch (m->state) {
    // --- site logon ---------------------------------------------------
    case S_SITE_ASKED:
        if (m->serverChallenge && m->serverVersion) {
            char scrambled[2 * (2 * 256 + 16) + 1];
            if (ScrambleCredentials(t.userId, t.password, m->serverChallenge, scrambled,
                                    sizeof scrambled, m->serverVersion) > 0)
                return Send(m, S_XAUT_SENT, "XAUT %u %s", (unsigned)m->serverVersion, scrambled);
        }
        return Send(m, S_USER_SENT, "USER %s", t.userId);
    case S_XAUT_SENT:
        if (replyClass == 2)
            return Done(m);
        return Send(m, S_USER_SENT, "USER %s", t.userId);
    case S_USER_SENT:
        if (replyClass == 2)
            return Done(m);
        if (replyClass == 3)
            return PasswordStage(m);
        return Fail(m, FAIL_LOGON);
    case S_PASS_ASKED:
        if (!t.password[0])
            return Fail(m, FAIL_LOGON);
        return Send(m, S_PASS_SENT, "PASS %s", t.password);
    case S_PASS_SENT:
        return PasswordReply(m, replyClass, replyText);
    case S_ACCT_ASKED:
        if (!t.account[0])
            return m->accountRequired ? Fail(m, FAIL_LOGON) : Done(m);
        return Send(m, S_ACCT_SENT, "ACCT %s", t.account);
    case S_ACCT_SENT:
        return replyClass == 2 ? Done(m) : Fail(m, FAIL_LOGON);

    // --- firewall user stage (0, 1, 6) -------------------------------
    case S_FW_USER_SENT:
        if (replyClass == 3)
            return Ask(m, S_FW_PASS_ASKED, SECRET_FIREWALL_PASSWORD, 1);
        return AfterFirewallUser(m, replyClass);
    case S_FW_PASS_ASKED:
        return Send(m, S_FW_PASS_SENT, "PASS %s", t.firewallPassword);
    case S_FW_PASS_SENT:
        return AfterFirewallUser(m, replyClass);

    // --- 0: SITE hostname ---------------------------------------------
    case S_SITE_CMD_SENT:
        if (replyClass == 5)
            return Fail(m, FAIL_DESTINATION);
        return Action(m, S_SITE_CMD_CONNECTED, LOGON_SET_CONNECTED);
    case S_SITE_CMD_CONNECTED:
        return SiteLogon(m);

    // --- 1: USER after logon ------------------------------------------
    case S_AT_USER_SENT:
        return replyClass == 3 ? PasswordStage(m) : Fail(m, FAIL_DESTINATION);

    // --- 2: USER with no logon ----------------------------------------
    case S_NOLOGON_USER_SENT:
        if (replyClass == 2)
            return Action(m, S_NOLOGON_DETECTED, LOGON_DETECT);
        return replyClass == 3 ? PasswordStage(m) : Fail(m, FAIL_DESTINATION);
    case S_NOLOGON_DETECTED:
        return Done(m);

    // --- 3: proxy OPEN ------------------------------------------------
    case S_OPEN_SENT:
        if (replyClass == 2 || replyClass == 3)
            return Action(m, S_OPEN_DETECTED, LOGON_DETECT);
        return Fail(m, FAIL_DESTINATION);
    case S_OPEN_DETECTED:
        return Action(m, S_OPEN_CONNECTED, LOGON_SET_CONNECTED);
    case S_OPEN_CONNECTED:
        return SiteLogon(m);

    // --- 4: USER remoteID@remoteHost fireID ---------------------------
    case S_K4_USER_SENT:
        if (replyClass != 3)
            return Fail(m, FAIL_FIREWALL);
        return Ask(m, S_K4_SITE_ASKED, SECRET_SITE_PASSWORD, 1);
    case S_K4_SITE_ASKED:
        if (!t.password[0])
            return Fail(m, FAIL_FIREWALL);
        return Send(m, S_K4_PASS_SENT, "PASS %s", t.password);
    case S_K4_PASS_SENT:
        if (replyClass != 3)
            return Fail(m, FAIL_FIREWALL);
        return Ask(m, S_K4_FW_ASKED, SECRET_FIREWALL_PASSWORD, 1);
    case S_K4_FW_ASKED:
        if (!t.firewallPassword[0])
            return Fail(m, FAIL_FIREWALL);
        return Send(m, S_K4_ACCT_SENT, "ACCT %s", t.firewallPassword);
    case S_K4_ACCT_SENT:
        return replyClass == 2 ? Done(m) : Fail(m, FAIL_LOGON);

    // --- 5: USER fireID@remoteHost ------------------------------------
    case S_K5_USER_SENT:
        if (replyClass == 3)
            return Ask(m, S_K5_FW_ASKED, SECRET_FIREWALL_PASSWORD, 1);
        if (replyClass != 2)
            return Fail(m, FAIL_DESTINATION);
        return Action(m, S_K5_DETECTED, LOGON_DETECT);
    case S_K5_FW_ASKED:
        return Send(m, S_K5_PASS_SENT, "PASS %s", t.firewallPassword);
    case S_K5_PASS_SENT:
        if (replyClass != 2)
            return Fail(m, FAIL_DESTINATION);
        return Action(m, S_K5_DETECTED, LOGON_DETECT);
    case S_K5_DETECTED:
        return SiteLogon(m);

    // --- 6: transparent -------------------------------------------------
    case S_K6_DETECTED:
        return SiteLogon(m);

    // --- 7: USER remoteID@fireID@remoteHost ----------------------------
    case S_K7_USER_SENT:
        if (replyClass == 2)
            return Done(m);
        if (replyClass != 3)
            return Fail(m, FAIL_LOGON);
        return Ask(m, S_K7_FW_ASKED, SECRET_FIREWALL_PASSWORD, 1);
    case S_K7_FW_ASKED:
        return Ask(m, S_K7_SITE_ASKED, SECRET_SITE_PASSWORD, 1);
    case S_K7_SITE_ASKED:
        return Send(m, S_K7_PASS_SENT, "PASS %s@%s", t.password, t.firewallPassword);
    case S_K7_PASS_SENT:
        return PasswordReply(m, replyClass, replyText);

    case S_DONE:
        return Done(m);
    default:
        return Fail(m, FAIL_LOGON);
    }
}

const char *LogonStepName(const LogonMachine *m)
{
    return m->state >= 0 && m->state < S_COUNT ? StateNames[m->state] : "?";
}

bool LogonFailureClearsCancel(LogonFailure failure, int firewallType)
{
    if (failure == FAIL_FIREWALL)
        return firewallType == 0 || firewallType == 1;
    return true;
}
