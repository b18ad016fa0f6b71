// The folder and file actions of the two file lists.
#include "ftp/remote_actions.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"

enum {
    HELP_CHANGE_FOLDER = 180,
    HELP_MAKE_FOLDER = 185,
    HELP_RENAME = 520,
    HELP_REMOVE_FOLDER = 650,
    HELP_MOVE = 680,
    HELP_SITE = 700,
    HELP_QUOTE = 710,
    HELP_CHMOD = 720,
};

namespace {

HWND PaneList(int pane)
{
    return pane == PANE_REMOTE ? RemoteListWindow : LocalListWindow;
}

// The rows selected in a pane, in ascending order.
struct Selection {
    int indices[PANE_SELECTION_MAX];
    int count;
};

void ReadSelection(int pane, Selection *s)
{
    s->count = SelectedRows(PaneList(pane), s->indices, PANE_SELECTION_MAX);
}

void RefreshPane(int pane)
{
    if (pane == PANE_REMOTE) {
        if (GlobalSettings.doUpdate && RemoteListRefresher)
            RemoteListRefresher();
    } else if (LocalListRefresher) {
        LocalListRefresher();
    }
}

// Asks with the text prompt; the answer (possibly empty) is in answer.
bool Ask(char *answer, int help, const char *start, UINT format, const char *argument = nullptr)
{
    snprintf(answer, 256, "%s", start ? start : "");
    HelpContext = help;
    return InputText(answer, LoadText(format), argument) != 0;
}

bool RemoveFolder(int pane, const char *name)
{
    if (pane == PANE_REMOTE)
        return RemoveRemoteFolder(ControlSocket, name) == 2;
    return RemoveDirectoryA(name) != 0;
}

void ReportFailure(UINT format, const char *first, const char *second = nullptr)
{
    LogFormat(LoadText(format), first, second);
    PlayErrorSound();
}

// Enters a folder, drive or link row; false when the row is not one.
bool EnterRow(int pane, const PaneRow &row)
{
    if (pane == PANE_LOCAL) {
        if (!(row.kind & (KIND_FOLDER | KIND_DRIVE)))
            return false;
        if (strncmp(row.name, "[-", 2) == 0 && row.name[2]) {
            char drive[4] = {row.name[2], ':', '\\', '\0'};
            SetCurrentDirectoryA(drive);
        } else {
            SetCurrentDirectoryA(row.name);
        }
        RefreshPane(PANE_LOCAL);
        return true;
    }
    if (!(row.kind & (KIND_FOLDER | KIND_LINK)))
        return false;
    if (ChangeRemoteFolder(ControlSocket, row.name) == 2 && RemoteListRefresher)
        RemoteListRefresher();
    return true;
}

}  // namespace

BOOL NavigateRow(int pane, int index)
{
    PaneRow row;
    return ReadPaneRow(PaneList(pane), index, &row) && EnterRow(pane, row);
}

void ChangeFolderAction(int pane)
{
    Selection sel;
    ReadSelection(pane, &sel);
    PaneRow row;
    if (sel.count > 0 && ReadPaneRow(PaneList(pane), sel.indices[0], &row) && EnterRow(pane, row))
        return;
    char answer[256];
    if (pane == PANE_LOCAL) {
        if (!Ask(answer, HELP_CHANGE_FOLDER, nullptr, IDS_ENTER_LOCAL_FOLDER) || !answer[0])
            return;
        if (SetCurrentDirectoryA(answer))
            RefreshPane(PANE_LOCAL);
        else
            PlayErrorSound();
        return;
    }
    char start[256];
    snprintf(start, sizeof start, "%s", RemoteFolder);
    if (!Ask(answer, HELP_CHANGE_FOLDER, start, IDS_ENTER_REMOTE_FOLDER) || !answer[0])
        return;
    if (ChangeRemoteFolder(ControlSocket, answer) == 2 && RemoteListRefresher)
        RemoteListRefresher();
}

