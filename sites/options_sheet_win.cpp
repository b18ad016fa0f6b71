// The options property sheet. The pages made of plain fields are their
// tables (option_fields.cpp) walked by FillOptionFields/StoreOptionFields;
// the list font, sounds, host type, transfer mode, sort settings and the
// three text tables have code of their own below.
#include "sites/options_sheet.h"

#include <commctrl.h>
#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "listing/file_list.h"
#include "listing/file_rows.h"
#include "listing/host_library.h"
#include "listing/remote_list.h"
#include "resources/resource.h"
#include "sites/option_fields.h"
#include "sites/site_profile.h"
#include "transfer/sounds.h"
#include "ui/input_dialogs.h"
#include "ui/layout.h"

namespace {

enum {
    PAGE_MAIN, PAGE_ADVANCED, PAGE_DISPLAY, PAGE_SOUNDS, PAGE_SORT, PAGE_SWITCHES,
    PAGE_SESSION, PAGE_SESSION1, PAGE_CONVERT, PAGE_EXTENSIONS, PAGE_ASSOC, PAGE_COUNT
};

const struct {
    const char *templateName;
    UINT title;
    int helpContext;   // 0: none
    const OptionPage *fields;
} Pages[PAGE_COUNT] = {
    {"PAG_MAIN", IDS_OPT_PAGE_GENERAL, 206, &GeneralOptionFields},
    {"PAG_ADVANCED", IDS_OPT_PAGE_ADVANCED, 210, &AdvancedOptionFields},
    {"PAG_DISPLAY", IDS_OPT_PAGE_DISPLAY, 215, &DisplayOptionFields},
    {"PAG_SNDOPT", IDS_OPT_PAGE_SOUNDS, 220, &SoundOptionFields},
    {"PAG_SORTOPT", IDS_OPT_PAGE_SORT, 0, nullptr},
    {"PAG_KEPOPT", IDS_OPT_PAGE_SWITCHES, 236, &TransferSwitchFields},
    {"PAG_SESOPT", IDS_OPT_PAGE_SESSION, 226, &SessionOptionFields},
    {"PAG_SESOPT1", IDS_OPT_PAGE_SESSION1, 230, &SessionMoreOptionFields},
    {"PAG_CONVERT", IDS_OPT_PAGE_CONVERT, 246, nullptr},
    {"PAG_EXTENT", IDS_OPT_PAGE_EXTENSIONS, 251, nullptr},
    {"PAG_ASSOC", IDS_OPT_PAGE_ASSOC, 256, nullptr},
};

// Set while a page fills its controls, so the fills do not mark changes.
bool Filling;
// The extension last asked about (the "Associate" dialog presets it).
char AskedExtension[8];
HFONT CustomFont;
// The one-pixel resize that forces a new layout alternates in sign.
int ResizeStep = -1;

// ---------------------------------------------------------------------
// Generic fields

bool SessionSection(void)
{
    return CurrentSession.name[0] != '\0';
}

int *TargetOf(const OptionField &f)
{
    switch (f.target) {
    case TARGET_GLOBAL: return (int *)((char *)&GlobalSettings + f.offset);
    case TARGET_SESSION: return (int *)((char *)&CurrentSession + f.offset);
    case TARGET_NONE: break;
    }
    return nullptr;
}

void DefaultText(const OptionField &f, char *buffer, size_t size)
{
    // The wave files default to files beside the program.
    bool beside = strncmp(f.key, "snd", 3) == 0;
    size_t n = strlen(StartFolder);
    const char *separator = beside && n && StartFolder[n - 1] != '\\' ? "\\" : "";
    snprintf(buffer, size, "%s%s%s", beside ? StartFolder : "", separator, f.textDefault ? f.textDefault : "");
}

int ReadOptionValue(const OptionField &f)
{
    if (f.target == TARGET_SESSION)
        return *TargetOf(f);
    if (f.store == STORE_SESSION && SessionSection())
        return ProfileGetIntOrGlobal(CurrentSession.name, f.key, f.def);
    return ConfigGetInt(f.key, f.kind == OPTION_BIT ? f.high : f.def);
}

void FillOptionFields(HWND page, const OptionPage *fields)
{
    for (int i = 0; fields && i < fields->count; i++) {
        const OptionField &f = fields->fields[i];
        if (f.kind == OPTION_TEXT) {
            char def[260], text[260];
            DefaultText(f, def, sizeof def);
            ConfigGetString(f.key, def, text, sizeof text);
            SendDlgItemMessageA(page, f.controlId, EM_LIMITTEXT, (WPARAM)f.high, 0);
            SetDlgItemTextA(page, f.controlId, text);
            continue;
        }
        int value = ReadOptionValue(f);
        switch (f.kind) {
        case OPTION_CHECK:
            CheckDlgButton(page, f.controlId, value ? BST_CHECKED : BST_UNCHECKED);
            break;
        case OPTION_BIT:
            CheckDlgButton(page, f.controlId, (value & f.def) ? BST_CHECKED : BST_UNCHECKED);
            break;
        case OPTION_RADIO: {
            int index = RadioIndexFor(f, value);
            for (int b = 0; b < f.high; b++)
                CheckDlgButton(page, f.controlId + b, b == index ? BST_CHECKED : BST_UNCHECKED);
            break;
        }
        case OPTION_NUMBER:
            SetDlgItemInt(page, f.controlId, (UINT)value, FALSE);
            break;
        case OPTION_TEXT:
            break;
        }
    }
}

// A per-site option goes to the current session's section; without a
// session there is no section, and the program-wide default takes it.
void PutSessionInt(const char *key, unsigned value)
{
    if (SessionSection())
        SessionPutInt(key, value);
    else
        ProfilePutInt(ConfigSection, key, value);
}

void PutOptionInt(const OptionField &f, int value)
{
    if (f.store == STORE_SESSION)
        PutSessionInt(f.key, (unsigned)value);
    else
        ProfilePutInt(ConfigSection, f.key, (unsigned)value);
    if (int *target = TargetOf(f))
        *target = value;
}

void StoreOptionFields(HWND page, const OptionPage *fields)
{
    for (int i = 0; fields && i < fields->count; i++) {
        const OptionField &f = fields->fields[i];
        char text[260] = "";
        switch (f.kind) {
        case OPTION_TEXT:
            GetDlgItemTextA(page, f.controlId, text, sizeof text);
            ConfigPutString(f.key, text);
            continue;
        case OPTION_CHECK:
        case OPTION_BIT:
            snprintf(text, sizeof text, "%d", IsDlgButtonChecked(page, f.controlId) == BST_CHECKED);
            break;
        case OPTION_RADIO:
            snprintf(text, sizeof text, "%d", -1);
            for (int b = 0; b < f.high; b++)
                if (IsDlgButtonChecked(page, f.controlId + b) == BST_CHECKED)
                    snprintf(text, sizeof text, "%d", b);
            break;
        case OPTION_NUMBER:
            GetDlgItemTextA(page, f.controlId, text, sizeof text);
            break;
        }
        int value = StoredOptionValue(f, text);
        if (f.kind == OPTION_NUMBER)
            SetDlgItemInt(page, f.controlId, (UINT)value, FALSE);
        if (f.kind == OPTION_BIT) {
            int flags = ConfigGetInt(f.key, f.high);
            value = value ? (flags | f.def) : (flags & ~f.def);
        }
        PutOptionInt(f, value);
    }
}

bool Checked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

int CheckedInRun(HWND page, int first, int count)
{
    for (int b = 0; b < count; b++)
        if (Checked(page, first + b))
            return b;
    return -1;
}

void CheckInRun(HWND page, int first, int count, int chosen)
{
    for (int b = 0; b < count; b++)
        CheckDlgButton(page, first + b, b == chosen ? BST_CHECKED : BST_UNCHECKED);
}

// The file-open dialog with a filter of "|"-separated pairs; the chosen
// file replaces the text of the control.
void BrowseInto(HWND page, int controlId, UINT filterId)
{
    char filter[160];
    snprintf(filter, sizeof filter, "%s", LoadText(filterId));
    for (char *p = filter; *p; p++)
        if (*p == '|')
            *p = '\0';
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = page;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&ofn))
        SetDlgItemTextA(page, controlId, file);
}

