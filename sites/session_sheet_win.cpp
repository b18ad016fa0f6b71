// The session property sheet: four pages. "Startup" and "Advanced" are
// nothing but their field tables; "General" adds the profile list, the host
// type, the comment and the anonymous rule; "Firewall" edits the global
// FIREWALL section.
#include "sites/session_sheet.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "listing/host_library.h"
#include "resources/resource.h"
#include "sites/profile_store.h"
#include "sites/session_fields.h"
#include "sites/site_profile.h"
#include "ui/input_dialogs.h"

namespace {

enum { PAGE_GENERAL, PAGE_STARTUP, PAGE_ADVANCED, PAGE_FIREWALL, PAGE_COUNT };

const struct {
    const char *templateName;
    UINT title;
    int helpContext;
    const SheetPage *fields;
} Pages[PAGE_COUNT] = {
    {"PAG_CON1", IDS_PAGE_GENERAL, 30, &GeneralPageFields},
    {"PAG_CON2", IDS_PAGE_STARTUP, 35, &StartupPageFields},
    {"PAG_CONADV1", IDS_PAGE_ADVANCED, 40, &AdvancedPageFields},
    {"PAG_FIREWALL", IDS_PAGE_FIREWALL, 45, nullptr},
};

BOOL SheetResult;
// The profile name each page shows, so a page reloads when it changed.
char ShownName[PAGE_COUNT][80];
FirewallSettings Firewall;
// Set while the pages fill their fields, so that the fills do not count as
// the user's changes.
bool Filling;

int PageIndex(HWND page)
{
    return (int)GetWindowLongPtrA(page, DWLP_USER);
}

void FillFields(HWND page, const SheetPage *fields)
{
    Filling = true;
    for (int i = 0; fields && i < fields->count; i++) {
        const SheetField &f = fields->fields[i];
        char text[260];
        FieldText(&WorkingSession, f, text, sizeof text);
        if (f.kind == FIELD_CHECK)
            CheckDlgButton(page, f.controlId, text[0] == '1' ? BST_CHECKED : BST_UNCHECKED);
        else
            SetDlgItemTextA(page, f.controlId, text);
    }
    Filling = false;
}

void StoreFields(HWND page, const SheetPage *fields)
{
    for (int i = 0; fields && i < fields->count; i++) {
        const SheetField &f = fields->fields[i];
        char text[260] = "";
        if (f.kind == FIELD_CHECK)
            snprintf(text, sizeof text, "%d", IsDlgButtonChecked(page, f.controlId) == BST_CHECKED);
        else
            GetDlgItemTextA(page, f.controlId, text, sizeof text);
        StoreField(&WorkingSession, f, text);
    }
}

void LimitFields(HWND page, const SheetPage *fields)
{
    for (int i = 0; fields && i < fields->count; i++)
        if (fields->fields[i].kind == FIELD_TEXT)
            SendDlgItemMessageA(page, fields->fields[i].controlId, EM_LIMITTEXT,
                                (WPARAM)fields->fields[i].limit, 0);
}

// ---------------------------------------------------------------------
// "General"

bool StoreForbidden(void)
{
    return PasswordStoreForbidden(GetProfileIntA("VELTRO", "SPFLAGS", 0), ConfigGetInt("SPFLAGS", 0));
}

void ApplyPasswordPolicy(HWND page)
{
    if (!StoreForbidden())
        return;
    WorkingSession.savePassword = 0;
    ShowWindow(GetDlgItem(page, IDC_SITE_SAVE_PASSWORD), SW_HIDE);
}

void ShowPasswordInClear(HWND page, bool clear)
{
    HWND field = GetDlgItem(page, IDC_SITE_PASSWORD);
    SendMessageA(field, EM_SETPASSWORDCHAR, clear ? 0 : '*', 0);
    InvalidateRect(field, nullptr, TRUE);
}

// Fills the password with the e-mail address, asking for one when none is
// known; false when the user cancels.
bool TakeMailAddress(void)
{
    if (!GlobalSettings.mailAddress[0]) {
        ConfigGetString("MAILADDR", "", GlobalSettings.mailAddress, sizeof GlobalSettings.mailAddress);
        while (!GlobalSettings.mailAddress[0]) {
            char answer[256] = "";
            if (!InputText(answer, "%s", LoadText(IDS_ENTER_MAIL_ADDRESS)))
                return false;
            snprintf(GlobalSettings.mailAddress, sizeof GlobalSettings.mailAddress, "%s", answer);
        }
    }
    snprintf(WorkingSession.password, sizeof WorkingSession.password, "%s", GlobalSettings.mailAddress);
    return true;
}

void SelectHostType(HWND page)
{
    HWND box = GetDlgItem(page, IDC_SITE_HOST_TYPE);
    int count = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    int found = 0;
    for (int i = 0; i < count; i++)
        if ((int)SendMessageA(box, CB_GETITEMDATA, i, 0) == WorkingSession.hostType)
            found = i;
    if (count > 0 && SendMessageA(box, CB_GETITEMDATA, found, 0) != WorkingSession.hostType) {
        // Not found by code: by name.
        LRESULT byName = SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                      (LPARAM)HostTypeName((uint32_t)WorkingSession.hostType));
        if (byName != CB_ERR)
            found = (int)byName;
    }
    SendMessageA(box, CB_SETCURSEL, found, 0);
}

