// The configuration store on real INI files under Wine.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "sites/site_profile.h"
#include "veltro_process_helper.h"

namespace {

class ConfigTest : public ::testing::Test {
protected:
    char folder[MAX_PATH];

    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        snprintf(folder, sizeof folder, "%sveltro-config-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder, nullptr);
        UseIni("VELTRO.INI");
    }
    void TearDown() override
    {
        Remove("VELTRO.INI");
        Remove("SECOND.INI");
        RemoveDirectoryA(folder);
    }
    std::string PathOf(const char *name)
    {
        return std::string(folder) + "\\" + name;
    }
    void UseIni(const char *name)
    {
        snprintf(IniPath, sizeof IniPath, "%s", PathOf(name).c_str());
    }
    void Write(const char *name, const char *text) { WriteTextFile(PathOf(name), text); }
    std::string Read(const char *name) { return ReadIniText(PathOf(name)); }
    void Remove(const char *name)
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, PathOf(name).c_str());
        DeleteFileA(PathOf(name).c_str());
    }
};

TEST_F(ConfigTest, MissingFileGivesDefaultsAndFirstWriteCreatesIt)
{
    char text[64];
    ConfigGetString("MAILADDR", "veltrio@", text, sizeof text);
    EXPECT_STREQ(text, "veltrio@");
    EXPECT_EQ(ConfigGetInt("PASVMODE", 1), 1);
    ConfigPutString("MAILADDR", "me@example.org");
    EXPECT_NE(Read("VELTRO.INI").find("MAILADDR=me@example.org"), std::string::npos);
}

TEST_F(ConfigTest, NullWriteRemovesTheKey)
{
    Write("VELTRO.INI", "[_config_]\r\nLOC=1,2,3,4,5,6\r\nVERBOSE=1\r\n");
    ConfigPutString("LOC", nullptr);
    std::string ini = Read("VELTRO.INI");
    EXPECT_EQ(ini.find("LOC="), std::string::npos);
    EXPECT_NE(ini.find("VERBOSE=1"), std::string::npos);
    char text[32];
    ConfigGetString("LOC", "absent", text, sizeof text);
    EXPECT_STREQ(text, "absent");
}

TEST_F(ConfigTest, TextsAreCutAndIntegersReadLikeTheWrittenUnsignedValues)
{
    Write("VELTRO.INI", "[_config_]\r\nVIEWER=abcdefghijklmnop\r\nHASH=nonsense\r\nLEFT=4294967288\r\n");
    char text[8];
    ConfigGetString("VIEWER", "", text, sizeof text);
    EXPECT_STREQ(text, "abcdefg");
    EXPECT_EQ(ConfigGetInt("HASH", 1), 0) << "a non-numeric integer reads as 0";
    EXPECT_EQ(ConfigGetInt("LEFT", 0), -8);
    ProfilePutInt("_config_", "TOP", (unsigned)-8);
    EXPECT_NE(Read("VELTRO.INI").find("TOP=4294967288"), std::string::npos);
    EXPECT_EQ(ConfigGetInt("TOP", 0), -8);
}

TEST_F(ConfigTest, SessionPutIntWritesOnlyWhatDiffersFromTheGlobalValue)
{
    snprintf(CurrentSession.name, sizeof CurrentSession.name, "%s", "mysite");
    Write("VELTRO.INI", "[_config_]\r\nPASVMODE=1\r\n[mysite]\r\nHOST=h\r\nPASVMODE=0\r\n");
    SessionPutInt("PASVMODE", 1);
    EXPECT_EQ(ProfileGetInt("mysite", "PASVMODE", 77), 77) << "equal to the global value: removed";

    Write("VELTRO.INI", "[_config_]\r\nVERBOSE=0\r\n[mysite]\r\nHOST=h\r\n");
    SessionPutInt("PASVMODE", 1);
    EXPECT_EQ(ProfileGetInt("mysite", "PASVMODE", 77), 1) << "no global value: written";

    Write("VELTRO.INI", "[_config_]\r\nPASVMODE=99\r\n[mysite]\r\nHOST=h\r\n");
    SessionPutInt("PASVMODE", 99);
    EXPECT_EQ(ProfileGetInt("mysite", "PASVMODE", 77), 99) << "99 marks absence, so it is always written";
}

