// Connect and logon: host lookup on a helper thread (so the window stays
// alive), connect through the control channel's wait layer, the greeting,
// the logon machine of logon_rules.h carried out on the control channel,
// and the initial commands.
#include "ftp/logon.h"

#include <stdio.h>
#include <string.h>

#include <new>

#include "app/app.h"
#include "ftp/control.h"
#include "ftp/logon_rules.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "resources/resource.h"
#include "sites/setting_ranges.h"
#include "sites/site_profile.h"
#include "transfer/transfer.h"
#include "ui/input_dialogs.h"

char FirewallUser[80];
char FirewallPassword[112];
struct sockaddr_in LocalControlAddress;
struct sockaddr_in ServerDataAddress;
int ServerVersion;
uint32_t ServerChallenge;

enum { MAX_HOST_ADDRESSES = 16 };
enum { HELP_SITE_PASSWORD = 80, HELP_FIREWALL_PASSWORD = 82, HELP_ACCOUNT = 85 };

// ---------------------------------------------------------------------
// Host lookup. gethostbyname blocks its thread, so it runs on a thread of
// its own while this one keeps taking messages; a cancelled lookup is left
// to finish on its own and frees the record it shares with us.

namespace {

struct HostLookup {
    volatile LONG references;
    HANDLE done;
    char host[256];
    int count;
    struct in_addr addresses[MAX_HOST_ADDRESSES];
    int error;
};

void ReleaseLookup(HostLookup *lookup)
{
    if (InterlockedDecrement(&lookup->references) == 0) {
        CloseHandle(lookup->done);
        delete lookup;
    }
}

void ResolveInto(HostLookup *lookup)
{
    struct hostent *entry = gethostbyname(lookup->host);
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4) {
        lookup->error = WSAGetLastError();
        return;
    }
    for (int i = 0; entry->h_addr_list[i] && lookup->count < MAX_HOST_ADDRESSES; i++)
        memcpy(&lookup->addresses[lookup->count++], entry->h_addr_list[i], 4);
}

DWORD WINAPI LookupThread(void *parameter)
{
    HostLookup *lookup = (HostLookup *)parameter;
    ResolveInto(lookup);
    SetEvent(lookup->done);
    ReleaseLookup(lookup);
    return 0;
}

// Fills addresses with the host's addresses; returns their count, 0 when
// the name cannot be resolved or the wait was cancelled.
int LookUpHost(const char *host, struct in_addr *addresses)
{
    HostLookup *lookup = new (std::nothrow) HostLookup{};
    if (!lookup)
        return 0;
    snprintf(lookup->host, sizeof lookup->host, "%s", host);
    lookup->references = 2;
    lookup->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = lookup->done ? CreateThread(nullptr, 0, LookupThread, lookup, 0, nullptr) : nullptr;
    if (!thread) {
        // No thread: look the name up here, blocking.
        ResolveInto(lookup);
        int count = lookup->count;
        memcpy(addresses, lookup->addresses, sizeof lookup->addresses);
        if (lookup->done)
            CloseHandle(lookup->done);
        delete lookup;
        return count;
    }
    CloseHandle(thread);
    int count = 0;
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &lookup->done, FALSE, 100, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) {
            count = lookup->count;
            memcpy(addresses, lookup->addresses, sizeof lookup->addresses);
            break;
        }
        for (int i = 0; i < 50 && BlockingHook(); i++) {
        }
        if (CancelFlag) {
            WSASetLastError(WSAEINTR);
            break;
        }
    }
    ReleaseLookup(lookup);
    return count;
}

bool IsDottedAddress(const char *host, struct in_addr *address)
{
    unsigned long a = inet_addr(host);
    if (a == INADDR_NONE && strcmp(host, "255.255.255.255") != 0)
        return false;
    address->s_addr = a;
    return true;
}

int ConnectMilliseconds(void)
{
    return ReplyTimeout > 0 ? ReplyTimeout * 1000 : 30000;
}

}  // namespace