// ---------------------------------------------------------------------
// List font

HFONT ChosenListFont(int choice)
{
    static const int stock[] = {SYSTEM_FONT, SYSTEM_FIXED_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT};
    if (choice == 4 && CustomFont)
        return CustomFont;
    return (HFONT)GetStockObject(stock[choice >= 0 && choice < 4 ? choice : 3]);
}

// The custom list font as the settings file describes it.
LOGFONTA StoredFont(void)
{
    LOGFONTA lf;
    ZeroMemory(&lf, sizeof lf);
    lf.lfHeight = ConfigGetInt("FHEIGHT", -11);
    lf.lfWidth = ConfigGetInt("FWIDTH", 0);
    lf.lfWeight = ConfigGetInt("FWEIGHT", 400);
    lf.lfPitchAndFamily = (BYTE)ConfigGetInt("FPITCH", 49);
    lf.lfCharSet = DEFAULT_CHARSET;
    ConfigGetString("FNAME", "Courier New", lf.lfFaceName, sizeof lf.lfFaceName);
    return lf;
}

void MakeCustomFont(void)
{
    LOGFONTA lf = StoredFont();
    HFONT made = CreateFontIndirectA(&lf);
    if (!made)
        return;
    HFONT old = CustomFont;
    CustomFont = made;
    ApplyListFont();
    if (old)
        DeleteObject(old);
}

