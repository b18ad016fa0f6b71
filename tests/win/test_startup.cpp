// Start-up services: the CINFO record, the program-file search and dialog
// centring on real windows.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>
#include <string>

#include "app/app.h"
#include "veltro_process_helper.h"

namespace {

uint32_t At(const unsigned char *r, int offset)
{
    uint32_t v;
    memcpy(&v, r + offset, 4);
    return v;
}

TEST(CInfoRecord, FilledAsTheLayoutSays)
{
    unsigned char record[2056 + 16];
    memset(record, 0xAB, sizeof record);
    ASSERT_EQ(PreInitCINFO(record, 11, 22, 33, 44), record);
    EXPECT_EQ(At(record, 0), 0u);
    EXPECT_EQ(At(record, 4), 6000u);
    EXPECT_EQ(At(record, 8), 19970418u);
    EXPECT_EQ(At(record, 12), 44u);
    EXPECT_EQ(At(record, 24), 1u);
    const struct { int offset, target; } pointers[] = {{36, 788}, {40, 1044}, {60, 116}, {64, 372}, {68, 628}, {72, 708}};
    for (auto &p : pointers)
        EXPECT_EQ(At(record, p.offset), (uint32_t)(uintptr_t)(record + p.target)) << p.offset;
    EXPECT_EQ(At(record, 76), 0xFFFFFFFFu);
    EXPECT_EQ(At(record, 1304), 11u);
    EXPECT_EQ(At(record, 1308), 22u);
    EXPECT_EQ(At(record, 1724), 33u);
    EXPECT_EQ(At(record, 2012), 4096u);
    EXPECT_EQ(At(record, 2024), 4096u);
    EXPECT_EQ(At(record, 2036), 4096u);
    int set[] = {4, 8, 12, 24, 36, 40, 60, 64, 68, 72, 76, 1304, 1308, 1724, 2012, 2024, 2036};
    for (int i = 0; i < 2056; i++) {
        bool inField = false;
        for (int f : set)
            inField = inField || (i >= f && i < f + 4);
        if (!inField) {
            ASSERT_EQ(record[i], 0) << "byte " << i << " is cleared";
        }
    }
    EXPECT_EQ(record[2056], 0xAB) << "nothing written past the record";
    EXPECT_EQ(PreInitCINFO(nullptr, 1, 2, 3, 4), nullptr);
}

TEST(ProgramFileSearch, CurrentFolderThenProgramFolderThenWindows)
{
    std::string folder = MakeTestFolder("search");
    char old[MAX_PATH];
    GetCurrentDirectoryA(sizeof old, old);
    SetCurrentDirectoryA(folder.c_str());

    char found[MAX_PATH];
    // Nowhere: the Windows folder is taken anyway.
    SearchProgramFile("NOSUCH.INI", found);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_STREQ(found, (std::string(windows) + "\\NOSUCH.INI").c_str());
    // In the current folder: a full path there.
    WriteTextFile(folder + "\\HERE.INI", "[_config_]\r\n");
    SearchProgramFile("HERE.INI", found);
    EXPECT_EQ(_stricmp(found, (folder + "\\HERE.INI").c_str()), 0) << found;
    // Without a buffer: a new allocation with the same text.
    char *copy = SearchProgramFile("HERE.INI", nullptr);
    EXPECT_STREQ(copy, found);
    free(copy);
    // Beside the program when not in the current folder.
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string base = program;
    std::string besideName = "VELTRO-TEST-BESIDE.INI";
    std::string beside = base.substr(0, base.rfind('\\') + 1) + besideName;
    WriteTextFile(beside, "x");
    SearchProgramFile(besideName.c_str(), found);
    EXPECT_EQ(_stricmp(found, beside.c_str()), 0) << found;
    DeleteFileA(beside.c_str());

    SetCurrentDirectoryA(old);
    RemoveTree(folder);
}

class Centring : public ::testing::Test {
protected:
    HWND owner = nullptr, dialog = nullptr;
    RECT desktop{};
    void SetUp() override
    {
        GetWindowRect(GetDesktopWindow(), &desktop);
        owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
        MainWindow = owner;
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        DestroyWindow(owner);
        MainWindow = nullptr;
    }
    RECT Place(int width, int height, int offset)
    {
        dialog = CreateWindowExA(0, "STATIC", "dialog", WS_POPUP, 0, 0, width, height, owner, nullptr, nullptr, nullptr);
        CenterWindow(dialog, offset);
        RECT r;
        GetWindowRect(dialog, &r);
        return r;
    }
};

TEST_F(Centring, OverTheMainWindow)
{
    RECT r = Place(200, 100, 0);
    EXPECT_EQ(r.left, 100 + 200 - 100);
    EXPECT_EQ(r.top, 100 + 150 - 50);
    EXPECT_EQ(r.right - r.left, 200) << "size unchanged";
}

TEST_F(Centring, MinimizedMainWindowMeansTheDesktop)
{
    ShowWindow(owner, SW_MINIMIZE);
    RECT r = Place(200, 100, 0);
    EXPECT_EQ(r.left, (desktop.right - desktop.left) / 2 - 100);
    EXPECT_EQ(r.top, (desktop.bottom - desktop.top) / 2 - 50);
}

}  // namespace
