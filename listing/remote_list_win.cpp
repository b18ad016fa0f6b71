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

static HWND RemoteFolderBox(void)
{
    return MainWindow ? GetDlgItem(MainWindow, IDC_REMOTE_FOLDER_BOX) : nullptr;
}

// The list draws its rows itself when it is owner-drawn without strings;
// then the item data is all there is. Otherwise each row is a text.
static BOOL ListKeepsText(HWND list)
{
    LONG style = GetWindowLongA(list, GWL_STYLE);
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0 || (style & LBS_HASSTRINGS);
}

static HGLOBAL RowHandle(HWND list, int index)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    return data == LB_ERR ? nullptr : (HGLOBAL)data;
}

void ClearRemoteList(void)
{
    HWND list = RemoteListWindow;
    if (!list)
        return;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        HGLOBAL h = RowHandle(list, i);
        if (h)
            GlobalFree(h);
        SendMessageA(list, LB_SETITEMDATA, (WPARAM)i, 0);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

// Row order while the list does not sort itself: ".." first, then folders,
// links and files, each group by name without regard to case.
static int RowOrder(const FileItem *a, const FileItem *b)
{
    int aUp = strcmp(a->text, "..") == 0, bUp = strcmp(b->text, "..") == 0;
    if (aUp || bUp)
        return bUp - aUp;
    uint32_t ka = a->kind > 1 ? a->kind : 0, kb = b->kind > 1 ? b->kind : 0;
    if (ka != kb)
        return ka > kb ? -1 : 1;
    return lstrcmpiA(a->text, b->text);
}

static int SortedPosition(HWND list, const FileItem *item)
{
    int low = 0, high = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    while (low < high) {
        int middle = (low + high) / 2;
        HGLOBAL h = RowHandle(list, middle);
        const FileItem *other = h ? (const FileItem *)GlobalLock(h) : nullptr;
        int order = other ? RowOrder(item, other) : 1;
        if (h)
            GlobalUnlock(h);
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// The row's text: the name, then date, time and size (or the folder mark).
static void RowText(const FileItem *item, uint64_t size, char *text, size_t length)
{
    char date[32] = "";
    if (item->year != 0 || item->month != 0)
        snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u", item->year, item->month, item->day,
                 item->hour, item->minute);
    if (item->kind & KIND_FOLDER)
        snprintf(text, length, "%s\t%s\t<DIR>", item->text, date);
    else
        snprintf(text, length, "%s\t%s\t%llu", item->text, date, (unsigned long long)size);
}

static void AddRow(const ListingEntry *entry)
{
    HWND list = RemoteListWindow;
    size_t nameLength = strnlen(entry->name, sizeof entry->name);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(FileItem) + nameLength + 1);
    if (!h || !list) {
        if (h)
            GlobalFree(h);
        return;
    }
    FileItem *item = (FileItem *)GlobalLock(h);
    uint64_t size = ListingEntrySize(*entry);
    item->pane = 1;
    item->kind = entry->kind;
    item->year = entry->year;
    item->month = entry->month;
    item->day = entry->day;
    item->hour = entry->hour;
    item->minute = entry->minute;
    item->size = size > 0xFFFFFFFFull ? 0xFFFFFFFFu : (uint32_t)size;
    item->nameLength = (uint32_t)nameLength;
    memcpy(item->text, entry->name, nameLength);
    item->text[nameLength] = '\0';

    LRESULT index;
    if (ListKeepsText(list)) {
        char text[360];
        RowText(item, size, text, sizeof text);
        int at = SortedPosition(list, item);
        GlobalUnlock(h);
        index = SendMessageA(list, LB_INSERTSTRING, (WPARAM)at, (LPARAM)text);
        if (index != LB_ERR && index != LB_ERRSPACE)
            SendMessageA(list, LB_SETITEMDATA, (WPARAM)index, (LPARAM)h);
    } else {
        GlobalUnlock(h);
        index = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)h);
    }
    if (index == LB_ERR || index == LB_ERRSPACE)
        GlobalFree(h);
}

static int IsTextName(const char *name)
{
    return IsAsciiFileName(name, ExtPath) ? 1 : 0;
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
    HWND list = RemoteListWindow;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ClearRemoteList();
    ListingEntry up = {};
    snprintf(up.name, sizeof up.name, "%s", "..");
    up.kind = KIND_FOLDER;
    AddRow(&up);

    FILE *file = path && path[0] ? fopen(path, "r") : nullptr;
    if (!file) {
        LogFormat(LoadText(IDS_LISTING_OPEN_FAILED), path ? path : "");
        PlayEventSound(SOUND_OTHER_FAILURE);
    } else {
        ReadListingStream(file, (uint32_t)CurrentSession.hostType, ParseWithLibrary, AddParsedEntry,
                          nullptr);
        fclose(file);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
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
    GlobalSettings.autoMode = 0;
    GlobalSettings.hash = 0;
    const int bell = SetSoundSwitch(0);

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
    SetSoundSwitch(bell);
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
