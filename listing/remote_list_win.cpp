// The remote pane on Win32: PWD, the listing fetch, the listing reader's
// rows in the remote list box, and the remote folder box.
#include "listing/remote_list.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "listing/file_item.h"
#include "listing/file_list.h"
#include "listing/host_library.h"
#include "listing/listing_cache.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/ascii_names.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"

#include "ui/layout.h"

char RemoteFolder[REMOTE_FOLDER_SIZE];
enum { LISTING_RECEIVE_BLOCK = 65536 };

static HWND RemoteFolderBox(void)
{
    return MainWindow ? GetDlgItem(MainWindow, IDC_REMOTE_FOLDER_BOX) : nullptr;
}

void ClearRemoteList(void)
{
    ClearFileList(RemoteListWindow);
}

// The rows of the listing being read, shown together at its end; and the
// text-extension list, opened once per listing.
static RowBuffer *PendingRows;
static FILE *TextNameList;

static void AddRow(const ListingEntry *entry)
{
    const size_t nameLength = strnlen(entry->name, sizeof entry->name);
    char name[sizeof entry->name + 1];
    memcpy(name, entry->name, nameLength);
    name[nameLength] = '\0';
    FileItem *item = NewFileItem(1, entry->kind, name, nameLength);
    if (!item)
        return;
    item->year = entry->year;
    item->month = entry->month;
    item->day = entry->day;
    item->hour = entry->hour;
    item->minute = entry->minute;
    item->size = ListingEntrySize(*entry);
    if (PendingRows)
        PendingRows->push_back(item);
    else
        FreeFileItem(item);
}

static int IsTextName(const char *name)
{
    if (!TextNameList)
        return IsAsciiFileName(name, nullptr) ? 1 : 0;
    rewind(TextNameList);
    return NameMatchesAsciiList(name, TextNameList) ? 1 : 0;
}

static int ParseWithLibrary(ListingEntry *entry, const char *line, void *)
{
    return HostParseListingLine(entry, line, (uint32_t)CurrentSession.hostType, RemoteFolder,
                                CurrentSession.userId);
}

static void AddParsedEntry(ListingEntry *entry, void *)
{
    if (PrepareRemoteEntry(entry, CurrentSession.timeOffset, IsTextName))
        AddRow(entry);
}

void ReadListingFile(const char *path)
{
    RowBuffer rows;
    PendingRows = &rows;
    ListingEntry up = {};
    snprintf(up.name, sizeof up.name, "%s", "..");
    up.kind = KIND_FOLDER;
    AddRow(&up);

    FILE *file = path && path[0] ? fopen(path, "r") : nullptr;
    if (!file) {
        LogFormat(LoadText(IDS_LISTING_OPEN_FAILED), path ? path : "");
        PlayEventSound(SOUND_OTHER_FAILURE);
    } else {
        TextNameList = ExtPath ? fopen(ExtPath, "r") : nullptr;
        ReadListingStream(file, (uint32_t)CurrentSession.hostType, ParseWithLibrary, AddParsedEntry,
                          nullptr);
        if (TextNameList)
            fclose(TextNameList);
        TextNameList = nullptr;
        fclose(file);
    }
    PendingRows = nullptr;
    ShowRows(RemoteListWindow, &rows);
    PlaceHeaders(RemoteListWindow);
}

static BOOL FileExists(const char *path)
{
    return path[0] && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static void CreateEmptyFile(const char *path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
}

int FetchListing(const char *command)
{
    // A data connection already open means a transfer is running.
    if (DataSocket != NO_SOCKET)
        return 4;
    const int autoMode = GlobalSettings.autoMode, hash = GlobalSettings.hash;
    const int recvBlock = GlobalSettings.recvBlock;
    GlobalSettings.autoMode = 0;
    GlobalSettings.hash = 0;
    // A listing is read in large blocks into the system's own socket buffer,
    // whatever the receive block of file transfers: servers write listings
    // line by line, and behind a small buffer every line waits for an
    // acknowledgement (100,000 lines from vsftpd: 47 s instead of 0.6 s).
    if (GlobalSettings.recvBlock < LISTING_RECEIVE_BLOCK)
        GlobalSettings.recvBlock = LISTING_RECEIVE_BLOCK;

    char text[300];
    snprintf(text, sizeof text, "%s", command);
    int result = DownloadFile(ControlSocket, text, DirTempFile, 'A', FALSE);
    const int32_t host = CurrentSession.hostType;
    if (result == 2 && host == 6046 && strlen(text) >= 4) {
        memcpy(text, "NLST", 4);
        result = DownloadFile(ControlSocket, text, DirTempFile, 'A', TRUE);
    }
    if (result != 2 && (host == 6011 || host == 6012 || host == 6018)) {
        CreateEmptyFile(DirTempFile);
        result = 2;
    }

    GlobalSettings.autoMode = autoMode;
    GlobalSettings.hash = hash;
    GlobalSettings.recvBlock = recvBlock;
    return result;
}

// The folder box: an equal entry moves to the top, a new one goes there.
static void ShowFolderInBox(const char *folder)
{
    HWND box = RemoteFolderBox();
    if (!box)
        return;
    LRESULT at = SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)folder);
    if (at != CB_ERR)
        SendMessageA(box, CB_DELETESTRING, (WPARAM)at, 0);
    SendMessageA(box, CB_INSERTSTRING, 0, (LPARAM)folder);
    SetWindowTextA(box, folder);
}

