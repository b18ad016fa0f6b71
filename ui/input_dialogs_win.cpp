// The input dialogs, the help entry point and the context menus.
#include "ui/input_dialogs.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/dispatch.h"
#include "cmdline/cmdline.h"
#include "listing/file_item.h"
#include "listing/listing_cache.h"
#include "resources/resource.h"
#include "ui/context_menu.h"
#include "ui/layout.h"

char InputBuffer[256];
char PromptBuffer[256] = "input:";
int HelpContext;

INT_PTR DialogBackground(HDC dc)
{
    if (!FaceBrush)
        return FALSE;
    SetBkColor(dc, FaceColor);
    return (INT_PTR)FaceBrush;
}

enum InputKind { INPUT_TEXT, INPUT_HISTORY, INPUT_PASSWORD };

static int AnswerLimit(InputKind kind)
{
    return kind == INPUT_HISTORY ? 69 : 255;
}

// F2 asks for help like F1 and "&Help". The keys go to the edit field, not
// to the dialog, so the field passes F2 on to its dialog.
static const char FieldProcProperty[] = "VeltroFieldProc";

static LRESULT CALLBACK InputFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = (WNDPROC)GetPropA(field, FieldProcProperty);
    if (message == WM_KEYDOWN && wParam == VK_F2) {
        ShowHelp(HelpContext);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemovePropA(field, FieldProcProperty);
        SetWindowLongPtrA(field, GWLP_WNDPROC, (LONG_PTR)previous);
    }
    return previous ? CallWindowProcA(previous, field, message, wParam, lParam)
                    : DefWindowProcA(field, message, wParam, lParam);
}

static void CatchHelpKey(HWND field)
{
    if (!field)
        return;
    LONG_PTR previous = GetWindowLongPtrA(field, GWLP_WNDPROC);
    SetPropA(field, FieldProcProperty, (HANDLE)previous);
    SetWindowLongPtrA(field, GWLP_WNDPROC, (LONG_PTR)InputFieldProc);
}