void StoreCustomFont(const LOGFONTA &lf)
{
    ProfilePutInt(ConfigSection, "FONT", 4);
    GlobalSettings.font = 4;
    ProfilePutInt(ConfigSection, "FHEIGHT", (unsigned)lf.lfHeight);
    ProfilePutInt(ConfigSection, "FWIDTH", (unsigned)lf.lfWidth);
    ProfilePutInt(ConfigSection, "FWEIGHT", (unsigned)lf.lfWeight);
    ProfilePutInt(ConfigSection, "FPITCH", lf.lfPitchAndFamily);
    ConfigPutString("FNAME", lf.lfFaceName);
    MakeCustomFont();
}

UINT_PTR CALLBACK FontHook(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    // The Apply button (psh3) takes the description shown.
    if (message == WM_COMMAND && LOWORD(wParam) == 0x402) {
        LOGFONTA lf;
        SendMessageA(dialog, WM_CHOOSEFONT_GETLOGFONT, 0, (LPARAM)&lf);
        StoreCustomFont(lf);
        return 1;
    }
    return 0;
}

void ChooseCustomFont(HWND owner)
{
    LOGFONTA lf = StoredFont();
    CHOOSEFONTA cf;
    ZeroMemory(&cf, sizeof cf);
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = owner;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_APPLY | CF_ENABLEHOOK;
    cf.lpfnHook = FontHook;
    ChooseFontA(&cf);
    // Whatever the dialog returns, the custom description becomes the font.
    StoreCustomFont(lf);
}

// ---------------------------------------------------------------------
// Page hooks: fill and apply of the special controls

void FillSounds(HWND page)
{
    CheckInRun(page, IDC_OPT_SND_NONE, 3, SoundChoice(ConfigGetInt("BELL", 1), ConfigGetInt("usewave", 1)));
}

void EnableSounds(HWND page)
{
    int choice = CheckedInRun(page, IDC_OPT_SND_NONE, 3);
    for (int i = 0; i < 5; i++) {
        EnableWindow(GetDlgItem(page, IDC_OPT_SND_CHECK0 + i), choice >= 1);
        EnableWindow(GetDlgItem(page, IDC_OPT_SND_FILE0 + i), choice == 2);
        EnableWindow(GetDlgItem(page, IDC_OPT_SND_BROWSE0 + i), choice == 2);
    }
}

void ApplySounds(HWND page)
{
    int bell, wave;
    SoundChoiceValues(CheckedInRun(page, IDC_OPT_SND_NONE, 3), &bell, &wave);
    ProfilePutInt(ConfigSection, "BELL", (unsigned)bell);
    ProfilePutInt(ConfigSection, "usewave", (unsigned)wave);
    LoadSoundSettings();
}

