#include <gtest/gtest.h>

#include <string>

#include "cmdline/path_words.h"

namespace {

struct ClassifyCase { const char *name, *word; int kind; const char *host, *path; };

const ClassifyCase kClassify[] = {
    {"Empty", "", PATH_NONE, "", ""}, {"LocalPrefix", "local:C:/tmp/a.txt", PATH_LOCAL, "", "C:/tmp/a.txt"},
    {"LocalPrefixAnyCase", "LOCAL:c:/x", PATH_LOCAL, "", "c:/x"},
    {"BareRelative", "sub/a.txt", PATH_LOCAL, "", "sub/a.txt"},
    {"SingleSlashIsLocal", "/tmp/a.txt", PATH_LOCAL, "", "/tmp/a.txt"},
    {"HostColonPath", "host:/pub/file.txt", PATH_REMOTE, "host", "/pub/file.txt"},
    {"HostColonsSkipped", "host:::pub/x", PATH_REMOTE, "host", "pub/x"},
    {"FtpPrefixHostColon", "ftp:host:/a", PATH_REMOTE, "host", "/a"},
    {"FtpSlashes", "ftp://host/pub/", PATH_REMOTE, "host", "/pub/"},
    {"FileSlashes", "file://h/x.bin", PATH_REMOTE, "h", "/x.bin"},
    {"FtpThenFile", "ftp:file://h/x", PATH_REMOTE, "h", "/x"},
    {"DoubleSlashNoPrefix", "//host/pub/*.txt", PATH_REMOTE, "host", "/pub/*.txt"},
    {"SlashesHostOnly", "//host", PATH_REMOTE, "host", ""},
    {"DriveWithoutPrefixIsRemote", "C:/tmp/a.txt", PATH_REMOTE, "C", "/tmp/a.txt"},
    {"ColonFirst", ":/x", PATH_REMOTE, "", "/x"},
};

TEST(Classify, KindHostAndPath)
{
    for (const ClassifyCase &c : kClassify) {
        SCOPED_TRACE(c.name);
        PathWord w;
        memset(&w, 'x', sizeof w);
        EXPECT_EQ(c.kind, ClassifyPathWord(c.word, &w));
        EXPECT_EQ(c.kind, w.kind);
        EXPECT_STREQ(c.host, w.host);
        EXPECT_STREQ(c.path, w.path);
    }
}

TEST(Classify, OverlongWordIsCutNotOverrun)
{
    std::string word = "h:/" + std::string(600, 'a');
    PathWord w;
    EXPECT_EQ(PATH_REMOTE, ClassifyPathWord(word.c_str(), &w));
    EXPECT_EQ(PATH_WORD_SIZE - 1, (int)strlen(w.path));
    std::string host(600, 'h');
    host += ":/x";
    EXPECT_EQ(PATH_REMOTE, ClassifyPathWord(host.c_str(), &w));
    EXPECT_EQ(PATH_WORD_SIZE - 1, (int)strlen(w.host));
}

struct SplitCase { const char *name, *text, *first, *second; int quiet, ascii, lower; };

const SplitCase kSplit[] = {
    {"TwoWords", "local:C:/tmp/a.txt host:/in/", "local:C:/tmp/a.txt", "host:/in/", 0, 0, 0},
    {"QuietAfterWords", "h:/f local:x -quiet", "h:/f", "local:x", 1, 0, 0},
    {"AllThreeAnywhere", "-lower h:/f -ascii local:x -quiet", "h:/f", "local:x", 1, 1, 1},
    {"OptionCaseMatters", "-QUIET h:/f", "-QUIET", "h:/f", 0, 0, 0},
    {"BackslashesBecomeSlashes", "local:C:\\tmp\\a.txt h:\\in\\", "local:C:/tmp/a.txt", "h:/in/", 0, 0, 0},
    {"QuotedWordWithSpaces", "\"h:/my file.txt\" \"local:C:/a b/\"", "h:/my file.txt", "local:C:/a b/", 0, 0, 0},
    {"Empty", "", "", "", 0, 0, 0}, {"ExtraWordsIgnored", "a b c", "a", "b", 0, 0, 0},
};

TEST(Split, WordsAndInlineOptions)
{
    for (const SplitCase &c : kSplit) {
        SCOPED_TRACE(c.name);
        char text[512];
        snprintf(text, sizeof text, "%s", c.text);
        InlineOptions found = {};
        char first[256], second[256];
        SplitPathPart(text, &found, first, sizeof first, second, sizeof second);
        EXPECT_STREQ(c.first, first);
        EXPECT_STREQ(c.second, second);
        EXPECT_EQ(c.quiet, found.quiet);
        EXPECT_EQ(c.ascii, found.ascii);
        EXPECT_EQ(c.lower, found.lower);
    }
}

TEST(InlineOptions, RemovedWithOneFollowingSpaceOnlyAndSmallBuffersCut)
{
    char text[64] = "a -ascii  b";
    InlineOptions found = {};
    TakeInlineOptions(text, &found);
    EXPECT_STREQ("a  b", text);
    EXPECT_EQ(1, found.ascii);
    snprintf(text, sizeof text, "abcdefgh ijklmnop");
    char first[4], second[4];
    SplitPathPart(text, &found, first, sizeof first, second, sizeof second);
    EXPECT_STREQ("abc", first);
    EXPECT_STREQ("ijk", second);
}

}  // namespace
