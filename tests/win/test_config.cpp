// The configuration store and the site profiles on real INI files under
// Wine: the platform's profile functions, the folder boxes as real combo
// boxes, and the e-mail prompt as the real dialog (answered from a thread);
// and the start-up services: the CINFO record, the program-file search and
// dialog centring on real windows.
#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "logon_helper.h"
#include "sites/site_profile.h"
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;

class ConfigTest : public ::testing::Test {
protected:
    std::string folder = MakeTestFolder("config");
    GlobalSettingValues savedOptions = GlobalSettings;
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);

    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        UseIni("VELTRO.INI");
        memset(&CurrentSession, 0, sizeof CurrentSession);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath);   // the cached file is let go
        RemoveTree(folder);
        GlobalSettings = savedOptions;
    }
    void UseIni(const char *name) { snprintf(IniPath, sizeof IniPath, "%s\\%s", folder.c_str(), name); }
    void Write(const std::string &text)
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath);
        WriteTextFile(IniPath, text);
    }
    std::string Read() { return ReadIniText(IniPath); }
    bool Holds(const char *text) { return Read().find(text) != std::string::npos; }
    // The key=value lines of a section, as the platform reads them.
    static Lines SectionLines(const char *section)
    {
        std::vector<char> buffer(32768);
        DWORD length = GetPrivateProfileSectionA(section, buffer.data(), (DWORD)buffer.size(), IniPath);
        Lines lines;
        for (DWORD at = 0; at < length && buffer[at]; at += (DWORD)lines.back().size() + 1)
            lines.emplace_back(&buffer[at]);
        return lines;
    }
    static std::string Raw(const char *section, const char *key)
    {
        char text[512];
        GetPrivateProfileStringA(section, key, "<absent>", text, sizeof text, IniPath);
        return text;
    }
    static SiteProfile Named(const char *name)
    {
        SiteProfile p{};
        snprintf(p.name, sizeof p.name, "%s", name);
        return p;
    }
    // A combo box with the items, sorting or not, as the main window's may.
    HWND Combo(const Lines &items, bool sorted)
    {
        HWND combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWN | (sorted ? CBS_SORT : 0), 0, 0, 200,
                                   200, parent, nullptr, AppInstance, nullptr);
        for (const std::string &item : items)
            SendMessageA(combo, CB_INSERTSTRING, (WPARAM)-1, (LPARAM)item.c_str());
        return combo;
    }
    static Lines Items(HWND combo)
    {
        Lines items;
        for (int i = 0, count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0); i < count; i++) {
            char text[300];
            SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
            items.push_back(text);
        }
        return items;
    }
};

TEST_F(ConfigTest, KeysTextsAndIntegers)
{
    // The first write creates the file (the defaults of a missing one: the next test).
    char text[8];
    ConfigPutString("MAILADDR", "me@example.org");
    EXPECT_TRUE(Holds("MAILADDR=me@example.org"));

    Write("[_config_]\r\nLOC=1,2,3,4,5,6\r\nVIEWER=abcdefghijklmnop\r\nLEFT=4294967288\r\n");
    ConfigPutString("LOC", nullptr);   // a null write removes the key
    ConfigGetString("LOC", "absent", text, sizeof text);
    EXPECT_STREQ(text, "absent");
    ConfigGetString("VIEWER", "", text, sizeof text);
    EXPECT_STREQ(text, "abcdefg") << "cut to the buffer";
    EXPECT_EQ(ConfigGetInt("LEFT", 0), -8) << "read like the written unsigned value";
    ProfilePutInt("_config_", "TOP", (unsigned)-8);
    EXPECT_TRUE(Holds("TOP=4294967288"));
}

TEST_F(ConfigTest, ProgramDefaultsTheSessionProfileAndASecondFileKeepingSomeValues)
{
    GlobalSettings.verbose = 0;
    GlobalSettings.hash = GlobalSettings.autoStart = 1;
    LoadGlobalSettings();
    const GlobalSettingValues &g = GlobalSettings;
    EXPECT_STREQ(g.mailAddress, "veltrio@");
    EXPECT_EQ(std::vector<int>({g.verbose, g.hash, g.autoStart, g.recvBlock, g.sendBlock, CurrentSession.hostType,
                                (int)CurrentSession.timeout, (int)CurrentSession.serverFlags}),
              std::vector<int>({0, 1, 1, 4096, 512, 6000, 65, 6}));

    // The session's profile is loaded, with its own options.
    Write("[_config_]\r\nVERBOSE=1\r\nHASH=0\r\ntranrate=1\r\nAUTOSTART=0\r\nballoon=1\r\nSESSION=home\r\n"
          "[home]\r\nHOST=home.example.net\r\nAMODE=1\r\n");
    GlobalSettings.autoMode = 0;
    LoadGlobalSettings();
    ASSERT_EQ(g.verbose + g.tranRate, 2);
    EXPECT_TRUE(std::string(CurrentSession.host) == "home.example.net" && g.autoMode == 1) << CurrentSession.host;
    UseIni("SECOND.INI");
    Write("[_config_]\r\nMAILADDR=x@y\r\n");
    LoadGlobalSettings();
    EXPECT_EQ(std::vector<int>({g.verbose, g.hash, g.autoStart, g.balloon, g.tranRate}),
              std::vector<int>({1, 0, 0, 1, 0}))
        << "balloon, VERBOSE, HASH and AUTOSTART kept from the first file; a lacking tranrate is 0";
    EXPECT_STREQ(g.mailAddress, "x@y");
}

