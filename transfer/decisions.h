// The decisions around each file transfer, over the program's state: the
// overwrite check and its question, the restart information of a binary
// download, the resume offer after a connect, and the restart download.
// The pure rules are in transfer/decision_rules.h.
//
// Contract for callers (the per-file drivers and the batch driver):
//  - CheckOverwrite compares CurrentEntry (the source file's row, filled by
//    the caller) with the same-named file row of the destination list and
//    restores CurrentEntry afterwards; it asks only outside folder walks;
//  - the batch driver sets SelectionCount and resets OverwriteMemory at the
//    start and end of every batch, and sets FolderTransfer during walks;
//  - restart information lives in the site's own section of the INI file
//    ("REGETRDIR", "REGETRFILE", "REGETLDIR", "REGETLFILE", "REGETTIME");
//  - OfferResume runs after every successful connect, on the window thread.
#pragma once
#include <winsock2.h>
#include <windows.h>
#include <stdint.h>

extern int OverwriteMemory;   // ANSWER_NONE, ANSWER_YES_ALL, ANSWER_NO_ALL
extern int SelectionCount;    // entries of the running batch
extern int FolderTransfer;    // a folder walk runs

// 1: go ahead; 0: the destination has the same version; -1: a newer one.
// name is the file's name as it will stand at the destination.
int CheckOverwrite(const char *name, HWND destinationList);

// Reading the destination list costs one message per row, and a batch on
// the worker thread pays a thread switch for each: a batch takes one
// snapshot of the destination list's file rows per destination folder
// (after that list was filled) and drops it when the folder is done;
// CheckOverwrite on that list then reads the snapshot.
void SnapshotDestination(HWND list);
void DropDestinationSnapshot(void);
// A folder walk's destination is no window: its file rows are handed over
// one by one under a key that stands for that folder (CheckOverwrite with
// the same key reads them).
struct StampedEntry;
void BeginDestinationSnapshot(HWND key);
void AddDestinationFile(const char *name, const StampedEntry &entry);

// Shows "DLG_OVERWRITE" centred on owner: the question, the caption, and
// the two "to All" buttons only when count is 2 or more. Returns the button
// id (6 "&Yes", 7 "&No", 2420 "Yes to &All", 2421 "No &to All"; closing
// gives 2).
int AskOverwrite(HWND owner, const char *question, const char *caption, int count);

void SaveRestartInfo(const char *profile, const char *remoteFolder, const char *remoteFile,
                     const char *localFile);
void ClearRestartInfo(const char *profile);

// The resume offer for the profile's interrupted download, if any.
void OfferResume(const char *profile);

// Fetches the remote file from offset into the open file (positioned there)
// with "REST"; a refused "REST" restarts from byte 0 into the same file.
// Returns the reply class, 0 when it failed before a usable reply.
int RestartDownload(SOCKET control, HANDLE file, const char *remoteFolder, const char *remoteFile,
                    uint64_t offset);
