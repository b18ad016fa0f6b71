// The file lists' rows on Win32: allocation, filling in sorted order,
// clearing, re-sorting, reading back, and the owner-draw messages.
#include "listing/file_list.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/remote_rules.h"
#include "listing/file_rows.h"
#include "resources/resource.h"
#include "transfer/transfer.h"
#include "ui/layout.h"

uint64_t LastRowSize;
static bool Detaching;   // ClearFileList/ResortFileList own the rows being removed

FileItem *NewFileItem(uint32_t pane, uint32_t kind, const char *text, size_t nameLength)
{
    const size_t length = strlen(text);
    FileItem *item = (FileItem *)GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, FileItemBytes(length));
    if (!item)
        return nullptr;
    item->pane = pane;
    item->kind = kind;
    item->nameLength = (uint32_t)(nameLength < length ? nameLength : length);
    memcpy(item->text, text, length + 1);
    return item;
}

void FreeFileItem(FileItem *item)
{
    if (item)
        GlobalFree((HGLOBAL)item);
}

int PaneSortSpec(uint32_t pane)
{
    return pane ? GlobalSettings.remoteSort : GlobalSettings.localSort;
}

void SetPaneSortSpec(uint32_t pane, int setting)
{
    (pane ? GlobalSettings.remoteSort : GlobalSettings.localSort) = setting;
}

static bool KeepsStrings(HWND list)
{
    LONG style = GetWindowLongA(list, GWL_STYLE);
    return (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0 || (style & LBS_HASSTRINGS);
}

const FileItem *FileListRow(HWND list, int index)
{
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
    return data == LB_ERR ? nullptr : (const FileItem *)data;
}

// The readable text of a row in a list that keeps strings.
static void RowText(const FileItem *item, char *text, size_t size)
{
    char date[32] = "";
    if (item->year != 0 || item->month != 0)
        snprintf(date, sizeof date, "%04u-%02u-%02u %02u:%02u", item->year, item->month, item->day,
                 item->hour, item->minute);
    char name[300];
    snprintf(name, sizeof name, "%.*s", (int)item->nameLength, item->text);
    if (item->kind & KIND_FOLDER)
        snprintf(text, size, "%s\t%s\t<DIR>", name, date);
    else
        snprintf(text, size, "%s\t%s\t%llu", name, date, (unsigned long long)item->size);
}

// Takes the rows out of the list without freeing them.
static void DetachRows(HWND list, RowBuffer *rows)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    rows->reserve(rows->size() + (size_t)(count > 0 ? count : 0));
    for (int i = 0; i < count; i++) {
        FileItem *item = (FileItem *)FileListRow(list, i);
        if (item)
            rows->push_back(item);
    }
    Detaching = true;
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    Detaching = false;
}

static void AddSorted(HWND list, RowBuffer *rows)
{
    if (rows->empty())
        return;
    const int setting = PaneSortSpec((*rows)[0]->pane);
    std::stable_sort(rows->begin(), rows->end(),
                     [setting](const FileItem *a, const FileItem *b) { return CompareItems(a, b, setting) < 0; });
    const bool strings = KeepsStrings(list);
    SendMessageA(list, LB_INITSTORAGE, (WPARAM)rows->size(), strings ? (LPARAM)(rows->size() * 64) : 0);
    for (FileItem *item : *rows) {
        LRESULT at;
        if (strings) {
            char text[400];
            RowText(item, text, sizeof text);
            at = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
            if (at >= 0)
                SendMessageA(list, LB_SETITEMDATA, (WPARAM)at, (LPARAM)item);
        } else {
            at = SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)item);
        }
        if (at < 0)
            FreeFileItem(item);   // refused: freed at once
    }
    rows->clear();
}

void ClearFileList(HWND list)
{
    if (!list)
        return;
    RowBuffer rows;
    DetachRows(list, &rows);
    for (FileItem *item : rows)
        FreeFileItem(item);
}