TEST_F(ConfigTest, WindowLocationsSavedWithTheMaximizedStateAndReset)
{
    Write("[_config_]\r\nLOC=1,2,3,4,5,6\r\n");
    MainWindow = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -8, 20, 500, 300, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(MainWindow, nullptr);
    ShowWindow(MainWindow, SW_MAXIMIZE);
    SaveWindowLocations();
    EXPECT_TRUE(Holds("MAXIMIZE=1") && Holds("LOC=1,2,3,4,5,6") && Holds("LOCL=20,140,260,330")) << Read();
    EXPECT_FALSE(Holds("SLOC=")) << "no log window position known";
    ShowWindow(MainWindow, SW_RESTORE);
    MoveWindow(MainWindow, -8, 20, 500, 300, FALSE);
    SaveWindowLocations();
    EXPECT_TRUE(!Holds("MAXIMIZE=") && Holds("LOC=4294967288,20,500,300,")) << Read();
    DestroyWindow(MainWindow);
    MainWindow = nullptr;

    Write("[_config_]\r\nLOC=1,2,3,4,5,6\r\nSLOC=1,2,3,4\r\nLOCL=1,2,3,4\r\nLOCR=1,2,3,4\r\nMAXIMIZE=1\r\n");
    ResetWindowLocations();
    EXPECT_EQ(SectionLines("_config_"), Lines{"MAXIMIZE=1"});
    EXPECT_TRUE(MainGeometry[0] == 10 && MainGeometry[3] == 440) << MainGeometry[0] << " " << MainGeometry[3];
}

TEST_F(ConfigTest, EveryProfileFieldRoundTripsThroughTheFile)
{
    // Every key differs from its default, so a save writes each back.
    const Lines lines = {
        "HOST=ftp.example.org", "UID=joe", "PWD=V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2",
        "ACT=V51688AD5507F731994A379402E48435D96959BAF7038", "LMASK=*.txt", "RMASK=*.zip", "TIMEOUT=120",
        "LOCDIR=C:\\Data\\ftp", "DIR=\" /pub/with blanks \"", "FIREWALL=1", "FIRETYPE=5", "RETRIES=3", "PORT=2121",
        "INITCMD=SITE UMASK 022;SITE IDLE 600", "PASVMODE=0", "TIMEOFFSET=-3"};
    std::string text = "[work]\r\n";
    for (const std::string &line : lines)
        text += line + "\r\n";
    Write(text);
    SiteProfile loaded = Named("WORK");   // sections match in any case
    loaded.firewallType = 2;
    ASSERT_TRUE(LoadSiteProfile(&loaded));
    EXPECT_EQ(loaded.firewallType, 2);   // not read from the site section
    EXPECT_STREQ(loaded.password, "secret");
    EXPECT_STREQ(loaded.account, "acct42");
    EXPECT_STREQ(loaded.remoteFolder, " /pub/with blanks ");
    EXPECT_EQ(loaded.timeOffset, -3);
    loaded.firewallType = 5;
    DeleteFileA(IniPath);
    ASSERT_TRUE(SaveSiteProfile(&loaded));
    EXPECT_EQ(SectionLines("WORK"), lines);

    // The FIREWALL section, too.
    FirewallSettings firewall{"proxy.local", "fwuser", "fwpass", 1, 6, 8021}, back{};
    SaveFirewallSettings(&firewall);
    EXPECT_EQ(Raw("FIREWALL", "PWD"), "V94CC5BC7903CC59B5798C14152BC85609FAC7567AC7A");
    LoadFirewallSettings(&back);
    EXPECT_EQ(memcmp(&back, &firewall, sizeof firewall), 0) << back.host << ":" << back.port << " " << back.userId;
}

