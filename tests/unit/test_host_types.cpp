// The host-type table and the recognition of servers from their replies.
#include <gtest/gtest.h>
#include <string.h>

#include <set>
#include <string>

#include "veltr32/detect.h"
#include "veltr32/host_types.h"

namespace {

TEST(HostTypeTable, CodesNamesAndRange) {
    ASSERT_GE(HostTypeTotal(), 60u);
    std::set<std::string> names;
    for (uint32_t code = 6000; code < 6000 + HostTypeTotal(); code++) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(HostTypeValid(code));
        const char *name = HostTypeLabel(code);
        ASSERT_NE(name, nullptr);
        EXPECT_GT(strlen(name), 2u);
        EXPECT_LT(strlen(name), 48u);  // fits a combo box
        EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    }
    for (uint32_t code : {0u, 5999u, 6000u + HostTypeTotal(), 0xFFFFFFFFu}) {
        EXPECT_FALSE(HostTypeValid(code));
        EXPECT_STREQ(HostTypeLabel(code), "Automatic");
        EXPECT_EQ(HostTypeFamily(code), FAMILY_AUTO);
    }
    EXPECT_STREQ(HostTypeLabel(6000), "Automatic");
}

TEST(HostTypeTable, CodesThatCarryBehaviourUseTheirGrammar) {
    struct { uint32_t code; ListingFamily family; } cases[] = {
        {6005, FAMILY_NOS},     {6011, FAMILY_VMS},   {6024, FAMILY_MVS},  {6030, FAMILY_TANDEM},
        {6044, FAMILY_OS400},   {6029, FAMILY_UNIX},  {6059, FAMILY_MLSD}, {6046, FAMILY_NAMES_AFTER_LIST},
        {6041, FAMILY_NETWARE}, {6013, FAMILY_DOS},   {6010, FAMILY_AUTO},
    };
    for (const auto &c : cases) EXPECT_EQ(HostTypeFamily(c.code), c.family) << c.code;
}

struct DetectCase { const char *line; uint32_t current, expected; };

TEST(HostTypeDetection, SystReplies) {
    const DetectCase cases[] = {
        {"215 UNIX Type: L8", 6000, 6001}, {"215 UNIX Type: L8 Version: Linux", 6000, 6002},
        {"215 Windows_NT", 6000, 6015}, {"215 VMS MultiNet V4.3(91)", 6000, 6011},
        {"215 MVS is the operating system of this server. FTP Server is running on z/OS.", 6000, 6024},
        {"215 VM is the operating system of this server.", 6000, 6047}, {"215 Something else entirely", 6000, 6000},
        {"", 6000, 6000}, {"500 SYST not understood", 6000, 6000},
        // A more specific code of the same family is kept.
        {"215 UNIX Type: L8", 6035, 6035},
        // A different family replaces it.
        {"215 Windows_NT", 6035, 6015}, {"215 UNIX Type: L8", 6011, 6001},
        // An invalid current code is not kept.
        {"215 UNIX Type: L8", 7000, 6001},
    };
    for (const auto &c : cases) EXPECT_EQ(DetectFromSyst(c.line, c.current), c.expected) << c.line;
    EXPECT_EQ(DetectFromSyst(nullptr, 6000), 6000u);
}

TEST(HostTypeDetection, GreetingsAndLogonReplies) {
    const DetectCase cases[] = {
        {"220 ftp.example.com FTP server (Version wu-2.6.2(1) Mon Dec 3 15:11:23 EST 2001) ready.", 6000, 6038},
        {"220 Microsoft FTP Service", 6000, 6034}, {"220 (vsFTPd 3.0.3)", 6000, 6036},
        {"220 VAX.EXAMPLE.COM MultiNet FTP Server Process V4.4(15) at Mon 31-Jan-2024 12:00PM-EST", 6000, 6011},
        {"220-FTPD1 IBM FTP CS V2R4 at MVS1.EXAMPLE.COM, 12:00:00 on 2024-01-31.", 6000, 6024},
        // Kind names inside host names do not count.
        {"220 vms.example.com FTP server ready", 6000, 6000}, {"220 VMS.EXAMPLE.COM FTP server ready", 6000, 6000},
        {"220 mvsmachine ready", 6000, 6000}, {"220 Welcome", 6000, 6000},
        {"230 User logged in, proceed.", 6000, 6000}, {"220 (vsFTPd 3.0.3)", 6002, 6002},
    };
    for (const auto &c : cases) EXPECT_EQ(DetectFromReply(c.line, c.current), c.expected) << c.line;
    EXPECT_EQ(DetectFromReply(nullptr, 6000), 6000u);
}

TEST(HostTypeDetection, UnterminatedAndHugeLinesAreBounded) {
    std::string huge(100000, 'a');
    huge += " ProFTPD";
    EXPECT_EQ(DetectFromReply(huge.c_str(), 6000), 6000u);  // beyond the part looked at
    std::string early = "220 ProFTPD " + std::string(100000, 'b');
    EXPECT_EQ(DetectFromReply(early.c_str(), 6000), 6035u);
}

}  // namespace
