// The drag loop and the drop handler.
#include "ui/drag_drop.h"

#include <shlobj.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/dispatch.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/pane_rows.h"
#include "ftp/remote_actions.h"
#include "listing/listing_cache.h"
#include "listing/local_list.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "transfer/batch.h"
#include "transfer/data_sockets.h"
#include "transfer/sounds.h"
#include "ui/layout.h"
#include "ui/view_commands.h"

namespace {

// The list a drag started from; cleared after each drop.
HWND DragSource;
// The row highlighted as the drop target.
HWND DropRowList;
int DropRow = -1;

bool IsFileList(HWND w)
{
    return w && (w == LocalListWindow || w == RemoteListWindow);
}

bool RowIsFolder(HWND list, int index, PaneRow *row)
{
    return index >= 0 && ReadPaneRow(list, index, row) && IsFolderRow(*row);
}

void ClearDropRow(void)
{
    if (DropRowList && DropRow >= 0)
        SendMessageA(DropRowList, LB_SETSEL, FALSE, DropRow);
    DropRowList = nullptr;
    DropRow = -1;
}

void HighlightDropRow(HWND list, int index)
{
    if (list == DropRowList && index == DropRow)
        return;
    ClearDropRow();
    if (SendMessageA(list, LB_GETSEL, index, 0) > 0)
        return;   // already selected: nothing to undo later
    SendMessageA(list, LB_SETSEL, TRUE, index);
    DropRowList = list;
    DropRow = index;
}

// The window that takes dropped files at a screen point: the window under
// it or its nearest ancestor that accepts files.
HWND DropTargetAt(POINT screen, bool *accepts)
{
    HWND w = WindowFromPoint(screen);
    // The main window itself takes drops only while minimized.
    for (HWND a = w; a && a != MainWindow; a = GetParent(a))
        if (GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) {
            *accepts = true;
            return a;
        }
    *accepts = false;
    return w;
}

enum DropVerdict { DROP_NONE, DROP_CLICK, DROP_ALLOWED };

struct DragState {
    HWND source;
    int anchor;
    int selected;
    HCURSOR one, several, forbidden;
};

// What a point over the screen means for the drag; sets the cursor and
// the drop-row highlight.
DropVerdict JudgeDrop(const DragState &d, POINT screen, HWND *target)
{
    bool accepts;
    *target = DropTargetAt(screen, &accepts);
    POINT client = screen;
    ScreenToClient(*target, &client);
    if (DropRowList && DropRowList != *target)
        ClearDropRow();
    DropVerdict verdict = DROP_NONE;
    if (IsFileList(*target)) {
        PaneRow row;
        int index = RowUnderPoint(*target, client.x, client.y);
        if (*target != d.source) {
            if (RowIsFolder(*target, index, &row))
                HighlightDropRow(*target, index);
            else
                ClearDropRow();
            verdict = DROP_ALLOWED;
        } else if (index == d.anchor) {
            ClearDropRow();
            SetCursor(ArrowCursor);
            return DROP_CLICK;
        } else if (RowIsFolder(*target, index, &row) &&
                   (SendMessageA(*target, LB_GETSEL, index, 0) <= 0 || index == DropRow)) {
            HighlightDropRow(*target, index);
            verdict = DROP_ALLOWED;
        } else {
            ClearDropRow();
        }
    } else if (accepts && d.source == LocalListWindow) {
        verdict = DROP_ALLOWED;
    }
    SetCursor(verdict == DROP_ALLOWED ? (d.selected > 1 ? d.several : d.one) : d.forbidden);
    return verdict;
}

// The names of the selected rows: full paths for the local list.
std::vector<std::string> DraggedNames(HWND list)
{
    std::vector<std::string> names;
    std::string folder;
    if (list == LocalListWindow) {
        char text[MAX_PATH] = "";
        GetDlgItemTextA(MainWindow, IDC_LOCAL_FOLDER_BOX, text, sizeof text);
        folder = text;
        if (folder.empty() || folder.back() != '\\')
            folder += "\\";
    }
    int indices[PANE_SELECTION_MAX];
    int count = SelectedRows(list, indices, PANE_SELECTION_MAX);
    for (int i = 0; i < count; i++) {
        PaneRow row;
        if (ReadPaneRow(list, indices[i], &row) && !IsSkippedRow(row))
            names.push_back(folder + row.name);
    }
    return names;
}

// A standard dropped-files block: the 20-byte header, the names, one more
// NUL. Sized by the names themselves.
HGLOBAL MakeDropBlock(const std::vector<std::string> &names, POINT client, bool nonClient)
{
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string &n : names)
        bytes += n.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, bytes);
    DROPFILES *header = block ? (DROPFILES *)GlobalLock(block) : nullptr;
    if (!header) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->pt = client;
    header->fNC = nonClient;
    header->fWide = FALSE;
    char *p = (char *)header + sizeof(DROPFILES);
    for (const std::string &n : names) {
        memcpy(p, n.c_str(), n.size() + 1);
        p += n.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

// Selects only the anchor row, which also becomes the caret (a double
// click acts on the caret row).
void KeepOnlyAnchor(HWND list, int anchor)
{
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    SendMessageA(list, LB_SETSEL, TRUE, anchor);
    SendMessageA(list, LB_SETCARETINDEX, anchor, FALSE);
    UpdateButtons();
}

// ---------------------------------------------------------------------
// Drops

std::string NamePart(std::string file)
{
    if (!file.empty() && file.back() == '/')
        file.pop_back();
    return FileNamePart(file.c_str());
}

std::vector<std::string> DropBlockNames(HDROP drop)
{
    std::vector<std::string> files;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && i < 100000; i++) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string name(length + 1, '\0');
        DragQueryFileA(drop, i, &name[0], length + 1);
        name.resize(length);
        files.push_back(name);
    }
    return files;
}

