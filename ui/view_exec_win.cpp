// Viewing, editing and running files: the Win32 side of view_commands.h.
#include "ui/view_exec.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "app/config.h"
#include "app/dispatch.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_actions.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "sites/options_sheet.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"
#include "ui/msglog.h"
#include "ui/view_commands.h"

namespace {

// Starts a command line; the result is not reported.
void StartCommand(const std::string &command)
{
    std::string line = command;   // CreateProcess may write into it
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

// The WIN.INI "Extensions" value of an extension; false when absent.
bool AssociationOf(const std::string &extension, std::string *value)
{
    char text[260] = "";
    if (extension.empty() || extension.size() > 3 ||
        !GetProfileStringA("Extensions", extension.c_str(), "", text, sizeof text) || !text[0])
        return false;
    *value = text;
    return true;
}

void ViewerSetting(char *viewer, size_t size)
{
    ConfigGetString("VIEWER", "notepad", viewer, (int)size);
}

// A fresh "DSP" name in the temporary folder with the remote extension.
bool MakeDisplayFile(const char *remoteName, char *path, size_t size)
{
    char temp[MAX_PATH];
    if (!GetTempFileNameA(TempFolder, "DSP", 0, temp))
        return false;
    std::string display = DisplayFileName(temp, remoteName);
    if (display != temp)
        DeleteFileA(temp);
    snprintf(path, size, "%s", display.c_str());
    return true;
}

int CurrentTransferType(const char *name)
{
    int mode = GlobalSettings.mode ? GlobalSettings.mode : 'I';
    return GlobalSettings.autoMode ? ChooseType(name, mode) : mode;
}

void ViewOrExecute(HWND window, const char *file, BOOL view, const char *viewer, BOOL ctrl)
{
    if (view)
        ViewFile(file, viewer);
    else
        ExecuteFile(window, file, ctrl);
}

// Fetches one remote file and views or runs it; the class of the download.
int ViewRemoteFile(HWND window, const PaneRow &row, BOOL view, const char *viewer, BOOL ctrl, bool only)
{
    SetBusy(TRUE);
    char path[MAX_PATH] = "";
    int result = 0;
    if (MakeDisplayFile(row.name, path, sizeof path)) {
        char command[PANE_NAME_SIZE + 8];
        snprintf(command, sizeof command, "RETR %s", row.name);
        result = DownloadFile(ControlSocket, command, path, CurrentTransferType(row.name), FALSE);
        if (result == 2) {
            ViewOrExecute(window, path, view, viewer, ctrl);
        } else if (result == 5 && only) {
            // The entry may have been a folder.
            if (FtpCommand(ControlSocket, "CWD %s", row.name) == 2)
                RefreshRemoteList(window, 1);
        }
    }
    RefreshLocalList();
    SetBusy(FALSE);
    EnableWindow(GetDlgItem(window, IDM_CANCEL), TRUE);
    return result;
}

} // namespace

void ViewFile(const char *file, const char *viewer)
{
    char setting[120];
    if (!viewer || !viewer[0]) {
        ViewerSetting(setting, sizeof setting);
        viewer = setting;
    }
    StartCommand(ViewerCommand(viewer, file));
}

BOOL BuildEditCommand(char *output, size_t size, const char *name, const char *file)
{
    char viewer[120];
    ViewerSetting(viewer, sizeof viewer);
    char found[MAX_PATH] = "";
    const char *program = nullptr;
    if (GlobalSettings.useFindExec && (INT_PTR)FindExecutableA(file, nullptr, found) > 32)
        program = found;
    std::string association;
    bool associated = AssociationOf(LastExtension(name), &association);
    std::string command;
    if (!EditCommandFor(name, file, viewer, program, associated ? association.c_str() : nullptr, &command))
        return FALSE;
    snprintf(output, size, "%s", command.c_str());
    return TRUE;
}

void ExecuteFile(HWND window, const char *file, BOOL ask)
{
    if (ask) {
        int saved = GlobalSettings.useFindExec;
        GlobalSettings.useFindExec = 1;
        char command[256];
        if (!BuildEditCommand(command, sizeof command, file, file))
            snprintf(command, sizeof command, "%s", file);
        GlobalSettings.useFindExec = saved;
        if (InputText(command, "%s", LoadText(IDS_COMMAND_PROMPT)) && command[0])
            StartCommand(command);
        return;
    }
    INT_PTR result = (INT_PTR)ShellExecuteA(MainWindow, "open", file, nullptr, "", SW_SHOWNORMAL);
    if (result > 32)
        return;
    LogFormat(LoadText(IDS_SHELL_EXEC_RESULT), (unsigned)result);
    std::string extension = FirstExtension(file), association, command;
    bool associated = AssociationOf(extension, &association);
    switch (ExecFallbackFor(file, associated ? association.c_str() : nullptr, &command)) {
    case EXEC_START_FILE:
    case EXEC_START_COMMAND:
        StartCommand(command);
        break;
    case EXEC_ASK_ASSOCIATION:
        if (ShowAssociateDialog(window, extension.c_str()) && AssociationOf(extension, &association))
            StartCommand(AssociationCommand(association.c_str(), file));
        break;
    case EXEC_NOTHING:
        break;
    }
}

void ViewSelection(HWND window, int pane, BOOL view)
{
    HWND list = pane == PANE_REMOTE ? RemoteListWindow : LocalListWindow;
    int indices[PANE_SELECTION_MAX];
    int count = SelectedRows(list, indices, PANE_SELECTION_MAX);
    if (count == 0) {
        UpdateButtons();
        return;
    }
    if (pane == PANE_REMOTE && (IsBusy() || !Connected))
        return;
    BOOL ctrl = GetKeyState(VK_CONTROL) < 0;
    char viewer[256] = "";
    if (view && ctrl) {
        ViewerSetting(viewer, sizeof viewer);
        if (!InputText(viewer, "%s", LoadText(IDS_VIEWER_PROMPT)))
            return;
    }
    char folder[MAX_PATH] = "";
    if (pane == PANE_LOCAL)
        GetCurrentDirectoryA(sizeof folder, folder);
    for (int i = 0; i < count; i++) {
        PaneRow row;
        if (!ReadPaneRow(list, indices[i], &row) || row.kind == KIND_FOLDER || row.kind == KIND_DRIVE)
            continue;
        if (pane == PANE_REMOTE) {
            ViewRemoteFile(window, row, view, viewer, ctrl, count == 1);
            continue;
        }
        char path[MAX_PATH + PANE_NAME_SIZE];
        size_t n = strlen(folder);
        snprintf(path, sizeof path, "%s%s%s", folder, n && folder[n - 1] != '\\' ? "\\" : "", row.name);
        ViewOrExecute(window, path, view, viewer, ctrl);
    }
    UpdateButtons();
}

void ViewListingCommand(const char *command)
{
    if (IsBusy() || !Connected)
        return;
    if (FetchListing(command) == 2)
        ViewFile(DirTempFile, "");
    else
        PlayEventSound(SOUND_OTHER_FAILURE);
}
