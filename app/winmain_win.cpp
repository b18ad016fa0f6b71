// Program entry: start-up in its fixed order, the one message loop, and the
// second half of the shutdown.
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/geometry.h"
#include "app/settings.h"
#include "app/shutdown.h"
#include "cmdline/cmdline.h"
#include "ftp/control.h"
#include "listing/host_library.h"
#include "resources/resource.h"
#include "ui/msglog.h"

static BOOL RegisterClasses(HINSTANCE instance)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "APP_MAIN");
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(FaceColor);
    wc.lpszClassName = AppTitle;
    if (!RegisterClassA(&wc))
        return FALSE;

    wc.lpfnWndProc = LogWndProc;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = "LOGMENU";
    wc.lpszClassName = "VELTRDBWNDC";
    RegisterClassA(&wc);

    wc.lpfnWndProc = BalloonWndProc;
    wc.hIcon = nullptr;
    wc.lpszMenuName = nullptr;
    wc.cbWndExtra = 8;
    wc.lpszClassName = "VELTRBALLOONWND";
    RegisterClassA(&wc);

    return TRUE;
}

static void CreateSplash(HINSTANCE instance)
{
    // The splash class is registered here, before the other classes exist.
    WNDCLASSA sc;
    memset(&sc, 0, sizeof sc);
    sc.style = CS_VREDRAW | CS_HREDRAW;
    sc.lpfnWndProc = SplashWndProc;
    sc.hInstance = instance;
    sc.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    sc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    sc.lpszClassName = "VELTRSPLASH";
    RegisterClassA(&sc);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    SplashWindow = CreateWindowExA(WS_EX_TOPMOST, "VELTRSPLASH", nullptr, WS_POPUP,
                                   sw / 2 - 189, sh / 2 - 139, 377, 277,
                                   nullptr, nullptr, instance, nullptr);
    if (!SplashWindow) {
        char text[64];
        snprintf(text, sizeof text, LoadText(IDS_ERROR_CREATING_WINDOW), (unsigned)GetLastError());
        MessageBoxA(nullptr, text, nullptr, MB_OK);
        return;
    }
    // Shown without taking the activation, which belongs to the main window:
    // an inactive captionless pop-up is also not handed to an X11 window
    // manager, so destroying it never waits for one (2 s on a bare X server).
    ShowWindow(SplashWindow, SW_SHOWNOACTIVATE);
    UpdateWindow(SplashWindow);
}

static void DestroySplash(void)
{
    if (SplashWindow) {
        DestroyWindow(SplashWindow);
        SplashWindow = nullptr;
    }
}

// The help pages live in the folder "help" beside the program; the result
// ends in a backslash (allocated once, kept for the run), or is null.
static char *FindHelpFolder(void)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return nullptr;
    char *slash = strrchr(path, '\\');
    if (!slash)
        return nullptr;
    size_t room = sizeof path - (size_t)(slash + 1 - path);
    snprintf(slash + 1, room, "%s", "help\\");
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return nullptr;
    return _strdup(path);
}

static void FindProgramFiles(void)
{
    SearchProgramFile("VELTRO.INI", IniPath);
    if (strstr(IniPath, ".\\") || !strchr(IniPath, '\\')) {
        char full[MAX_PATH];
        if (GetFullPathNameA(IniPath, sizeof full, full, nullptr))
            snprintf(IniPath, sizeof IniPath, "%s", full);
    }
    HelpPath = FindHelpFolder();
    ExtPath = SearchProgramFile("VELTRO.EXT", nullptr);
    CnvPath = SearchProgramFile("VELTRO.CNV", nullptr);
}

static void LoadFileTypeBitmaps(void)
{
    static const char *const names[BMP_COUNT] = {"BMPDIR", "BMPTXT", "BMPUNK",
                                                 "BMPDUP", "BMPDSK", "BMPLNK"};
    for (int i = 0; i < BMP_COUNT; i++)
        FileTypeBitmaps[i] = LoadBitmapA(AppInstance, names[i]);
}

