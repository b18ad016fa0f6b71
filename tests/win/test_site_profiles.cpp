// Site profiles through a real INI file and the platform's profile reader,
// the folder boxes as real combo boxes, and the e-mail prompt as the real
// dialog (answered from a helper thread).
#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "logon_helper.h"
#include "veltro_process_helper.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The key=value lines of a section, as the platform reads them.
std::vector<std::string> SectionLines(const char *section)
{
    std::vector<char> buffer(32768);
    DWORD length = GetPrivateProfileSectionA(section, buffer.data(), (DWORD)buffer.size(), IniPath);
    std::vector<std::string> lines;
    for (DWORD at = 0; at < length && buffer[at];) {
        lines.emplace_back(&buffer[at]);
        at += (DWORD)lines.back().size() + 1;
    }
    return lines;
}

std::string Raw(const char *section, const char *key)
{
    char text[512];
    GetPrivateProfileStringA(section, key, "<absent>", text, sizeof text, IniPath);
    return text;
}

class SiteProfiles : public ::testing::Test {
protected:
    GlobalSettingValues savedOptions;

    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        GetTempFileNameA(folder, "INI", 0, IniPath);
        DeleteFileA(IniPath);
        savedOptions = GlobalSettings;
        memset(&CurrentSession, 0, sizeof CurrentSession);
    }
    void TearDown() override
    {
        DeleteFileA(IniPath);
        GlobalSettings = savedOptions;
    }

    static SiteProfile Named(const char *name)
    {
        SiteProfile p{};
        snprintf(p.name, sizeof p.name, "%s", name);
        return p;
    }
};

TEST_F(SiteProfiles, EveryFieldRoundTripsThroughTheFile)
{
    // Every key differs from its default, so a save writes each back.
    const std::vector<std::string> lines = {
        "HOST=ftp.example.org", "UID=joe", "PWD=V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2",
        "ACT=V51688AD5507F731994A379402E48435D96959BAF7038", "LMASK=*.txt", "RMASK=*.zip", "TIMEOUT=120",
        "LOCDIR=C:\\Data\\ftp", "DIR=\" /pub/with blanks \"", "FIREWALL=1", "FIRETYPE=5", "RETRIES=3", "PORT=2121",
        "INITCMD=SITE UMASK 022;SITE IDLE 600", "PASVMODE=0", "TIMEOFFSET=-3"};
    std::string text = "[work]\r\n";
    for (const std::string &line : lines)
        text += line + "\r\n";
    WriteTextFile(IniPath, text);
    SiteProfile loaded = Named("WORK");   // sections match in any case
    loaded.firewallType = 2;
    ASSERT_TRUE(LoadSiteProfile(&loaded));
    EXPECT_EQ(loaded.firewallType, 2);   // not read from the site section
    EXPECT_STREQ(loaded.password, "secret");
    EXPECT_STREQ(loaded.account, "acct42");
    EXPECT_STREQ(loaded.remoteFolder, " /pub/with blanks ");
    EXPECT_STREQ(loaded.localFolder, "C:\\Data\\ftp");
    EXPECT_EQ(loaded.timeOffset, -3);
    EXPECT_EQ(loaded.passive, 0);
    loaded.firewallType = 5;
    DeleteFileA(IniPath);
    ASSERT_TRUE(SaveSiteProfile(&loaded));
    EXPECT_EQ(SectionLines("WORK"), lines);
}