static void RemoteMaskText(char *mask, int size)
{
    mask[0] = '\0';
    HWND field = MainWindow ? GetDlgItem(MainWindow, IDC_REMOTE_MASK) : nullptr;
    if (field)
        GetWindowTextA(field, mask, size);
}

static void ListCurrentFolder(HWND window, int guard, int useCache)
{
    (void)window;
    if (guard) {
        if (IsBusy())
            return;
        SetBusy(TRUE);
    }
    ClearRemoteList();
    if (!Connected) {
        HWND box = RemoteFolderBox();
        if (box)
            SetWindowTextA(box, "");
    } else {
        snprintf(RemoteFolder, sizeof RemoteFolder, "%s", LISTING_PLACEHOLDER);
        if (!(useCache && CurrentSession.hostType == 6026) && PrintRemoteFolder(ControlSocket) == 2)
            FolderFromPwdReply(ReplyText, RemoteFolder);
        ShowFolderInBox(RemoteFolder);
        if (!ServerCaps.hostTypeChecked)
            DetectHostType(ControlSocket);

        int found = ListingCacheLookup(RemoteFolder, DirTempFile);
        int fetched = 2;
        if (!(useCache && found != LISTING_CACHE_NEW && FileExists(DirTempFile))) {
            char mask[20];
            RemoteMaskText(mask, sizeof mask);
            const char *verb = CurrentSession.hostType == 6059 ? "MLSD" : "LIST";
            char command[40];
            if (mask[0])
                snprintf(command, sizeof command, "%s %s", verb, mask);
            else
                snprintf(command, sizeof command, "%s", verb);
            CancelFlag = FALSE;
            fetched = FetchListing(command);
            if (fetched != 2) {
                LogFormat(LoadText(IDS_LISTING_FETCH_FAILED), (unsigned)fetched);
                PlayEventSound(SOUND_OTHER_FAILURE);
            }
        }
        if (fetched == 2)
            ReadListingFile(DirTempFile);
    }
    if (guard)
        SetBusy(FALSE);
}

void RefreshRemoteList(HWND window, int guard)
{
    ListCurrentFolder(window, guard, 0);
}

void ShowRemoteFolder(HWND window, int guard)
{
    ListCurrentFolder(window, guard, 1);
}

void RedisplayRemotePane(HWND window)
{
    (void)window;
    ClearRemoteList();
    if (!Connected)
        return;
    if (ListingCacheLookup(RemoteFolder, DirTempFile) == LISTING_CACHE_NEW) {
        char mask[20];
        RemoteMaskText(mask, sizeof mask);
        char command[40];
        snprintf(command, sizeof command, mask[0] ? "%s %s" : "%s",
                 CurrentSession.hostType == 6059 ? "MLSD" : "LIST", mask);
        int fetched = FetchListing(command);
        if (fetched != 2) {
            LogFormat(LoadText(IDS_DODIRLIST_RETURNED), (unsigned)fetched);
            PlayEventSound(SOUND_OTHER_FAILURE);
            return;
        }
    }
    ReadListingFile(DirTempFile);
}

void DiscardListingCache(void)
{
    ClearListingCache();
    HWND box = RemoteFolderBox();
    if (box)
        SendMessageA(box, CB_RESETCONTENT, 0, 0);
}

void ChangeToRemoteFolderText(HWND window, const char *folder)
{
    if (IsBusy() || !folder[0])
        return;
    if (ChangeRemoteFolder(ControlSocket, folder) == 2)
        ShowRemoteFolder(window, 1);
}

void OnRemoteFolderBox(HWND window, int notify)
{
    HWND box = RemoteFolderBox();
    if (!box)
        return;
    if (notify == CBN_DROPDOWN) {
        if (IsBusy())
            SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
        return;
    }
    if (notify == CHILD_ENTER) {
        char typed[REMOTE_FOLDER_SIZE];
        GetWindowTextA(box, typed, sizeof typed);
        ChangeToRemoteFolderText(window, typed);
        return;
    }
    if (notify != CBN_CLOSEUP)
        return;
    LRESULT at = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR)
        return;
    char folder[REMOTE_FOLDER_SIZE];
    LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, (WPARAM)at, 0);
    if (length == CB_ERR || length >= (LRESULT)sizeof folder)
        return;
    SendMessageA(box, CB_GETLBTEXT, (WPARAM)at, (LPARAM)folder);
    ChangeToRemoteFolderText(window, folder);
}

// The session's refresh after a connect, a disconnect or a remote change:
// a new connection (or none) starts with an empty cache.
static void RefreshForSession(void)
{
    static SOCKET lastControl = NO_SOCKET;
    if (!Connected || ControlSocket != lastControl)
        DiscardListingCache();
    lastControl = Connected ? ControlSocket : NO_SOCKET;
    RefreshRemoteList(MainWindow, 1);
}

static const bool RefresherInstalled = (RemoteListRefresher = RefreshForSession, true);