void ShowComment(HWND page)
{
    char comment[80] = "";
    if (!IsReservedProfileName(WorkingSession.name))
        ProfileGetString(WorkingSession.name, "COMMENT", "", comment, sizeof comment);
    Filling = true;
    SetDlgItemTextA(page, IDC_SITE_COMMENT, comment);
    Filling = false;
}

void FillGeneral(HWND page)
{
    bool anonymous = IsAnonymousUser(WorkingSession.userId);
    if (anonymous && !WorkingSession.password[0])
        TakeMailAddress();
    FillFields(page, &GeneralPageFields);
    CheckDlgButton(page, IDC_SITE_ANONYMOUS, anonymous ? BST_CHECKED : BST_UNCHECKED);
    ShowPasswordInClear(page, anonymous);
    SelectHostType(page);
    ShowComment(page);
    snprintf(ShownName[PAGE_GENERAL], sizeof ShownName[0], "%s", WorkingSession.name);
}

// Reloads the working copy from the section of its name.
void ReloadWorkingCopy(HWND page)
{
    LoadSiteProfile(&WorkingSession);
    ApplyPasswordPolicy(page);
}

// A profile chosen or typed in the box: loaded when its section has a host.
void TakeProfileName(HWND page, const char *typed)
{
    // Leading blanks never reach a section name.
    char name[80];
    ProfileNameOnApply(typed, "", name, sizeof name);
    if (!name[0] || strcmp(name, ShownName[PAGE_GENERAL]) == 0)
        return;
    SiteProfile candidate = WorkingSession;
    snprintf(candidate.name, sizeof candidate.name, "%s", name);
    char host[256] = "";
    if (IsReservedProfileName(candidate.name))
        return;
    ProfileGetString(candidate.name, "HOST", "", host, sizeof host);
    if (!host[0])
        return;
    WorkingSession = candidate;
    ReloadWorkingCopy(page);
    FillGeneral(page);
    CurrentSession = WorkingSession;
}

void OnProfileBox(HWND page, int notify)
{
    HWND box = GetDlgItem(page, IDC_PROFILE_NAME);
    char name[80] = "";
    if (notify == CBN_SELCHANGE) {
        LRESULT index = SendMessageA(box, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR || SendMessageA(box, CB_GETLBTEXTLEN, index, 0) >= (LRESULT)sizeof name)
            return;
        SendMessageA(box, CB_GETLBTEXT, index, (LPARAM)name);
    } else if (notify == CBN_KILLFOCUS) {
        GetWindowTextA(box, name, sizeof name);
    } else {
        return;
    }
    TakeProfileName(page, name);
}

void NewProfile(HWND page)
{
    WorkingSession.name[0] = '\0';
    ReloadWorkingCopy(page);
    SetDlgItemTextA(page, IDC_PROFILE_NAME, "");
    FillGeneral(page);
    SetFocus(GetDlgItem(page, IDC_PROFILE_NAME));
}