TEST_F(ConfigTest, SaveOfDefaultsLeavesHostUserAndOffset)
{
    const struct {
        const char *globalPassive;   // _config_ PASVMODE, or none
        int passive;
        Lines lines;
    } cases[] = {
        {nullptr, 1, {"HOST=plain", "UID=", "PASVMODE=1", "TIMEOFFSET=0"}},
        {"1", 1, {"HOST=plain", "UID=", "TIMEOFFSET=0"}},   // the global value: not repeated
        {"99", 99, {"HOST=plain", "UID=", "PASVMODE=99", "TIMEOFFSET=0"}},   // 99 marks absence
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.globalPassive ? c.globalPassive : "no global PASVMODE");
        Write(c.globalPassive ? std::string("[_config_]\r\nPASVMODE=") + c.globalPassive + "\r\n" : "");
        // Keys of an earlier, fuller save are removed.
        for (const char *key : {"PWD", "ACT", "LMASK", "RMASK", "TYPE", "TIMEOUT", "LOCDIR", "DIR", "FIREWALL",
                                "FIRETYPE", "RETRIES", "PORT", "INITCMD"})
            ProfilePutString("plain", key, "7");
        SiteProfile p = Named("plain");
        snprintf(p.host, sizeof p.host, "plain");
        p.timeout = 65;
        p.hostType = 6000;
        p.port = 21;
        p.passive = c.passive;
        ASSERT_TRUE(SaveSiteProfile(&p));
        EXPECT_EQ(SectionLines("plain"), c.lines);
    }
}

TEST_F(ConfigTest, AnonymousAsksForAMissingMailAddress)
{
    Write("[_config_]\r\nMAILADDR=\r\n[anon]\r\nUID=anonymous\r\n");
    DialogAnswerer answer({{"Input", "typed@example.org", IDOK, {}, {}}}, 60000);
    SiteProfile p = Named("anon");
    LoadSiteProfile(&p);
    ASSERT_TRUE(answer.Finish(65000));
    EXPECT_EQ(answer.Prompts(), Lines{"Enter your e-mail address:"});
    EXPECT_STREQ(p.password, "typed@example.org");
    EXPECT_EQ(Raw("_config_", "MAILADDR"), "typed@example.org");
    EXPECT_STREQ(GlobalSettings.mailAddress, "typed@example.org");
}

TEST_F(ConfigTest, FolderBoxesSaveAndLoadTheirHistoryAndProfileNamesFillABox)
{
    snprintf(CurrentSession.name, sizeof CurrentSession.name, "site");
    for (int retain = 0; retain < 2; retain++) {
        SCOPED_TRACE(retain);
        std::string text = "[site]\r\n";
        for (int n = 0; n < 12; n++)
            text += "rdir" + std::to_string(n) + "=\"/old\"\r\nldir" + std::to_string(n) + "=\"/old\"\r\n";
        Write(text);
        GlobalSettings.retain = retain;
        // A sorting box: entries are still read in their order.
        SaveFolderHistory(Combo({"/zeta", "/alpha", "/with blank "}, true), Combo({"C:\\one"}, false));
        const Lines kept = {"rdir10=\"/old\"", "ldir10=\"/old\"", "rdir11=\"/old\"", "ldir11=\"/old\""};
        if (!retain)
            EXPECT_EQ(SectionLines("site"), kept);
        else
            EXPECT_TRUE(Holds("rdir0=\"/zeta\"") && Holds("rdir1=\"/alpha\"") && Holds("rdir2=\"/with blank \"") &&
                        Holds("ldir0=C:\\one") && Raw("site", "rdir3") == "/old" && Raw("site", "ldir1") == "/old")
                << Read();
    }

    // Loading appends to the boxes, each folder once; the profile names fill a box.
    Write("[site]\r\nrdir0=\"/b\"\r\nrdir1=\"/A\"\r\nrdir2=\"/a\"\r\nrdir3=\"/b\"\r\nrdir19=\"/last\"\r\n"
          "ldir0=D:\\new\r\n");
    HWND remote = Combo({"/current"}, true), local = Combo({"C:\\stale"}, false);
    LoadFolderHistory(remote, 1);
    LoadFolderHistory(local, 0);
    EXPECT_EQ(Items(remote), (Lines{"/current", "/b", "/A", "/a", "/last"})) << "appended, unquoted, once";
    EXPECT_EQ(Items(local), Lines{"D:\\new"});

    Write("[_config_]\r\nSESSION=work\r\n[work]\r\nHOST=ftp.example.org\r\n[_CONFIG_]\r\nX=1\r\n"
          "[FIREWALL]\r\nFIRETYPE=1\r\n[Work]\r\nUID=joe\r\n[_Config_]\r\n[home]\r\n");
    FillProfileList(local);
    EXPECT_EQ(Items(local), (Lines{"work", "FIREWALL", "home"}));
    DeleteFileA(IniPath);
    FillProfileList(local);
    EXPECT_TRUE(Items(local).empty());
}

