// The dispatch's own logic on top of the main window's children.
#include "app/dispatch.h"

#include <stdio.h>
#include <string.h>

#include <shellapi.h>

#include "app/app.h"
#include "app/dispatch_rules.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_actions.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "transfer/batch.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"
#include "ui/drag_drop.h"
#include "ui/view_exec.h"

enum { HELP_RETR = 640, HELP_STOR = 630 };

static HWND PaneList(int pane)
{
    return pane == PANE_REMOTE ? RemoteListWindow : LocalListWindow;
}

static int SelectedCount(HWND list)
{
    if (!list)
        return 0;
    LRESULT n = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (n == LB_ERR)
        return SendMessageA(list, LB_GETCURSEL, 0, 0) == LB_ERR ? 0 : 1;
    return (int)n;
}

void UpdateButtons(void)
{
    if (!MainWindow || GlobalSettings.hideButtons)
        return;
    PaneState state;
    state.localSelected = SelectedCount(LocalListWindow);
    state.remoteSelected = SelectedCount(RemoteListWindow);
    state.connected = Connected && ControlSocket != NO_SOCKET;
    state.canMakeFolder = ServerCaps.canMakeFolder != 0;
    state.canRename = ServerCaps.canRename != 0;
    state.canDelete = ServerCaps.canDelete != 0;
    ButtonState buttons[BUTTON_STATE_COUNT];
    ComputeButtonStates(state, buttons);
    for (const ButtonState &b : buttons)
        if (HWND button = GetDlgItem(MainWindow, b.id))
            EnableWindow(button, b.enabled);
}

void UpdateModeButtons(void)
{
    if (!MainWindow)
        return;
    int mode = GlobalSettings.mode;
    CheckDlgButton(MainWindow, IDC_MODE_ASCII, mode == 'A' ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(MainWindow, IDC_MODE_BINARY, mode == 'I' || mode == 'L' ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(MainWindow, IDC_MODE_AUTO, GlobalSettings.autoMode ? BST_CHECKED : BST_UNCHECKED);
}

void TransferModeCommand(int id)
{
    switch (id) {
    case IDC_MODE_ASCII:
    case IDM_MODE_ASCII_ALT:
        GlobalSettings.mode = 'A';
        GlobalSettings.autoMode = 0;
        break;
    case IDC_MODE_BINARY:
    case IDM_MODE_BINARY_ALT:
        GlobalSettings.mode = 'I';
        GlobalSettings.autoMode = 0;
        break;
    default:
        GlobalSettings.autoMode = !GlobalSettings.autoMode;
        break;
    }
    UpdateModeButtons();
}

// ---------------------------------------------------------------------
// Lists

static void DoubleClick(int pane)
{
    HWND list = PaneList(pane);
    LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    PaneRow row;
    if (caret == LB_ERR || !ReadPaneRow(list, (int)caret, &row)) {
        UpdateButtons();
        return;
    }
    switch (DoubleClickFor(row.kind, pane == PANE_REMOTE, GlobalSettings.doubleClick)) {
    case CLICK_NAVIGATE:
        NavigateRow(pane, (int)caret);
        break;
    case CLICK_TRANSFER:
        TransferSelectionCommand(pane == PANE_REMOTE ? PANE_REMOTE : PANE_LOCAL);
        break;
    case CLICK_VIEW:
        ViewSelection(MainWindow, pane, TRUE);
        break;
    case CLICK_NOTHING:
        break;
    }
    UpdateButtons();
}

void FileListNotify(int pane, int notify)
{
    if (notify == LBN_DBLCLK) {
        if (pane == PANE_REMOTE && IsBusy())
            return;
        DoubleClick(pane);
        return;
    }
    UpdateButtons();
}

namespace {
struct ListRows {
    HWND list;
    PaneRow row;
};

const char *RowName(void *context, int index)
{
    ListRows *rows = static_cast<ListRows *>(context);
    if (!ReadPaneRow(rows->list, index, &rows->row))
        return "";
    return rows->row.name;
}
} // namespace

LRESULT FileListKey(HWND window, HWND list, int key, int caret)
{
    int id = GetDlgCtrlID(list);
    if (key == VK_RETURN) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK), (LPARAM)list);
        return -1;
    }
    char character = 0;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        character = (char)key;
    else if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        character = (char)('0' + key - VK_NUMPAD0);
    if (!character)
        return -1;
    ListRows rows = {list, {}};
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    int found = KeyboardSearch(count, caret, character, RowName, &rows);
    if (found < 0)
        return -1;
    if (SendMessageA(list, LB_GETSELCOUNT, 0, 0) != LB_ERR) {
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        SendMessageA(list, LB_SETSEL, TRUE, found);
        SendMessageA(list, LB_SETCARETINDEX, found, FALSE);
    } else {
        SendMessageA(list, LB_SETCURSEL, found, 0);
    }
    UpdateButtons();
    return -2;
}

// ---------------------------------------------------------------------
// Transfers of single files