void FillSortRun(HWND page, int first, int order)
{
    int key = order & SORT_KEY_MASK;
    CheckInRun(page, first, 5, key <= 4 ? key : 1);
    CheckDlgButton(page, first + 5, (order & SORT_REVERSE) ? BST_CHECKED : BST_UNCHECKED);
    CheckInRun(page, first + 6, 3, (order & SORT_FOLDERS_BOTTOM) ? 2 : ((order & SORT_MIXED) ? 1 : 0));
}

int SortRunOrder(HWND page, int first)
{
    int key = CheckedInRun(page, first, 5);
    int order = key < 0 ? SORT_NAME : key;
    if (Checked(page, first + 5))
        order |= SORT_REVERSE;
    if (Checked(page, first + 7))
        order |= SORT_MIXED;
    if (Checked(page, first + 8))
        order |= SORT_FOLDERS_BOTTOM;
    return order;
}

void ApplySort(HWND page)
{
    static const char *keys[] = {"LSORT", "RSORT"};
    for (uint32_t pane = 0; pane < 2; pane++) {
        int order = SortRunOrder(page, pane ? IDC_OPT_RSORT0 : IDC_OPT_LSORT0);
        ProfilePutInt(ConfigSection, keys[pane], (unsigned)order);
        if (order != PaneSortSpec(pane)) {
            SetPaneSortSpec(pane, order);
            ResortFileList(pane ? RemoteListWindow : LocalListWindow);
        }
    }
}

void SelectHostType(HWND page)
{
    HWND box = GetDlgItem(page, IDC_OPT_HOST_TYPE);
    int count = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++)
        if ((int)SendMessageA(box, CB_GETITEMDATA, i, 0) == CurrentSession.hostType)
            SendMessageA(box, CB_SETCURSEL, i, 0);
}

void ApplySession(HWND page)
{
    HWND box = GetDlgItem(page, IDC_OPT_HOST_TYPE);
    LRESULT chosen = SendMessageA(box, CB_GETCURSEL, 0, 0);
    int before = CurrentSession.hostType;
    if (chosen != CB_ERR)
        CurrentSession.hostType = (int32_t)SendMessageA(box, CB_GETITEMDATA, chosen, 0);
    if (SessionSection())
        ProfilePutInt(CurrentSession.name, "TYPE", (unsigned)CurrentSession.hostType);
    if (Connected && before != CurrentSession.hostType)
        RedisplayRemotePane(MainWindow);
}

void SessionDefaults(HWND page)
{
    for (int i = 0; i < SessionOptionFields.count; i++) {
        const OptionField &f = SessionOptionFields.fields[i];
        ProfilePutInt(ConfigSection, f.key, Checked(page, f.controlId) ? 1 : 0);
    }
}

void SaveFoldersAsConnection(void)
{
    if (!Connected || !SessionSection())
        return;
    char quoted[300], local[256] = "";
    snprintf(quoted, sizeof quoted, "\"%s\"", RemoteFolder);
    ProfilePutString(CurrentSession.name, "DIR", quoted);
    GetDlgItemTextA(MainWindow, IDC_LOCAL_FOLDER_BOX, local, sizeof local);
    ProfilePutString(CurrentSession.name, "LOCDIR", local);
}

void FillSession1(HWND page)
{
    CheckInRun(page, IDC_OPT_MODE0, 4, TransferModeButton(GlobalSettings.autoMode, GlobalSettings.mode));
}

void ApplySession1(HWND page)
{
    int autoMode, mode;
    TransferModeValues(CheckedInRun(page, IDC_OPT_MODE0, 4), &autoMode, &mode);
    PutSessionInt("AMODE", (unsigned)autoMode);
    GlobalSettings.autoMode = autoMode;
    if (mode >= 0) {
        PutSessionInt("MODE", (unsigned)mode);
        GlobalSettings.mode = mode;
    }
}

void Session1Defaults(HWND page)
{
    for (int i = 0; i < SessionMoreOptionFields.count; i++) {
        const OptionField &f = SessionMoreOptionFields.fields[i];
        ProfilePutInt(ConfigSection, f.key, Checked(page, f.controlId) ? 1 : 0);
    }
    int button = CheckedInRun(page, IDC_OPT_MODE0, 4);
    ProfilePutInt(ConfigSection, "AMODE", button == 3 ? 1 : 0);
    ProfilePutInt(ConfigSection, "MODE", (unsigned)DefaultModeFor(button));
}

