// The unattended transfer: path words, site settings, connect with retries,
// the transfer, and the folder case that stays connected.
#include "cmdline/unattended.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "cmdline/cmdline.h"
#include "cmdline/path_words.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "listing/remote_list.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "resources/resource.h"
#include "sites/setting_ranges.h"
#include "sites/site_profile.h"
#include "sites/stored_password.h"
#include "transfer/local_name.h"
#include "transfer/pattern_transfer.h"

#include "ui/msglog.h"

static void BringForward(HWND window)
{
    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

// A message for the user: always logged; a box unless quiet.
static void Report(HWND window, const char *text, const char *caption, UINT icon)
{
    char line[700];
    snprintf(line, sizeof line, "%s", text);
    for (char *p = line; *p; p++) {
        if (*p == '\n')
            *p = ' ';
    }
    LogLine(line);
    if (!CommandLineOptions.quiet)
        MessageBoxA(window, text, caption, MB_OK | icon);
}

// The host word names a profile: the whole profile becomes the current
// session, exactly as an interactive connect would use it (time-out,
// retries, passive mode, host type, firewall, port, initial commands, local
// folder, per-site options); a password given with "-w" stays unless the
// profile stores one. Otherwise the word itself is the host.
static void ApplySiteSettings(const char *hostWord, char *storedPassword, size_t storedSize)
{
    SiteProfile &s = CurrentSession;
    storedPassword[0] = '\0';
    RestartProfile[0] = '\0';
    char host[sizeof s.host];
    ProfileGetString(hostWord, "HOST", "", host, sizeof host);
    if (host[0] == '\0') {
        snprintf(s.host, sizeof s.host, "%s", hostWord);
        s.useFirewall = ProfileGetInt("VELTRO", "FIREWALL", 0);
        return;
    }
    char password[sizeof s.password];
    snprintf(password, sizeof password, "%s", s.password);
    snprintf(s.name, sizeof s.name, "%s", hostWord);
    LoadSiteProfile(&s);
    snprintf(RestartProfile, sizeof RestartProfile, "%s", hostWord);
    ProfileGetString(hostWord, "PWD", "", storedPassword, (int)storedSize);
    if (!(s.userId[0] && storedPassword[0]))
        snprintf(s.password, sizeof s.password, "%s", password);
    char folder[sizeof s.localFolder];
    snprintf(folder, sizeof folder, "%s", s.localFolder);
    if (folder[0] && !SetCurrentDirectoryA(folder))
        s.localFolder[0] = '\0';
}

static void ApplyLogonRule(const char *storedPassword)
{
    SiteProfile &s = CurrentSession;
    if (s.userId[0] == '\0') {
        snprintf(s.userId, sizeof s.userId, "%s", "anonymous");
    } else if (storedPassword[0]) {
        snprintf(s.password, sizeof s.password, "%s", DecodeStoredPassword(storedPassword));
    }
    if (strcmp(s.userId, "anonymous") == 0) {
        char mail[128];
        ConfigGetString("MAILADDR", GlobalSettings.mailAddress, mail, sizeof mail);
        snprintf(s.password, sizeof s.password, "%s", mail);
    }
}

// Waits about two seconds with the window alive; returns early on abort.
static void PauseBetweenAttempts(void)
{
    DWORD start = GetTickCount();
    while (!AbortFlag && GetTickCount() - start < 2000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        for (int i = 0; i < 50 && BlockingHook(); i++) {
        }
    }
}

static SOCKET ConnectWithRetries(void)
{
    FixSettingRanges(&CurrentSession);
    unsigned retries = CurrentSession.retries ? CurrentSession.retries : 10;
    for (unsigned attempt = 0; attempt <= retries; attempt++) {
        SOCKET s = ConnectAndLogon(&CurrentSession);
        if (s != NO_SOCKET && s != INVALID_SOCKET)
            return s;
        if (AbortFlag || attempt == retries)
            break;
        PauseBetweenAttempts();
        if (AbortFlag)
            break;
    }
    return NO_SOCKET;
}

int UnattendedTransfer(HWND window, const char *sourceWord, const char *destinationWord)
{
    AnnouncedType = 0;
    PathWord source, destination;
    ClassifyPathWord(sourceWord, &source);
    ClassifyPathWord(destinationWord, &destination);
    int upload;
    if (source.kind == PATH_REMOTE && destination.kind != PATH_REMOTE) {
        upload = 0;
    } else if (source.kind == PATH_LOCAL && destination.kind == PATH_REMOTE) {
        upload = 1;
    } else {
        char text[700];
        snprintf(text, sizeof text, LoadText(IDS_BATCH_WORDS), (unsigned)source.kind, sourceWord,
                 (unsigned)destination.kind, destinationWord);
        LogFormat("! %s", LoadText(IDS_UNKNOWN_BATCH_COMMAND));
        if (!CommandLineOptions.quiet)
            BringForward(window);
        CommandLineExitCode = EXIT_BAD_COMMAND_LINE;
        Report(window, text, LoadText(IDS_UNKNOWN_BATCH_COMMAND), MB_ICONSTOP);
        return 0;
    }
    const PathWord &remote = upload ? destination : source;
    char localPath[PATH_WORD_SIZE];
    snprintf(localPath, sizeof localPath, "%s", upload ? source.path : destination.path);
    // Without a destination a single file keeps its fitted name here; a
    // pattern or folder needs no name (the transfer supplies one per file).
    if (!upload && destination.kind == PATH_NONE && LastPathPart(source.path)[0] &&
        !HasWildcard(LastPathPart(source.path)))
        FitLocalName(localPath, source.path);

    char storedPassword[256];
    ApplySiteSettings(remote.host, storedPassword, sizeof storedPassword);
    ApplyLogonRule(storedPassword);
    // "-lower" outlasts the FORCLOW of the profile just loaded.
    if (CommandLineOptions.lower)
        GlobalSettings.forceLower = 1;

    const char *host = remote.host;
    if (upload)
        LogFormat(LoadText(IDS_SENDING_FILE_TO), source.path, host, destination.path);
    else
        LogFormat(LoadText(IDS_RECEIVING_FILE_FROM), source.path, host, localPath);

    AbortFlag = FALSE;
    SOCKET control = ConnectWithRetries();
    if (control == NO_SOCKET) {
        char text[400];
        snprintf(text, sizeof text, LoadText(IDS_CONNECT_FAILED_TO), CurrentSession.host);
        PlayEventSound(SOUND_CONNECT_FAILURE);
        CommandLineExitCode = EXIT_CONNECT_FAILED;
        BringForward(window);
        Report(window, text, AppTitle, MB_ICONSTOP);
        return 0;
    }
    ControlSocket = control;
    if (!ServerCaps.hostTypeChecked)
        DetectHostType(ControlSocket);
    // The first transfer always announces its type.
    AnnouncedType = 0;

    int type = CommandLineOptions.mode ? CommandLineOptions.mode : GlobalSettings.mode;
    const char *from = upload ? localPath : source.path;
    const char *to = upload ? destination.path : localPath;
    int result = TransferByPattern(ControlSocket, from, to, upload, type);

    if (result == 6 && !upload && CurrentSession.hostType != 6028 &&
        FtpCommand(ControlSocket, "CWD %s", source.path) == 2) {
        RefreshRemoteList(window, 0);
        PostMessageA(window, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
        BringForward(window);
        SetDlgItemTextA(window, IDM_CONNECT, "&Close");
        CommandLineExitCode = EXIT_TRANSFERRED;
        return 2;
    }

    ControlSocket = CloseGraceful(ControlSocket);
    Connected = FALSE;
    if (result == 2) {
        LogLine(LoadText(IDS_SUCCESSFUL_TRANSFER));
        PlayEventSound(SOUND_TRANSFER_SUCCESS);
        CommandLineExitCode = EXIT_TRANSFERRED;
        return 1;
    }
    CommandLineExitCode = EXIT_TRANSFER_FAILED;
    char text[700];
    snprintf(text, sizeof text, LoadText(IDS_TRANSFER_FAILED_FOR), from, host);
    PlayEventSound(SOUND_TRANSFER_FAILURE);
    BringForward(window);
    Report(window, text, AppTitle, MB_ICONSTOP);
    return 0;
}

int RunPathPart(HWND window, char *text)
{
    CommandLineOptions.batch = 1;
    BatchLogging = TRUE;
    if (text && text[0]) {
        InlineOptions found = {};
        SplitPathPart(text, &found, CommandLineOptions.source, sizeof CommandLineOptions.source,
                      CommandLineOptions.destination, sizeof CommandLineOptions.destination);
        if (found.quiet)
            CommandLineOptions.quiet = 1;
        if (found.ascii)
            CommandLineOptions.mode = 'A';
        if (found.lower)
            CommandLineOptions.lower = 1;
    }
    // A profile loaded after "-lower" has read FORCLOW again.
    if (CommandLineOptions.lower)
        GlobalSettings.forceLower = 1;
    if (CommandLineOptions.source[0] == '\0') {
        CommandLineExitCode = EXIT_BAD_COMMAND_LINE;
        return 0;
    }
    return UnattendedTransfer(window, CommandLineOptions.source, CommandLineOptions.destination);
}
