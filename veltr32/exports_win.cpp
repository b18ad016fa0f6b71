// The entry points of veltr32.dll. The program calls them by ordinal (see
// veltr32.def); they are exported by their plain names too. Only this file
// touches the platform: the clock for listing dates, the combo box, the
// About box.
#define VELTR32_LIBRARY 1
#include <windows.h>
#include <stdio.h>

#include "veltr32/detect.h"
#include "veltr32/host_types.h"
#include "veltr32/listing_parse.h"
#include "veltr32/veltr32_res.h"

static HINSTANCE LibraryInstance;

// The local time to the minute. A listing is read thousands of lines at a
// time; the conversion to local time is redone only when the minute of the
// system clock changes (per thread: the transfer worker parses too).
static ListingClock CurrentClock(void) {
    static thread_local ULONGLONG cachedMinute = 0;
    static thread_local ListingClock cached{};
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG minute = (((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime) / 600000000ull;
    if (minute != cachedMinute) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        cached = ListingClock{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
        cachedMinute = minute;
    }
    return cached;
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        LibraryInstance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// 910: one listing line into *entry; nonzero when it names an entry.
int WINAPI ParseListingLine(ListingEntry *entry, const char *line, DWORD hostType,
                            const char *folder, const char *userId) {
    return ParseListingLineAt(entry, line, hostType, folder, userId, CurrentClock());
}

// 920: the display name of a code (the automatic type's for unknown codes).
const char *WINAPI HostTypeName(DWORD hostType) { return HostTypeLabel(hostType); }

// 922: how many codes there are, automatic included.
DWORD WINAPI HostTypeCount(void) { return HostTypeTotal(); }

// 930: one combo-box item per code, the code as item data. A nonzero flag
// empties the box first. Returns the number of items added.
int WINAPI FillHostTypeList(HWND comboBox, int flag) {
    if (comboBox == NULL || !IsWindow(comboBox)) return 0;
    if (flag != 0) SendMessageA(comboBox, CB_RESETCONTENT, 0, 0);
    int added = 0;
    for (DWORD i = 0; i < HostTypeTotal(); i++) {
        DWORD code = HOSTTYPE_FIRST + i;
        LRESULT index = SendMessageA(comboBox, CB_ADDSTRING, 0, (LPARAM)HostTypeLabel(code));
        if (index < 0) break;
        SendMessageA(comboBox, CB_SETITEMDATA, (WPARAM)index, (LPARAM)code);
        added++;
    }
    return added;
}

// 940 and 950: the server kind from a SYST reply or a greeting line.
DWORD WINAPI DetectHostTypeFromSyst(const char *systReplyLine, DWORD hostType) {
    return DetectFromSyst(systReplyLine, hostType);
}

DWORD WINAPI DetectHostTypeFromReply(const char *replyLine, DWORD hostType) {
    return DetectFromReply(replyLine, hostType);
}

}  // extern "C"

static INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        char format[96], text[128];
        if (LoadStringA(LibraryInstance, IDS_ABOUT_COUNT, format, sizeof format) > 0) {
            snprintf(text, sizeof text, format, (unsigned)HostTypeTotal());
            SetDlgItemTextA(dialog, IDC_ABOUT_COUNT, text);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

// 500 (cdecl): the modal About box. Returns the button that closed it, or
// -1 when the dialog could not be made.
extern "C" int __cdecl ShowAboutBox(HWND owner) {
    return (int)DialogBoxParamA(LibraryInstance, MAKEINTRESOURCEA(IDD_VELTR32_ABOUT), owner, AboutProc, 0);
}