// ---------------------------------------------------------------------
// The text tables

TextLines ReadLines(const char *path, size_t limit)
{
    TextLines lines;
    FILE *f = path ? fopen(path, "r") : nullptr;
    if (!f)
        return lines;
    char line[128];
    for (int n = 0; n < 10000 && fgets(line, (int)(limit + 1 < sizeof line ? limit + 1 : sizeof line), f); n++) {
        line[strcspn(line, "\r\n")] = '\0';
        if (strlen(line) >= 2)
            lines.push_back(line);
    }
    fclose(f);
    return lines;
}

TextLines ListLines(HWND list)
{
    TextLines lines;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; i++) {
        char text[128] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < (LRESULT)sizeof text)
            SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        lines.push_back(text);
    }
    return lines;
}

void ShowLines(HWND list, const TextLines &lines)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string &line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line.c_str());
}

void WriteLines(const char *path, const TextLines &lines, bool (*keep)(const std::string &))
{
    FILE *f = path ? fopen(path, "w") : nullptr;
    if (!f)
        return;
    for (const std::string &line : lines)
        if (keep(line))
            fprintf(f, "%s\n", line.c_str());
    fclose(f);
}

std::string FieldText(HWND page, int id)
{
    char text[64] = "";
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

void OnConvertCommand(HWND page, int id, int notify)
{
    HWND list = GetDlgItem(page, IDC_OPT_CNV_LIST);
    TextLines lines = ListLines(list);
    if (id == IDC_OPT_CNV_ADD || id == IDC_OPT_CNV_DELETE) {
        std::string source = FieldText(page, IDC_OPT_CNV_SOURCE);
        bool done = id == IDC_OPT_CNV_ADD
                        ? AddConversionEntry(&lines, source.c_str(), FieldText(page, IDC_OPT_CNV_DEST).c_str())
                        : DeleteConversionEntry(&lines, source.c_str());
        if (done)
            ShowLines(list, lines);
    } else if (id == IDC_OPT_CNV_LIST && notify == LBN_SELCHANGE) {
        LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (sel == LB_ERR || sel >= (LRESULT)lines.size())
            return;
        std::string source, destination;
        SplitConversionEntry(lines[(size_t)sel].c_str(), &source, &destination);
        Filling = true;
        SetDlgItemTextA(page, IDC_OPT_CNV_SOURCE, source.c_str());
        SetDlgItemTextA(page, IDC_OPT_CNV_DEST, destination.c_str());
        Filling = false;
    }
}

void FillExtensions(HWND page)
{
    TextLines lines = ReadLines(ExtPath, 9);
    if (lines.empty() && (!ExtPath || GetFileAttributesA(ExtPath) == INVALID_FILE_ATTRIBUTES))
        lines.push_back(LoadText(IDS_OPT_DEFAULT_EXT));
    ShowLines(GetDlgItem(page, IDC_OPT_EXT_LIST), lines);
}

void OnExtensionCommand(HWND page, int id, int notify)
{
    HWND list = GetDlgItem(page, IDC_OPT_EXT_LIST);
    TextLines lines = ListLines(list);
    std::string text = FieldText(page, IDC_OPT_EXT_FIELD);
    if ((id == IDC_OPT_EXT_ADD && AddExtensionEntry(&lines, text.c_str())) ||
        (id == IDC_OPT_EXT_DELETE && DeleteExtensionEntry(&lines, text.c_str())))
        ShowLines(list, lines);
    else if (id == IDC_OPT_EXT_LIST && notify == LBN_SELCHANGE) {
        LRESULT sel = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (sel != LB_ERR && sel < (LRESULT)lines.size()) {
            Filling = true;
            SetDlgItemTextA(page, IDC_OPT_EXT_FIELD, lines[(size_t)sel].c_str());
            Filling = false;
        }
    }
}

// ---------------------------------------------------------------------
// Associations

void ShowAssociation(HWND page, const char *extension)
{
    char value[260] = "";
    GetProfileStringA("Extensions", extension, "", value, sizeof value);
    SetDlgItemTextA(page, IDC_OPT_ASSOC_CMD, AssociationProgram(value).c_str());
}

void FillAssociations(HWND page)
{
    HWND exts = GetDlgItem(page, IDC_OPT_ASSOC_EXT), cmds = GetDlgItem(page, IDC_OPT_ASSOC_CMD);
    SendMessageA(exts, CB_LIMITTEXT, 3, 0);
    std::string keys(32768, '\0');
    DWORD n = GetProfileStringA("Extensions", nullptr, "", &keys[0], (DWORD)keys.size());
    for (DWORD at = 0; at < n && keys[at];) {
        const char *key = &keys[at];
        SendMessageA(exts, CB_ADDSTRING, 0, (LPARAM)key);
        char value[260] = "";
        GetProfileStringA("Extensions", key, "", value, sizeof value);
        std::string program = AssociationProgram(value);
        if (!program.empty() &&
            SendMessageA(cmds, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)program.c_str()) == CB_ERR)
            SendMessageA(cmds, CB_ADDSTRING, 0, (LPARAM)program.c_str());
        at += (DWORD)strlen(key) + 1;
    }
    if (AskedExtension[0]) {
        SetDlgItemTextA(page, IDC_OPT_ASSOC_EXT, AskedExtension);
        ShowAssociation(page, AskedExtension);
    }
}

