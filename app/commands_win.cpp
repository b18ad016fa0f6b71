// The command table: each case calls one function of the subsystem that
// owns the behaviour.
#include "app/commands.h"

#include "app/app.h"
#include "app/dispatch.h"
#include "cmdline/unattended.h"
#include "ftp/control.h"
#include "ftp/remote_actions.h"
#include "ftp/session.h"
#include "listing/host_library.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "listing/sort_commands.h"
#include "resources/resource.h"
#include "sites/options_sheet.h"
#include "sites/session_sheet.h"
#include "sites/site_profile.h"
#include "transfer/batch.h"
#include "transfer/data_sockets.h"
#include "ui/layout.h"
#include "ui/msglog.h"
#include "ui/view_exec.h"

// Commands that act on the connection while a command waits for its reply:
// abort and disconnect first.
static BOOL RunAbortCommand(HWND window, int id)
{
    if (CommandBusy <= 0)
        return FALSE;
    if (id != IDM_ABORT_DISCONNECT && id != IDM_EXIT && id != IDM_DISCONNECT && id != IDM_CLOSE_MAIN)
        return FALSE;
    AbortAndDisconnect();
    if (id == IDM_EXIT || id == IDM_CLOSE_MAIN)
        PostMessageA(window, WM_CLOSE, 0, 0);
    else if (RemoteListRefresher)
        RemoteListRefresher();
    return TRUE;
}

static void SessionSheetCommand(HWND window)
{
    if (ShowSessionSheet(window))
        CurrentSession = WorkingSession;
}