void DeleteProfile(HWND page)
{
    HWND box = GetDlgItem(page, IDC_PROFILE_NAME);
    char name[80] = "";
    GetWindowTextA(box, name, sizeof name);
    if (!name[0] || IsReservedProfileName(name))
        return;
    ProfileRemoveSection(name);
    LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
    if (index != CB_ERR)
        SendMessageA(box, CB_DELETESTRING, index, 0);
    LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    if (index == CB_ERR || index >= count)
        index = 0;
    SendMessageA(box, CB_SETCURSEL, count > 0 ? index : (WPARAM)-1, 0);
    name[0] = '\0';
    GetWindowTextA(box, name, sizeof name);
    snprintf(WorkingSession.name, sizeof WorkingSession.name, "%s", name);
    ReloadWorkingCopy(page);
    FillGeneral(page);
}

void OnAnonymous(HWND page)
{
    if (IsDlgButtonChecked(page, IDC_SITE_ANONYMOUS) != BST_CHECKED) {
        ShowPasswordInClear(page, false);
        return;
    }
    snprintf(WorkingSession.userId, sizeof WorkingSession.userId, "%s", "anonymous");
    WorkingSession.password[0] = '\0';
    TakeMailAddress();
    WorkingSession.account[0] = '\0';
    Filling = true;
    SetDlgItemTextA(page, IDC_SITE_USER, WorkingSession.userId);
    SetDlgItemTextA(page, IDC_SITE_PASSWORD, WorkingSession.password);
    SetDlgItemTextA(page, IDC_SITE_ACCOUNT, "");
    Filling = false;
    ShowPasswordInClear(page, true);
}

void InitGeneral(HWND page)
{
    CenterWindow(GetParent(page), 0);
    FillProfileList(GetDlgItem(page, IDC_PROFILE_NAME));
    if (SplashWindow) {
        DestroyWindow(SplashWindow);
        SplashWindow = nullptr;
    }
    HostFillHostTypeList(GetDlgItem(page, IDC_SITE_HOST_TYPE), 0);
    LimitFields(page, &GeneralPageFields);
    SendDlgItemMessageA(page, IDC_PROFILE_NAME, CB_LIMITTEXT, 79, 0);
    SendDlgItemMessageA(page, IDC_SITE_COMMENT, EM_LIMITTEXT, 79, 0);
    WorkingSession = CurrentSession;
    ReloadWorkingCopy(page);
    Filling = true;
    SetDlgItemTextA(page, IDC_PROFILE_NAME, WorkingSession.name);
    Filling = false;
    FillGeneral(page);
}

void ApplyGeneral(HWND page)
{
    StoreFields(page, &GeneralPageFields);
    char box[80] = "";
    GetDlgItemTextA(page, IDC_PROFILE_NAME, box, sizeof box);
    ProfileNameOnApply(box, WorkingSession.host, WorkingSession.name, sizeof WorkingSession.name);
    if (StoreForbidden())
        WorkingSession.savePassword = 0;
    HWND types = GetDlgItem(page, IDC_SITE_HOST_TYPE);
    LRESULT chosen = SendMessageA(types, CB_GETCURSEL, 0, 0);
    if (chosen != CB_ERR)
        WorkingSession.hostType = (int32_t)SendMessageA(types, CB_GETITEMDATA, chosen, 0);
    SheetResult = TRUE;
    HWND names = GetDlgItem(page, IDC_PROFILE_NAME);
    if (WorkingSession.name[0] &&
        SendMessageA(names, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)WorkingSession.name) == CB_ERR)
        SendMessageA(names, CB_ADDSTRING, 0, (LPARAM)WorkingSession.name);
    SaveSiteProfile(&WorkingSession);
    if (!IsReservedProfileName(WorkingSession.name)) {
        char comment[80] = "";
        GetDlgItemTextA(page, IDC_SITE_COMMENT, comment, sizeof comment);
        ProfilePutString(WorkingSession.name, "COMMENT", comment[0] ? comment : nullptr);
    }
    snprintf(ShownName[PAGE_GENERAL], sizeof ShownName[0], "%s", WorkingSession.name);
}