void OnAssociationCommand(HWND page, int id, int notify)
{
    if (id == IDC_OPT_ASSOC_BROWSE) {
        BrowseInto(page, IDC_OPT_ASSOC_CMD, IDS_OPT_PROGRAM_FILTER);
    } else if (id == IDC_OPT_ASSOC_EXT && notify == CBN_SELCHANGE) {
        HWND box = GetDlgItem(page, IDC_OPT_ASSOC_EXT);
        LRESULT sel = SendMessageA(box, CB_GETCURSEL, 0, 0);
        char ext[16] = "";
        if (sel != CB_ERR && SendMessageA(box, CB_GETLBTEXTLEN, sel, 0) < (LRESULT)sizeof ext)
            SendMessageA(box, CB_GETLBTEXT, sel, (LPARAM)ext);
        ShowAssociation(page, ext);
    }
}

bool ApplyAssociation(HWND page)
{
    char ext[16] = "", command[260] = "";
    GetDlgItemTextA(page, IDC_OPT_ASSOC_EXT, ext, sizeof ext);
    GetDlgItemTextA(page, IDC_OPT_ASSOC_CMD, command, sizeof command);
    std::string value = AssociationValue(ext, command);
    if (value.empty())
        return false;
    WriteProfileStringA("Extensions", ext, value.c_str());
    return true;
}

// ---------------------------------------------------------------------
// The pages

// The display keys whose change needs a new layout of the main window.
const char *const LayoutKeys[] = {"LAYOUT", "BONTOP", "HIDBTN", "SCALE", "LONGDATE", "DateFmt"};

