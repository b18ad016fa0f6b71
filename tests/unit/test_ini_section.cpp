// One rewrite of several keys of a section: the merge, and which sections
// may take it.
#include "app/ini_section.h"

#include <gtest/gtest.h>

#include <string>

TEST(IniSection, MergeKeepsPlacesAppendsNewRemovesNullAndSeesNoChange)
{
    const char *keys[] = {"REGETRFILE", "REGETTIME", "HOST"};
    struct Row { std::string list; const char *texts[3]; int result; std::string merged; } rows[] = {
        {std::string("HOST=h\0UID=u\0", 13), {"a.bin", "7", "h"}, 1, std::string("HOST=h\0UID=u\0REGETRFILE=a.bin\0REGETTIME=7\0", 42)},
        {std::string("regetrfile=a.bin\0UID=u\0REGETTIME=7\0", 35), {"b.bin", nullptr, nullptr}, 1, std::string("regetrfile=b.bin\0UID=u\0", 23)},
        {std::string("HOST=h\0REGETTIME=7\0", 19), {nullptr, "7", "h"}, 0, std::string("HOST=h\0REGETTIME=7\0", 19)},
        {std::string("HOST=h\0bare\0", 12), {"x", "1", "h"}, -1, ""},
    };
    for (const Row &r : rows) {
        char out[128];
        ASSERT_EQ(MergeSectionKeys(r.list.data(), r.list.size(), keys, r.texts, 3, out, sizeof out), r.result) << r.list;
        if (r.result >= 0) {
            EXPECT_EQ(std::string(out, r.merged.size() + 1), r.merged + '\0') << r.list;
        }
    }
    char tiny[8];
    EXPECT_EQ(MergeSectionKeys("", 0, keys, rows[0].texts, 3, tiny, sizeof tiny), -1);
    const std::string ini = "\xEF\xBB\xBF[a]\r\n; note\r\n[Site]\r\nHOST=h\r\n\r\n[b]\r\nflag\r\n";
    for (const char *plain : {"site", "c"})
        EXPECT_TRUE(SectionIsPlain(ini.data(), ini.size(), plain)) << plain;
    for (const char *mixed : {"A", "b"})
        EXPECT_FALSE(SectionIsPlain(ini.data(), ini.size(), mixed)) << mixed;
    EXPECT_FALSE(SectionIsPlain("[s]\0", 4, "s"));
}