TEST_F(SiteProfiles, DefaultsOnlySaveLeavesHostUserAndOffset)
{
    struct Case {
        const char *globalPassive;   // _config_ PASVMODE, or none
        int passive;
        std::vector<std::string> lines;
    } cases[] = {
        {nullptr, 1, {"HOST=plain", "UID=", "PASVMODE=1", "TIMEOFFSET=0"}},
        {"1", 1, {"HOST=plain", "UID=", "TIMEOFFSET=0"}},
        {"0", 1, {"HOST=plain", "UID=", "PASVMODE=1", "TIMEOFFSET=0"}},
        {"99", 99, {"HOST=plain", "UID=", "PASVMODE=99", "TIMEOFFSET=0"}},   // 99 marks absence
    };
    for (const Case &c : cases) {
        DeleteFileA(IniPath);
        if (c.globalPassive)
            ConfigPutString("PASVMODE", c.globalPassive);
        // Keys of an earlier, fuller save are removed.
        const char *stale[] = {"PWD", "ACT", "LMASK", "RMASK", "TYPE", "TIMEOUT", "LOCDIR",
                               "DIR", "FIREWALL", "FIRETYPE", "RETRIES", "PORT", "INITCMD"};
        for (const char *key : stale)
            ProfilePutString("plain", key, "7");
        SiteProfile p = Named("plain");
        snprintf(p.host, sizeof p.host, "plain");
        p.timeout = 65;
        p.hostType = 6000;
        p.port = 21;
        p.passive = c.passive;
        ASSERT_TRUE(SaveSiteProfile(&p));
        EXPECT_EQ(SectionLines("plain"), c.lines)
            << "_config_ PASVMODE " << (c.globalPassive ? c.globalPassive : "absent");
    }
}

TEST_F(SiteProfiles, StartupLoadsTheSessionProfile)
{
    ConfigPutString("SESSION", "home");
    ProfilePutString("home", "HOST", "home.example.net");
    ProfilePutString("home", "UID", "ann");
    ProfilePutString("home", "PORT", "990");
    ProfilePutString("home", "AMODE", "1");
    GlobalSettings.autoMode = 0;
    LoadGlobalSettings();
    EXPECT_STREQ(CurrentSession.name, "home");
    EXPECT_STREQ(CurrentSession.host, "home.example.net");
    EXPECT_STREQ(CurrentSession.userId, "ann");
    EXPECT_EQ(CurrentSession.port, 990u);
    EXPECT_EQ(GlobalSettings.autoMode, 1);
}

TEST_F(SiteProfiles, AnonymousAsksForAMissingMailAddress)
{
    ProfilePutString("anon", "UID", "anonymous");
    ConfigPutString("MAILADDR", "");
    DialogAnswerer answer({{"Input", "typed@example.org", IDOK, {}, {}}}, 60000);
    SiteProfile p = Named("anon");
    LoadSiteProfile(&p);
    ASSERT_TRUE(answer.Finish(65000));
    EXPECT_EQ(answer.Prompts(), std::vector<std::string>{"Enter your e-mail address:"});
    EXPECT_STREQ(p.password, "typed@example.org");
    EXPECT_EQ(Raw("_config_", "MAILADDR"), "typed@example.org");
    EXPECT_STREQ(GlobalSettings.mailAddress, "typed@example.org");
}

class FolderBoxes : public SiteProfiles {
protected:
    HWND parent = nullptr;
    HWND remote = nullptr;
    HWND local = nullptr;

    void SetUp() override
    {
        SiteProfiles::SetUp();
        parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                               AppInstance, nullptr);
        // Sorted like the main window's boxes may be: appending must still
        // put entries at the end.
        remote = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWN | CBS_SORT, 0, 0, 200, 200,
                               parent, nullptr, AppInstance, nullptr);
        local = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWN, 0, 0, 200, 200, parent,
                              nullptr, AppInstance, nullptr);
        snprintf(CurrentSession.name, sizeof CurrentSession.name, "site");
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        SiteProfiles::TearDown();
    }

    static void Fill(HWND combo, const std::vector<const char *> &items)
    {
        for (const char *item : items)
            SendMessageA(combo, CB_INSERTSTRING, (WPARAM)-1, (LPARAM)item);
    }
    static std::vector<std::string> Items(HWND combo)
    {
        std::vector<std::string> items;
        int count = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (int i = 0; i < count; i++) {
            char text[300];
            SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)text);
            items.push_back(text);
        }
        return items;
    }
    static void SetOld(const char *format, int count)
    {
        for (int n = 0; n < count; n++) {
            char key[16];
            snprintf(key, sizeof key, format, n);
            ProfilePutString("site", key, "\"/old\"");
        }
    }
};