static INT_PTR CALLBACK InputDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    static InputKind kind;
    switch (message) {
    case WM_INITDIALOG: {
        kind = (InputKind)lParam;
        CenterWindow(dialog, 0);
        SetDlgItemTextA(dialog, IDC_INPUT_PROMPT, PromptBuffer);
        HWND field = GetDlgItem(dialog, IDC_INPUT_FIELD);
        if (kind == INPUT_HISTORY) {
            for (int i = 0; i < ListingCacheCount && i < LISTING_CACHE_SIZE; i++)
                if (ListingCache[i].folder[0])
                    SendMessageA(field, CB_ADDSTRING, 0, (LPARAM)ListingCache[i].folder);
            SendMessageA(field, CB_LIMITTEXT, AnswerLimit(kind), 0);
            SetWindowTextA(field, InputBuffer);
            SendMessageA(field, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        } else {
            SendMessageA(field, EM_LIMITTEXT, AnswerLimit(kind), 0);
            SetWindowTextA(field, InputBuffer);
            SendMessageA(field, EM_SETSEL, 0, -1);
            if (HelpContext == 0)
                ShowWindow(GetDlgItem(dialog, IDC_INPUT_HELP), SW_HIDE);
        }
        // The combo box's own edit field is its child window.
        CatchHelpKey(kind == INPUT_HISTORY ? GetWindow(field, GW_CHILD) : field);
        SetFocus(field);
        return FALSE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return DialogBackground((HDC)wParam);
    case WM_HELP:
        ShowHelp(HelpContext);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            char text[256];
            GetDlgItemTextA(dialog, IDC_INPUT_FIELD, text, AnswerLimit(kind) + 1);
            snprintf(InputBuffer, sizeof InputBuffer, "%s", text);
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_INPUT_HELP:
            ShowHelp(HelpContext);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

static int RunInputDialog(InputKind kind, const char *start, const char *format, va_list args)
{
    vsnprintf(PromptBuffer, sizeof PromptBuffer, format, args);
    if (CommandLineOptions.batch && MainWindow) {
        ShowWindow(MainWindow, SW_SHOWNORMAL);
        SetForegroundWindow(MainWindow);
    }
    char previous[256];
    snprintf(previous, sizeof previous, "%s", InputBuffer);
    snprintf(InputBuffer, sizeof InputBuffer, "%s", start ? start : "");
    static const char *const templates[] = {"DLG_INPUT", "DLG_INPUT1", "DLG_INPUT_PASSWORD"};
    INT_PTR result = DialogBoxParamA(AppInstance, templates[kind], MainWindow, InputDialogProc, kind);
    if (result != 1)
        snprintf(InputBuffer, sizeof InputBuffer, "%s", previous);
    HelpContext = 0;
    return result == 1;
}

int InputText(char *answer, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int ok = RunInputDialog(INPUT_TEXT, answer, format, args);
    va_end(args);
    if (ok && answer)
        snprintf(answer, sizeof InputBuffer, "%s", InputBuffer);
    return ok;
}

int InputPassword(char *answer, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int ok = RunInputDialog(INPUT_PASSWORD, answer, format, args);
    va_end(args);
    if (ok && answer)
        snprintf(answer, sizeof InputBuffer, "%s", InputBuffer);
    return ok;
}

int InputWithHistory(const char *start, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    int ok = RunInputDialog(INPUT_HISTORY, start, format, args);
    va_end(args);
    return ok;
}

void ShowHelp(int context)
{
    OpenHelpPage(context == 0 ? 10 : context);
}

// Reads the selection of a file list: how many rows, and whether it is a
// single folder row.
static void ListSelection(HWND list, int *selected, int *singleFolder)
{
    *selected = (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (*selected < 0)
        *selected = 0;
    *singleFolder = 0;
    if (*selected != 1)
        return;
    int index = -1;
    SendMessageA(list, LB_GETSELITEMS, 1, (LPARAM)&index);
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || data == 0)
        return;
    const FileItem *item = (const FileItem *)GlobalLock((HGLOBAL)data);
    if (item) {
        *singleFolder = (item->kind & KIND_FOLDER) != 0;
        GlobalUnlock((HGLOBAL)data);
    }
}

HMENU BuildContextMenu(HWND window)
{
    if (!SharedPopupMenu)
        SharedPopupMenu = CreatePopupMenu();
    while (GetMenuItemCount(SharedPopupMenu) > 0)
        DeleteMenu(SharedPopupMenu, 0, MF_BYPOSITION);

    MenuItemSpec items[MENU_ITEMS_MAX];
    int count;
    if (window && (window == LocalListWindow || window == RemoteListWindow)) {
        int selected, singleFolder;
        ListSelection(window, &selected, &singleFolder);
        count = FileListMenuItems(window == RemoteListWindow, selected, singleFolder, items);
    } else {
        count = MainAreaMenuItems(items);
    }
    HMENU target = SharedPopupMenu;
    HMENU sub = nullptr;
    const char *subText = nullptr;
    for (int i = 0; i < count; i++) {
        const MenuItemSpec &m = items[i];
        if (m.id == -1) {
            sub = CreatePopupMenu();
            subText = m.text;
            target = sub;
        } else if (m.id == -2) {
            AppendMenuA(SharedPopupMenu, MF_POPUP | MF_STRING, (UINT_PTR)sub, subText);
            target = SharedPopupMenu;
            sub = nullptr;
        } else if (m.id == 0) {
            AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(target, MF_STRING | (m.grayed ? MF_GRAYED : 0), (UINT_PTR)m.id, m.text);
        }
    }
    return SharedPopupMenu;
}

void ShowMainContextMenu(HWND window, int x, int y)
{
    HMENU menu = BuildContextMenu(window);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, MainWindow, nullptr);
}