void MakeFolderAction(int pane)
{
    char answer[256];
    if (pane == PANE_REMOTE) {
        if (!Ask(answer, HELP_MAKE_FOLDER, nullptr, IDS_ENTER_NEW_REMOTE_FOLDER) || !answer[0])
            return;
        int cls = MakeRemoteFolder(ControlSocket, answer);
        if (cls == 2)
            RefreshPane(PANE_REMOTE);
        else if (cls == 5)
            PlayErrorSound();
        return;
    }
    if (!Ask(answer, HELP_MAKE_FOLDER, nullptr, IDS_ENTER_NEW_LOCAL_FOLDER) || !answer[0])
        return;
    if (!CreateDirectoryA(answer, nullptr))
        PlayErrorSound();
    RefreshPane(PANE_LOCAL);
}

void RemoveFolderAction(int pane)
{
    Selection sel;
    ReadSelection(pane, &sel);
    PaneRow row;
    if (sel.count > 0 && ReadPaneRow(PaneList(pane), sel.indices[0], &row) && IsFolderRow(row) &&
        !IsSkippedRow(row)) {
        char text[400];
        snprintf(text, sizeof text, LoadText(IDS_CONFIRM_DELETE), row.name);
        if (VerifyDeletion(text, 1) != IDYES)
            return;
        if (RemoveFolder(pane, row.name))
            RefreshPane(pane);
        else
            ReportFailure(IDS_DELETE_FAILED, row.name);
        return;
    }
    if (pane == PANE_REMOTE)
        PromptFolderCommand(FALSE);
}

void DeleteAction(int pane)
{
    Selection sel;
    ReadSelection(pane, &sel);
    HWND list = PaneList(pane);
    bool ask = GlobalSettings.verifyDelete != 0;
    int deleted = 0;
    for (int i = sel.count - 1; i >= 0; i--) {
        PaneRow row;
        if (!ReadPaneRow(list, sel.indices[i], &row) || IsSkippedRow(row))
            continue;
        if (ask) {
            char text[400];
            snprintf(text, sizeof text, LoadText(IDS_CONFIRM_DELETE), row.name);
            int answer = VerifyDeletion(text, sel.count);
            if (answer == IDCANCEL)
                break;
            if (answer == IDNO)
                continue;
            if (answer == IDC_DELETE_ALL)
                ask = false;
        }
        bool ok;
        if (IsFolderRow(row))
            ok = RemoveFolder(pane, row.name);
        else if (pane == PANE_REMOTE)
            ok = DeleteRemoteFile(ControlSocket, row.name) == 2;
        else
            ok = DeleteFileA(row.name) != 0;
        if (ok)
            deleted++;
        else
            ReportFailure(IDS_DELETE_FAILED, row.name);
    }
    if (deleted)
        RefreshPane(pane);
}

void RenameAction(int pane)
{
    Selection sel;
    ReadSelection(pane, &sel);
    HWND list = PaneList(pane);
    int renamed = 0;
    for (int i = 0; i < sel.count; i++) {
        PaneRow row;
        if (!ReadPaneRow(list, sel.indices[i], &row) || IsSkippedRow(row))
            continue;
        char answer[256];
        if (!Ask(answer, HELP_RENAME, row.name, IDS_ENTER_NEW_NAME, row.name) || !answer[0])
            continue;
        bool ok;
        if (pane == PANE_REMOTE) {
            FtpCommand(ControlSocket, "RNFR %s", row.name);
            if (LastReplyCode / 100 != 3)
                continue;
            FtpCommand(ControlSocket, "RNTO %s", answer);
            ok = LastReplyCode / 100 == 2;
        } else {
            ok = MoveFileA(row.name, answer) != 0;
        }
        if (ok)
            renamed++;
        else
            ReportFailure(IDS_RENAME_FAILED, row.name, answer);
    }
    if (renamed)
        RefreshPane(pane);
}

