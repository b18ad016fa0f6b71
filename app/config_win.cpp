// The configuration store on the platform's private-profile functions. They
// give the semantics the program relies on: a null write removes the key,
// a missing key reads as the default, surrounding quotes are stripped.
#include "app/config.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <memory>
#include <new>

#include "app/app.h"
#include "app/geometry.h"
#include "app/ini_section.h"
#include "app/settings.h"
#include "sites/site_profile.h"
#include "ui/msglog.h"

const char ConfigSection[] = "_config_";

GlobalSettingValues GlobalSettings = {
    "veltrio@",
    0,   // balloon
    0,   // verbose
    1,   // hash
    0,   // tranRate
    0,   // dateFormat
    0,   // autoSave
    1,   // longDir
    0,   // doubleClick
    1,   // autoStart
    0,   // layout
    0,   // buttonsOnTop
    0,   // hideButtons
    3,   // font
    0,   // scale
    1,   // longDate
    1,   // verifyDelete
    0,   // useFindExec
    4096,  // recvBlock
    512,   // sendBlock
    1, 1, 1, 1,  // keepReget, keepTimes, keepOverwrite, keepDirOverwrite
    1, 1,        // localSort, remoteSort
    0,   // autoMode
    0,   // convertExt
    1,   // doUpdate
    0,   // forceLower
    0,   // prompt
    0,   // storeUnique
    0,   // recvUnique
    0,   // sortListBox
    'I', // mode
    1,   // viewLink
    1,   // retain
};

void ProfileGetString(const char *section, const char *key, const char *def,
                      char *buffer, int size)
{
    if (size <= 0)
        return;
    GetPrivateProfileStringA(section, key, def ? def : "", buffer, (DWORD)size, IniPath);
    buffer[size - 1] = '\0';
}

namespace {

// The program's writes to the file take turns: a section read, changed and
// written back whole (ProfilePutStrings) must not lose a key another thread
// writes meanwhile.
struct IniWriteLock {
    CRITICAL_SECTION section;
    IniWriteLock() { InitializeCriticalSection(&section); }
    ~IniWriteLock() { DeleteCriticalSection(&section); }
};
IniWriteLock IniLock;

struct IniTurn {
    IniTurn() { EnterCriticalSection(&IniLock.section); }
    ~IniTurn() { LeaveCriticalSection(&IniLock.section); }
    IniTurn(const IniTurn &) = delete;
    IniTurn &operator=(const IniTurn &) = delete;
};

enum { SECTION_BYTES = 32768 };

// Whether the file's lines of the section are plain "key=value" lines.
bool SectionIsPlainOnDisk(const char *section)
{
    HANDLE file = CreateFileA(IniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    bool plain = false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart < (1 << 24)) {
        std::unique_ptr<char[]> text(new (std::nothrow) char[(size_t)size.QuadPart + 1]);
        DWORD read = 0;
        if (text && ReadFile(file, text.get(), (DWORD)size.QuadPart, &read, nullptr))
            plain = SectionIsPlain(text.get(), read, section);
    }
    CloseHandle(file);
    return plain;
}

// One rewrite of the section; false when it cannot be done that way.
bool PutWholeSection(const char *section, const char *const keys[], const char *const texts[], int count)
{
    std::unique_ptr<char[]> old(new (std::nothrow) char[SECTION_BYTES]);
    std::unique_ptr<char[]> merged(new (std::nothrow) char[SECTION_BYTES]);
    if (!old || !merged || !SectionIsPlainOnDisk(section))
        return false;
    DWORD length = GetPrivateProfileSectionA(section, old.get(), SECTION_BYTES, IniPath);
    if (length >= SECTION_BYTES - 2)
        return false;
    int merge = MergeSectionKeys(old.get(), length, keys, texts, count, merged.get(), SECTION_BYTES);
    return merge == 0 || (merge == 1 && WritePrivateProfileSectionA(section, merged.get(), IniPath));
}

}  // namespace