static void RefreshLocal(void)
{
    if (LocalListRefresher)
        LocalListRefresher();
}

static void RefreshRemote(void)
{
    if (RemoteListRefresher)
        RemoteListRefresher();
}

// One file each way; true on a complete transfer.
static bool PromptedDownload(const char *name, uint64_t size)
{
    char command[PANE_NAME_SIZE + 8];
    snprintf(command, sizeof command, "RETR %s", name);
    ClearCurrentEntry();
    snprintf(CurrentEntry.name, sizeof CurrentEntry.name, "%s", name);
    CurrentEntry.size = size;
    int type = ChooseType(name, GlobalSettings.mode);
    // Class 2 is success unless the data stopped early (an empty file counts).
    bool ok = DownloadFile(ControlSocket, command, name, type, FALSE) == 2 && ReceiveResult != 2;
    if (!ok)
        LogFormat(LoadText(IDS_DOWNLOAD_FAILED_FOR), name);
    return ok;
}

static bool PromptedUpload(const char *path)
{
    const char *name = strrchr(path, '\\');
    name = name ? name + 1 : path;
    char command[PANE_NAME_SIZE + 8];
    snprintf(command, sizeof command, "STOR %s", name);
    int type = ChooseType(name, GlobalSettings.mode);
    bool ok = UploadFile(ControlSocket, command, path, type, FALSE) == 2;
    if (!ok)
        LogFormat(LoadText(IDS_UPLOAD_FAILED_FOR), path);
    return ok;
}

void TransferSelectionCommand(int pane)
{
    if (pane == PANE_REMOTE)
        StartDownloadBatch(MainWindow);
    else
        StartUploadBatch(MainWindow);
}

void AppendSelectionCommand(int pane)
{
    if (IsBusy())
        return;
    SetAppendNext();
    TransferSelectionCommand(pane);
}

void PromptTransferCommand(int pane)
{
    if (IsBusy())
        return;
    char answer[256] = "";
    HelpContext = pane == PANE_REMOTE ? HELP_RETR : HELP_STOR;
    UINT prompt = pane == PANE_REMOTE ? IDS_ENTER_RETR_NAME : IDS_ENTER_STOR_NAME;
    if (!InputText(answer, "%s", LoadText(prompt)) || !answer[0])
        return;
    SetBusy(TRUE);
    CancelFlag = FALSE;
    bool ok = pane == PANE_REMOTE ? PromptedDownload(answer, 0) : PromptedUpload(answer);
    SetBusy(FALSE);
    if (ok) {
        if (pane == PANE_REMOTE)
            RefreshLocal();
        else
            RefreshRemote();
    }
    UpdateButtons();
}

int UploadPath(const char *path, int index, int count)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return UploadFolderTree(path);
    const bool toggle = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0;
    const int prompt = toggle ? !GlobalSettings.prompt : GlobalSettings.prompt;
    const int append = 0;   // "Append" arms the next "-->" or "<--" only
    return UploadOne(path, index, count, prompt, append);
}

// ---------------------------------------------------------------------
// Refresh, folder information, Delete

void RefreshCommand(int pane)
{
    if (pane == PANE_REMOTE) {
        if (IsBusy())
            return;
        RefreshRemote();
    } else {
        RefreshLocalList();
    }
    UpdateButtons();
}

void FolderInfoCommand(int pane)
{
    if (pane == PANE_LOCAL) {
        if (!DspTempFile[0] || !WriteFolderReport(DspTempFile)) {
            PlayErrorSound();
            return;
        }
        LogFormat(LoadText(IDS_FOLDER_REPORT_IN), DspTempFile);
    } else {
        if (IsBusy() || !Connected)
            return;
        if (FetchListing("LIST") != 2) {
            PlayErrorSound();
            return;
        }
        LogFormat(LoadText(IDS_FOLDER_REPORT_IN), DirTempFile);
    }
    ViewFile(pane == PANE_LOCAL ? DspTempFile : DirTempFile, "");
}

void DeleteKeyCommand(HWND window)
{
    HWND focus = GetFocus();
    if (focus && focus == LocalListWindow)
        PostMessageA(window, WM_COMMAND, IDM_LOCAL_DELETE, 0);
    else if (focus && focus == RemoteListWindow)
        PostMessageA(window, WM_COMMAND, IDM_REMOTE_DELETE, 0);
}

void DroppedFiles(HDROP drop)
{
    OnMainDropFiles(MainWindow, drop);
}

// ---------------------------------------------------------------------
// Help

void OpenHelpPage(int context)
{
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s%s", HelpPath ? HelpPath : "", HelpPageFor(context));
    if (!HelpPath || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        LogFormat(LoadText(IDS_HELP_MISSING), path);
        return;
    }
    HINSTANCE result = ShellExecuteA(MainWindow, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    if ((INT_PTR)result <= 32)
        LogFormat(LoadText(IDS_HELP_MISSING), path);
}
