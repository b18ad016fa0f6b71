// The logic that lives in the main window's dispatch itself: the button
// update, the mode buttons, list notifications with navigation and the
// double-click action, keyboard search, the single-file transfers of the
// transfer buttons, refresh and folder information, the Delete key, and
// help.
//
// Everything runs on the user-interface thread, called from WndProc and
// the command table.
#pragma once
#include <windows.h>
#include <shellapi.h>

// Enables the buttons by the selections, the connection and the server's
// capabilities; nothing while HIDBTN is on.
void UpdateButtons(void);
// 8100: "ASCII", "Binary" and "Auto" show MODE and AMODE.
void UpdateModeButtons(void);
// 1851..1853 and 9029..9031.
void TransferModeCommand(int id);

// 927 and 931: a notification of a file list (pane 0 local, 1 remote).
void FileListNotify(int pane, int notify);
// WM_VKEYTOITEM from a file list: Enter posts the double-click; a
// character moves the caret by keyboard search. Returns the message result.
LRESULT FileListKey(HWND window, HWND list, int key, int caret);

// 939 and 940: the batch of the pane's selection (transfer/batch.h).
void TransferSelectionCommand(int pane);
// 970 and 971: the same batch, appending.
void AppendSelectionCommand(int pane);
// Uploads one path dropped from another program (file `index` of `count`)
// into the current remote folder, as "-->" would: a file under its name
// part, asking for the remote name when "Prompt for Destination File Names"
// is on (Ctrl or Shift held inverts it), never appending; a folder with its
// whole tree. Returns UploadOne's result: 2 uploaded, 9 skipped as not
// newer, anything else a failure.
int UploadPath(const char *path, int index, int count);
// 1311 ("RETR") and 1314 ("STOR"): ask for a name and transfer that file.
void PromptTransferCommand(int pane);
// 943 and 944.
void RefreshCommand(int pane);
// 949 and 950: a folder report (local) or listing (remote) in a file.
void FolderInfoCommand(int pane);
// 2600: Delete posts 945 or 946 for the list that has the focus.
void DeleteKeyCommand(HWND window);

// Files dropped on the main window: uploaded while it is minimized (drag_drop.h).
void DroppedFiles(HDROP drop);

// Opens the help page of a context in the default browser.
void OpenHelpPage(int context);