void ProfilePutString(const char *section, const char *key, const char *text)
{
    IniTurn turn;
    WritePrivateProfileStringA(section, key, text, IniPath);
}

void ProfilePutStrings(const char *section, const char *const keys[], const char *const texts[], int count)
{
    IniTurn turn;
    if (PutWholeSection(section, keys, texts, count))
        return;
    for (int i = 0; i < count; i++)
        WritePrivateProfileStringA(section, keys[i], texts[i], IniPath);
}

void ProfileRemoveSection(const char *section)
{
    IniTurn turn;
    WritePrivateProfileStringA(section, nullptr, nullptr, IniPath);
}

int ProfileGetInt(const char *section, const char *key, int def)
{
    // Read as text so that values written as "%u" wrap back to negative
    // numbers, and non-numeric text reads as 0.
    char text[32];
    GetPrivateProfileStringA(section, key, "\x01", text, sizeof text, IniPath);
    if (text[0] == '\x01' && text[1] == '\0')
        return def;
    return ParseWrappedInt(text);
}

void ConfigGetString(const char *key, const char *def, char *buffer, int size)
{
    ProfileGetString(ConfigSection, key, def, buffer, size);
}

void ConfigPutString(const char *key, const char *text)
{
    ProfilePutString(ConfigSection, key, text);
}

int ConfigGetInt(const char *key, int def)
{
    return ProfileGetInt(ConfigSection, key, def);
}

void ProfilePutInt(const char *section, const char *key, unsigned value)
{
    char text[16];
    snprintf(text, sizeof text, "%u", value);
    ProfilePutString(section, key, text);
}

void ProfilePutIntUnlessGlobal(const char *section, const char *key, unsigned value)
{
    int global = ConfigGetInt(key, 99);
    if (global != 99 && (unsigned)global == value)
        ProfilePutString(section, key, nullptr);
    else
        ProfilePutInt(section, key, value);
}

void SessionPutInt(const char *key, unsigned value)
{
    ProfilePutIntUnlessGlobal(CurrentSession.name, key, value);
}

int ProfileGetIntOrGlobal(const char *section, const char *key, int def)
{
    return ProfileGetInt(section, key, ConfigGetInt(key, def));
}

void LoadGlobalSettings(void)
{
    GlobalSettingValues &g = GlobalSettings;
    ConfigGetString("MAILADDR", "veltrio@", g.mailAddress, sizeof g.mailAddress);

    SiteProfile &s = CurrentSession;
    s.name[0] = s.userId[0] = s.password[0] = s.remoteFolder[0] = '\0';
    s.hostType = 6000;
    s.timeout = 65;
    s.serverFlags = 6;
    ConfigGetString("SESSION", "", s.name, sizeof s.name);
    LoadSiteProfile(&s);

    // balloon, VERBOSE, HASH and AUTOSTART keep the value in effect when a
    // second file (-i) lacks them.
    g.balloon = ConfigGetInt("balloon", g.balloon);
    g.verbose = ConfigGetInt("VERBOSE", g.verbose);
    g.hash = ConfigGetInt("HASH", g.hash);
    g.tranRate = ConfigGetInt("tranrate", 0);
    g.dateFormat = ConfigGetInt("DateFmt", 0);
    g.autoSave = ConfigGetInt("AUTOSAVE", 0);
    g.longDir = ConfigGetInt("LONGDIR", 1);
    g.doubleClick = ConfigGetInt("DBLCLK", 0);
    g.autoStart = ConfigGetInt("AUTOSTART", g.autoStart);
    g.layout = ConfigGetInt("LAYOUT", 0);
    g.buttonsOnTop = ConfigGetInt("BONTOP", 0);
    g.hideButtons = ConfigGetInt("HIDBTN", 0);
    g.font = ConfigGetInt("FONT", 3);
    g.scale = ConfigGetInt("SCALE", 0);
    g.longDate = ConfigGetInt("LONGDATE", 1);
    g.verifyDelete = ConfigGetInt("VRFYDEL", 1);
    g.useFindExec = ConfigGetInt("UseFindExec", 0);
    g.recvBlock = ConfigGetInt("RBP", 4096);
    g.sendBlock = ConfigGetInt("SBP", 512);

    g.keepReget = ConfigGetInt("KEPREGET", 1);
    g.keepTimes = ConfigGetInt("KEPTIMES", 1);
    g.keepOverwrite = ConfigGetInt("KEPOVERW", 1);
    g.keepDirOverwrite = ConfigGetInt("KEPDIROW", 1);
    g.localSort = ConfigGetInt("LSORT", 1);
    g.remoteSort = ConfigGetInt("RSORT", 1);
}