void MoveAction(int pane)
{
    char folder[256];
    UINT prompt = pane == PANE_REMOTE ? IDS_ENTER_REMOTE_DESTINATION : IDS_ENTER_LOCAL_DESTINATION;
    if (!Ask(folder, HELP_MOVE, nullptr, prompt) || !folder[0])
        return;
    Selection sel;
    ReadSelection(pane, &sel);
    HWND list = PaneList(pane);
    int moved = 0;
    for (int i = 0; i < sel.count; i++) {
        PaneRow row;
        if (!ReadPaneRow(list, sel.indices[i], &row) || IsSkippedRow(row))
            continue;
        char target[600];
        snprintf(target, sizeof target, pane == PANE_REMOTE ? "%s/%s" : "%s\\%s", folder, row.name);
        bool ok;
        if (pane == PANE_REMOTE) {
            FtpCommand(ControlSocket, "RNFR %s", row.name);
            if (LastReplyCode / 100 != 3)
                continue;
            FtpCommand(ControlSocket, "RNTO %s", target);
            ok = LastReplyCode / 100 == 2;
        } else {
            ok = MoveFileA(row.name, target) != 0;
        }
        if (ok)
            moved++;
        else
            ReportFailure(IDS_MOVE_FAILED, row.name, target);
    }
    if (moved)
        RefreshPane(pane);
}

void ChmodAction(void)
{
    Selection sel;
    ReadSelection(PANE_REMOTE, &sel);
    if (sel.count == 0) {
        char answer[256];
        if (!Ask(answer, HELP_CHMOD, nullptr, IDS_ENTER_CHMOD) || !answer[0])
            return;
        if (SiteCommand(ControlSocket, answer) != 2) {
            LogFormat("! %s", LoadText(IDS_CHMOD_FAILED));
            PlayErrorSound();
        }
        return;
    }
    unsigned mode = AskChmodMode();
    if (mode == 0)
        return;
    for (int i = 0; i < sel.count; i++) {
        PaneRow row;
        if (!ReadPaneRow(RemoteListWindow, sel.indices[i], &row) || !row.name[0])
            continue;
        char text[300];
        snprintf(text, sizeof text, "chmod %u %s", mode, row.name);
        if (SiteCommand(ControlSocket, text) != 2) {
            LogFormat("! %s", LoadText(IDS_CHMOD_FAILED));
            PlayErrorSound();
            break;
        }
    }
}

// ---------------------------------------------------------------------
// Typed commands

void PromptChangeFolderCommand(void)
{
    char answer[256];
    if (!Ask(answer, HELP_CHANGE_FOLDER, nullptr, IDS_ENTER_REMOTE_FOLDER) || !answer[0])
        return;
    if (ChangeRemoteFolder(ControlSocket, answer) == 2 && RemoteListRefresher)
        RemoteListRefresher();
}

void SendSimpleCommand(const char *command)
{
    FtpCommand(ControlSocket, "%s", command);
}

void PromptSiteCommand(void)
{
    char answer[256];
    if (!Ask(answer, HELP_SITE, nullptr, IDS_ENTER_SITE) || !answer[0])
        return;
    SiteCommand(ControlSocket, answer);
}

void PromptFolderCommand(BOOL make)
{
    char answer[256];
    if (!Ask(answer, HELP_REMOVE_FOLDER, nullptr, IDS_ENTER_REMOTE_FOLDER) || !answer[0])
        return;
    int cls = make ? MakeRemoteFolder(ControlSocket, answer) : RemoveRemoteFolder(ControlSocket, answer);
    if (cls == 2)
        RefreshPane(PANE_REMOTE);
    else if (!make)
        ReportFailure(IDS_DELETE_FAILED, answer);
    else if (cls == 5)
        PlayErrorSound();
}

void PrintFolderCommand(void)
{
    PrintRemoteFolder(ControlSocket);
}

void PromptQuoteCommand(void)
{
    char answer[256];
    if (!Ask(answer, HELP_QUOTE, nullptr, IDS_ENTER_QUOTE) || !answer[0])
        return;
    if (strncmp(answer, "LIST", 4) == 0 || strncmp(answer, "NLST", 4) == 0 ||
        strncmp(answer, "MLSD", 4) == 0) {
        // Their data goes into the listing file.
        FetchListing(answer);
        return;
    }
    RawCommand(ControlSocket, answer);
}
