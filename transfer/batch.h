// Transfer batches: the selection of one pane (files, and folders with
// their whole trees) moved to the current folder of the other side, on a
// worker thread while the window stays alive.
//
// Contract for callers:
//  - the launchers run on the window thread; they do nothing while a batch
//    is busy (IsBusy), read the selection and the current folders there, and
//    hand the batch to a worker thread (inline where ThreadsAvailable is
//    clear). The busy flag stays set until the batch has ended;
//  - a batch works with full local paths: it never changes the process's
//    current folder. The worker touches no window: its log lines go through
//    LogLine and the pane refresh is posted to the main window at the end;
//    questions (folder question, destination names, overwrite) are modal
//    boxes of the worker owned by the main window;
//  - AbortFlag (Cancel) is checked after every file; a completed file is
//    never touched again, a cancelled download keeps its partial file and
//    its restart keys.
#pragma once
#include <winsock2.h>
#include <windows.h>

// 939 "-->" uploads the local selection, 940 "<--" downloads the remote one.
// Holding Ctrl or Shift inverts the prompt-for-destination-names setting
// for the batch.
void StartUploadBatch(HWND window);
void StartDownloadBatch(HWND window);
// The same batch (upload 1: the local selection; 0: the remote one) run to
// its end on this thread: a drop changes folders before and after it.
void RunDroppedBatch(HWND window, int upload);

// 970 / 971: the next batch appends ("APPE", or to the local file).
void SetAppendNext(void);

// Per-file drivers (the current remote folder, localFolder full). Results:
// 2 transferred or skipped by a decision, 9 an upload refused as not newer,
// anything else a failure.
int UploadOne(const char *localPath, int index, int count, int prompt, int append);
int DownloadOne(const char *remoteName, const char *localFolder, int index, int count, int prompt,
                int append);
// A whole local folder (full path) uploaded into a remote folder of its name
// in the current remote folder, as a folder of a batch is (no prompts, no
// progress dialog, the walk's overwrite rule). 2 when the walk succeeded.
int UploadFolderTree(const char *localFolder);

// 967: the edit round trip of the first selected remote file, on a thread
// of its own.
void EditRemoteFile(HWND remoteList, SOCKET control);
// IDM_EDIT_KEEPALIVE, posted by a round trip whose editor runs: timer 50
// sends "NOOP" every 30 s while the channel is idle, until the last editor
// has ended.
void StartEditKeepAlive(HWND window);
