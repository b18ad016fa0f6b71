// The "Verify Deletion" question and the "Remote file permissions" dialog.
#include "ftp/remote_actions.h"

#include "app/app.h"
#include "ftp/remote_rules.h"
#include "resources/resource.h"
#include "ui/input_dialogs.h"

unsigned LastChmodMode = 644;

enum { HELP_CHMOD = 720 };

namespace {

struct DeleteQuestion {
    const char *text;
    int entries;
};

INT_PTR CALLBACK VerifyDeletionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const DeleteQuestion *q = (const DeleteQuestion *)lParam;
        CenterWindow(dialog, 0);
        SetDlgItemTextA(dialog, IDC_DELETE_TEXT, q->text);
        if (q->entries < 2) {
            ShowWindow(GetDlgItem(dialog, IDC_DELETE_ALL), SW_HIDE);
            ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
        }
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
        case IDC_DELETE_ALL:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK ChmodProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG: {
        CenterWindow(dialog, 0);
        int boxes[9];
        ChmodBoxesFromMode(LastChmodMode, boxes);
        for (int i = 0; i < 9; i++)
            CheckDlgButton(dialog, IDC_CHMOD_BOX0 + i, boxes[i] ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return DialogBackground((HDC)wParam);
    case WM_HELP:
        ShowHelp(HELP_CHMOD);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            int boxes[9];
            for (int i = 0; i < 9; i++)
                boxes[i] = IsDlgButtonChecked(dialog, IDC_CHMOD_BOX0 + i) == BST_CHECKED;
            unsigned mode = ChmodModeFromBoxes(boxes);
            if (mode)
                LastChmodMode = mode;
            EndDialog(dialog, (INT_PTR)mode);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_CHMOD_HELP:
            ShowHelp(HELP_CHMOD);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

int VerifyDeletion(const char *text, int entries)
{
    DeleteQuestion q{text, entries};
    INT_PTR r = DialogBoxParamA(AppInstance, "DLG_VERIFY_DELETE", MainWindow, VerifyDeletionProc,
                                (LPARAM)&q);
    if (r == IDYES || r == IDNO || r == IDC_DELETE_ALL)
        return (int)r;
    return IDCANCEL;
}

unsigned AskChmodMode(void)
{
    INT_PTR r = DialogBoxParamA(AppInstance, "DLG_CHMOD", MainWindow, ChmodProc, 0);
    return r > 0 ? (unsigned)r : 0;
}