SOCKET OpenControlSocket(const char *host, unsigned port)
{
    LogLine("- -");
    if (IsBlockingWait())
        CancelBlockingWait();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) {
        LogFormat("! %s - %s", LoadText(IDS_CREATESOCKET_FAILED),
                  WinSockErrorText(WSAGetLastError(), nullptr));
        return NO_SOCKET;
    }
    struct in_addr addresses[MAX_HOST_ADDRESSES];
    int count = 1;
    if (!IsDottedAddress(host, &addresses[0])) {
        count = LookUpHost(host, addresses);
        if (count == 0) {
            LogFormat(LoadText(IDS_NO_HOST_ENTRY), host);
            closesocket(s);
            return NO_SOCKET;
        }
    }
    for (int i = 0; i < count; i++) {
        struct sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons((u_short)port);
        address.sin_addr = addresses[i];
        char dotted[32];
        snprintf(dotted, sizeof dotted, "%s", inet_ntoa(addresses[i]));
        LogFormat(LoadText(IDS_CONNECTING_TO), dotted, port);
        if (ConnectSocket(s, (struct sockaddr *)&address, sizeof address, ConnectMilliseconds()) == 0) {
            ServerDataAddress = address;
            ServerDataAddress.sin_port = htons(20);
            LogFormat(LoadText(IDS_CONNECTED_TO), dotted, port);
            return s;
        }
        int error = WSAGetLastError();
        LogFormat("! %s %s - %s", LoadText(IDS_CONNECTION_FAILED), host, WinSockErrorText(error, nullptr));
        // A socket whose connect failed is not reused: the next address
        // gets a fresh one.
        closesocket(s);
        if (CancelFlag || i + 1 == count)
            return NO_SOCKET;
        s = socket(AF_INET, SOCK_STREAM, 0);
        if (s == INVALID_SOCKET) {
            LogFormat("! %s - %s", LoadText(IDS_CREATESOCKET_FAILED),
                      WinSockErrorText(WSAGetLastError(), nullptr));
            return NO_SOCKET;
        }
    }
    closesocket(s);
    return NO_SOCKET;
}

// ---------------------------------------------------------------------
// Logon

namespace {

void GreetingCheck(SiteProfile *p)
{
    int version = ServerVersion;
    uint32_t challenge = ServerChallenge;
    if (CheckGreetingLine(ReplyText, &version, &challenge)) {
        ServerVersion = version;
        ServerChallenge = challenge;
    }
    if (!p->useFirewall && p->hostType == HOSTTYPE_AUTO)
        DetectHostTypeForProfile(p, ReplyText);
}

// Asks for one secret: once, or again while the answer stays empty and the
// user does not cancel.
void AskSecret(SiteProfile *p, LogonSecret secret, int whileEmpty, const char *destination)
{
    char *field;
    size_t size;
    int help;
    UINT format;
    const char *first, *second;
    switch (secret) {
    case SECRET_FIREWALL_PASSWORD:
        field = FirewallPassword, size = sizeof FirewallPassword, help = HELP_FIREWALL_PASSWORD;
        format = IDS_ASK_FIREWALL_PASSWORD, first = FirewallUser, second = destination;
        break;
    case SECRET_ACCOUNT:
        field = p->account, size = sizeof p->account, help = HELP_ACCOUNT;
        format = IDS_ASK_ACCOUNT, first = p->userId, second = p->host;
        break;
    default:
        field = p->password, size = sizeof p->password, help = HELP_SITE_PASSWORD;
        format = IDS_ASK_SITE_PASSWORD, first = p->userId, second = p->host;
        break;
    }
    char prompt[256];
    snprintf(prompt, sizeof prompt, LoadText(format), first, second);
    for (int guard = 0; guard < 100; guard++) {
        char answer[256];
        snprintf(answer, sizeof answer, "%s", field);
        HelpContext = help;
        if (!InputPassword(answer, "%s", prompt))
            break;
        snprintf(field, size, "%s", answer);
        if (!whileEmpty || field[0])
            break;
    }
}

void SendInitialCommands(SOCKET s, const SiteProfile *p)
{
    char list[256];
    snprintf(list, sizeof list, "%s", p->initCommands);
    const char *cursor = list[0] ? list : nullptr;
    char piece[256];
    for (int guard = 0; guard < 256 && NextInitialCommand(&cursor, piece, sizeof piece); guard++)
        FtpCommand(s, "%s", piece);
}

// Ends a logon that failed after the greeting.
SOCKET FailLogon(SOCKET s, LogonFailure failure, int firewallType)
{
    UINT text = failure == FAIL_FIREWALL      ? IDS_FIREWALL_FAILURE
                : failure == FAIL_DESTINATION ? IDS_DESTINATION_FAILURE
                                              : IDS_LOGON_FAILURE;
    LogFormat("! %s", LoadText(text));
    CloseGraceful(s);
    if (failure != FAIL_FIREWALL)
        Connected = FALSE;
    if (LogonFailureClearsCancel(failure, firewallType))
        CancelFlag = FALSE;
    return NO_SOCKET;
}

}  // namespace