bool KeepSwitchRefresh(void)
{
    return GlobalSettings.keepTimes || GlobalSettings.keepOverwrite;
}

void MoveLocalIntoFolder(const std::vector<std::string> &files, const char *folder)
{
    for (const std::string &file : files) {
        std::string from = file;
        if (!from.empty() && from.back() == '/')
            from.pop_back();
        std::string to = std::string(folder) + "\\" + NamePart(file);
        if (MoveFileA(from.c_str(), to.c_str())) {
            LogFormat(LoadText(IDS_DROP_MOVED), from.c_str(), to.c_str());
        } else {
            LogFormat(LoadText(IDS_DROP_MOVE_FAILED), from.c_str(), to.c_str());
            PlayEventSound(SOUND_OTHER_FAILURE);
        }
    }
    RefreshLocalList();
}

void DownloadIntoLocal(const PaneRow *folder)
{
    char remembered[MAX_PATH] = "";
    GetDlgItemTextA(MainWindow, IDC_LOCAL_FOLDER_BOX, remembered, sizeof remembered);
    if (folder) {
        if (SetCurrentDirectoryA(folder->name)) {
            LogFormat(LoadText(IDS_DROP_LOCAL_CHDIR), folder->name);
            if (KeepSwitchRefresh())
                RefreshLocalList();
        } else {
            LogFormat(LoadText(IDS_DROP_LOCAL_CHDIR_FAILED), folder->name);
        }
    }
    // Like "<--": the selection, the prompt setting (Ctrl or Shift inverts
    // it), the overwrite questions; the batch clears the busy flag itself.
    RunDroppedBatch(MainWindow, 0);
    if (folder) {
        ChangeLocalFolder(remembered);
        RefreshLocalList();
    }
}

void CopyIntoLocal(const std::vector<std::string> &files)
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    for (const std::string &file : files) {
        if (file.find_first_of("\\/") == std::string::npos)
            continue;
        std::string to = std::string(folder) + (folder[0] && folder[strlen(folder) - 1] == '\\' ? "" : "\\") +
                         NamePart(file);
        CopyFileA(file.c_str(), to.c_str(), FALSE);
    }
    RefreshLocalList();
}

