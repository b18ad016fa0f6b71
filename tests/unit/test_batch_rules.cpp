// The batch rules: which entries move, the paths of the walks, the edit
// round trip's temporary name.
#include <gtest/gtest.h>

#include <string>

#include "listing/file_item.h"
#include "transfer/batch_rules.h"

TEST(BatchRules, EntryActions)
{
    const struct { uint32_t kind; const char *name; int upload, action; } cases[] = {
        {KIND_FILE, "a.txt", 1, BATCH_FILE},      {KIND_TEXT, "a.txt", 0, BATCH_FILE},
        {KIND_LINK, "ln", 0, BATCH_FILE},         {KIND_FOLDER, "docs", 1, BATCH_FOLDER},
        {KIND_FOLDER, "..", 0, BATCH_SKIP},       {KIND_FOLDER, "..", 1, BATCH_SKIP},
        {KIND_DRIVE, "[-c-]", 1, BATCH_SKIP},     {KIND_FILE, "[-d-]", 1, BATCH_SKIP},
        {KIND_FILE, "[x].txt", 0, BATCH_FILE},    {KIND_FILE, "", 0, BATCH_SKIP},
    };
    for (const auto &c : cases)
        EXPECT_EQ(BatchEntryAction(c.kind, c.name, c.upload), c.action) << c.name << " upload " << c.upload;
}

TEST(BatchRules, JoinAndSplitLocalPaths)
{
    char out[16];
    EXPECT_TRUE(JoinLocalPath(out, sizeof out, "C:\\a", "b.txt"));
    EXPECT_STREQ(out, "C:\\a\\b.txt");
    EXPECT_TRUE(JoinLocalPath(out, sizeof out, "C:\\", "b.txt"));
    EXPECT_STREQ(out, "C:\\b.txt");
    EXPECT_FALSE(JoinLocalPath(out, sizeof out, "C:\\folder", "long-name.txt")) << "too long is refused, not cut";

    const struct { const char *path, *folder, *name; int ok; } cases[] = {
        {"C:\\tmp\\b.txt", "C:\\tmp", "b.txt", 1}, {"C:\\b.txt", "C:\\", "b.txt", 1},
        {"Z:/x/y z.bin", "Z:/x", "y z.bin", 1},    {"plain.txt", "", "", 0},
    };
    for (const auto &c : cases) {
        char folder[64] = "", name[64] = "";
        EXPECT_EQ(SplitLocalPath(c.path, folder, sizeof folder, name, sizeof name), c.ok) << c.path;
        if (c.ok) {
            EXPECT_STREQ(folder, c.folder);
            EXPECT_STREQ(name, c.name);
        }
    }
}

TEST(BatchRules, EditTempNameTakesTheRemoteExtension)
{
    const struct { const char *remote, *expected; } cases[] = {
        {"index.html", "C:\\T\\EDT1A.htm"}, {"notes.txt", "C:\\T\\EDT1A.txt"},
        {"README", "C:\\T\\EDT1A.TMP"},     {"a.b.c", "C:\\T\\EDT1A.c"},
        {"trailing.", "C:\\T\\EDT1A.TMP"},
    };
    for (const auto &c : cases) {
        char temp[32] = "C:\\T\\EDT1A.TMP";
        EditTempName(temp, sizeof temp, c.remote);
        EXPECT_STREQ(temp, c.expected) << c.remote;
    }
}