SOCKET ConnectAndLogon(SiteProfile *p)
{
    if (Connected) {
        LogFormat("! %s", LoadText(IDS_ALREADY_CONNECTED));
        return NO_SOCKET;
    }
    InterlockedIncrement(&CommandBusy);
    CancelFlag = FALSE;
    AbortFlag = FALSE;
    FixSettingRanges(p);
    ReplyTimeout = (int)p->timeout;
    p->serverFlags = 6;
    AnnouncedType = 'A';   // a new FTP session starts in ASCII

    if (!p->userId[0]) {
        char answer[256] = "";
        if (InputText(answer, LoadText(IDS_ASK_USERID), p->host))
            snprintf(p->userId, sizeof p->userId, "%s", answer);
    }

    // Where the control connection goes.
    char destination[256];
    snprintf(destination, sizeof destination, "%s", p->host);
    int firewallType = 0;
    if (p->useFirewall) {
        FirewallSettings firewall = {};
        snprintf(firewall.password, sizeof firewall.password, "%s", FirewallPassword);
        LoadFirewallSettings(&firewall);
        firewallType = firewall.type;
        if (firewallType != 6) {
            snprintf(destination, sizeof destination, "%s", firewall.host);
            p->port = firewall.port;
            FixSettingRanges(p);
        }
        snprintf(FirewallUser, sizeof FirewallUser, "%s", firewall.userId);
        snprintf(FirewallPassword, sizeof FirewallPassword, "%s", firewall.password);
    }

    SOCKET s = OpenControlSocket(destination, p->port);
    if (s == NO_SOCKET) {
        LogFormat("! %s %s", LoadText(IDS_CONNECTION_FAILED), destination);
        InterlockedDecrement(&CommandBusy);
        return NO_SOCKET;
    }

    int length = sizeof LocalControlAddress;
    if (getsockname(s, (struct sockaddr *)&LocalControlAddress, &length) != 0) {
        ReportWinSockError("getsockname", WSAGetLastError());
        InterlockedDecrement(&CommandBusy);
        Connected = FALSE;
        CloseGraceful(s);
        return NO_SOCKET;
    }
    LogFormat(LoadText(IDS_LOCAL_ADDRESS), (unsigned)s, inet_ntoa(LocalControlAddress.sin_addr),
              (unsigned)ntohs(LocalControlAddress.sin_port));

    // The greeting: preliminary replies until the final one.
    ServerVersion = 0;
    ServerChallenge = 0;
    DetectFromReplies = TRUE;
    int replyClass = GetReply(s);
    for (int guard = 0; replyClass == 1 && !CancelFlag && guard < 1000; guard++) {
        GreetingCheck(p);
        replyClass = GetReply(s);
    }
    DetectFromReplies = FALSE;
    if (replyClass != 2) {
        if (replyClass == 4)
            LogFormat("! %s %s", LoadText(IDS_CONNECTION_FAILED), destination);
        else
            LogFormat("! %s \"%s\" %u", LoadText(IDS_UNKNOWN_OPEN), ReplyText, (unsigned)LastReplyCode);
        InterlockedDecrement(&CommandBusy);
        CloseGraceful(s);
        CancelFlag = FALSE;
        return NO_SOCKET;
    }
    GreetingCheck(p);
    BOOL inlineUrgent = TRUE;
    if (setsockopt(s, SOL_SOCKET, SO_OOBINLINE, (const char *)&inlineUrgent, sizeof inlineUrgent) != 0)
        ReportWinSockError("setsockopt", WSAGetLastError());
    InterlockedDecrement(&CommandBusy);

    // The logon, through the firewall when there is one.
    LogonTexts texts{p->host, p->userId, p->password, p->account, FirewallUser, FirewallPassword};
    LogonMachine machine;
    LogonAction action = LogonStart(&machine, texts, p->useFirewall, firewallType, ServerVersion,
                                    ServerChallenge);
    for (int guard = 0; action.kind != LOGON_DONE; guard++) {
        if (guard > 64)
            return FailLogon(s, FAIL_LOGON, firewallType);
        LogFormat("[logon] %s", LogonStepName(&machine));
        switch (action.kind) {
        case LOGON_SEND: {
            int cls = FtpCommand(s, "%s", action.text);
            action = LogonNext(&machine, cls, ReplyText);
            break;
        }
        case LOGON_ASK:
            AskSecret(p, action.secret, action.whileEmpty, destination);
            action = LogonNext(&machine, 0, nullptr);
            break;
        case LOGON_DETECT:
            if (p->hostType == HOSTTYPE_AUTO)
                DetectHostTypeForProfile(p, ReplyText);
            action = LogonNext(&machine, 0, nullptr);
            break;
        case LOGON_SET_CONNECTED:
            Connected = TRUE;
            action = LogonNext(&machine, 0, nullptr);
            break;
        case LOGON_FAIL:
            return FailLogon(s, action.failure, firewallType);
        case LOGON_DONE:
            break;
        }
    }

    SendInitialCommands(s, p);
    Connected = TRUE;
    if (p->hostType == HOSTTYPE_LOGON_DELETE_ONLY) {
        ServerCaps.hostTypeChecked = 1;
        ServerCaps.canDelete = 1;
    } else {
        ServerCaps.hostTypeChecked = 0;
    }
    if (MainWindow) {
        char title[300];
        snprintf(title, sizeof title, "%s %s", AppTitle, p->host);
        SetWindowTextA(MainWindow, title);
    }
    ConnectRetryCount = 0;
    return s;
}
