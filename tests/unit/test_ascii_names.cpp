// The ASCII-file test of automatic transfer mode against an extension list.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string>

#include "transfer/ascii_names.h"

namespace {

class AsciiList : public ::testing::Test {
protected:
    void SetUp() override
    {
        snprintf(path_, sizeof path_, "/tmp/veltro-ext-%d.lst", (int)getpid());
        FILE *f = fopen(path_, "wb");
        ASSERT_NE(f, nullptr);
        // CR LF and LF lines, one too short to count, one longer than a piece.
        fputs(".txt\n.BAT\r\nREADME\nx\nabcdefghijkl\n\n.c", f);
        fclose(f);
    }
    void TearDown() override { remove(path_); }
    char path_[64];
};

TEST_F(AsciiList, MatchesWholeNamesAndEndingsWithoutCase)
{
    const struct { const char *name; bool ascii; } cases[] = {
        {"notes.TXT", true},    {"run.bat", true},     {"README", true},
        {"readme", true},       {"OLDREADME", true},   {"main.c", true},
        {"file.txt;3", true},   {"file.bin", false},   {"file.txt.gz", false},
        {"x", false},           {"foo.ijkl", true},    {"abcdefgh", true},
        {"file.cpp", false},    {"", false},           {"t", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAsciiFileName(c.name, path_), c.ascii) << c.name;
}

TEST_F(AsciiList, DownloadCommandTextMatchesByEnding)
{
    EXPECT_TRUE(IsAsciiFileName("RETR notes.txt", path_));
    EXPECT_FALSE(IsAsciiFileName("RETR notes.zip", path_));
}

TEST(AsciiFallback, WithoutAListOnlyDotTxtCounts)
{
    EXPECT_TRUE(IsAsciiFileName("a.txt", "/nonexistent/VELTRO.EXT"));
    EXPECT_TRUE(IsAsciiFileName("A.TxT", nullptr));
    EXPECT_TRUE(IsAsciiFileName("a.txt;2", ""));
    EXPECT_FALSE(IsAsciiFileName(".txt", nullptr)) << "four characters are not enough";
    EXPECT_FALSE(IsAsciiFileName("a.bat", nullptr));
    EXPECT_FALSE(IsAsciiFileName("README", nullptr));
}

}  // namespace
