// The local pane on Win32: scanning the current folder into rows, the
// folder box, the mask field and the folder report.
#include "listing/local_list.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/session.h"
#include "listing/file_list.h"
#include "listing/file_rows.h"
#include "resources/resource.h"
#include "transfer/ascii_names.h"
#include "ui/layout.h"
#include "ui/layout_internal.h"

static HWND Child(int id)
{
    return MainWindow ? GetDlgItem(MainWindow, id) : nullptr;
}

// The folder box: an equal entry moves to the top, a new one goes there.
static void ShowLocalFolder(const char *folder)
{
    HWND box = Child(IDC_LOCAL_FOLDER_BOX);
    if (!box)
        return;
    LRESULT at = SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)folder);
    if (at != CB_ERR)
        SendMessageA(box, CB_DELETESTRING, (WPARAM)at, 0);
    SendMessageA(box, CB_INSERTSTRING, 0, (LPARAM)folder);
    SetWindowTextA(box, folder);
}

static LocalStamp StampOf(const WIN32_FIND_DATAA &found)
{
    FILETIME local;
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &t);
    LocalStamp s;
    s.year = t.wYear;
    s.month = t.wMonth;
    s.day = t.wDay;
    s.hour = t.wHour;
    s.minute = t.wMinute;
    s.size = ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
    return s;
}

// The text-extension test with the list file opened once per scan.
struct TextNames {
    FILE *list;
    bool Is(const char *name)
    {
        if (!list)
            return IsAsciiFileName(name, nullptr);
        rewind(list);
        return NameMatchesAsciiList(name, list);
    }
};

static FileItem *LocalRow(const WIN32_FIND_DATAA &found, uint32_t kind, TextNames *names)
{
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%s", found.cFileName);
    if (GlobalSettings.forceLower)
        CharLowerA(name);
    if (kind != KIND_FOLDER)
        kind = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? KIND_LINK
               : names->Is(name)                                    ? KIND_TEXT
                                                                    : KIND_FILE;
    const LocalStamp stamp = StampOf(found);
    char text[MAX_PATH + 64];
    if (GlobalSettings.longDir)
        FormatDetailText(name, stamp, text, sizeof text);
    else
        snprintf(text, sizeof text, "%s", name);
    FileItem *item = NewFileItem(0, kind, text, strlen(name));
    if (item) {
        item->year = (uint16_t)stamp.year;
        item->month = (uint8_t)stamp.month;
        item->day = (uint8_t)stamp.day;
        item->hour = (uint8_t)stamp.hour;
        item->minute = (uint8_t)stamp.minute;
        item->size = kind == KIND_FOLDER ? (uint32_t)stamp.size : stamp.size;
    }
    return item;
}

// Adds the entries of pattern: folders, files, or both in one pass.
enum { FOUND_FOLDERS = 1, FOUND_FILES = 2 };

static void AddFound(const char *pattern, int wanted, TextNames *names, RowBuffer *rows)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!(wanted & (isFolder ? FOUND_FOLDERS : FOUND_FILES)))
            continue;
        if (isFolder && (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0))
            continue;
        if (FileItem *item = LocalRow(found, isFolder ? KIND_FOLDER : KIND_FILE, names))
            rows->push_back(item);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// "..", then the system's drive list ("[-c-]"), from the hidden list.