// ---------------------------------------------------------------------
// "Firewall"

void EnableFirewallFields(HWND page)
{
    BOOL on = IsDlgButtonChecked(page, IDC_FIRE_USE) == BST_CHECKED;
    static const int ids[] = {IDC_FIRE_HOST, IDC_FIRE_USER, IDC_FIRE_PASSWORD, IDC_FIRE_PORT};
    for (int id : ids)
        EnableWindow(GetDlgItem(page, id), on);
    for (int id = IDC_FIRE_TYPE0; id <= IDC_FIRE_TYPE7; id++)
        EnableWindow(GetDlgItem(page, id), on);
}

void FillFirewall(HWND page)
{
    Filling = true;
    CheckDlgButton(page, IDC_FIRE_USE, WorkingSession.useFirewall ? BST_CHECKED : BST_UNCHECKED);
    LoadFirewallSettings(&Firewall);
    if (WorkingSession.port < 10)
        WorkingSession.port = 21;
    char host[80] = "";
    ProfileGetString(FirewallSectionName, "HOST", "", host, sizeof host);
    unsigned port = WorkingSession.port;
    if (host[0]) {
        CheckDlgButton(page, IDC_FIRE_SAVE_PASSWORD, Firewall.savePassword ? BST_CHECKED : BST_UNCHECKED);
        port = (unsigned)ProfileGetInt(FirewallSectionName, "PORT", (int)WorkingSession.port);
    }
    SetDlgItemTextA(page, IDC_FIRE_HOST, Firewall.host);
    SetDlgItemTextA(page, IDC_FIRE_USER, Firewall.userId);
    SetDlgItemTextA(page, IDC_FIRE_PASSWORD, Firewall.password);
    SetDlgItemInt(page, IDC_FIRE_PORT, port, FALSE);
    int type = ProfileGetInt(FirewallSectionName, "FIRETYPE", 1);
    if (type < 0 || type > 7)
        type = 1;
    CheckRadioButton(page, IDC_FIRE_TYPE0, IDC_FIRE_TYPE7, IDC_FIRE_TYPE0 + type);
    EnableFirewallFields(page);
    Filling = false;
    snprintf(ShownName[PAGE_FIREWALL], sizeof ShownName[0], "%s", WorkingSession.name);
}

void ApplyFirewall(HWND page)
{
    if (IsDlgButtonChecked(page, IDC_FIRE_USE) != BST_CHECKED) {
        WorkingSession.useFirewall = 0;
        SaveSiteProfile(&WorkingSession);
        return;
    }
    WorkingSession.useFirewall = 1;
    GetDlgItemTextA(page, IDC_FIRE_HOST, Firewall.host, sizeof Firewall.host);
    GetDlgItemTextA(page, IDC_FIRE_USER, Firewall.userId, sizeof Firewall.userId);
    GetDlgItemTextA(page, IDC_FIRE_PASSWORD, Firewall.password, 80);
    Firewall.savePassword = IsDlgButtonChecked(page, IDC_FIRE_SAVE_PASSWORD) == BST_CHECKED;
    Firewall.type = 3;
    for (int id = IDC_FIRE_TYPE0; id <= IDC_FIRE_TYPE7; id++)
        if (IsDlgButtonChecked(page, id) == BST_CHECKED)
            Firewall.type = id - IDC_FIRE_TYPE0;
    WorkingSession.firewallType = Firewall.type;
    char text[16] = "";
    GetDlgItemTextA(page, IDC_FIRE_PORT, text, sizeof text);
    Firewall.port = FirewallPortRule((unsigned)ParseFieldNumber(text, false));
    WorkingSession.port = Firewall.port;
    SaveFirewallSettings(&Firewall);
    SaveSiteProfile(&WorkingSession);
}

// ---------------------------------------------------------------------
// The one page procedure.

