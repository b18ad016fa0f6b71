// Resource ids shared by the resource scripts and the code.
// Prefixes: IDD_ dialogs, IDC_ controls, IDS_ strings, IDB_ bitmaps,
// IDM_ menu commands. Command ids stay clear of 0 and of 0xF000 and above.
// String ids that have a fixed number keep it; others use the range of
// their subsystem (app 20000, ftp 21000, transfer 22000, listing 23000,
// sites 24000, cmdline 25000, ui 26000).
#pragma once

// ftp: control channel. Texts shared with the transfer code keep their numbers.
#define IDS_NOT_CONNECTED       14183   // "Not connected, ignored"
#define IDS_RECEIVE_ERROR       14256   // "Receive error"
#define IDS_SEND_ERROR          14270   // "Send error"
#define IDS_TRANSMITTED         14305   // "Transmitted"
#define IDS_ERROR_NUMBER        21000   // "error %u"
#define IDS_TIMER_CANCELLED     21001
#define IDS_COMMAND_YIELDING    21002
#define IDS_CLOSESOCKET         21003
#define IDS_NOT_ACCEPTED        21004
// WinSock error texts, one id per text (see WinSockErrorText).
#define IDS_WSA_10004           21100
#define IDS_WSA_10022           21101
#define IDS_WSA_10024           21102
#define IDS_WSA_10035           21103
#define IDS_WSA_10036           21104
#define IDS_WSA_10038           21105
#define IDS_WSA_10041           21106
#define IDS_WSA_10043           21107
#define IDS_WSA_10044           21108
#define IDS_WSA_10047           21109
#define IDS_WSA_10048           21110
#define IDS_WSA_10049           21111
#define IDS_WSA_10050           21112
#define IDS_WSA_10053           21113
#define IDS_WSA_10054           21114
#define IDS_WSA_10055           21115
#define IDS_WSA_10057           21116
#define IDS_WSA_10060           21117
#define IDS_WSA_10061           21118
#define IDS_WSA_10064           21119
#define IDS_WSA_10065           21120
#define IDS_WSA_10091           21121
#define IDS_WSA_10092           21122
#define IDS_WSA_10093           21123
#define IDS_WSA_11001           21124   // also 11002
#define IDS_WSA_11003           21125
#define IDS_WSA_11004           21126
