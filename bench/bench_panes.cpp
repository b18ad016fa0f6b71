// The panes with 100,000 rows, under Wine: a remote listing of 100,000 Unix
// lines from a scripted server (fetched, parsed, sorted and shown), a local
// folder of 100,000 files shown, a re-sort by a header button, and the
// memory each row takes.
//   bench_panes.exe <local folder with many files> [lines]
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "app/app.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "ftp_server_helper.h"
#include "ftp/remote_commands.h"
#include "listing/host_library.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "listing/sort_commands.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "ui/layout.h"

static double Now(void)
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)f.QuadPart;
}

// Committed private memory of the process, in bytes.
static double PrivateBytes(void)
{
    struct Counters {
        DWORD cb, faults;
        SIZE_T peakWorking, working, peakPagedPool, pagedPool, peakNonPaged, nonPaged, pagefile, peakPagefile;
    } c{};
    c.cb = sizeof c;
    typedef BOOL(WINAPI * Fn)(HANDLE, Counters *, DWORD);
    Fn get = (Fn)(void *)GetProcAddress(GetModuleHandleA("kernel32"), "K32GetProcessMemoryInfo");
    return get && get(GetCurrentProcess(), &c, sizeof c) ? (double)c.pagefile : 0.0;
}

static void Pump(void)
{
    UpdateWindow(MainWindow);
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); i++)
        DispatchMessageA(&msg);
}

static std::string UnixListing(int lines)
{
    std::string text;
    text.reserve((size_t)lines * 72);
    char line[128];
    for (int i = 0; i < lines; i++) {
        snprintf(line, sizeof line, "-rw-r--r--    1 1000     1000     %9d Mar %2d  2021 file%06d.%s\r\n",
                 (i * 7919) % 1000000, 1 + i % 28, (i * 31) % lines, i % 3 ? "bin" : "txt");
        text += line;
    }
    return text;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bench_panes <local folder> [lines]\n");
        return 2;
    }
    const int lines = argc > 2 ? atoi(argv[2]) : 100000;
    AppInstance = GetModuleHandleA(nullptr);
    snprintf(AppTitle, sizeof AppTitle, "%s", "Veltro Lite");
    FaceColor = GetSysColor(COLOR_BTNFACE);
    LONG units = GetDialogBaseUnits();
    DialogUnitX = LOWORD(units);
    DialogUnitY = HIWORD(units);
    static const char *const names[BMP_COUNT] = {"BMPDIR", "BMPTXT", "BMPUNK", "BMPDUP", "BMPDSK", "BMPLNK"};
    for (int i = 0; i < BMP_COUNT; i++)
        FileTypeBitmaps[i] = LoadBitmapA(AppInstance, names[i]);
    LoadHostLibrary();
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = AppInstance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = AppTitle;
    RegisterClassA(&wc);
    CreateWindowExA(0, AppTitle, AppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 1000, 700,
                    nullptr, nullptr, AppInstance, nullptr);
    ShowWindow(MainWindow, SW_SHOW);
    Pump();

    double t = Now();
    SetCurrentDirectoryA(argv[1]);
    ScanLocalFolder();
    Pump();
    const double local = Now() - t;
    const int localRows = (int)SendMessageA(LocalListWindow, LB_GETCOUNT, 0, 0);

    t = Now();
    SortHeaderCommand(MainWindow, IDC_LOCAL_HEADER0 + 3);   // "Size"
    Pump();
    const double resort = Now() - t;

    const std::string listing = UnixListing(lines);
    DataPeer data;
    data.Listen();
    data.SendOnConnect(listing);
    data.StartPassive();
    ScriptedFtpServer server;
    server.Serve({{"PWD", "257 \"/big\"\r\n"}, {"TYPE", "200 ok\r\n"}, {"PASV", data.PassiveReply()},
                  {"LIST", "150 Here it comes\r\n226 Done\r\n"}});
    server.Start();
    CurrentSession.hostType = 6001;
    CurrentSession.passive = 1;
    CurrentSession.timeout = 60;
    ServerCaps.hostTypeChecked = 1;
    ControlSocket = ConnectToServer(server.Port());
    Connected = TRUE;
    const double before = PrivateBytes();
    t = Now();
    RefreshRemoteList(MainWindow, 0);
    Pump();
    const double remote = Now() - t;
    const double after = PrivateBytes();
    const int remoteRows = (int)SendMessageA(RemoteListWindow, LB_GETCOUNT, 0, 0);

    t = Now();
    SortHeaderCommand(MainWindow, IDC_REMOTE_HEADER0 + 2);   // "Date"
    Pump();
    const double remoteResort = Now() - t;

    // The same folder from a real server, when one is given (bench/panes.sh
    // starts vsftpd and puts as many files into its home).
    double real = -1;
    int realRows = 0;
    if (const char *port = getenv("VELTRO_VSFTPD_PORT")) {
        Connected = FALSE;
        closesocket(ControlSocket);
        ClearRemoteList();
        ControlSocket = ConnectToServer((unsigned short)atoi(port));
        GetReply(ControlSocket);
        FtpCommand(ControlSocket, "USER %s", getenv("VELTRO_FTP_USER"));
        FtpCommand(ControlSocket, "PASS %s", getenv("VELTRO_FTP_PASS"));
        FtpCommand(ControlSocket, "CWD %s", "many");
        Connected = TRUE;
        t = Now();
        RefreshRemoteList(MainWindow, 0);
        Pump();
        real = Now() - t;
        realRows = (int)SendMessageA(RemoteListWindow, LB_GETCOUNT, 0, 0);
    }

    printf("remote listing: %d lines (%.1f MB) fetched, parsed, sorted, shown: %d rows in %.3f s (goal < 1 s)\n",
           lines, (double)listing.size() / 1e6, remoteRows, remote);
    printf("local folder:   %d rows shown in %.3f s (goal < 1 s)\n", localRows, local);
    printf("re-sort:        local by size %.3f s, remote by date %.3f s (goal < 0.5 s)\n", resort, remoteResort);
    if (real >= 0)
        printf("remote listing from vsftpd: %d rows fetched, parsed, sorted, shown in %.3f s (goal < 1 s)\n",
               realRows, real);
    printf("memory per row: %.0f bytes (remote pane, committed memory / rows)\n",
           remoteRows > 0 ? (after - before) / remoteRows : 0.0);
    Connected = FALSE;
    closesocket(ControlSocket);
    ControlSocket = INVALID_SOCKET;
    DestroyWindow(MainWindow);
    return remoteRows == lines + 1 && localRows >= lines ? 0 : 1;
}
