// The overwrite check before a transfer and its question, "DLG_OVERWRITE".
#include "transfer/decisions.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>

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

// The row's file entry when its item data is a FileItem block whose name
// equals name (without regard to case) and whose kind is a file.
bool ReadMatchingFile(HWND list, int index, const char *name, StampedEntry *entry)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    if (data == LB_ERR || data == 0)
        return false;
    HGLOBAL block = (HGLOBAL)data;
    SIZE_T size = GlobalSize(block);
    if (size < sizeof(FileItem))
        return false;
    const FileItem *item = (const FileItem *)GlobalLock(block);
    if (!item)
        return false;
    size_t length = strnlen(item->text, size - offsetof(FileItem, text));
    size_t nameLength = item->nameLength < length ? item->nameLength : length;
    bool match = item->kind < KIND_FOLDER && nameLength == strlen(name) &&
                 _strnicmp(item->text, name, nameLength) == 0;
    if (match)
        *entry = {item->year, item->month, item->day, item->hour, item->minute, item->size};
    GlobalUnlock(block);
    return match;
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

    StampedEntry found = {};
    int count = destinationList ? (int)SendMessageA(destinationList, LB_GETCOUNT, 0, 0) : 0;
    for (int i = 0; i < count; i++) {
        if (ReadMatchingFile(destinationList, i, name, &found)) {
            c.destination = &found;
            break;
        }
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
