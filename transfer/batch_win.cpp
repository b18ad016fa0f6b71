// Transfer batches on Win32: the launchers, the batch body of the worker
// thread, the per-file drivers and the two folder walkers.
#include "transfer/batch.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <memory>
#include <vector>

#include "app/app.h"
#include "app/dispatch.h"
#include "app/settings.h"
#include "cmdline/cmdline.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_commands.h"
#include "listing/file_item.h"
#include "listing/remote_list.h"
#include "listing/remote_listing.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/batch_rules.h"
#include "transfer/data_sockets.h"
#include "transfer/decision_rules.h"
#include "transfer/decisions.h"
#include "transfer/local_name.h"
#include "transfer/pattern_transfer.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "transfer/transfer_log.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"

namespace {

enum { TEXT_SIZE = 256, PATH_SIZE = MAX_PATH + 16, COMMAND_SIZE = PATH_SIZE + 8 };

// One selected entry, read on the window thread.
struct BatchItem {
    uint32_t kind;
    StampedEntry stamp;
    char name[PANE_NAME_SIZE];
};

struct Batch {
    HWND window;
    int upload;
    int prompt;                    // ask for destination names
    int append;                    // the append-next flag, taken
    char localFolder[PATH_SIZE];   // the local pane's folder, full
    std::vector<BatchItem> items;  // empty: a typed name
    char typedName[TEXT_SIZE];
    int folderAnswer = -1;         // -1 not asked yet, 0 No, 1 Yes
    bool errorMark = false;
};

int AppendNext;

// A string-table text into a buffer of the caller (the worker must not share
// the window thread's rotating buffers).
const char *Text(UINT id, char *buffer, int size)
{
    if (LoadStringA(AppInstance, id, buffer, size) <= 0)
        buffer[0] = '\0';
    return buffer;
}

void LogText(UINT id, const char *prefix = nullptr)
{
    char text[TEXT_SIZE];
    Text(id, text, sizeof text);
    if (prefix)
        LogFormat(prefix, text);
    else
        LogLine(text);
}

void LowerCase(char *text)
{
    for (; *text; text++)
        *text = (char)tolower((unsigned char)*text);
}

StampedEntry StampFromFindData(const WIN32_FIND_DATAA &found)
{
    StampedEntry stamp = {};
    FILETIME local;
    SYSTEMTIME when;
    if (FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &when))
        stamp = {when.wYear, (uint8_t)when.wMonth, (uint8_t)when.wDay, (uint8_t)when.wHour,
                 (uint8_t)when.wMinute, 0};
    stamp.size = ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
    return stamp;
}

void SetCurrentEntry(uint32_t kind, const char *name, const StampedEntry &stamp)
{
    ClearCurrentEntry();
    CurrentEntry.kind = kind;
    CurrentEntry.year = stamp.year;
    CurrentEntry.month = stamp.month;
    CurrentEntry.day = stamp.day;
    CurrentEntry.hour = stamp.hour;
    CurrentEntry.minute = stamp.minute;
    CurrentEntry.size = stamp.size;
    snprintf(CurrentEntry.name, sizeof CurrentEntry.name, "%s", name);
}

// Reads a selected row: name and kind, and the date and size a FileItem
// block carries.
bool ReadItem(HWND list, int index, BatchItem *item)
{
    PaneRow row;
    if (!ReadPaneRow(list, index, &row))
        return false;
    *item = {};
    item->kind = row.kind;
    snprintf(item->name, sizeof item->name, "%s", row.name);
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    if (data != LB_ERR && data != 0 && GlobalSize((HGLOBAL)data) >= FileItemBytes(0)) {
        const FileItem *file = (const FileItem *)GlobalLock((HGLOBAL)data);
        if (file) {
            item->stamp = {file->year, file->month, file->day, file->hour, file->minute, file->size};
            GlobalUnlock((HGLOBAL)data);
        }
    }
    return true;
}

// The local names a download may take: FitLocalName's rules, with the
// existence test of "RECU" in the walk's folder, not the current one.
thread_local const char *FitFolder;