// Commands that work whatever a batch does.
static BOOL RunAlwaysCommand(HWND window, int id, int notify)
{
    switch (id) {
    case IDM_COMMANDLINE_TRANSFER:
        if (RunPathPart(window, (char *)CommandLine) != 2)
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    case IDM_CONNECT: SessionConnectCommand(TRUE); return TRUE;
    case IDM_CONNECT_MENU: SessionConnectCommand(FALSE); return TRUE;
    case IDM_DISCONNECT: DisconnectMenuCommand(); return TRUE;
    case IDM_CANCEL: CancelCommand(); return TRUE;
    case IDM_SESSION_SHEET: SessionSheetCommand(window); return TRUE;
    case IDC_HIDDEN_LIST:
        if (notify == LBN_DBLCLK)
            ChangeFolderAction(PANE_LOCAL);
        return TRUE;
    case IDC_LOCAL_LIST: FileListNotify(PANE_LOCAL, notify); return TRUE;
    case IDC_REMOTE_LIST: FileListNotify(PANE_REMOTE, notify); return TRUE;
    case IDC_LOCAL_FOLDER_BOX: OnLocalFolderBox(window, notify); return TRUE;
    case IDC_LOCAL_MASK: OnLocalMask(window, notify); return TRUE;
    case IDC_LOCAL_HEADER0: case IDC_LOCAL_HEADER0 + 1: case IDC_LOCAL_HEADER0 + 2:
    case IDC_LOCAL_HEADER0 + 3: case IDC_REMOTE_HEADER0: case IDC_REMOTE_HEADER0 + 1:
    case IDC_REMOTE_HEADER0 + 2: case IDC_REMOTE_HEADER0 + 3:
        SortHeaderCommand(window, id);
        return TRUE;
    case IDM_LOCAL_SORT: case IDM_REMOTE_SORT: case IDM_SORT_DIALOG:
        SortDialogCommand(window, id);
        return TRUE;
    case IDC_REMOTE_FOLDER_BOX: OnRemoteFolderBox(window, notify); return TRUE;
    case IDM_LOCAL_CHDIR: ChangeFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_MKDIR: MakeFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_RMDIR: RemoveFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_DELETE: DeleteAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_RENAME: RenameAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_MOVE: MoveAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_REFRESH: RefreshCommand(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_DIRINFO: FolderInfoCommand(PANE_LOCAL); return TRUE;
    case IDM_REMOTE_DIRINFO: FolderInfoCommand(PANE_REMOTE); return TRUE;
    case IDM_FTP_HELP: SendSimpleCommand("HELP"); return TRUE;
    case IDM_FTP_SYST: SendSimpleCommand("SYST"); return TRUE;
    case IDM_FTP_PWD: PrintFolderCommand(); return TRUE;
    case IDC_MODE_ASCII: case IDC_MODE_BINARY: case IDC_MODE_AUTO:
    case IDM_MODE_ASCII_ALT: case IDM_MODE_BINARY_ALT: case IDM_MODE_AUTO_ALT:
        TransferModeCommand(id);
        return TRUE;
    case IDM_UPDATE_MODE_BUTTONS: UpdateModeButtons(); return TRUE;
    case IDM_EDIT_KEEPALIVE: StartEditKeepAlive(window); return TRUE;
    case IDM_DELETE_KEY: DeleteKeyCommand(window); return TRUE;
    case IDM_NO_ACTION_COPY: case IDM_NO_ACTION_F7: return TRUE;
    case IDM_EXIT: case IDM_CLOSE_MAIN: PostMessageA(window, WM_CLOSE, 0, 0); return TRUE;
    case IDM_LOG_WINDOW: case IDM_SHOW_LOG: OpenLogWindow(); return TRUE;
    case IDM_ABOUT: case IDM_ABOUT_MENU: HostShowAboutBox(window); return TRUE;
    case IDM_HELP: OpenHelpPage(10); return TRUE;
    case IDM_LOCAL_VIEW: case IDM_LOCAL_EXEC:
        ViewSelection(window, PANE_LOCAL, id == IDM_LOCAL_VIEW);
        return TRUE;
    case IDM_OPTIONS: case IDM_OPTIONS_MENU:
        ShowOptionsSheet(window);
        PostMessageA(window, WM_COMMAND, IDM_UPDATE_MODE_BUTTONS, 0);
        return TRUE;
    }
    return FALSE;
}

// Remote-side commands, which do nothing while a batch transfer runs.
static BOOL RunRemoteCommand(HWND window, int id, int notify)
{
    switch (id) {
    case IDC_HIDDEN_REMOTE:
        if (notify == LBN_DBLCLK)
            ChangeFolderAction(PANE_REMOTE);
        else
            UpdateButtons();
        return TRUE;
    case IDM_REMOTE_CHDIR: ChangeFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_MKDIR: MakeFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_RMDIR: RemoveFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_DELETE: DeleteAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_RENAME: RenameAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_MOVE: MoveAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_CHMOD: ChmodAction(); return TRUE;
    case IDM_REMOTE_REFRESH: RefreshCommand(PANE_REMOTE); return TRUE;
    case IDM_UPLOAD: TransferSelectionCommand(PANE_LOCAL); return TRUE;
    case IDM_DOWNLOAD: TransferSelectionCommand(PANE_REMOTE); return TRUE;
    case IDM_FTP_RETR: PromptTransferCommand(PANE_REMOTE); return TRUE;
    case IDM_FTP_STOR: PromptTransferCommand(PANE_LOCAL); return TRUE;
    case IDM_FTP_CWD: PromptChangeFolderCommand(); return TRUE;
    case IDM_FTP_SITE: PromptSiteCommand(); return TRUE;
    case IDM_FTP_MKD: PromptFolderCommand(TRUE); return TRUE;
    case IDM_FTP_RMD: PromptFolderCommand(FALSE); return TRUE;
    case IDM_FTP_QUOTE: PromptQuoteCommand(); return TRUE;
    case IDM_REMOTE_EDIT: EditRemoteFile(RemoteListWindow, ControlSocket); return TRUE;
    case IDM_APPEND_UPLOAD: AppendSelectionCommand(PANE_LOCAL); return TRUE;
    case IDM_APPEND_DOWNLOAD: AppendSelectionCommand(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_VIEW: case IDM_REMOTE_EXEC:
        ViewSelection(window, PANE_REMOTE, id == IDM_REMOTE_VIEW);
        return TRUE;
    case IDM_FTP_LIST: ViewListingCommand("LIST"); return TRUE;
    case IDM_FTP_NLST: ViewListingCommand("NLST"); return TRUE;
    }
    return FALSE;
}

static BOOL IsRemoteCommand(int id)
{
    static const int ids[] = {
        IDC_HIDDEN_REMOTE, IDM_REMOTE_CHDIR, IDM_REMOTE_MKDIR, IDM_REMOTE_RMDIR, IDM_REMOTE_DELETE,
        IDM_REMOTE_RENAME, IDM_REMOTE_MOVE, IDM_REMOTE_CHMOD, IDM_REMOTE_REFRESH, IDM_UPLOAD,
        IDM_DOWNLOAD, IDM_FTP_RETR, IDM_FTP_STOR, IDM_FTP_CWD, IDM_FTP_SITE, IDM_FTP_MKD,
        IDM_FTP_RMD, IDM_FTP_QUOTE, IDM_REMOTE_VIEW, IDM_REMOTE_EXEC, IDM_REMOTE_EDIT,
        IDM_APPEND_UPLOAD, IDM_APPEND_DOWNLOAD, IDM_FTP_LIST, IDM_FTP_NLST};
    for (int remote : ids)
        if (remote == id)
            return TRUE;
    return FALSE;
}

BOOL RunCommand(HWND window, int id, HWND control, int notify)
{
    (void)control;
    if (RunAbortCommand(window, id) || RunAlwaysCommand(window, id, notify))
        return TRUE;
    if (IsRemoteCommand(id)) {
        // The remote side does nothing while a batch transfer runs.
        if (!IsBusy())
            RunRemoteCommand(window, id, notify);
        return TRUE;
    }
    return FALSE;
}