static void AddUpAndDrives(RowBuffer *rows)
{
    HWND hidden = HiddenDriveList();
    if (!hidden)
        return;
    SendMessageA(hidden, LB_RESETCONTENT, 0, 0);
    SendMessageA(hidden, LB_ADDSTRING, 0, (LPARAM)"..");
    SendMessageA(hidden, LB_DIR, DDL_DRIVES | DDL_EXCLUSIVE, (LPARAM)"*");
    const int count = (int)SendMessageA(hidden, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[64];
        if (SendMessageA(hidden, LB_GETTEXTLEN, (WPARAM)i, 0) >= (LRESULT)sizeof text)
            continue;
        SendMessageA(hidden, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        FileItem *item = NewFileItem(0, text[0] == '[' ? KIND_DRIVE : KIND_FOLDER, text, strlen(text));
        if (item)
            rows->push_back(item);
    }
}

static void LocalMask(char *mask, int size)
{
    mask[0] = '\0';
    if (HWND field = Child(IDC_LOCAL_MASK))
        GetWindowTextA(field, mask, size);
    if (!mask[0])
        snprintf(mask, (size_t)size, "%s", "*.*");
}

void ScanLocalFolder(void)
{
    char folder[180];
    if (!GetCurrentDirectoryA(sizeof folder, folder))
        folder[0] = '\0';
    ShowLocalFolder(folder);
    RowBuffer rows;
    TextNames names = {ExtPath ? fopen(ExtPath, "r") : nullptr};
    char mask[16];
    LocalMask(mask, 13);
    // With the mask that takes everything, one pass finds folders and files.
    const bool everything = strcmp(mask, "*.*") == 0 || strcmp(mask, "*") == 0;
    AddFound("*.*", everything ? FOUND_FOLDERS | FOUND_FILES : FOUND_FOLDERS, &names, &rows);
    AddUpAndDrives(&rows);
    if (!everything)
        AddFound(mask, FOUND_FILES, &names, &rows);
    if (names.list)
        fclose(names.list);
    ShowRows(LocalListWindow, &rows);
    PlaceHeaders(LocalListWindow);
}

BOOL ChangeLocalFolder(const char *text)
{
    if (!text || !text[0])
        return FALSE;
    if (text[0] == '[' && text[1] == '-' && text[2]) {
        const char drive[3] = {text[2], ':', '\0'};
        if (!SetCurrentDirectoryA(drive)) {
            LogFormat(LoadText(IDS_LOCAL_DRIVE_FAILED), text[2]);
            return FALSE;
        }
    } else {
        if (text[1] == ':') {
            const char drive[3] = {text[0], ':', '\0'};
            if (!SetCurrentDirectoryA(drive)) {
                LogFormat(LoadText(IDS_LOCAL_DRIVE_FAILED), text[0]);
                return FALSE;
            }
        }
        if (!SetCurrentDirectoryA(text)) {
            LogFormat(LoadText(IDS_LOCAL_FOLDER_FAILED), text);
            return FALSE;
        }
    }
    ScanLocalFolder();
    return TRUE;
}

void OnLocalFolderBox(HWND mainWindow, int notify)
{
    (void)mainWindow;
    HWND box = Child(IDC_LOCAL_FOLDER_BOX);
    char text[MAX_PATH];
    if (notify == CBN_CLOSEUP) {
        LRESULT at = SendMessageA(box, CB_GETCURSEL, 0, 0);
        if (at == CB_ERR || SendMessageA(box, CB_GETLBTEXTLEN, (WPARAM)at, 0) >= (LRESULT)sizeof text)
            return;
        SendMessageA(box, CB_GETLBTEXT, (WPARAM)at, (LPARAM)text);
    } else if (notify == CHILD_ENTER) {
        GetWindowTextA(box, text, sizeof text);
    } else {
        return;
    }
    if (!ChangeLocalFolder(text)) {
        char folder[180];
        if (GetCurrentDirectoryA(sizeof folder, folder))
            SetWindowTextA(box, folder);
    }
}

void OnLocalMask(HWND mainWindow, int notify)
{
    (void)mainWindow;
    if (notify == CHILD_ENTER)
        RefreshLocalList();
}

void RefreshLocalList(void)
{
    HWND field = Child(IDC_LOCAL_MASK);
    char mask[16] = "";
    if (field)
        GetWindowTextA(field, mask, 13);
    if (field && !mask[0])
        SetWindowTextA(field, "*.*");
    ScanLocalFolder();
}

BOOL WriteFolderReport(const char *path)
{
    FILE *report = fopen(path, "w");
    if (!report)
        return TRUE;
    char folder[180];
    if (!GetCurrentDirectoryA(sizeof folder, folder))
        folder[0] = '\0';
    fprintf(report, LoadText(IDS_REPORT_HEADING), folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.*", &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            char line[160];
            FormatReportLine(found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                             StampOf(found), line, sizeof line);
            fputs(line, report);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    fclose(report);
    return TRUE;
}

void RemoveStaleTempFiles(void)
{
    if (!TempFolder[0])
        return;
    for (const char *pattern : {"DSP*.*", "EDT*.*"}) {
        char folder[MAX_PATH], path[MAX_PATH];
        const size_t n = strlen(TempFolder);
        snprintf(folder, sizeof folder, "%s%s", TempFolder, n && TempFolder[n - 1] == '\\' ? "" : "\\");
        snprintf(path, sizeof path, "%s%s", folder, pattern);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path, &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            char file[MAX_PATH];
            snprintf(file, sizeof file, "%s%s", folder, found.cFileName);
            DeleteFileA(file);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

static void ScanForSession(void)
{
    ScanLocalFolder();
}

void StartLocalPane(void)
{
    RemoveStaleTempFiles();
    if (HWND field = Child(IDC_LOCAL_MASK)) {
        char mask[16] = "";
        GetWindowTextA(field, mask, sizeof mask);
        if (!mask[0])
            SetWindowTextA(field, "*.*");
    }
    LocalListRefresher = ScanForSession;
    ScanLocalFolder();
}