int ExistsInFitFolder(const char *name)
{
    char path[PATH_SIZE];
    return FitFolder && JoinLocalPath(path, sizeof path, FitFolder, name) &&
           GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The longest name a volume takes, asked once per drive while a batch runs:
// under Wine the question costs about as much as a small file's transfer.
struct VolumeLimit {
    bool remember;   // a batch runs on this thread
    bool known;
    char root[4];
    DWORD maxComponent;
};
thread_local VolumeLimit BatchVolume;

DWORD MaxNameLength(const char *root)
{
    if (BatchVolume.remember && BatchVolume.known && strcmp(BatchVolume.root, root) == 0)
        return BatchVolume.maxComponent;
    DWORD maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(root[0] ? root : nullptr, nullptr, 0, nullptr, &maxComponent, &flags, nullptr, 0))
        return 0;
    if (BatchVolume.remember) {
        BatchVolume.known = true;
        snprintf(BatchVolume.root, sizeof BatchVolume.root, "%s", root);
        BatchVolume.maxComponent = maxComponent;
    }
    return maxComponent;
}

void FitLocalNameIn(const char *folder, char *destination, const char *remoteName)
{
    char root[4] = "";
    if (isalpha((unsigned char)folder[0]) && folder[1] == ':')
        snprintf(root, sizeof root, "%c:\\", folder[0]);
    DWORD maxComponent = MaxNameLength(root);
    FitRules rules = {(uint32_t)CurrentSession.hostType, (int)maxComponent, GlobalSettings.recvUnique,
                      ExistsInFitFolder, {CnvPath, GlobalSettings.convertExt, GlobalSettings.forceLower}};
    FitFolder = folder;
    char text[TEXT_SIZE];
    if (FitLocalNameWith(destination, remoteName, &rules))
        LogFormat(Text(IDS_UNSAFE_LOCAL_NAME, text, sizeof text), remoteName, destination);
    FitFolder = nullptr;
}

// The remote folder of the control connection (PWD); empty when unknown.
void CurrentRemoteFolder(char *folder)
{
    folder[0] = '\0';
    if (PrintRemoteFolder(ControlSocket) == 2)
        FolderFromPwdReply(ReplyText, folder);
}

// ---------------------------------------------------------------------
// Listings of a walk: the remote folder's entries without the window.

struct RemoteEntry {
    uint32_t kind;
    StampedEntry stamp;
    char name[256];
};

struct ListingTarget {
    std::vector<RemoteEntry> *entries;
    const char *folder;
};

int ParseLine(ListingEntry *entry, const char *line, void *context)
{
    const ListingTarget *target = (const ListingTarget *)context;
    return HostParseListingLine(entry, line, (uint32_t)CurrentSession.hostType, target->folder,
                                CurrentSession.userId);
}

void KeepEntry(ListingEntry *entry, void *context)
{
    if (!PrepareRemoteEntry(entry, CurrentSession.timeOffset, nullptr))
        return;
    RemoteEntry row = {};
    row.kind = entry->kind;
    row.stamp = {entry->year, entry->month, entry->day, entry->hour, entry->minute, ListingEntrySize(*entry)};
    memcpy(row.name, entry->name, sizeof row.name);
    row.name[sizeof row.name - 1] = '\0';
    try {
        ((ListingTarget *)context)->entries->push_back(row);
    } catch (...) {
        // Out of memory: the entry is left out of the walk.
    }
}

// Lists the current remote folder into entries; the reply class.
int ListRemoteFolder(const char *folder, std::vector<RemoteEntry> *entries)
{
    char path[MAX_PATH];
    if (!GetTempFileNameA(TempFolder, "DIR", 0, path))
        return 0;
    const int autoMode = GlobalSettings.autoMode;
    GlobalSettings.autoMode = 0;
    const int bell = SetSoundSwitch(0);
    char command[16];
    snprintf(command, sizeof command, "%s", CurrentSession.hostType == 6059 ? "MLSD" : "LIST");
    int result = DownloadFile(ControlSocket, command, path, 'A', FALSE);
    GlobalSettings.autoMode = autoMode;
    SetSoundSwitch(bell);
    if (result == 2) {
        if (FILE *file = fopen(path, "r")) {
            ListingTarget target = {entries, folder};
            ReadListingStream(file, (uint32_t)CurrentSession.hostType, ParseLine, KeepEntry, &target);
            fclose(file);
        }
    }
    DeleteFileA(path);
    return result;
}

