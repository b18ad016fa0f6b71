#include "remote_rows_helper.h"

#include <string.h>

#include "listing/file_list.h"
#include "ui/layout.h"

std::vector<RemoteRow> ReadRemoteRows(HWND list)
{
    std::vector<RemoteRow> rows;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count && i < 100000; i++) {
        const FileItem *item = FileListRow(list, i);
        RemoteRow row{};
        if (item)
            row = {std::string(item->text, item->nameLength), item->kind, item->year, item->month, item->day,
                   item->hour, item->minute, item->size, ""};
        char text[4096] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < (LRESULT)sizeof text)
            SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        row.text = text;
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
    FileItem *item = NewFileItem(1, kind, (std::string(name) + "\t123").c_str(), strlen(name));
    int index = (int)SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    SendMessageA(list, LB_SETITEMDATA, index, (LPARAM)item);
}

void ClearRows(HWND list)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++)
        if (const FileItem *item = FileListRow(list, i))
            FreeFileItem((FileItem *)item);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
}

void SelectAllRows(HWND list)
{
    SendMessageA(list, LB_SETSEL, TRUE, -1);
}
