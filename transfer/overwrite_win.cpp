// The overwrite check before a transfer and its question, "DLG_OVERWRITE".
#include "transfer/decisions.h"

#include <ctype.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <unordered_map>

#include "app/app.h"
#include "app/settings.h"
#include "listing/file_item.h"
#include "resources/resource.h"
#include "transfer/decision_rules.h"
#include "transfer/transfer.h"
#include "ui/input_dialogs.h"

int OverwriteMemory;
int SelectionCount;
int FolderTransfer;

namespace {

struct QuestionArgs {
    const char *question;
    const char *caption;
    int count;
};

// A file row of the list (a FileItem block of kind below folder): its name
// and entry. False for folders, drives and rows without such a block.
bool ReadFileRow(HWND list, int index, std::string *name, StampedEntry *entry)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    if (data == LB_ERR || data == 0)
        return false;
    HGLOBAL block = (HGLOBAL)data;
    SIZE_T size = GlobalSize(block);
    if (size < FileItemBytes(0))   // a short name makes a block smaller than the struct
        return false;
    const FileItem *item = (const FileItem *)GlobalLock(block);
    if (!item)
        return false;
    size_t length = strnlen(item->text, size - offsetof(FileItem, text));
    bool file = item->kind < KIND_FOLDER;
    if (file) {
        name->assign(item->text, item->nameLength < length ? item->nameLength : length);
        *entry = {item->year, item->month, item->day, item->hour, item->minute, item->size};
    }
    GlobalUnlock(block);
    return file;
}

std::string Lower(std::string text)
{
    for (char &c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}

// The file rows of one destination list by lower-cased name (first row of
// a name wins), while a batch holds a snapshot.
struct Snapshot {
    HWND list = nullptr;
    std::unordered_map<std::string, StampedEntry> files;
};
Snapshot Destination;

// The same-named file row of the list; false when there is none.
bool FindDestination(HWND list, const char *name, StampedEntry *entry)
{
    if (list && list == Destination.list) {
        auto hit = Destination.files.find(Lower(name));
        if (hit == Destination.files.end())
            return false;
        *entry = hit->second;
        return true;
    }
    int count = list ? (int)SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
    std::string rowName;
    for (int i = 0; i < count; i++) {
        if (ReadFileRow(list, i, &rowName, entry) && _stricmp(rowName.c_str(), name) == 0)
            return true;
    }
    return false;
}

// One file: the "to All" buttons go, and "&Yes" and "&No" take the middle
// two places of the row.
void KeepYesAndNo(HWND dialog)
{
    HWND yes = GetDlgItem(dialog, IDYES), no = GetDlgItem(dialog, IDNO);
    HWND yesAll = GetDlgItem(dialog, IDC_OVERWRITE_YES_ALL);
    RECT middle[2];
    GetWindowRect(no, &middle[0]);
    GetWindowRect(yesAll, &middle[1]);
    MapWindowPoints(nullptr, dialog, (POINT *)middle, 4);
    ShowWindow(yesAll, SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_OVERWRITE_NO_ALL), SW_HIDE);
    SetWindowPos(yes, nullptr, middle[0].left, middle[0].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(no, nullptr, middle[1].left, middle[1].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

INT_PTR CALLBACK OverwriteProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const QuestionArgs *args = (const QuestionArgs *)lParam;
        SetDlgItemTextA(dialog, IDC_OVERWRITE_TEXT, args->question);
        if (args->caption && args->caption[0])
            SetWindowTextA(dialog, args->caption);
        if (args->count < 2)
            KeepYesAndNo(dialog);
        CenterWindow(dialog, 0);
        return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return DialogBackground((HDC)wParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDYES:
        case IDNO:
        case IDCANCEL:
        case IDC_OVERWRITE_YES_ALL:
        case IDC_OVERWRITE_NO_ALL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int AskOverwrite(HWND owner, const char *question, const char *caption, int count)
{
    QuestionArgs args = {question, caption, count};
    INT_PTR button = DialogBoxParamA(AppInstance, "DLG_OVERWRITE", owner, OverwriteProc,
                                     (LPARAM)&args);
    return button <= 0 ? IDCANCEL : (int)button;
}

int CheckOverwrite(const char *name, HWND destinationList)
{
    OverwriteCase c = {};
    c.source = {CurrentEntry.year,   CurrentEntry.month,  CurrentEntry.day,
                CurrentEntry.hour,   CurrentEntry.minute, CurrentEntry.size};
    c.folderWalk = FolderTransfer;
    c.askOverwrite = GlobalSettings.keepOverwrite;
    c.skipInFolders = GlobalSettings.keepDirOverwrite;
    c.answerMemory = OverwriteMemory;

    if (!OverwriteNeedsComparison(&c))
        return OVERWRITE_GO;
    StampedEntry found = {};
    try {
        if (FindDestination(destinationList, name, &found))
            c.destination = &found;
    } catch (...) {
        // Out of memory for a name: compared as absent, as an unreadable row.
    }
    OverwriteDecision d = DecideOverwrite(&c);
    if (!d.ask)
        return d.answer;
    char question[512];
    snprintf(question, sizeof question,
             LoadText(d.verdict == OVERWRITE_NEWER ? IDS_ASK_NEWER_EXISTS : IDS_ASK_SAME_EXISTS), name);
    int button = AskOverwrite(MainWindow, question, name, SelectionCount);
    return AnswerFromButton(button, d.verdict, &OverwriteMemory);
}

void SnapshotDestination(HWND list)
{
    Destination.list = nullptr;
    Destination.files.clear();
    try {
        int count = list ? (int)SendMessageA(list, LB_GETCOUNT, 0, 0) : 0;
        std::string name;
        StampedEntry entry;
        for (int i = 0; i < count; i++) {
            if (ReadFileRow(list, i, &name, &entry))
                Destination.files.emplace(Lower(name), entry);
        }
        Destination.list = list;
    } catch (...) {
        Destination.files.clear();   // without a snapshot the list is read row by row
    }
}

void DropDestinationSnapshot(void)
{
    Destination.list = nullptr;
    Destination.files.clear();
}

void BeginDestinationSnapshot(HWND key)
{
    DropDestinationSnapshot();
    Destination.list = key;
}

void AddDestinationFile(const char *name, const StampedEntry &entry)
{
    try {
        Destination.files.emplace(Lower(name), entry);
    } catch (...) {
        // Out of memory for a name: that file compares as absent.
    }
}
