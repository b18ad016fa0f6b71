// The sort dialog and the header buttons.
#include "listing/sort_commands.h"

#include "app/app.h"
#include "app/settings.h"
#include "listing/file_list.h"
#include "listing/file_rows.h"
#include "resources/resource.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"

void SortHeaderCommand(HWND mainWindow, int id)
{
    (void)mainWindow;
    const bool remote = id >= IDC_REMOTE_HEADER0;
    const int button = id - (remote ? IDC_REMOTE_HEADER0 : IDC_LOCAL_HEADER0);
    if (button < 0 || button > 3)
        return;
    const uint32_t pane = remote ? 1 : 0;
    const int before = PaneSortSpec(pane);
    const int after = NextSortSpec(before, button, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0, remote);
    SetPaneSortSpec(pane, after);
    if (after != before)
        ResortFileList(remote ? RemoteListWindow : LocalListWindow);
}

struct SortDialogState {
    int id;     // the command that opened it
    int setting;
};

static INT_PTR CALLBACK SortDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const SortDialogState *state = (const SortDialogState *)lParam;
        SetWindowTextA(dialog, LoadText(state->id == IDM_LOCAL_SORT ? IDS_LOCAL_SORT_TITLE : IDS_REMOTE_SORT_TITLE));
        int key = state->setting & SORT_KEY_MASK;
        CheckRadioButton(dialog, IDC_SORT_NONE, IDC_SORT_NONE + 4, IDC_SORT_NONE + (key <= 4 ? key : 1));
        CheckDlgButton(dialog, IDC_SORT_REVERSE, (state->setting & SORT_REVERSE) ? BST_CHECKED : BST_UNCHECKED);
        int placement = (state->setting & SORT_FOLDERS_BOTTOM) ? 2 : ((state->setting & SORT_MIXED) ? 1 : 0);
        CheckRadioButton(dialog, IDC_SORT_TOP, IDC_SORT_TOP + 2, IDC_SORT_TOP + placement);
        CenterWindow(dialog, 0);
        return TRUE;
    }
    case WM_COMMAND: {
        SortDialogState *state = (SortDialogState *)GetWindowLongPtrA(dialog, DWLP_USER);
        switch (LOWORD(wParam)) {
        case IDOK: {
            int setting = 0;
            for (int k = 0; k <= 4; k++)
                if (IsDlgButtonChecked(dialog, IDC_SORT_NONE + k) == BST_CHECKED)
                    setting = k;
            if (IsDlgButtonChecked(dialog, IDC_SORT_REVERSE) == BST_CHECKED)
                setting |= SORT_REVERSE;
            if (IsDlgButtonChecked(dialog, IDC_SORT_TOP + 1) == BST_CHECKED)
                setting |= SORT_MIXED;
            if (IsDlgButtonChecked(dialog, IDC_SORT_TOP + 2) == BST_CHECKED)
                setting |= SORT_FOLDERS_BOTTOM;
            state->setting = setting;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_SORT_HELP:
            ShowHelp(240);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

void SortDialogCommand(HWND mainWindow, int id)
{
    const bool local = id == IDM_LOCAL_SORT;
    SortDialogState state = {id, PaneSortSpec(local ? 0 : 1)};
    if (DialogBoxParamA(AppInstance, "DLG_SORT", mainWindow, SortDialogProc, (LPARAM)&state) != IDOK)
        return;
    const bool both = id == IDM_SORT_DIALOG;
    for (uint32_t pane : {0u, 1u}) {
        if ((pane == 0 && !local && !both) || (pane == 1 && local))
            continue;
        if (PaneSortSpec(pane) != state.setting) {
            SetPaneSortSpec(pane, state.setting);
            ResortFileList(pane ? RemoteListWindow : LocalListWindow);
        }
    }
}