static void DesktopSize(int *width, int *height)
{
    RECT r;
    GetWindowRect(GetDesktopWindow(), &r);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
}

// The column boundaries of the two lists; kept by the layout.
int LocalColumns[4] = {20, 140, 260, 330};
int RemoteColumns[4] = {20, 140, 260, 330};

void SaveWindowLocations(void)
{
    char text[96];
    if (MainWindow && !IsZoomed(MainWindow)) {
        ConfigPutString("MAXIMIZE", nullptr);
        RECT r;
        GetWindowRect(MainWindow, &r);
        MainGeometry[GEO_LEFT] = r.left;
        MainGeometry[GEO_TOP] = r.top;
        MainGeometry[GEO_WIDTH] = r.right - r.left;
        MainGeometry[GEO_HEIGHT] = r.bottom - r.top;
        snprintf(text, sizeof text, "%u,%u,%u,%u,%u,%u", (unsigned)MainGeometry[0],
                 (unsigned)MainGeometry[1], (unsigned)MainGeometry[2], (unsigned)MainGeometry[3],
                 (unsigned)MainGeometry[4], (unsigned)MainGeometry[5]);
        ConfigPutString("LOC", text);
    } else if (MainWindow) {
        ConfigPutString("MAXIMIZE", "1");
    }
    if (LogWindowRect[2] != 0) {
        snprintf(text, sizeof text, "%u,%u,%u,%u", (unsigned)LogWindowRect[0],
                 (unsigned)LogWindowRect[1], (unsigned)LogWindowRect[2], (unsigned)LogWindowRect[3]);
        ConfigPutString("SLOC", text);
    }
    snprintf(text, sizeof text, "%u,%u,%u,%u", (unsigned)LocalColumns[0], (unsigned)LocalColumns[1],
             (unsigned)LocalColumns[2], (unsigned)LocalColumns[3]);
    ConfigPutString("LOCL", text);
    snprintf(text, sizeof text, "%u,%u,%u,%u", (unsigned)RemoteColumns[0], (unsigned)RemoteColumns[1],
             (unsigned)RemoteColumns[2], (unsigned)RemoteColumns[3]);
    ConfigPutString("LOCR", text);
}

void ResetWindowLocations(void)
{
    ConfigPutString("LOC", nullptr);
    ConfigPutString("SLOC", nullptr);
    ConfigPutString("LOCL", nullptr);
    ConfigPutString("LOCR", nullptr);
    int dw, dh;
    DesktopSize(&dw, &dh);
    DefaultMainGeometry(dw, MainGeometry);
    if (MainWindow) {
        MoveWindow(MainWindow, MainGeometry[GEO_LEFT], MainGeometry[GEO_TOP],
                   MainGeometry[GEO_WIDTH], MainGeometry[GEO_HEIGHT], TRUE);
        if (LogWindow) {
            PlaceLogWindowBelow(MainWindow);
            MoveWindow(LogWindow, LogWindowRect[0], LogWindowRect[1], LogWindowRect[2],
                       LogWindowRect[3], TRUE);
        }
    }
}