void ApplyDisplay(HWND page)
{
    int before[6], fontBefore = ConfigGetInt("FONT", 3);
    for (int i = 0; i < 6; i++)
        before[i] = ConfigGetInt(LayoutKeys[i], -1);
    StoreOptionFields(page, &DisplayOptionFields);
    bool relayout = false;
    for (int i = 0; i < 6; i++)
        relayout = relayout || before[i] != ConfigGetInt(LayoutKeys[i], -1);
    if (relayout && MainWindow && !IsZoomed(MainWindow)) {
        RECT r;
        GetWindowRect(MainWindow, &r);
        SetWindowPos(MainWindow, nullptr, 0, 0, r.right - r.left + ResizeStep, r.bottom - r.top + ResizeStep,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ResizeStep = -ResizeStep;
    } else if (relayout && MainWindow) {
        // A maximized window cannot be resized: lay it out in place.
        RECT client;
        GetClientRect(MainWindow, &client);
        LayoutChildWindows(MainWindow, client.right, client.bottom);
    }
    if (relayout) {
        // The date texts may have grown (4-digit years, another order).
        FitColumnsToListFont(LocalListWindow, false);
        FitColumnsToListFont(RemoteListWindow, false);
    }
    if (fontBefore != GlobalSettings.font)
        ApplyListFont();
}

void FillPage(HWND page, int index)
{
    Filling = true;
    FillOptionFields(page, Pages[index].fields);
    switch (index) {
    case PAGE_SOUNDS: FillSounds(page); EnableSounds(page); break;
    case PAGE_SORT:
        FillSortRun(page, IDC_OPT_LSORT0, PaneSortSpec(0));
        FillSortRun(page, IDC_OPT_RSORT0, PaneSortSpec(1));
        break;
    case PAGE_SESSION:
        HostFillHostTypeList(GetDlgItem(page, IDC_OPT_HOST_TYPE), 0);
        SelectHostType(page);
        break;
    case PAGE_SESSION1: FillSession1(page); break;
    case PAGE_CONVERT:
        SendDlgItemMessageA(page, IDC_OPT_CNV_SOURCE, EM_LIMITTEXT, 19, 0);
        SendDlgItemMessageA(page, IDC_OPT_CNV_DEST, EM_LIMITTEXT, 19, 0);
        ShowLines(GetDlgItem(page, IDC_OPT_CNV_LIST), ReadLines(CnvPath, 79));
        break;
    case PAGE_EXTENSIONS:
        SendDlgItemMessageA(page, IDC_OPT_EXT_FIELD, EM_LIMITTEXT, 9, 0);
        FillExtensions(page);
        break;
    case PAGE_ASSOC: FillAssociations(page); break;
    }
    Filling = false;
}

void ApplyPage(HWND page, int index)
{
    switch (index) {
    case PAGE_DISPLAY: ApplyDisplay(page); return;
    case PAGE_SORT: ApplySort(page); return;
    case PAGE_CONVERT: WriteLines(CnvPath, ListLines(GetDlgItem(page, IDC_OPT_CNV_LIST)), KeepConversionLine); return;
    case PAGE_EXTENSIONS: WriteLines(ExtPath, ListLines(GetDlgItem(page, IDC_OPT_EXT_LIST)), KeepExtensionLine); return;
    case PAGE_ASSOC: ApplyAssociation(page); return;
    }
    StoreOptionFields(page, Pages[index].fields);
    switch (index) {
    case PAGE_MAIN:
        ConfigGetString("MAILADDR", "veltrio@", GlobalSettings.mailAddress, sizeof GlobalSettings.mailAddress);
        break;
    case PAGE_SOUNDS: ApplySounds(page); break;
    case PAGE_SESSION: ApplySession(page); break;
    case PAGE_SESSION1: ApplySession1(page); break;
    }
}

// Commands of a page that act at once; false for plain edits.
bool PageCommand(HWND page, int index, int id, int notify)
{
    switch (id) {
    case IDC_OPT_VIEWER_BROWSE: BrowseInto(page, IDC_OPT_VIEWER, IDS_OPT_PROGRAM_FILTER); return true;
    case IDC_OPT_SAVE_LOC: SaveWindowLocations(); return true;
    case IDC_OPT_RESET_LOC: ResetWindowLocations(); return true;
    case IDC_OPT_SES_DEFAULT: SessionDefaults(page); return true;
    case IDC_OPT_SAVE_FOLDERS: SaveFoldersAsConnection(); return true;
    case IDC_OPT_SES1_DEFAULT: Session1Defaults(page); return true;
    case IDC_OPT_FONT0 + 4:
        if (notify == BN_CLICKED && !Filling)
            ChooseCustomFont(page);
        return false;
    }
    if (id >= IDC_OPT_SND_BROWSE0 && id < IDC_OPT_SND_BROWSE0 + 5) {
        BrowseInto(page, IDC_OPT_SND_FILE0 + (id - IDC_OPT_SND_BROWSE0), IDS_OPT_SOUND_FILTER);
        return false;
    }
    if (id >= IDC_OPT_SND_NONE && id < IDC_OPT_SND_NONE + 3)
        EnableSounds(page);
    if (index == PAGE_CONVERT)
        OnConvertCommand(page, id, notify);
    else if (index == PAGE_EXTENSIONS)
        OnExtensionCommand(page, id, notify);
    else if (index == PAGE_ASSOC)
        OnAssociationCommand(page, id, notify);
    return false;
}

bool IsEditNotify(int notify)
{
    return notify == BN_CLICKED || notify == EN_CHANGE || notify == CBN_SELCHANGE || notify == CBN_EDITCHANGE;
}

INT_PTR CALLBACK OptionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        int index = (int)((const PROPSHEETPAGEA *)lParam)->lParam;
        SetWindowLongPtrA(page, DWLP_USER, index);
        FillPage(page, index);
        return TRUE;
    }
    case WM_COMMAND: {
        int index = (int)GetWindowLongPtrA(page, DWLP_USER);
        int id = LOWORD(wParam), notify = HIWORD(wParam);
        PageCommand(page, index, id, notify);
        if (!Filling && IsEditNotify(notify) && id != IDC_OPT_SAVE_LOC && id != IDC_OPT_RESET_LOC)
            PropSheet_Changed(GetParent(page), page);
        return TRUE;
    }
    case WM_HELP: {
        int context = Pages[GetWindowLongPtrA(page, DWLP_USER)].helpContext;
        if (context)
            ShowHelp(context);
        return TRUE;
    }
    case WM_NOTIFY: {
        int index = (int)GetWindowLongPtrA(page, DWLP_USER);
        switch (((NMHDR *)lParam)->code) {
        case PSN_APPLY:
            ApplyPage(page, index);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        case PSN_HELP:
            if (Pages[index].helpContext)
                ShowHelp(Pages[index].helpContext);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK AssociateDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillAssociations(dialog);
        CenterWindow(dialog, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, ApplyAssociation(dialog) ? IDOK : IDCANCEL);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        OnAssociationCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowOptionsSheet(HWND owner)
{
    PROPSHEETPAGEA pages[PAGE_COUNT];
    char titles[PAGE_COUNT][64];
    for (int i = 0; i < PAGE_COUNT; i++) {
        ZeroMemory(&pages[i], sizeof pages[i]);
        snprintf(titles[i], sizeof titles[i], "%s", LoadText(Pages[i].title));
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_USETITLE | (Pages[i].helpContext ? PSP_HASHELP : 0);
        pages[i].hInstance = AppInstance;
        pages[i].pszTemplate = Pages[i].templateName;
        pages[i].pszTitle = titles[i];
        pages[i].pfnDlgProc = OptionPageProc;
        pages[i].lParam = i;
    }
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_PROPTITLE | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = AppInstance;
    header.pszCaption = AppTitle;
    header.nPages = PAGE_COUNT;
    header.nStartPage = Connected ? PAGE_SESSION : PAGE_MAIN;
    header.ppsp = pages;
    PropertySheetA(&header);
    HideBalloonTip();
}

BOOL ShowAssociateDialog(HWND owner, const char *extension)
{
    snprintf(AskedExtension, sizeof AskedExtension, "%s", extension ? extension : "");
    return DialogBoxParamA(AppInstance, "DLG_ASSOCIATE", owner, AssociateDialogProc, 0) == IDOK;
}

// Set once the list fonts of the window's creation are applied: later
// changes of the font set the columns to the new font's texts.
static bool ListFontsCreated;

void CreateListFonts(void)
{
    GlobalSettings.font = ConfigGetInt("FONT", 3);
    ListFontsCreated = false;
    MakeCustomFont();
    if (!CustomFont)
        ApplyListFont();
    ListFontsCreated = true;
}

void ApplyListFont(void)
{
    if (!MainWindow)
        return;
    HFONT font = ChosenListFont(GlobalSettings.font);
    static const int fields[] = {IDC_LOCAL_MASK, IDC_REMOTE_MASK, IDC_LOCAL_FOLDER_BOX, IDC_REMOTE_FOLDER_BOX};
    for (int id : fields)
        if (HWND child = GetDlgItem(MainWindow, id))
            SendMessageA(child, WM_SETFONT, (WPARAM)font, TRUE);
    for (HWND list : {LocalListWindow, RemoteListWindow}) {
        if (!list)
            continue;
        SendMessageA(list, WM_SETFONT, (WPARAM)font, FALSE);
        SendMessageA(list, LB_SETITEMHEIGHT, 0, FileRowHeight(list));
        // Saved columns only widen at start; a font change refits them.
        FitColumnsToListFont(list, ListFontsCreated);
    }
}

void DeleteListFonts(void)
{
    if (CustomFont)
        DeleteObject(CustomFont);
    CustomFont = nullptr;
}