static int RunMessageLoop(void)
{
    MSG msg;
    msg.wParam = 0;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (ModelessDialog && IsDialogMessageA(ModelessDialog, &msg)) {
            // handled by the dialog
        } else if (!Accelerators || !TranslateAcceleratorA(MainWindow, Accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (QuitRequested)
            break;
    }
    // The quit message may still be queued when the loop left on the flag.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        msg.wParam = quit.wParam;
    return (int)msg.wParam;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandText, int showState)
{
    // 1-4: instance, title, platform, lock, unattended
    AppInstance = instance;
    snprintf(AppTitle, sizeof AppTitle, "%s", "Veltro Lite");
    OSVERSIONINFOA version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    ThreadsAvailable = version.dwPlatformId == VER_PLATFORM_WIN32_NT ||
                       (version.dwMajorVersion & 0x0F) >= 4;
    InitializeCriticalSection(&TransferLock);
    TransferLockValid = TRUE;
    Unattended = commandText && strlen(commandText) >= 4;

    // 5: WinSock 1.1
    int error = WSAStartup(MAKEWORD(1, 1), &WinSockInfo);
    if (error) {
        MessageBoxA(nullptr, WinSockErrorText(error, nullptr), "WSAStartup", MB_OK | MB_ICONEXCLAMATION);
        FinishShutdown();
        return 3;
    }
    // 6-8: splash, blocking hook, face colour
    if (!Unattended)
        CreateSplash(instance);
    SetThreadBlockingHook(BlockingHook);
    FaceColor = GetSysColor(COLOR_BTNFACE);

    // 9: window classes
    if (!previous && !RegisterClasses(instance)) {
        DestroySplash();
        MessageBoxA(nullptr, LoadText(IDS_ERROR_REGISTERING_CLASS), nullptr, MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    // 10-11: dialog units and the default geometry
    LONG units = GetDialogBaseUnits();
    DialogUnitX = LOWORD(units);
    DialogUnitY = HIWORD(units);
    DefaultMainGeometry(GetSystemMetrics(SM_CXSCREEN), MainGeometry);

    // 12: files and command line (which loads the global settings)
    snprintf(CommandLine, sizeof CommandLine, "%s", commandText ? commandText : "");
    FindProgramFiles();
    LoadHostLibrary();
    if (!ParseCommandLine(CommandLine, sizeof CommandLine)) {
        CommandLine[0] = '\0';
        // A bad option in a line meant for a script: nobody to take over.
        if (CommandLineExitCode) {
            DestroySplash();
            FinishShutdown();
            return CommandLineExitCode;
        }
    }

    // 13-14: saved geometry, bitmaps
    char text[128];
    ConfigGetString("LOC", "", text, sizeof text);
    ParseMainGeometry(text, MainGeometry);
    LoadLogWindowPosition();
    LoadFileTypeBitmaps();

    // 15: the main window
    MainWindow = CreateWindowExA(0, AppTitle, AppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 MainGeometry[GEO_LEFT], MainGeometry[GEO_TOP],
                                 MainGeometry[GEO_WIDTH], MainGeometry[GEO_HEIGHT],
                                 nullptr, nullptr, instance, nullptr);
    if (!MainWindow) {
        DestroySplash();
        if (!strstr(commandText ? commandText : "", "-quiet"))
            MessageBoxA(nullptr, LoadText(IDS_WINDOW_CREATION_FAILED), nullptr, MB_OK | MB_ICONEXCLAMATION);
        WSACleanup();
        return 2;
    }

    // 16-17: unattended again, then show
    Unattended = CommandLineOptions.source[0] != '\0' || strlen(CommandLine) >= 4;
    if (Unattended || showState == SW_MINIMIZE) {
        ShowWindow(MainWindow, SW_SHOWMINIMIZED);
        WriteBanner();
    } else {
        WriteBanner();
        ShowWindow(MainWindow, ConfigGetInt("MAXIMIZE", 0) == 1 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    }
    UpdateWindow(MainWindow);

    // 18: start folder, accelerators, the first command
    GetCurrentDirectoryA(sizeof StartFolder, StartFolder);
    Accelerators = LoadAcceleratorsA(instance, "ACCEL");
    if (Unattended) {
        PostMessageA(MainWindow, WM_COMMAND, IDM_COMMANDLINE_TRANSFER, (LPARAM)CommandLine);
        DestroySplash();
    } else if (GlobalSettings.autoStart) {
        PostMessageA(MainWindow, WM_COMMAND, IDM_CONNECT, 0);
    } else {
        DestroySplash();
    }

    // 19: the loop, then the rest of the shutdown
    int result = QuitRequested ? 0 : RunMessageLoop();
    FinishShutdown();
    // A command-line run tells its script how it went.
    return result ? result : CommandLineExitCode;
}