TEST(Startup, CInfoRecordFilledAsTheLayoutSays)
{
    unsigned char record[2056 + 16];
    memset(record, 0xAB, sizeof record);
    ASSERT_EQ(PreInitCINFO(record, 11, 22, 33, 44), record);
    const auto to = [&](int offset) { return (uint32_t)(uintptr_t)(record + offset); };
    const struct {
        int offset;
        uint32_t value;
    } fields[] = {{0, 0},          {4, 6000},      {8, 19970418},  {12, 44},       {24, 1},      {36, to(788)},
                  {40, to(1044)},  {60, to(116)},  {64, to(372)},  {68, to(628)},  {72, to(708)}, {76, 0xFFFFFFFFu},
                  {1304, 11},      {1308, 22},     {1724, 33},     {2012, 4096},   {2024, 4096},  {2036, 4096}};
    std::vector<bool> inField(2056 + 16);
    for (const auto &f : fields) {
        uint32_t v;
        memcpy(&v, record + f.offset, 4);
        EXPECT_EQ(v, f.value) << "at " << f.offset;
        for (int i = 0; i < 4; i++)
            inField[f.offset + i] = true;
    }
    for (int i = 0; i < 2056; i++)
        ASSERT_TRUE(inField[i] || record[i] == 0) << "byte " << i << " is cleared";
    EXPECT_EQ(record[2056], 0xAB) << "nothing written past the record";
    EXPECT_EQ(PreInitCINFO(nullptr, 1, 2, 3, 4), nullptr);
}

TEST(Startup, ProgramFileSearchTriesCurrentFolderThenProgramFolderThenWindows)
{
    const std::string folder = MakeTestFolder("search");
    char old[MAX_PATH], found[MAX_PATH], windows[MAX_PATH], program[MAX_PATH];
    GetCurrentDirectoryA(sizeof old, old);
    SetCurrentDirectoryA(folder.c_str());
    GetWindowsDirectoryA(windows, sizeof windows);
    GetModuleFileNameA(nullptr, program, sizeof program);
    const std::string beside = std::string(program, strrchr(program, '\\') + 1) + "VELTRO-TEST-BESIDE.INI";
    WriteTextFile(folder + "\\HERE.INI", "[_config_]\r\n");
    WriteTextFile(beside, "x");
    const struct {
        const char *name;
        std::string path;
    } searches[] = {{"NOSUCH.INI", std::string(windows) + "\\NOSUCH.INI"},   // nowhere: the Windows folder anyway
                    {"HERE.INI", folder + "\\HERE.INI"},
                    {"VELTRO-TEST-BESIDE.INI", beside}};
    for (const auto &s : searches) {
        SearchProgramFile(s.name, found);
        EXPECT_EQ(_stricmp(found, s.path.c_str()), 0) << found;
        char *copy = SearchProgramFile(s.name, nullptr);   // without a buffer: a new allocation
        EXPECT_STREQ(copy, found);
        free(copy);
    }
    DeleteFileA(beside.c_str());
    SetCurrentDirectoryA(old);
    RemoveTree(folder);
}

TEST(Startup, DialogsCentreOverTheMainWindowOrTheDesktopWhenItIsMinimized)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    for (bool minimized : {false, true}) {
        MainWindow = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                     nullptr, nullptr, nullptr, nullptr);
        if (minimized)
            ShowWindow(MainWindow, SW_MINIMIZE);
        HWND dialog = CreateWindowExA(0, "STATIC", "dialog", WS_POPUP, 0, 0, 200, 100, MainWindow, nullptr, nullptr,
                                      nullptr);
        CenterWindow(dialog, 0);
        RECT r;
        GetWindowRect(dialog, &r);
        const POINT centre = minimized ? POINT{(desktop.right - desktop.left) / 2, (desktop.bottom - desktop.top) / 2}
                                       : POINT{100 + 200, 100 + 150};
        EXPECT_TRUE(r.left == centre.x - 100 && r.top == centre.y - 50 && r.right - r.left == 200)
            << minimized << ": " << r.left << "," << r.top;
        DestroyWindow(dialog);
        DestroyWindow(MainWindow);
    }
    MainWindow = nullptr;
}

}  // namespace
