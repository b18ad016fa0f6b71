#include "transfer/data_connection.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/data_sockets.h"
#include "transfer/passive_reply.h"
#include "transfer/sounds.h"

namespace {

// The session's network time-out in milliseconds (65 s when unset).
int NetworkTimeoutMs(void)
{
    unsigned seconds = CurrentSession.timeout ? CurrentSession.timeout : 65;
    if (seconds > 2000000)
        seconds = 2000000;
    return (int)seconds * 1000;
}

void LogSocketFailure(UINT labelId, int error)
{
    char text[128];
    LogFormat("! %s %s", LoadText(labelId), WinSockErrorText(error, text));
}

}  // namespace

int PassiveCommand(SOCKET control)
{
    int result = FtpCommand(control, "PASV");
    if (result == 5 && LastReplyCode == 500)
        result = FtpCommand(control, "XPSV");
    return result;
}

SOCKET OpenPassiveData(SOCKET control)
{
    if (PassiveCommand(control) != 2)
        return NO_SOCKET;
    PassiveAddress address;
    switch (ParsePassiveReply(ReplyText, &address)) {
    case PASSIVE_NO_ADDRESS:
        LogFormat(LoadText(IDS_UNABLE_TO_PARSE), ReplyText);
        PlayEventSound(SOUND_OTHER_FAILURE);
        return NO_SOCKET;
    case PASSIVE_BAD_ADDRESS:
        LogFormat(LoadText(IDS_BAD_ADDRESS), address.startText);
        PlayEventSound(SOUND_OTHER_FAILURE);
        return NO_SOCKET;
    case PASSIVE_OK:
        break;
    }
    LogFormat(LoadText(IDS_CONNECTING_TO), address.hostText, address.port);

    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        LogSocketFailure(IDS_FAILED_CREATESOCKET, WSAGetLastError());
        return NO_SOCKET;
    }
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    memcpy(&peer.sin_addr, address.host, 4);
    peer.sin_port = htons((u_short)address.port);
    if (ConnectSocket(s, (const sockaddr *)&peer, sizeof peer, NetworkTimeoutMs()) != 0) {
        int error = WSAGetLastError();
        ReportWinSockError("connect", error);
        closesocket(s);
        return NO_SOCKET;
    }
    return s;
}

SOCKET OpenActiveListener(SOCKET control)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        LogSocketFailure(IDS_FAILED_CREATESOCKET, WSAGetLastError());
        return NO_SOCKET;
    }
    sockaddr_in own = {};
    own.sin_family = AF_INET;
    own.sin_addr.s_addr = htonl(INADDR_ANY);
    own.sin_port = 0;
    if (bind(s, (const sockaddr *)&own, sizeof own) != 0) {
        LogSocketFailure(IDS_FAILED_BIND, WSAGetLastError());
        closesocket(s);
        return NO_SOCKET;
    }
    int length = sizeof own;
    if (getsockname(s, (sockaddr *)&own, &length) != 0) {
        LogSocketFailure(IDS_FAILED_GETSOCKNAME, WSAGetLastError());
        closesocket(s);
        return NO_SOCKET;
    }
    if (listen(s, 1) != 0) {
        LogSocketFailure(IDS_FAILED_LISTEN, WSAGetLastError());
        closesocket(s);
        return NO_SOCKET;
    }

    // Announce the address the control connection runs on: that is the
    // interface the server can reach us by. A listener bound to any address
    // reads back 0.0.0.0, which is only used when nothing better is known.
    sockaddr_in controlAddress = {};
    length = sizeof controlAddress;
    if (getsockname(control, (sockaddr *)&controlAddress, &length) != 0) {
        ReportWinSockError("getsockname", WSAGetLastError());
        controlAddress.sin_addr.s_addr = 0;
    }
    unsigned char bytes[4];
    if (controlAddress.sin_addr.s_addr != 0)
        memcpy(bytes, &controlAddress.sin_addr, 4);
    else
        memcpy(bytes, &own.sin_addr, 4);
    char command[64];
    FormatPortCommand(command, sizeof command, bytes, ntohs(own.sin_port));
    if (FtpCommandText(control, command) == 2)
        return s;
    LogFormat("! %s", LoadText(IDS_FAILED_PORT));
    PlayEventSound(SOUND_OTHER_FAILURE);
    closesocket(s);
    return NO_SOCKET;
}

SOCKET AcceptData(SOCKET listener)
{
    if (listener == NO_SOCKET)
        return NO_SOCKET;
    // The blocking-call timer ends a wait for a server that never connects;
    // the wait's own limit is only a backstop a little beyond it.
    if (MainWindow)
        StartBlockingTimer(MainWindow, BLOCKING_TIMER_ID);
    sockaddr_in peer = {};
    int length = sizeof peer;
    SOCKET s = AcceptSocket(listener, (sockaddr *)&peer, &length, NetworkTimeoutMs() + 5000);
    int error = s == INVALID_SOCKET ? WSAGetLastError() : 0;
    if (MainWindow)
        StopBlockingTimer(MainWindow);
    // A close of the data connections during the wait has closed the
    // listener already: it is closed here only while still recorded.
    bool ours = ListenSocket == listener;
    if (ours)
        ListenSocket = NO_SOCKET;
    if (s == INVALID_SOCKET) {
        ReportWinSockError(LoadText(IDS_ACCEPT_ERROR), error);
        if (ours)
            CloseGraceful(listener);
        return NO_SOCKET;
    }
    if (ours)
        CloseGraceful(listener);
    LogFormat(LoadText(IDS_ACCEPT_FROM), (unsigned)s, inet_ntoa(peer.sin_addr),
              (unsigned)ntohs(peer.sin_port));
    return s;
}

int OpenDataConnection(SOCKET control)
{
    DataSocket = NO_SOCKET;
    ListenSocket = NO_SOCKET;
    if (CurrentSession.passive) {
        DataSocket = OpenPassiveData(control);
        if (DataSocket != NO_SOCKET)
            return 1;
    }
    ListenSocket = OpenActiveListener(control);
    if (ListenSocket != NO_SOCKET)
        return 2;
    PlayEventSound(SOUND_TRANSFER_FAILURE);
    return 0;
}