void SnapshotRemote(HWND key, const std::vector<RemoteEntry> &entries)
{
    BeginDestinationSnapshot(key);
    for (const RemoteEntry &e : entries)
        if (e.kind < KIND_FOLDER)
            AddDestinationFile(e.name, e.stamp);
}

// The local folder's entries (files and folders, no "." or "..").
struct LocalEntry {
    bool folder;
    StampedEntry stamp;
    char name[MAX_PATH];
};

std::vector<LocalEntry> ListLocalFolder(const char *folder)
{
    std::vector<LocalEntry> entries;
    char pattern[PATH_SIZE];
    if (!JoinLocalPath(pattern, sizeof pattern, folder, "*"))
        return entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        LocalEntry e = {};
        e.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        e.stamp = StampFromFindData(found);
        snprintf(e.name, sizeof e.name, "%s", found.cFileName);
        try {
            entries.push_back(e);
        } catch (...) {
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

// The keys of the walks' snapshots: each stands for "the folder being
// walked" on its side.
char LocalWalkKey, RemoteWalkKey;
HWND const LOCAL_WALK = (HWND)&LocalWalkKey;
HWND const REMOTE_WALK = (HWND)&RemoteWalkKey;

void SnapshotLocal(HWND key, const char *folder)
{
    BeginDestinationSnapshot(key);
    for (const LocalEntry &e : ListLocalFolder(folder))
        if (!e.folder)
            AddDestinationFile(e.name, e.stamp);
}

bool Stopped(void)
{
    return AbortFlag || CancelFlag;
}

// Lets the thread's own windows (the status dialog, modal boxes) breathe
// between files.
void YieldToQueue(void)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// ---------------------------------------------------------------------
// The per-file drivers

int DownloadInto(const char *remoteName, const char *localFolder, int index, int count, int prompt,
                 int append, const char *remoteFolder)
{
    char text[TEXT_SIZE];
    char local[LOCAL_NAME_SIZE];
    FitLocalNameIn(localFolder, local, remoteName);
    if (prompt || append) {
        char answer[LOCAL_NAME_SIZE];
        snprintf(answer, sizeof answer, "%s", local);
        if (!InputText(answer, Text(IDS_ENTER_LOCAL_NAME_FOR, text, sizeof text), remoteName) || !answer[0]) {
            LogText(IDS_DOWNLOAD_CANCELLED);
            return 2;
        }
        snprintf(local, sizeof local, "%s", answer);
        MakeLocalNameSafe(local, sizeof local);
    }
    char path[PATH_SIZE];
    if (!JoinLocalPath(path, sizeof path, localFolder, local))
        return 0;
    ExpectedSize = 0;
    LogFormat(Text(IDS_RECEIVING_AS, text, sizeof text), remoteName, local, (unsigned)index, (unsigned)count);
    char command[COMMAND_SIZE];
    snprintf(command, sizeof command, "RETR %s", remoteName);
    if (!append) {
        int verdict = CheckOverwrite(local, FolderTransfer ? LOCAL_WALK : LocalListWindow);
        if (verdict != OVERWRITE_GO) {
            LogFormat(Text(verdict < 0 ? IDS_DOWNLOAD_NEWER_EXISTS : IDS_DOWNLOAD_SAME_EXISTS, text, sizeof text),
                      local);
            return 2;
        }
    }
    int type = GlobalSettings.mode;
    if (type == 'I')
        SaveRestartInfo(CurrentSession.name, remoteFolder, remoteName, path);
    type = ChooseType(remoteName, type);
    int result = DownloadFile(ControlSocket, command, path, type, append);
    if (ReceiveResult == 1) {
        ClearRestartInfo(CurrentSession.name);
        WriteTransferLog(LOG_DOWNLOAD, path, CurrentSession.name, remoteFolder, remoteName);
    }
    return result;
}

// `known`: the local file's stamp when the caller has just read it (a walk's
// folder listing), else it is read here.
int UploadFrom(const char *localPath, int index, int count, int prompt, int append, const char *remoteFolder,
               const StampedEntry *known = nullptr)
{
    char text[TEXT_SIZE];
    char remote[260];
    snprintf(remote, sizeof remote, "%s", LastPathPart(localPath));
    ConvertName(remote, CONVERT_TO_REMOTE);
    if (prompt || append) {
        char answer[260];
        snprintf(answer, sizeof answer, "%s", remote);
        if (!InputText(answer, Text(IDS_ENTER_REMOTE_NAME_FOR, text, sizeof text), localPath) || !answer[0]) {
            LogText(IDS_BATCH_CANCELLED, "+ %s");
            return 2;
        }
        snprintf(remote, sizeof remote, "%s", answer);
    }
    char command[COMMAND_SIZE];
    snprintf(command, sizeof command, "%s %s", append ? "APPE" : "STOR", remote);
    LogFormat(Text(IDS_SENDING_AS, text, sizeof text), localPath, remote, (unsigned)index, (unsigned)count);
    if (!append) {
        StampedEntry stamp = {};
        WIN32_FIND_DATAA found;
        HANDLE search = known ? INVALID_HANDLE_VALUE : FindFirstFileA(localPath, &found);
        if (known) {
            stamp = *known;
        } else if (search != INVALID_HANDLE_VALUE) {
            stamp = StampFromFindData(found);
            FindClose(search);
        }
        SetCurrentEntry(KIND_FILE, remote, stamp);
        int verdict = CheckOverwrite(remote, FolderTransfer ? REMOTE_WALK : RemoteListWindow);
        if (verdict != OVERWRITE_GO) {
            LogFormat(Text(IDS_UPLOAD_NOT_NEWER, text, sizeof text), remote);
            return 9;
        }
    }
    int type = ChooseType(remote, GlobalSettings.mode);
    int result = UploadFile(ControlSocket, command, localPath, type, append);
    if (result == 2)
        WriteTransferLog(LOG_UPLOAD, localPath, CurrentSession.host, remoteFolder, remote);
    return result;
}

// ---------------------------------------------------------------------
// The folder walkers

void Failure(UINT id, const char *name)
{
    char text[TEXT_SIZE];
    LogFormat("! %s %s", Text(id, text, sizeof text), name);
    PlayEventSound(SOUND_OTHER_FAILURE);
}

bool ReturnToRemote(const char *folder)
{
    if (folder[0] && ChangeRemoteFolder(ControlSocket, folder) == 2)
        return true;
    char text[TEXT_SIZE];
    LogFormat(Text(IDS_WALK_RETURN_REMOTE_FAILED, text, sizeof text), folder);
    return false;
}

// Downloads the remote folder `name` (of the current remote folder) into
// a folder of the same (fitted) name in localParent.
bool DownloadFolder(const char *name, const char *localParent)
{
    AbortFlag = FALSE;
    char text[TEXT_SIZE];
    char parentRemote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(parentRemote);
    char localName[LOCAL_NAME_SIZE];
    snprintf(localName, sizeof localName, "%s", name);
    if (MakeLocalNameSafe(localName, sizeof localName))
        LogFormat(Text(IDS_UNSAFE_LOCAL_NAME, text, sizeof text), name, localName);
    char local[PATH_SIZE];
    if (!JoinLocalPath(local, sizeof local, localParent, localName) ||
        (!CreateDirectoryA(local, nullptr) && !(GetFileAttributesA(local) & FILE_ATTRIBUTE_DIRECTORY)) ||
        GetFileAttributesA(local) == INVALID_FILE_ATTRIBUTES) {
        Failure(IDS_CREATE_FOLDER_FAILED, local);
        return false;
    }
    if (ChangeRemoteFolder(ControlSocket, name) != 2) {
        LogFormat(Text(IDS_WALK_CHANGE_REMOTE_FAILED, text, sizeof text), name);
        return false;
    }
    char remote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(remote);
    std::vector<RemoteEntry> entries;
    bool ok = ListRemoteFolder(remote, &entries) == 2;
    int count = (int)entries.size();
    SnapshotLocal(LOCAL_WALK, local);
    for (int i = 0; ok && i < count && !Stopped(); i++) {
        const RemoteEntry &e = entries[i];
        int action = BatchEntryAction(e.kind, e.name, 0);
        if (action == BATCH_FILE) {
            SetCurrentEntry(e.kind, e.name, e.stamp);
            int result = DownloadInto(e.name, local, i + 1, count, 0, 0, remote);
            if (ReceiveResult == 5 && e.kind == KIND_LINK)
                action = BATCH_FOLDER;
            else
                ok = result == 2 && !Stopped();
            YieldToQueue();
        }
        if (action == BATCH_FOLDER) {
            ok = DownloadFolder(e.name, local);
            SnapshotLocal(LOCAL_WALK, local);
        }
    }
    LogText(IDS_WALK_COMPLETE);
    if (!ReturnToRemote(parentRemote[0] ? parentRemote : ".."))
        ok = false;
    return ok;
}

// Uploads the local folder localParent\name into a remote folder of the
// same name (made when missing) in the current remote folder.
bool UploadFolder(const char *name, const char *localParent)
{
    AbortFlag = FALSE;
    char text[TEXT_SIZE];
    char parentRemote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(parentRemote);
    char local[PATH_SIZE];
    if (!JoinLocalPath(local, sizeof local, localParent, name) ||
        !(GetFileAttributesA(local) & FILE_ATTRIBUTE_DIRECTORY) ||
        GetFileAttributesA(local) == INVALID_FILE_ATTRIBUTES) {
        Failure(IDS_ENTER_FOLDER_FAILED, local);
        return false;
    }
    char remoteName[260];
    snprintf(remoteName, sizeof remoteName, "%s", name);
    if (GlobalSettings.forceLower)
        LowerCase(remoteName);
    MakeRemoteFolder(ControlSocket, remoteName);
    if (ChangeRemoteFolder(ControlSocket, remoteName) != 2) {
        LogFormat(Text(IDS_WALK_CHANGE_REMOTE_FAILED, text, sizeof text), remoteName);
        return false;
    }
    char remote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(remote);
    std::vector<RemoteEntry> existing;
    ListRemoteFolder(remote, &existing);
    SnapshotRemote(REMOTE_WALK, existing);
    std::vector<LocalEntry> entries = ListLocalFolder(local);
    int count = (int)entries.size();
    bool ok = true;
    for (int i = 0; ok && i < count && !Stopped(); i++) {
        const LocalEntry &e = entries[i];
        if (e.folder) {
            ok = UploadFolder(e.name, local);
            if (ok)
                SnapshotRemote(REMOTE_WALK, existing);
            continue;
        }
        char path[PATH_SIZE];
        if (!JoinLocalPath(path, sizeof path, local, e.name))
            continue;
        int result = UploadFrom(path, i + 1, count, 0, 0, remote, &e.stamp);
        ok = (result == 2 || result == 9) && !Stopped();
        YieldToQueue();
    }
    if (!ReturnToRemote(parentRemote[0] ? parentRemote : ".."))
        ok = false;
    return ok;
}

// ---------------------------------------------------------------------
// The batch body

// The folder question, asked at most once per batch; quiet runs answer Yes.
bool FoldersWanted(Batch *batch)
{
    if (batch->folderAnswer < 0) {
        if (CommandLineOptions.quiet) {
            batch->folderAnswer = 1;
        } else {
            char text[TEXT_SIZE];
            batch->folderAnswer = MessageBoxA(batch->window, Text(IDS_ASK_TRANSFER_FOLDERS, text, sizeof text),
                                              AppTitle, MB_YESNO | MB_ICONQUESTION) == IDYES;
        }
    }
    return batch->folderAnswer == 1;
}

// A folder walk runs with the progress dialog, the sounds and the prompting
// off, and the overwrite rule of folder walks on.
bool WalkFolder(Batch *batch, const char *name)
{
    const int hash = GlobalSettings.hash, prompt = GlobalSettings.prompt;
    GlobalSettings.hash = 0;
    GlobalSettings.prompt = 0;
    const int bell = SetSoundSwitch(0);
    FolderTransfer = 1;
    bool ok = batch->upload ? UploadFolder(name, batch->localFolder) : DownloadFolder(name, batch->localFolder);
    FolderTransfer = 0;
    DropDestinationSnapshot();
    SetSoundSwitch(bell);
    GlobalSettings.hash = hash;
    GlobalSettings.prompt = prompt;
    return ok;
}

void RunBatch(Batch *batch)
{
    BatchVolume = VolumeLimit{true, false, "", 0};
    SetThreadBlockingHook(BlockingHook);
    AbortFlag = FALSE;
    CancelFlag = FALSE;
    OverwriteMemory = ANSWER_NONE;
    char remoteFolder[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(remoteFolder);
    const int count = (int)batch->items.size();
    SelectionCount = count ? count : 1;
    bool transferred = false, complete = true, walked = false, firstFolder = true;
    if (!count) {
        char name[TEXT_SIZE];
        snprintf(name, sizeof name, "%s", batch->typedName);
        int result;
        if (batch->upload) {
            if (GlobalSettings.forceLower)
                LowerCase(name);
            char path[PATH_SIZE];
            if (!(name[1] == ':' || name[0] == '\\') && JoinLocalPath(path, sizeof path, batch->localFolder, name))
                snprintf(name, sizeof name, "%s", path);
            result = UploadFrom(name, 1, 1, batch->prompt, batch->append, remoteFolder);
        } else {
            ClearCurrentEntry();
            result = DownloadInto(name, batch->localFolder, 1, 1, batch->prompt, batch->append, remoteFolder);
        }
        transferred = result == 2;
        complete = transferred;
    }
    for (int i = 0; i < count; i++) {
        const BatchItem &item = batch->items[i];
        int action = BatchEntryAction(item.kind, item.name, batch->upload);
        char name[PANE_NAME_SIZE];
        snprintf(name, sizeof name, "%s", item.name);
        if (action == BATCH_FILE) {
            if (walked) {
                if (batch->upload)
                    SnapshotDestination(RemoteListWindow);
                else
                    SnapshotLocal(LocalListWindow, batch->localFolder);
                walked = false;
            }
            int result;
            if (batch->upload) {
                if (GlobalSettings.forceLower)
                    LowerCase(name);
                char path[PATH_SIZE];
                if (!JoinLocalPath(path, sizeof path, batch->localFolder, item.name)) {
                    complete = false;
                    break;
                }
                result = UploadFrom(path, i + 1, count, batch->prompt, batch->append, remoteFolder);
            } else {
                SetCurrentEntry(item.kind, item.name, item.stamp);
                result = DownloadInto(name, batch->localFolder, i + 1, count, batch->prompt, batch->append,
                                      remoteFolder);
                if (ReceiveResult == 5 && item.kind == KIND_LINK)
                    action = BATCH_FOLDER;
            }
            if (action == BATCH_FILE) {
                if (result == 2)
                    transferred = true;
                else if (result != 9 || !batch->upload) {
                    complete = false;
                    break;
                }
                if (CancelFlag && !batch->upload) {
                    complete = false;
                    break;
                }
                YieldToQueue();
            }
        }
        if (action == BATCH_FOLDER && FoldersWanted(batch)) {
            walked = true;
            bool ok = WalkFolder(batch, name);
            transferred = true;
            if (!ok) {
                if (firstFolder)
                    batch->errorMark = true;
                complete = false;
                break;
            }
            firstFolder = false;
        }
        if (AbortFlag) {
            complete = i == count - 1;
            break;
        }
    }
    if (complete && (transferred || !count))
        PlayEventSound(SOUND_TRANSFER_SUCCESS);
    DropDestinationSnapshot();
    ShowProgress(0, 0, 0, 0);   // the byte count of the walks' last file goes
    OverwriteMemory = ANSWER_NONE;
    SelectionCount = 0;
    if (batch->errorMark)
        LogText(IDS_TRANSFER_ERROR, "! %s");
    BatchVolume = VolumeLimit{};
}

// After the batch: the busy flag goes, the pane that received refreshes on
// the window thread.
void EndBatch(Batch *batch)
{
    HWND window = batch->window;
    int refresh = batch->upload ? (GlobalSettings.doUpdate ? IDM_REMOTE_REFRESH : 0) : IDM_LOCAL_REFRESH;
    SetBusy(FALSE);
    if (window)
        PostMessageA(window, WM_COMMAND, refresh ? refresh : IDM_LOCAL_REFRESH, 0);
}

DWORD WINAPI BatchThread(LPVOID parameter)
{
    std::unique_ptr<Batch> batch((Batch *)parameter);
    try {
        RunBatch(batch.get());
    } catch (...) {
        LogText(IDS_TRANSFER_ERROR, "! %s");
    }
    EndBatch(batch.get());
    return 0;
}

// The launcher's common part, on the window thread. `here`: the batch runs
// on this thread (drops, which change folders around it).
void StartBatch(HWND window, int upload, bool here)
{
    if (IsBusy())
        return;
    if (!Connected || ControlSocket == NO_SOCKET) {
        LogFormat("! %s", LoadText(IDS_NOT_CONNECTED));
        return;
    }
    std::unique_ptr<Batch> batch;
    try {
        batch.reset(new Batch());
    } catch (...) {
        LogLine(LoadText(IDS_FAILED_ALLOCATE));
        return;
    }
    SetBusy(TRUE);
    batch->window = window;
    batch->upload = upload;
    bool toggle = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0;
    batch->prompt = toggle ? !GlobalSettings.prompt : GlobalSettings.prompt;
    batch->append = AppendNext;
    AppendNext = 0;
    DWORD n = GetCurrentDirectoryA(sizeof batch->localFolder, batch->localFolder);
    if (n == 0 || n >= sizeof batch->localFolder)
        batch->localFolder[0] = '\0';

    HWND list = upload ? LocalListWindow : RemoteListWindow;
    static int indices[PANE_SELECTION_MAX];
    int count = SelectedRows(list, indices, PANE_SELECTION_MAX);
    try {
        for (int i = 0; i < count; i++) {
            BatchItem item;
            if (ReadItem(list, indices[i], &item))
                batch->items.push_back(item);
        }
    } catch (...) {
        count = 0;
    }
    if (batch->items.empty()) {
        batch->typedName[0] = '\0';
        if (!InputText(batch->typedName, "%s", LoadText(upload ? IDS_ENTER_LOCAL_TO_SEND : IDS_ENTER_REMOTE_TO_GET)) ||
            !batch->typedName[0]) {
            SetBusy(FALSE);
            return;
        }
    }
    // The destination's rows, read once here on the window thread.
    if (upload)
        SnapshotDestination(RemoteListWindow);
    else
        SnapshotLocal(LocalListWindow, batch->localFolder);

    if (TransferThread) {
        WaitForSingleObject(TransferThread, 1000);
        CloseHandle(TransferThread);
        TransferThread = nullptr;
    }
    if (ThreadsAvailable && !here) {
        DWORD id;
        Batch *raw = batch.release();
        TransferThread = CreateThread(nullptr, 0, BatchThread, raw, 0, &id);
        if (!TransferThread) {
            batch.reset(raw);
            RunBatch(batch.get());
            EndBatch(batch.get());
        }
    } else {
        RunBatch(batch.get());
        EndBatch(batch.get());
    }
    UpdateButtons();
}

}  // namespace

void StartUploadBatch(HWND window)
{
    StartBatch(window, 1, false);
}

void StartDownloadBatch(HWND window)
{
    StartBatch(window, 0, false);
}

void RunDroppedBatch(HWND window, int upload)
{
    StartBatch(window, upload, true);
}

void SetAppendNext(void)
{
    AppendNext = 1;
}

int UploadOne(const char *localPath, int index, int count, int prompt, int append)
{
    char remote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(remote);
    return UploadFrom(localPath, index, count, prompt, append, remote);
}

int DownloadOne(const char *remoteName, const char *localFolder, int index, int count, int prompt,
                int append)
{
    char remote[REMOTE_FOLDER_SIZE];
    CurrentRemoteFolder(remote);
    return DownloadInto(remoteName, localFolder, index, count, prompt, append, remote);
}

int UploadFolderTree(const char *localFolder)
{
    std::unique_ptr<Batch> batch;
    try {
        batch.reset(new Batch());
    } catch (...) {
        LogLine(LoadText(IDS_FAILED_ALLOCATE));
        return 0;
    }
    batch->window = MainWindow;
    batch->upload = 1;
    snprintf(batch->localFolder, sizeof batch->localFolder, "%s", localFolder);
    char *cut = strrchr(batch->localFolder, '\\');
    if (!cut)
        cut = strrchr(batch->localFolder, '/');
    if (!cut || !cut[1])
        return 0;
    char name[PANE_NAME_SIZE];
    snprintf(name, sizeof name, "%s", cut + 1);
    cut[cut == batch->localFolder + 2 && batch->localFolder[1] == ':' ? 1 : 0] = '\0';
    return WalkFolder(batch.get(), name) ? 2 : 0;
}