void OnInitPage(HWND page, int index)
{
    SetWindowLongPtrA(page, DWLP_USER, index);
    if (index == PAGE_GENERAL) {
        InitGeneral(page);
        return;
    }
    if (index == PAGE_FIREWALL) {
        static const int limits[][2] = {{IDC_FIRE_HOST, 79}, {IDC_FIRE_USER, 79}, {IDC_FIRE_PASSWORD, 79}};
        for (const auto &l : limits)
            SendDlgItemMessageA(page, l[0], EM_LIMITTEXT, (WPARAM)l[1], 0);
        FillFirewall(page);
        return;
    }
    LimitFields(page, Pages[index].fields);
    FillFields(page, Pages[index].fields);
    snprintf(ShownName[index], sizeof ShownName[0], "%s", WorkingSession.name);
}

void OnSetActive(HWND page, int index)
{
    if (strcmp(ShownName[index], WorkingSession.name) == 0)
        return;
    if (index == PAGE_FIREWALL)
        FillFirewall(page);
    else if (index == PAGE_GENERAL)
        FillGeneral(page);
    else {
        FillFields(page, Pages[index].fields);
        snprintf(ShownName[index], sizeof ShownName[0], "%s", WorkingSession.name);
    }
}

void OnApply(HWND page, int index)
{
    switch (index) {
    case PAGE_GENERAL: ApplyGeneral(page); break;
    case PAGE_FIREWALL: ApplyFirewall(page); break;
    default:
        StoreFields(page, Pages[index].fields);
        SaveSiteProfile(&WorkingSession);
        break;
    }
}

void OnPageCommand(HWND page, int index, int id, int notify)
{
    if (index == PAGE_GENERAL) {
        switch (id) {
        case IDC_PROFILE_NAME: OnProfileBox(page, notify); break;
        case IDC_PROFILE_NEW: NewProfile(page); break;
        case IDC_PROFILE_DELETE: DeleteProfile(page); break;
        case IDC_SITE_ANONYMOUS: OnAnonymous(page); break;
        }
    }
    if (index == PAGE_FIREWALL && id == IDC_FIRE_USE)
        EnableFirewallFields(page);
    bool edited = notify == EN_CHANGE || notify == CBN_EDITCHANGE || notify == CBN_SELCHANGE ||
                  notify == BN_CLICKED;
    if (edited && !Filling && id != IDC_PROFILE_NEW && id != IDC_PROFILE_DELETE)
        PropSheet_Changed(GetParent(page), page);
}

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitPage(page, (int)((const PROPSHEETPAGEA *)lParam)->lParam);
        return TRUE;
    case WM_COMMAND:
        OnPageCommand(page, PageIndex(page), LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_HELP:
        ShowHelp(Pages[PageIndex(page)].helpContext);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        int index = PageIndex(page);
        switch (header->code) {
        case PSN_SETACTIVE:
            OnSetActive(page, index);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
            return TRUE;
        case PSN_APPLY:
            OnApply(page, index);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        case PSN_RESET:
            WorkingSession = CurrentSession;
            SheetResult = FALSE;
            return TRUE;
        case PSN_HELP:
            ShowHelp(Pages[index].helpContext);
            return TRUE;
        case PSN_KILLACTIVE:
            SetWindowLongPtrA(page, DWLP_MSGRESULT, FALSE);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

} // namespace

BOOL ShowSessionSheet(HWND owner)
{
    static char titles[PAGE_COUNT][32];
    PROPSHEETPAGEA pages[PAGE_COUNT];
    memset(pages, 0, sizeof pages);
    for (int i = 0; i < PAGE_COUNT; i++) {
        snprintf(titles[i], sizeof titles[i], "%s", LoadText(Pages[i].title));
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE | PSP_HASHELP;
        pages[i].hInstance = AppInstance;
        pages[i].pszTemplate = Pages[i].templateName;
        pages[i].pszTitle = titles[i];
        pages[i].pfnDlgProc = PageProc;
        pages[i].lParam = i;
        ShownName[i][0] = '\0';
    }
    char caption[64];
    snprintf(caption, sizeof caption, "%s", LoadText(IDS_SESSION_CAPTION));
    PROPSHEETHEADERA header;
    memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = AppInstance;
    header.pszCaption = caption;
    header.nPages = PAGE_COUNT;
    header.nStartPage = 0;
    header.ppsp = pages;
    SheetResult = FALSE;
    PropertySheetA(&header);
    return SheetResult;
}