TEST_F(ConfigTest, SiteKeyFallsBackToTheGlobalKeyThenTheDefault)
{
    Write("VELTRO.INI", "[_config_]\r\nAMODE=1\r\n[a]\r\nAMODE=0\r\n[b]\r\nHOST=x\r\n");
    EXPECT_EQ(ProfileGetIntOrGlobal("a", "AMODE", 5), 0);
    EXPECT_EQ(ProfileGetIntOrGlobal("b", "AMODE", 5), 1);
    EXPECT_EQ(ProfileGetIntOrGlobal("b", "RECU", 5), 5);
}

TEST_F(ConfigTest, NoFileGivesTheProgramDefaults)
{
    GlobalSettings.verbose = 0;
    GlobalSettings.hash = 1;
    GlobalSettings.autoStart = 1;
    LoadGlobalSettings();
    EXPECT_STREQ(GlobalSettings.mailAddress, "veltrio@");
    EXPECT_EQ(GlobalSettings.verbose, 0);
    EXPECT_EQ(GlobalSettings.hash, 1);
    EXPECT_EQ(GlobalSettings.autoStart, 1);
    EXPECT_EQ(GlobalSettings.recvBlock, 4096);
    EXPECT_EQ(GlobalSettings.sendBlock, 512);
    EXPECT_EQ(CurrentSession.hostType, 6000);
    EXPECT_EQ(CurrentSession.timeout, 65u);
    EXPECT_EQ(CurrentSession.serverFlags, 6u);
}

TEST_F(ConfigTest, SecondFileKeepsTheValuesInEffectForSomeKeysOnly)
{
    Write("VELTRO.INI", "[_config_]\r\nVERBOSE=1\r\nHASH=0\r\ntranrate=1\r\nAUTOSTART=0\r\nballoon=1\r\n");
    LoadGlobalSettings();
    ASSERT_EQ(GlobalSettings.verbose, 1);
    ASSERT_EQ(GlobalSettings.tranRate, 1);
    Write("SECOND.INI", "[_config_]\r\nMAILADDR=x@y\r\n");
    UseIni("SECOND.INI");
    LoadGlobalSettings();
    EXPECT_EQ(GlobalSettings.verbose, 1) << "kept from the first file";
    EXPECT_EQ(GlobalSettings.hash, 0);
    EXPECT_EQ(GlobalSettings.autoStart, 0);
    EXPECT_EQ(GlobalSettings.balloon, 1);
    EXPECT_EQ(GlobalSettings.tranRate, 0) << "a lacking tranrate becomes 0";
    EXPECT_STREQ(GlobalSettings.mailAddress, "x@y");
}

TEST_F(ConfigTest, ResetWindowLocationsRemovesTheSavedPlaces)
{
    Write("VELTRO.INI", "[_config_]\r\nLOC=1,2,3,4,5,6\r\nSLOC=1,2,3,4\r\nLOCL=1,2,3,4\r\nLOCR=1,2,3,4\r\nMAXIMIZE=1\r\n");
    ResetWindowLocations();
    std::string ini = Read("VELTRO.INI");
    for (const char *key : {"LOC=", "SLOC=", "LOCL=", "LOCR="})
        EXPECT_EQ(ini.find(std::string("\n") + key), std::string::npos) << key;
    EXPECT_EQ(MainGeometry[0], 10);
    EXPECT_EQ(MainGeometry[3], 440);
}

TEST_F(ConfigTest, SavingWindowLocationsFollowsTheMaximizedState)
{
    Write("VELTRO.INI", "[_config_]\r\nLOC=1,2,3,4,5,6\r\n");
    HWND window = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, -8, 20, 500, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    MainWindow = window;
    ShowWindow(window, SW_MAXIMIZE);
    SaveWindowLocations();
    std::string ini = Read("VELTRO.INI");
    EXPECT_NE(ini.find("MAXIMIZE=1"), std::string::npos);
    EXPECT_NE(ini.find("LOC=1,2,3,4,5,6"), std::string::npos) << "LOC kept while maximized";
    EXPECT_EQ(ini.find("SLOC="), std::string::npos) << "no log window position known";
    EXPECT_NE(ini.find("LOCL=20,140,260,330"), std::string::npos);

    ShowWindow(window, SW_RESTORE);
    MoveWindow(window, -8, 20, 500, 300, FALSE);
    SaveWindowLocations();
    ini = Read("VELTRO.INI");
    EXPECT_EQ(ini.find("MAXIMIZE="), std::string::npos);
    EXPECT_NE(ini.find("LOC=4294967288,20,500,300,"), std::string::npos) << ini;
    DestroyWindow(window);
    MainWindow = nullptr;
}

}  // namespace
