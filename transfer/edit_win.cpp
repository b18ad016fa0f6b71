// The edit round trip of a remote file: fetched into a temporary "EDT"
// file, opened in the editor that BuildEditCommand names for its extension
// (the shell's finder with UseFindExec, the "Extensions" association, else
// the viewer), written back when the editor has ended. The keep-alive
// timer runs while an editor is open.
#include "transfer/batch.h"

#include <stdio.h>
#include <string.h>

#include <memory>
#include <new>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_rules.h"
#include "listing/file_item.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/batch_rules.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "ui/input_dialogs.h"
#include "ui/view_exec.h"

namespace {

enum { EDIT_PATH_SIZE = 600, EDIT_COMMAND_SIZE = 1200 };

struct EditJob {
    char remotePath[EDIT_PATH_SIZE];
    char name[PANE_NAME_SIZE];
    char tempFile[MAX_PATH];
    SOCKET control;
    bool ctrlHeld;
};

volatile LONG EditorsOpen;   // round trips waiting for their editor

// Keeps the connection alive while an editor is open; the timer goes with
// the last editor (on the window thread, which owns the timer).
void CALLBACK EditKeepAlive(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    if (EditorsOpen <= 0) {
        KillTimer(window, id);
        return;
    }
    KeepAliveTick(window, message, id, time);
}

void RunRoundTrip(EditJob *job)
{
    SetThreadBlockingHook(BlockingHook);
    AbortFlag = FALSE;
    CancelFlag = FALSE;
    char command[EDIT_COMMAND_SIZE];
    snprintf(command, sizeof command, "RETR %s", job->remotePath);
    ClearCurrentEntry();
    int type = ChooseType(job->name, GlobalSettings.mode);
    int result = DownloadFile(job->control, command, job->tempFile, type, FALSE);
    if (result != 2 || CancelFlag || AbortFlag) {
        DeleteFileA(job->tempFile);
        return;
    }
    if (!BuildEditCommand(command, sizeof command, job->name, job->tempFile)) {
        DeleteFileA(job->tempFile);
        return;
    }
    if (job->ctrlHeld && (!InputText(command, "%s", LoadText(IDS_ENTER_COMMAND_LINE)) || !command[0]))
        return;
    char text[128];
    LoadStringA(AppInstance, IDS_EDIT_COMMAND_LINE, text, sizeof text);
    LogFormat(text, command);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        PlayEventSound(SOUND_OTHER_FAILURE);
        return;
    }
    InterlockedIncrement(&EditorsOpen);
    if (MainWindow)
        PostMessageA(MainWindow, WM_COMMAND, IDM_EDIT_KEEPALIVE, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    InterlockedDecrement(&EditorsOpen);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (CancelFlag || AbortFlag || ControlSocket == NO_SOCKET || job->control != ControlSocket)
        return;
    for (int attempt = 0; attempt < 2; attempt++) {
        if (attempt)
            Sleep(1000);
        snprintf(command, sizeof command, "STOR %s", job->remotePath);
        if (UploadFile(job->control, command, job->tempFile, type, FALSE) == 2) {
            DeleteFileA(job->tempFile);
            return;
        }
    }
    LoadStringA(AppInstance, IDS_EDIT_REWRITE_FAILED, text, sizeof text);
    LogFormat(text, job->remotePath, job->tempFile);
    PlayEventSound(SOUND_OTHER_FAILURE);
}

DWORD WINAPI EditThread(LPVOID parameter)
{
    std::unique_ptr<EditJob> job((EditJob *)parameter);
    try {
        RunRoundTrip(job.get());
    } catch (...) {
        PlayEventSound(SOUND_OTHER_FAILURE);
    }
    return 0;
}

}  // namespace

void StartEditKeepAlive(HWND window)
{
    SetTimer(window, KEEPALIVE_TIMER_ID, 30000, EditKeepAlive);
}

void EditRemoteFile(HWND remoteList, SOCKET control)
{
    if (!Connected || control == NO_SOCKET)
        return;
    int index;
    PaneRow row;
    if (SelectedRows(remoteList, &index, 1) < 1 || !ReadPaneRow(remoteList, index, &row) || row.kind >= KIND_FOLDER)
        return;
    std::unique_ptr<EditJob> job(new (std::nothrow) EditJob());
    if (!job) {
        LogLine(LoadText(IDS_FAILED_ALLOCATE));
        return;
    }
    snprintf(job->name, sizeof job->name, "%s", row.name);
    BuildRemotePath((int)CurrentSession.hostType, RemoteFolder, row.name, job->remotePath, sizeof job->remotePath);
    char folder[MAX_PATH];
    DWORD n = GetTempPathA(sizeof folder, folder);
    if (n == 0 || n >= sizeof folder || !GetTempFileNameA(folder, "EDT", 0, job->tempFile))
        return;
    DeleteFileA(job->tempFile);   // the name only: the download makes the file
    EditTempName(job->tempFile, sizeof job->tempFile, row.name);
    job->control = control;
    job->ctrlHeld = GetKeyState(VK_CONTROL) < 0;
    DWORD id;
    HANDLE thread = CreateThread(nullptr, 0, EditThread, job.get(), 0, &id);
    if (thread) {
        job.release();
        CloseHandle(thread);
    }
}
