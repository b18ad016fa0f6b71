#include "remote_rows_helper.h"

#include <string.h>

#include "ui/layout.h"

std::vector<RemoteRow> ReadRemoteRows(HWND list)
{
    std::vector<RemoteRow> rows;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count && i < 100000; i++) {
        HGLOBAL h = (HGLOBAL)SendMessageA(list, LB_GETITEMDATA, i, 0);
        const FileItem *item = h ? (const FileItem *)GlobalLock(h) : nullptr;
        RemoteRow row{};
        if (item) {
            row.name.assign(item->text, item->nameLength);
            row.kind = item->kind;
            row.year = item->year;
            row.month = item->month;
            row.day = item->day;
            row.hour = item->hour;
            row.minute = item->minute;
            row.size = item->size;
            GlobalUnlock(h);
        }
        LRESULT n = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (n != LB_ERR && n < 4096) {
            std::string text((size_t)n + 1, '\0');
            SendMessageA(list, LB_GETTEXT, i, (LPARAM)&text[0]);
            text.resize((size_t)n);
            row.text = text;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> RowNames(const std::vector<RemoteRow> &rows)
{
    std::vector<std::string> names;
    for (const RemoteRow &r : rows)
        names.push_back(r.name);
    return names;
}

HWND MakeRemoteList(void)
{
    RemoteListWindow = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_NOTIFY | LBS_EXTENDEDSEL, 0, 0, 300, 300,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return RemoteListWindow;
}

void AddItemRow(HWND list, const char *name, uint32_t kind)
{
    size_t length = strlen(name);
    HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(FileItem) + length + 8);
    FileItem *item = (FileItem *)GlobalLock(block);
    item->pane = 1;
    item->kind = kind;
    item->nameLength = (uint32_t)length;
    memcpy(item->text, name, length);
    memcpy(item->text + length, "\t123", 5);
    GlobalUnlock(block);
    int index = (int)SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    SendMessageA(list, LB_SETITEMDATA, index, (LPARAM)block);
}

void ClearRows(HWND list)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        LRESULT data = SendMessageA(list, LB_GETITEMDATA, i, 0);
        if (data && data != LB_ERR)
            GlobalFree((HGLOBAL)data);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

void SelectAllRows(HWND list)
{
    SendMessageA(list, LB_SETSEL, TRUE, -1);
}