TEST_F(FolderBoxes, RetainWritesThreeAndKeepsLaterKeys)
{
    GlobalSettings.retain = 1;
    SetOld("rdir%u", 10);
    SetOld("ldir%u", 10);
    Fill(remote, {"/zeta", "/alpha", "/with blank "});
    Fill(local, {"C:\\one"});
    SaveFolderHistory(remote, local);
    std::string text = ReadIniText(IniPath);
    EXPECT_NE(text.find("rdir0=\"/zeta\""), std::string::npos) << text;
    EXPECT_NE(text.find("rdir1=\"/alpha\""), std::string::npos) << text;
    EXPECT_NE(text.find("rdir2=\"/with blank \""), std::string::npos) << text;
    EXPECT_NE(text.find("ldir0=C:\\one"), std::string::npos) << text;
    for (int n = 3; n < 10; n++) {
        char key[16];
        snprintf(key, sizeof key, "rdir%u", n);
        EXPECT_EQ(Raw("site", key), "/old") << key;
    }
    EXPECT_EQ(Raw("site", "ldir1"), "/old");
}

TEST_F(FolderBoxes, RetainOffRemovesTheHistory)
{
    GlobalSettings.retain = 0;
    SetOld("rdir%u", 12);
    SetOld("ldir%u", 12);
    Fill(remote, {"/a"});
    Fill(local, {"C:\\b"});
    SaveFolderHistory(remote, local);
    EXPECT_EQ(SectionLines("site"),
              (std::vector<std::string>{"rdir10=\"/old\"", "rdir11=\"/old\"", "ldir10=\"/old\"",
                                        "ldir11=\"/old\""}));
}

TEST_F(FolderBoxes, LoadAppendsUnquotedFoldersOnce)
{
    ProfilePutString("site", "rdir0", "\"/b\"");
    ProfilePutString("site", "rdir1", "\"/A\"");
    ProfilePutString("site", "rdir2", "\"/a\"");   // differs from "/A" in case only
    ProfilePutString("site", "rdir3", "\"/b\"");
    ProfilePutString("site", "rdir19", "\"/last\"");
    ProfilePutString("site", "ldir0", "D:\\new");
    Fill(remote, {"/current"});
    Fill(local, {"C:\\stale"});
    LoadFolderHistory(remote, 1);
    LoadFolderHistory(local, 0);
    EXPECT_EQ(Items(remote), (std::vector<std::string>{"/current", "/b", "/A", "/a", "/last"}));
    EXPECT_EQ(Items(local), (std::vector<std::string>{"D:\\new"}));
}

TEST_F(FolderBoxes, ProfileListSkipsGlobalSectionInAnyCase)
{
    WriteTextFile(IniPath, "[_config_]\r\nSESSION=work\r\n"
                           "[work]\r\nHOST=ftp.example.org\r\n"
                           "[_CONFIG_]\r\nX=1\r\n"
                           "[FIREWALL]\r\nFIRETYPE=1\r\n"
                           "[Work]\r\nUID=joe\r\n"
                           "[_Config_]\r\n"
                           "[home]\r\n");
    Fill(local, {"left over"});
    FillProfileList(local);
    EXPECT_EQ(Items(local), (std::vector<std::string>{"work", "FIREWALL", "home"}));
    DeleteFileA(IniPath);
    FillProfileList(local);
    EXPECT_TRUE(Items(local).empty());
}

TEST_F(SiteProfiles, FirewallSectionRoundTrip)
{
    FirewallSettings f{"proxy.local", "fwuser", "fwpass", 1, 6, 8021};
    SaveFirewallSettings(&f);
    EXPECT_EQ(Raw("FIREWALL", "PWD"), "V94CC5BC7903CC59B5798C14152BC85609FAC7567AC7A");
    FirewallSettings back{};
    LoadFirewallSettings(&back);
    EXPECT_EQ(memcmp(&back, &f, sizeof f), 0) << back.host << ":" << back.port << " " << back.userId << " "
                                              << back.password << " " << back.savePassword << " " << back.type;
}

} // namespace
