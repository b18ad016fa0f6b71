// Data addresses in passive replies, and the PORT command.
#include <gtest/gtest.h>

#include <string>

#include "transfer/passive_reply.h"

namespace {

struct PassiveCase {
    const char *what, *line;
    PassiveParse result;
    const char *host;   // when PASSIVE_OK
    unsigned port;
    const char *start;  // the text parsing started at
};

TEST(PassiveReply, ReadsAddressesHoweverTheServerWordsThem)
{
    const PassiveCase cases[] = {
        {"trailing full stop", "227 Entering Passive Mode (127,0,0,1,39,16).", PASSIVE_OK,
         "127.0.0.1", 10000, "127,0,0,1,39,16"},
        {"no parentheses", "227 =10,0,0,5,200,10", PASSIVE_OK, "10.0.0.5", 51210,
         "10,0,0,5,200,10"},
        {"blanks around numbers", "227 Entering Passive Mode ( 10 , 0, 0 ,5, 4 ,1 )",
         PASSIVE_OK, "10.0.0.5", 1025, " 10 , 0, 0 ,5, 4 ,1 "},
        {"only three numbers", "227 Entering Passive Mode (1,2,3)", PASSIVE_BAD_ADDRESS, "", 0,
         "1,2,3"},
        {"a number above 255", "227 (1,2,3,256,0,1)", PASSIVE_BAD_ADDRESS, "", 0, "1,2,3,256,0,1"},
        {"overlong number", "227 (0001,2,3,4,0,1)", PASSIVE_BAD_ADDRESS, "", 0, "0001,2,3,4,0,1"},
        {"dotted address", "227 ok 1.2.3.4 port 5", PASSIVE_BAD_ADDRESS, "", 0, "1.2.3.4 port 5"},
        {"empty parentheses", "227 Entering Passive Mode ()", PASSIVE_BAD_ADDRESS, "", 0, ""},
        {"no digits at all", "227 Entering Passive Mode", PASSIVE_NO_ADDRESS, "", 0, ""},
        {"empty line", "", PASSIVE_NO_ADDRESS, "", 0, ""},
    };
    for (const PassiveCase &c : cases) {
        PassiveAddress a;
        EXPECT_EQ(ParsePassiveReply(c.line, &a), c.result) << c.what;
        EXPECT_STREQ(a.startText, c.start) << c.what;
        if (c.result == PASSIVE_OK) {
            EXPECT_STREQ(a.hostText, c.host) << c.what;
            EXPECT_EQ(a.port, c.port) << c.what;
        }
    }
}

TEST(PassiveReply, SurvivesGarbageAtEveryPosition)
{
    const std::string line = "227 Entering Passive Mode (192,168,1,2,4,1).";
    const char junk[] = {'\r', '\n', ' ', '\t', ')', '(', ',', '9', '\xff'};
    for (size_t at = 0; at <= line.size(); at++) {
        // Truncated at every length.
        PassiveAddress a;
        ParsePassiveReply(line.substr(0, at).c_str(), &a);
        EXPECT_LT(strlen(a.hostText), sizeof a.hostText);
        for (char j : junk) {
            std::string bent = line;
            bent.insert(at, 1, j);
            PassiveParse r = ParsePassiveReply(bent.c_str(), &a);
            if (r == PASSIVE_OK) {
                EXPECT_LE(a.port, 65535u);
            }
        }
    }
    std::string huge(10000, '7');
    PassiveAddress a;
    EXPECT_EQ(ParsePassiveReply(("227 (" + huge + ")").c_str(), &a), PASSIVE_BAD_ADDRESS);
    EXPECT_LT(strlen(a.startText), sizeof a.startText);
}

TEST(PortCommand, AnnouncesAddressBytesAndPortBytes)
{
    char text[64];
    const unsigned char address[4] = {192, 168, 0, 1};
    FormatPortCommand(text, sizeof text, address, 51210);
    EXPECT_STREQ(text, "PORT 192,168,0,1,200,10");
}

}  // namespace
