// The remote pane: the current remote folder, its listing fetched over a
// data connection into a temporary "DIR" file (kept in the listing cache),
// the rows of the remote list and the remote folder box.
//
// Contract for callers:
//  - everything runs on the thread that owns the control connection's turn
//    (the window thread, or the batch worker between its files);
//  - RefreshRemoteList and ShowRemoteFolder with guard set do nothing while
//    a batch is busy and hold the busy flag themselves otherwise;
//  - the remote list's rows own their FileItem blocks: ClearRemoteList
//    frees them; every row also carries a readable text;
//  - FetchListing returns the reply class of the listing (2 = stored).
#pragma once

#include "listing/remote_listing.h"

struct HWND__;

extern char RemoteFolder[REMOTE_FOLDER_SIZE];   // the folder shown, or the placeholder

void RefreshRemoteList(HWND__ *window, int guard);   // PWD, always a new listing
void ShowRemoteFolder(HWND__ *window, int guard);    // PWD, the cached listing if any
void RedisplayRemotePane(HWND__ *window);            // rebuild without PWD
int FetchListing(const char *command);
void ReadListingFile(const char *path);
void ClearRemoteList(void);

// Empties the listing cache (deleting its files) and the remote folder
// box's drop-down list; on connect, disconnect and at program end.
void DiscardListingCache(void);

// The remote folder box (control 961): a notification from it.
void OnRemoteFolderBox(HWND__ *window, int notify);
// Changes to a typed or chosen folder text and shows it (class 2) unless a
// batch is busy.
void ChangeToRemoteFolderText(HWND__ *window, const char *folder);