// The path whose cached listing a move into a folder makes stale.
std::string MoveTargetPath(const char *current, const char *folder)
{
    std::string here = current;
    if (strcmp(folder, "..") == 0) {
        size_t cut = here.rfind('/');
        if (cut == std::string::npos)
            cut = here.rfind('\\');
        return cut == std::string::npos ? std::string() : here.substr(0, cut);
    }
    size_t sep = here.find_first_of("/\\");
    char separator = here.find('/') != std::string::npos ? '/' : (sep == std::string::npos ? '/' : here[sep]);
    return here + separator + folder;
}

void MoveRemoteIntoFolder(HWND window, const std::vector<std::string> &files, const char *folder)
{
    char question[400];
    snprintf(question, sizeof question, LoadText(IDS_DROP_MOVE_QUESTION), (unsigned)files.size(), folder);
    if (MessageBoxA(window, question, AppTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    int moved = 0;
    for (const std::string &file : files) {
        std::string name = NamePart(file);
        if (FtpCommand(ControlSocket, "RNFR %s", name.c_str()) != 3)
            continue;
        std::string to = std::string(folder) + "/" + name;
        if (FtpCommand(ControlSocket, "RNTO %s", to.c_str()) == 2) {
            LogFormat(LoadText(IDS_DROP_MOVED), name.c_str(), to.c_str());
            moved++;
        } else {
            LogFormat(LoadText(IDS_DROP_MOVE_FAILED), name.c_str(), to.c_str());
            PlayEventSound(SOUND_OTHER_FAILURE);
        }
    }
    if (!moved)
        return;
    std::string stale = MoveTargetPath(RemoteFolder, folder);
    for (int i = 0; i < ListingCacheCount; i++)
        if (stale == ListingCache[i].folder)
            DeleteFileA(ListingCache[i].file);
    RefreshRemoteList(window, 1);
}

void UploadIntoRemote(HWND window, const std::vector<std::string> &files, bool fromLocalList,
                      const PaneRow *folder)
{
    if (IsBusy())
        return;
    if (!Connected) {
        LogFormat("! %s", LoadText(IDS_DROP_NOT_CONNECTED));
        return;
    }
    if (CommandBusy > 0) {
        LogFormat("! %s", LoadText(IDS_DROP_BUSY));
        return;
    }
    std::string remembered = RemoteFolder;
    int entered = folder ? FtpCommand(ControlSocket, "CWD %s", folder->name) : 0;
    if (entered == 2 && KeepSwitchRefresh())
        ShowRemoteFolder(window, 1);
    if (fromLocalList) {
        RunDroppedBatch(window, 1);
        if (folder && FtpCommand(ControlSocket, "CWD %s", remembered.c_str()) == 2)
            ShowRemoteFolder(window, 1);
        return;
    }
    int uploaded = 0;
    SetBusy(TRUE);
    const int count = (int)files.size();
    for (int i = 0; i < count; i++) {
        std::string path = files[i];
        if (GlobalSettings.forceLower)
            CharLowerA(&path[0]);
        const int result = UploadPath(path.c_str(), i + 1, count);
        if (result == 2)
            uploaded++;
        else if (result != 9)
            break;
        if (AbortFlag)
            break;
    }
    SetBusy(FALSE);
    if (folder)
        FtpCommand(ControlSocket, "CWD %s", remembered.c_str());
    if (uploaded && GlobalSettings.doUpdate)
        RefreshRemoteList(window, 1);
}

} // namespace

int RowUnderPoint(HWND list, int x, int y)
{
    int height = (int)SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    if (height <= 0 || x <= 0 || y < 0)
        return -1;
    int index = y / height + (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    PaneRow row;
    if (!ReadPaneRow(list, index, &row))
        return -1;
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(list, WM_GETFONT, 0, 0));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, row.name, (int)strlen(row.name), &extent);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return x < extent.cx + 20 ? index : -1;
}

