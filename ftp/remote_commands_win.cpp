// Remote folder and file commands and host-type detection.
#include "ftp/remote_commands.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "ftp/control.h"
#include "listing/host_library.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/sounds.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"

ServerCapabilities ServerCaps = {0, 0, 0, 1, 0};

enum { HELP_ACCOUNT = 85, HELP_SCAN_LINES_MAX = 2000 };

static int LastClass(void)
{
    return LastReplyCode / 100;
}

// Sends the standard form; on code 500 exactly, the X-form once.
static int CommandWithXForm(SOCKET s, const char *command, const char *argument)
{
    if (argument)
        FtpCommand(s, "%s %s", command, argument);
    else
        FtpCommand(s, "%s", command);
    if (WantsXCommand(LastClass(), LastReplyCode)) {
        if (argument)
            FtpCommand(s, "X%s %s", command, argument);
        else
            FtpCommand(s, "X%s", command);
    }
    return LastClass();
}

void PlayErrorSound(void)
{
    PlayEventSound(SOUND_OTHER_FAILURE);
}

int ChangeRemoteFolder(SOCKET s, const char *folder)
{
    if (!folder[0])
        return 2;
    if (ServerCaps.useCdup && strcmp(folder, "..") == 0) {
        FtpCommand(s, "CDUP");
        if (LastClass() == 2)
            return 2;
    }
    FtpCommand(s, "CWD %s", folder);
    if (WantsXCommand(LastClass(), LastReplyCode)) {
        char command[300];
        if (CwdFallbackCommand(CurrentSession.hostType, folder, command, sizeof command))
            FtpCommand(s, "%s", command);
    }
    if (LastClass() == 3) {
        // The server wants an account for this folder.
        for (int guard = 0; guard < 100; guard++) {
            char answer[256];
            snprintf(answer, sizeof answer, "%s", CurrentSession.account);
            HelpContext = HELP_ACCOUNT;
            if (!InputPassword(answer, "%s", LoadText(IDS_PASSWORD_REQUIRED)))
                break;
            snprintf(CurrentSession.account, sizeof CurrentSession.account, "%s", answer);
            if (CurrentSession.account[0])
                break;
        }
        InputBuffer[0] = '\0';
        if (CurrentSession.account[0])
            FtpCommand(s, "ACCT %s", CurrentSession.account);
    }
    int cls = LastClass();
    if (cls == 5)
        PlayErrorSound();
    return cls;
}

int PrintRemoteFolder(SOCKET s) { return CommandWithXForm(s, "PWD", nullptr); }
int RequestPassive(SOCKET s) { return CommandWithXForm(s, "PASV", nullptr); }
int MakeRemoteFolder(SOCKET s, const char *folder) { return CommandWithXForm(s, "MKD", folder); }
int RemoveRemoteFolder(SOCKET s, const char *folder) { return CommandWithXForm(s, "RMD", folder); }

int DeleteRemoteFile(SOCKET s, const char *name)
{
    FtpCommand(s, "DELE %s", name);
    return LastClass();
}

int RenameRemote(SOCKET s, const char *from, const char *to)
{
    FtpCommand(s, "RNFR %s", from);
    if (LastClass() != 3)
        return LastClass();
    FtpCommand(s, "RNTO %s", to);
    return LastClass();
}

int SiteCommand(SOCKET s, const char *text)
{
    FtpCommand(s, "SITE %s", text);
    return LastClass();
}

int RawCommand(SOCKET s, const char *text)
{
    FtpCommand(s, "%s", text);
    return LastClass();
}

// ---------------------------------------------------------------------
// Host-type detection

static void LogHostType(char how, int hostType)
{
    LogFormat("%s (%c): %s", LoadText(IDS_HOST_TYPE), how, HostTypeName((uint32_t)hostType));
}

int DetectHostTypeForProfile(SiteProfile *profile, const char *line)
{
    if (profile->hostType != HOSTTYPE_AUTO)
        return profile->hostType;
    int found = (int)HostDetectFromReply(line, (uint32_t)profile->hostType);
    profile->hostType = found;
    if (found != HOSTTYPE_AUTO)
        LogHostType('1', found);
    return found;
}

int DetectHostTypeFromReply(const char *line)
{
    return DetectHostTypeForProfile(&CurrentSession, line);
}

void ResetServerCapabilities(void)
{
    ServerCaps.canMakeFolder = ServerCaps.canRename = ServerCaps.canDelete = 0;
    ServerCaps.useCdup = 1;
}

void UpdateRemoteButtons(void)
{
    if (!MainWindow)
        return;
    int selected = RemoteListWindow ? (int)SendMessageA(RemoteListWindow, LB_GETSELCOUNT, 0, 0) : 0;
    struct {
        int id;
        BOOL enabled;
    } buttons[] = {
        {IDM_REMOTE_MKDIR, Connected && ServerCaps.canMakeFolder},
        {IDM_REMOTE_RENAME, selected > 0 && ServerCaps.canRename},
        {IDM_REMOTE_DELETE, selected > 0 && ServerCaps.canDelete},
    };
    for (const auto &b : buttons)
        if (HWND button = GetDlgItem(MainWindow, b.id))
            EnableWindow(button, b.enabled);
}

// Asks the server with HELP: the first line names the kind of server, the
// lines of the reply tell which commands it knows.
static int DetectFromHelp(SOCKET s)
{
    if (SendLine(s, "HELP") == -1) {
        ServerCaps.canMakeFolder = ServerCaps.canRename = ServerCaps.canDelete = 1;
        return LastReplyCode;
    }
    int code = ReadReplyLine(s);
    int firstCode = code;
    LogLine(ReplyText);
    CurrentSession.hostType = HostTypeFromHelpLine(ReplyText);
    LogHostType('3', CurrentSession.hostType);
    for (int lines = 0; lines < HELP_SCAN_LINES_MAX; lines++) {
        if (HelpScanStops(ReplyText, code, firstCode))
            break;
        ScanHelpLine(ReplyText, &ServerCaps);
        code = ReadReplyLine(s);
        LogLine(ReplyText);
    }
    LastReplyCode = code;
    return code;
}

int DetectHostType(SOCKET s)
{
    // SYST and the HELP scan are one exchange: no other command between.
    ChannelTurn turn;
    if (!turn.held)
        return 0;
    ServerCaps.canMakeFolder = ServerCaps.canRename = ServerCaps.canDelete = 0;
    ServerCaps.useCdup = 1;
    ServerCaps.hostTypeChecked = 1;
    if (CurrentSession.hostType != HOSTTYPE_AUTO) {
        LogHostType('I', CurrentSession.hostType);
    } else if (FtpCommand(s, "SYST") == 2) {
        CurrentSession.hostType = (int)HostDetectFromSyst(ReplyText, (uint32_t)CurrentSession.hostType);
        if (CurrentSession.hostType != HOSTTYPE_AUTO)
            LogHostType('S', CurrentSession.hostType);
    } else {
        LogHostType('I', HOSTTYPE_AUTO);
    }
    int code = LastReplyCode;
    switch (CapabilitiesForHostType(CurrentSession.hostType, &ServerCaps)) {
    case CAPS_NO_BUTTONS:
        return code;
    case CAPS_ASK_HELP:
        code = DetectFromHelp(s);
        break;
    case CAPS_SET:
        break;
    }
    UpdateRemoteButtons();
    return code;
}
