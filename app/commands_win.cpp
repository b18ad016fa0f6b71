// The command table: each case calls one function of the subsystem that
// owns the behaviour.
#include "app/commands.h"

#include "app/app.h"
#include "cmdline/unattended.h"
#include "ftp/remote_actions.h"
#include "ftp/session.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "listing/sort_commands.h"
#include "resources/resource.h"
#include "transfer/data_sockets.h"

BOOL RunCommand(HWND window, int id, HWND control, int notify)
{
    (void)control;
    switch (id) {
    case IDM_COMMANDLINE_TRANSFER:
        if (RunPathPart(window, (char *)CommandLine) != 2)
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    case IDC_REMOTE_FOLDER_BOX:
        OnRemoteFolderBox(window, notify);
        return TRUE;
    case IDM_CONNECT:
        // The session sheet takes over the splash window when it opens.
        if (SplashWindow) {
            DestroyWindow(SplashWindow);
            SplashWindow = nullptr;
        }
        ConnectCommand(TRUE);
        return TRUE;
    // The panes: sort headers and dialog, the local folder box, mask and refresh.
    case IDC_LOCAL_HEADER0: case IDC_LOCAL_HEADER0 + 1: case IDC_LOCAL_HEADER0 + 2:
    case IDC_LOCAL_HEADER0 + 3: case IDC_REMOTE_HEADER0: case IDC_REMOTE_HEADER0 + 1:
    case IDC_REMOTE_HEADER0 + 2: case IDC_REMOTE_HEADER0 + 3:
        SortHeaderCommand(window, id);
        return TRUE;
    case IDM_LOCAL_SORT: case IDM_REMOTE_SORT: case IDM_SORT_DIALOG:
        SortDialogCommand(window, id);
        return TRUE;
    case IDC_LOCAL_FOLDER_BOX: OnLocalFolderBox(window, notify); return TRUE;
    case IDC_LOCAL_MASK: OnLocalMask(window, notify); return TRUE;
    case IDM_LOCAL_REFRESH: RefreshLocalList(); return TRUE;
    case IDM_CONNECT_MENU: ConnectCommand(FALSE); return TRUE;
    case IDM_DISCONNECT: DisconnectMenuCommand(); return TRUE;
    case IDM_CANCEL: CancelCommand(); return TRUE;
    case IDM_LOCAL_CHDIR: ChangeFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_MKDIR: MakeFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_RMDIR: RemoveFolderAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_DELETE: DeleteAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_RENAME: RenameAction(PANE_LOCAL); return TRUE;
    case IDM_LOCAL_MOVE: MoveAction(PANE_LOCAL); return TRUE;
    case IDM_FTP_HELP: SendSimpleCommand("HELP"); return TRUE;
    case IDM_FTP_SYST: SendSimpleCommand("SYST"); return TRUE;
    case IDM_FTP_PWD: PrintFolderCommand(); return TRUE;
    }
    // The remote side does nothing while a batch transfer runs.
    if (IsBusy())
        return id == IDM_REMOTE_CHDIR || id == IDM_REMOTE_MKDIR || id == IDM_REMOTE_RMDIR ||
               id == IDM_REMOTE_DELETE || id == IDM_REMOTE_RENAME || id == IDM_REMOTE_MOVE ||
               id == IDM_REMOTE_CHMOD || id == IDM_FTP_CWD || id == IDM_FTP_SITE ||
               id == IDM_FTP_MKD || id == IDM_FTP_RMD || id == IDM_FTP_QUOTE;
    switch (id) {
    case IDM_REMOTE_CHDIR: ChangeFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_MKDIR: MakeFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_RMDIR: RemoveFolderAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_DELETE: DeleteAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_RENAME: RenameAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_MOVE: MoveAction(PANE_REMOTE); return TRUE;
    case IDM_REMOTE_CHMOD: ChmodAction(); return TRUE;
    case IDM_FTP_CWD: PromptChangeFolderCommand(); return TRUE;
    case IDM_FTP_SITE: PromptSiteCommand(); return TRUE;
    case IDM_FTP_MKD: PromptFolderCommand(TRUE); return TRUE;
    case IDM_FTP_RMD: PromptFolderCommand(FALSE); return TRUE;
    case IDM_FTP_QUOTE: PromptQuoteCommand(); return TRUE;
    }
    return FALSE;
}