void ShowRows(HWND list, RowBuffer *rows)
{
    if (!list) {
        for (FileItem *item : *rows)
            FreeFileItem(item);
        rows->clear();
        return;
    }
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ClearFileList(list);
    AddSorted(list, rows);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ResortFileList(HWND list)
{
    if (!list)
        return;
    RowBuffer rows;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    if (KeepsStrings(list)) {
        DetachRows(list, &rows);
        AddSorted(list, &rows);
    } else {
        // The rows stay in the list; only their order changes.
        const int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++)
            if (FileItem *item = (FileItem *)FileListRow(list, i))
                rows.push_back(item);
        if ((int)rows.size() == count && count > 0) {
            const int setting = PaneSortSpec(rows[0]->pane);
            std::stable_sort(rows.begin(), rows.end(), [setting](const FileItem *a, const FileItem *b) {
                return CompareItems(a, b, setting) < 0;
            });
            SendMessageA(list, LB_SETSEL, FALSE, -1);
            for (int i = 0; i < count; i++)
                SendMessageA(list, LB_SETITEMDATA, (WPARAM)i, (LPARAM)rows[(size_t)i]);
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int ReadFileRow(HWND list, int index, char *name, size_t size)
{
    const FileItem *item = list ? FileListRow(list, index) : nullptr;
    if (!item || size == 0)
        return -1;
    RowNameFromText(item->text, item->nameLength, (item->kind & KIND_FOLDER) != 0, name, size);
    CurrentEntry.kind = item->kind;
    CurrentEntry.year = item->year;
    CurrentEntry.month = item->month;
    CurrentEntry.day = item->day;
    CurrentEntry.hour = item->hour;
    CurrentEntry.minute = item->minute;
    CurrentEntry.size = item->size;
    snprintf(CurrentEntry.name, sizeof CurrentEntry.name, "%s", name);
    LastRowSize = item->size;
    return (int)item->kind;
}

static int ScaledPixels(HWND window, int pixels)
{
    HDC dc = GetDC(window);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc)
        ReleaseDC(window, dc);
    return MulDiv(pixels, dpi > 0 ? dpi : 96, 96);
}

int FileRowHeight(HWND list)
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(list, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    int height = tm.tmHeight + tm.tmExternalLeading;
    int least = ScaledPixels(list, 16);
    return height > least ? height : least;
}

void OnMeasureFileRow(HWND window, MEASUREITEMSTRUCT *measure)
{
    HWND list = GetDlgItem(window, (int)measure->CtlID);
    measure->itemHeight = (UINT)(list ? FileRowHeight(list) : ScaledPixels(window, 16));
}

int OnCompareFileRows(const COMPAREITEMSTRUCT *compare)
{
    const FileItem *a = (const FileItem *)compare->itemData1, *b = (const FileItem *)compare->itemData2;
    if (!a || !b)
        return a ? 1 : (b ? -1 : 0);
    return CompareItems(a, b, PaneSortSpec(a->pane));
}

void OnDeleteFileRow(const DELETEITEMSTRUCT *deleted)
{
    // Only the two file lists hold rows.
    if (!Detaching && (deleted->CtlID == IDC_LOCAL_LIST || deleted->CtlID == IDC_REMOTE_LIST))
        FreeFileItem((FileItem *)deleted->itemData);
}

// The kind bitmaps with their white area in a background colour, made on
// first use for each of the two row colours.
static HBITMAP Coloured[2][BMP_COUNT];
static COLORREF ColouredFor[2];

void ReleaseRowBitmaps(void)
{
    for (auto &set : Coloured)
        for (HBITMAP &b : set)
            if (b) {
                DeleteObject(b);
                b = nullptr;
            }
}

static HBITMAP ColouredBitmap(HDC dc, int which, int selected, COLORREF background)
{
    if (ColouredFor[selected] != background) {
        for (HBITMAP &b : Coloured[selected])
            if (b) {
                DeleteObject(b);
                b = nullptr;
            }
        ColouredFor[selected] = background;
    }
    if (Coloured[selected][which] || !FileTypeBitmaps[which])
        return Coloured[selected][which];
    BITMAP info;
    GetObjectA(FileTypeBitmaps[which], sizeof info, &info);
    HDC source = CreateCompatibleDC(dc), target = CreateCompatibleDC(dc);
    HBITMAP copy = CreateCompatibleBitmap(dc, info.bmWidth, info.bmHeight);
    HGDIOBJ oldSource = SelectObject(source, FileTypeBitmaps[which]);
    HGDIOBJ oldTarget = SelectObject(target, copy);
    BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    HBRUSH brush = CreateSolidBrush(background);
    HGDIOBJ oldBrush = SelectObject(target, brush);
    ExtFloodFill(target, 1, 1, RGB(255, 255, 255), FLOODFILLSURFACE);
    SelectObject(target, oldBrush);
    DeleteObject(brush);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
    Coloured[selected][which] = copy;
    return copy;
}

static int MeasureText(const char *text, size_t length, void *context)
{
    SIZE extent = {0, 0};
    GetTextExtentPoint32A((HDC)context, text, (int)length, &extent);
    return extent.cx;
}

static void FillPart(HDC dc, RECT r, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void OnDrawFileRow(const DRAWITEMSTRUCT *d)
{
    if (d->itemID == (UINT)-1 || !(d->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        return;
    const FileItem *item = (const FileItem *)d->itemData;
    if (!item)
        return;
    HDC dc = d->hDC;
    const int *columns = PaneColumns(item->pane);
    const int left = d->rcItem.left, top = d->rcItem.top, height = d->rcItem.bottom - d->rcItem.top;
    const int icon = columns[0], dateStart = left + columns[1], sizeStart = left + columns[2];
    const int sizeEnd = left + columns[3];
    const bool entire = (d->itemAction & ODA_DRAWENTIRE) != 0;
    const bool selected = (d->itemState & ODS_SELECTED) != 0;
    const COLORREF normalText = GetSysColor(COLOR_WINDOWTEXT), normalBack = GetSysColor(COLOR_WINDOW);
    const COLORREF text = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normalText;
    const COLORREF back = selected ? GetSysColor(COLOR_HIGHLIGHT) : normalBack;
    if (entire)
        FillPart(dc, d->rcItem, normalBack);

    char name[300];
    const size_t nameLength = item->nameLength < sizeof name - 2 ? item->nameLength : sizeof name - 2;
    char cut[300];
    const int room = columns[1] - icon - 10;
    size_t shown = CutNameToFit(item->text, nameLength, room, MeasureText, dc, cut, sizeof cut);
    memcpy(name, cut, shown + 1);
    const int nameWidth = MeasureText(name, shown, dc);
    RECT mark = {left, top, std::min(left + icon + nameWidth + 4, dateStart), d->rcItem.bottom};
    FillPart(dc, mark, back);

    HBITMAP bitmap = ColouredBitmap(dc, BitmapForRow(item), selected ? 1 : 0, back);
    if (bitmap) {
        BITMAP info;
        GetObjectA(bitmap, sizeof info, &info);
        const int side = std::min(std::min(MulDiv(info.bmHeight, GetDeviceCaps(dc, LOGPIXELSY), 96), height), icon);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, left + (icon - side) / 2, top + (height - side) / 2, side, side, memory, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    const int textTop = top + (height - tm.tmHeight) / 2;
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SetBkMode(dc, TRANSPARENT);
    const int stops[3] = {30, 35, 40};
    // A name that cannot be cut short enough never runs into the date column.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, left, top, std::max(dateStart - 2, left + icon + 1), d->rcItem.bottom);
    TabbedTextOutA(dc, left + icon, textTop, name, (int)shown, 3, stops, left + icon);
    RestoreDC(dc, saved);
    if (!entire)
        return;

    SetTextColor(dc, normalText);
    const UINT flags = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER;
    if (item->year == 0 && item->month == 0) {
        const char *rest = item->text + item->nameLength;
        while (*rest == '\t' || *rest == ' ')
            rest++;
        RECT r = {dateStart, top, d->rcItem.right, d->rcItem.bottom};
        DrawTextA(dc, rest, -1, &r, flags | DT_LEFT);
        return;
    }
    char date[40], size[32];
    FormatRowDate(item, GlobalSettings.dateFormat, GlobalSettings.longDate, date, sizeof date);
    FormatRowSize(item->size, size, sizeof size);
    RECT dateRect = {dateStart, top, sizeStart, d->rcItem.bottom};
    DrawTextA(dc, date, -1, &dateRect, flags | DT_LEFT);
    RECT sizeRect = {sizeStart, top, sizeEnd, d->rcItem.bottom};
    DrawTextA(dc, size, -1, &sizeRect, flags | DT_RIGHT);
}
