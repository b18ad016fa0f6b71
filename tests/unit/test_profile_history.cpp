// Folder history of the folder boxes and the list of profile names.
#include "fake_profile_file.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

using fake::Raw;

// A folder box as a list of strings.
struct Box {
    std::vector<std::string> items;
    int clears = 0;

    static int Count(void *c) { return static_cast<int>(static_cast<Box *>(c)->items.size()); }
    static void Get(void *c, int i, char *buffer, int size)
    {
        snprintf(buffer, static_cast<size_t>(size), "%s",
                 static_cast<Box *>(c)->items.at(static_cast<size_t>(i)).c_str());
    }
    static void Append(void *c, const char *text) { static_cast<Box *>(c)->items.push_back(text); }
    static void Clear(void *c)
    {
        static_cast<Box *>(c)->items.clear();
        static_cast<Box *>(c)->clears++;
    }
    FolderList List() { return {this, Count, Get, Append, Clear}; }
};

class FolderHistory : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
};

TEST_F(FolderHistory, LoadSkipsBlanksAndExactDuplicatesUpToKey19)
{
    const char *keys[][2] = {{"rdir0", "\"/a\""},       {"rdir1", "\"/A\""},   // differs in case: kept
                             {"rdir2", ""},               {"rdir3", "\"/a\""},   // a repeat: skipped
                             {"rdir4", "\"/current\""},  {"rdir7", "\"/b\""},   // already in the box: skipped
                             {"rdir19", "\"/last\""},    {"rdir20", "\"/beyond\""}};
    for (const auto &k : keys)
        fake::Set("site", k[0], k[1]);
    Box remote{{"/current"}};
    FolderList list = remote.List();
    ReadFolderHistory(&fake::Access, "site", true, &list);
    EXPECT_EQ(remote.items, (std::vector<std::string>{"/current", "/a", "/A", "/b", "/last"}));

    std::string longFolder(300, 'f');
    fake::Set("site", "ldir0", longFolder.c_str());
    Box local;
    list = local.List();
    ReadFolderHistory(&fake::Access, "site", false, &list);
    EXPECT_EQ(local.items, std::vector<std::string>{longFolder.substr(0, 255)});
}

TEST_F(FolderHistory, RetainWritesAtMostTenEntries)
{
    Box remote, local;
    for (int n = 0; n < 15; n++) {
        remote.items.push_back("/r" + std::to_string(n));
        local.items.push_back("L" + std::to_string(n));
    }
    FolderList remoteList = remote.List(), localList = local.List();
    WriteFolderHistory(&fake::Access, "site", true, &remoteList, &localList);
    EXPECT_EQ(Raw("site", "rdir9"), "\"/r9\"");
    EXPECT_EQ(Raw("site", "ldir9"), "L9");
    EXPECT_EQ(Raw("site", "rdir10"), std::nullopt);
    EXPECT_EQ(Raw("site", "ldir10"), std::nullopt);

    // What was written reads back in the same order.
    Box remoteBack, localBack;
    FolderList remoteBackList = remoteBack.List(), localBackList = localBack.List();
    ReadFolderHistory(&fake::Access, "site", true, &remoteBackList);
    ReadFolderHistory(&fake::Access, "site", false, &localBackList);
    EXPECT_EQ(remoteBack.items, std::vector<std::string>(remote.items.begin(), remote.items.begin() + 10));
    EXPECT_EQ(localBack.items, std::vector<std::string>(local.items.begin(), local.items.begin() + 10));
}

struct LineCase {
    const char *line;
    const char *name;   // null: not a profile line
};

TEST(ProfileNames, SectionLines)
{
    const LineCase cases[] = {
        {"[work]\n", "work"}, {"  [indented]\n", "indented"}, {"[ blanks inside ]\n", "blanks inside"},
        {"[with ] trailing text\n", "with"}, {"[_Config_]\r\n", nullptr}, {"[ _config_ ]\n", nullptr},
        {"[_config_x]\n", "_config_x"}, {"[]\n", nullptr}, {"[unclosed\n", nullptr}, {"HOST=[x]\n", nullptr},
        {"", nullptr},
    };
    for (const LineCase &c : cases) {
        char name[80] = "unchanged";
        bool found = ProfileNameFromLine(c.line, name, sizeof name);
        EXPECT_EQ(found, c.name != nullptr) << "line \"" << c.line << "\"";
        if (c.name && found) {
            EXPECT_STREQ(name, c.name) << "line \"" << c.line << "\"";
        }
    }
}

TEST(ProfileNames, LongNameIsCutToTheBuffer)
{
    std::string line = "[" + std::string(120, 'n') + "]";
    char name[80];
    ASSERT_TRUE(ProfileNameFromLine(line.c_str(), name, sizeof name));
    EXPECT_EQ(std::string(name), std::string(79, 'n'));
}

void Collect(void *context, const char *name)
{
    static_cast<std::vector<std::string> *>(context)->push_back(name);
}

std::vector<std::string> NamesOf(const std::string &text)
{
    FILE *file = tmpfile();
    if (!file)
        return {"tmpfile failed"};
    fwrite(text.data(), 1, text.size(), file);
    rewind(file);
    std::vector<std::string> names;
    ReadProfileNames(file, Collect, &names);
    fclose(file);
    return names;
}

TEST(ProfileNames, WholeFileInOrder)
{
    std::string text = "[_config_]\r\nSESSION=work\r\nMAILADDR=me@x\r\n"
                       "[work]\r\nHOST=ftp.example.org\r\n"
                       "[FIREWALL]\r\nFIRETYPE=1\r\n"
                       "[_CONFIG_]\r\n"
                       "[home]\r\nUID=joe\r\n"
                       "[last]";   // no line end at the end of the file
    EXPECT_EQ(NamesOf(text), (std::vector<std::string>{"work", "FIREWALL", "home", "last"}));
    EXPECT_TRUE(NamesOf("").empty());
}

TEST(ProfileNames, LinesAreReadUpTo149Characters)
{
    // A value line of 160 characters whose 150th character starts a
    // bracketed text is one line, not a section.
    std::string value = "INITCMD=" + std::string(141, 'c');   // 149 characters
    std::string text = "[a]\n" + value + "[fake]\n" + "[b]\n";
    EXPECT_EQ(NamesOf(text), (std::vector<std::string>{"a", "b"}));
    // A section line longer than 149 characters loses its "]".
    std::string longSection = "[" + std::string(150, 's') + "]\n";
    EXPECT_EQ(NamesOf(longSection + "[c]\n"), (std::vector<std::string>{"c"}));
    // Exactly 149 characters before the line end still counts.
    std::string fits = "[" + std::string(147, 'f') + "]\n";
    EXPECT_EQ(NamesOf(fits).size(), 1u);
}

} // namespace
