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
    EXPECT_TRUE(Raw("site", "rdir9") == "\"/r9\"" && Raw("site", "ldir9") == "L9");
    EXPECT_TRUE(Raw("site", "rdir10") == std::nullopt && Raw("site", "ldir10") == std::nullopt);

    // What was written reads back in the same order.
    Box remoteBack, localBack;
    FolderList remoteBackList = remoteBack.List(), localBackList = localBack.List();
    ReadFolderHistory(&fake::Access, "site", true, &remoteBackList);
    ReadFolderHistory(&fake::Access, "site", false, &localBackList);
    EXPECT_EQ(remoteBack.items, std::vector<std::string>(remote.items.begin(), remote.items.begin() + 10));
    EXPECT_EQ(localBack.items, std::vector<std::string>(local.items.begin(), local.items.begin() + 10));
}

// name: "-" when the line names no profile.
TEST(ProfileNames, SectionLines)
{
    const struct { std::string line, name; } cases[] = {
        {"[work]\n", "work"}, {"  [indented]\n", "indented"}, {"[ blanks inside ]\n", "blanks inside"},
        {"[with ] trailing text\n", "with"}, {"[_Config_]\r\n", "-"}, {"[ _config_ ]\n", "-"},
        {"[_config_x]\n", "_config_x"}, {"[]\n", "-"}, {"[unclosed\n", "-"}, {"HOST=[x]\n", "-"}, {"", "-"},
        {"[" + std::string(120, 'n') + "]", std::string(79, 'n')},   // cut to the buffer
    };
    for (const auto &c : cases) {
        char name[80] = "unchanged";
        EXPECT_EQ(ProfileNameFromLine(c.line.c_str(), name, sizeof name) ? name : "-", c.name) << c.line;
    }
}

void Collect(void *context, const char *name)
{
    static_cast<std::vector<std::string> *>(context)->push_back(name);
}

// Lines are read up to 149 characters: a value line whose 150th character
// starts a bracketed text is one line, a longer section line loses its "]".
TEST(ProfileNames, WholeFileInOrder)
{
    const struct { std::string text; std::vector<std::string> names; } cases[] = {
        {"[_config_]\r\nSESSION=work\r\n[work]\r\nHOST=h\r\n[FIREWALL]\r\n[_CONFIG_]\r\n[home]\r\nUID=joe\r\n[last]",
         {"work", "FIREWALL", "home", "last"}},
        {"", {}},
        {"[a]\nINITCMD=" + std::string(141, 'c') + "[fake]\n[b]\n", {"a", "b"}},
        {"[" + std::string(150, 's') + "]\n[c]\n", {"c"}},
        {"[" + std::string(147, 'f') + "]\n", {std::string(79, 'f')}},   // 149 characters still count
    };
    for (const auto &c : cases) {
        FILE *file = tmpfile();
        ASSERT_NE(file, nullptr);
        fwrite(c.text.data(), 1, c.text.size(), file);
        rewind(file);
        std::vector<std::string> names;
        ReadProfileNames(file, Collect, &names);
        fclose(file);
        EXPECT_EQ(names, c.names) << c.text;
    }
}

} // namespace