BOOL RunDragLoop(HWND list, int x, int y)
{
    DragState d = {list, RowUnderPoint(list, x, y), 0, nullptr, nullptr, nullptr};
    if (d.anchor >= 0 && SendMessageA(list, LB_GETSEL, d.anchor, 0) <= 0)
        KeepOnlyAnchor(list, d.anchor);
    d.selected = (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (d.anchor < 0 || SendMessageA(list, LB_GETSEL, d.anchor, 0) <= 0 || d.selected <= 0)
        return FALSE;
    d.one = LoadCursorA(AppInstance, "DRAG");
    d.several = LoadCursorA(AppInstance, "DRAGMULT");
    d.forbidden = LoadCursorA(AppInstance, "NODROP");
    // A press made with the real mouse ends when the button is up; one
    // made by messages alone ends with its button-up message.
    const bool realPress = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
    SetCapture(list);
    POINT screen = {x, y};
    ClientToScreen(list, &screen);
    HWND target = list;
    DropVerdict verdict = JudgeDrop(d, screen, &target);
    // Bounds: a press made by messages alone ends after 2 s without a
    // mouse message; any drag ends after 10 minutes.
    const DWORD started = GetTickCount();
    DWORD lastMouse = started;
    for (bool held = true; held;) {
        if (GetTickCount() - started > 600000 || (!realPress && GetTickCount() - lastMouse > 2000))
            break;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                break;
            }
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
                POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
                ClientToScreen(msg.hwnd, &p);
                screen = p;
                verdict = JudgeDrop(d, screen, &target);
                held = msg.message != WM_LBUTTONUP;
                lastMouse = GetTickCount();
                continue;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
                verdict = DROP_NONE;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (GetCapture() != list) {
            verdict = DROP_NONE;
            break;
        }
        if (realPress) {
            POINT now;
            GetCursorPos(&now);
            if (now.x != screen.x || now.y != screen.y) {
                screen = now;
                verdict = JudgeDrop(d, screen, &target);
            }
            held = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
        }
        if (held)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    if (GetCapture() == list)
        ReleaseCapture();
    ClearDropRow();
    SetCursor(ArrowCursor);
    if (verdict == DROP_CLICK) {
        KeepOnlyAnchor(list, d.anchor);
        return TRUE;
    }
    if (verdict != DROP_ALLOWED) {
        DragSource = nullptr;
        return TRUE;
    }
    POINT client = screen;
    ScreenToClient(target, &client);
    RECT area;
    GetClientRect(target, &area);
    HGLOBAL block = MakeDropBlock(DraggedNames(list), client, !PtInRect(&area, client));
    if (!block) {
        DragSource = nullptr;
        return TRUE;
    }
    DragSource = list;
    if (!PostMessageA(target, WM_DROPFILES, (WPARAM)block, 0)) {
        GlobalFree(block);
        DragSource = nullptr;
    }
    return TRUE;
}

void OnDropFiles(HWND target, HDROP drop)
{
    AbortFlag = FALSE;
    HWND source = DragSource;
    std::vector<std::string> files = DropBlockNames(drop);
    POINT point = {0, 0};
    DragQueryPoint(drop, &point);
    if (!IsFileList(target)) {
        LogFormat("+ %s", LoadText(IDS_DROP_OUTSIDE));
    } else if (files.empty()) {
        LogFormat("+ %s", LoadText(IDS_DROP_NO_FILES));
    } else {
        PaneRow row;
        const PaneRow *folder = RowIsFolder(target, RowUnderPoint(target, point.x, point.y), &row) ? &row : nullptr;
        if (target == LocalListWindow) {
            if (source == LocalListWindow) {
                if (folder)
                    MoveLocalIntoFolder(files, folder->name);
            } else if (source == RemoteListWindow) {
                DownloadIntoLocal(folder);
            } else {
                CopyIntoLocal(files);
            }
        } else if (source == RemoteListWindow) {
            if (folder)
                MoveRemoteIntoFolder(MainWindow, files, folder->name);
        } else {
            UploadIntoRemote(MainWindow, files, source == LocalListWindow, folder);
        }
    }
    DragSource = nullptr;
    DragFinish(drop);
}

void OnMainDropFiles(HWND mainWindow, HDROP drop)
{
    if (!IsIconic(mainWindow)) {
        DragFinish(drop);
        return;
    }
    std::vector<std::string> files = DropBlockNames(drop);
    DragSource = nullptr;
    if (!files.empty())
        UploadIntoRemote(mainWindow, files, false, nullptr);
    DragFinish(drop);
}
