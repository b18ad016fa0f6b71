// The logon rules: greeting check, XAUT credentials, initial-command list
// and the logon sequences through every kind of firewall, driven by a fake
// server (replies chosen by command prefix) and fake prompts.
#include <gtest/gtest.h>

#include <string.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "ftp/logon_rules.h"

TEST(GreetingCheck, ReadsVersionAndChallengeOnlyWithTheMarker)
{
    struct Case { const char *line; bool marker; int version; uint32_t challenge; } cases[] = {
        {"220 hostX7 VELTRO ready (4294967295)", true, 7, 4294967295u},
        {"220 X17 VELTRO (5)", false, 0, 0},               // one digit between X and blank
        {"220-X3 VELTRO no challenge", true, 3, 0},
        {" VELTRO (5)", false, 0, 0},                      // marker at the start
        {"220 X2 VELTROS (5)", false, 0, 0},               // needs the blank after it
        {"220 (7) first paren X2 VELTRO (9)", true, 2, 7}, // the first "(" counts
    };
    for (const Case &c : cases) {
        int version = 0;
        uint32_t challenge = 0;
        EXPECT_EQ(CheckGreetingLine(c.line, &version, &challenge), c.marker) << c.line;
        EXPECT_TRUE(version == c.version && challenge == c.challenge) << c.line << ": " << version << " " << challenge;
    }
}

// XAUT credentials. The expected texts were worked out from the algorithm
// byte by byte: e.g. "ab:cd" with challenge 0x01020304 (key bytes 04 03 02
// 01) gives 65 61 38 62 60, each byte as (hi + '5', lo + '1').

TEST(ScrambleCredentials, MatchesHandWorkedValues)
{
    struct Case { const char *user, *password; uint32_t challenge; int version; const char *expected; } cases[] = {
        {"ab", "cd", 0x01020304u, 1, ";6;289;3;1"},
        // version 2: both pads and the fixed key
        {"ab", "cd", 0x01020304u, 2, "9::;8254:15=73:46;537=5@:7998?:=9=5<8="},
        // a 7-character user id: padded, then cut to 12 characters
        {"abcdefg", "secret99", 12345u, 2, "<5;:7?5?<1;>7;65<><4<:587@<9795:;8;?8::47="},
        // version above 2: pads but no fixed key
        {"longuser1", "pw", 0u, 3, ";=;@;?;8<6<4;6<3828;<1<8<?<1<288;584<4"},
        {"anonymous", "guest@", 305419896u, 2, "865467677>51675>78:86?5>826?5>897;6>599@81:?5;"},
    };
    for (const Case &c : cases) {
        char out[400];
        int n = ScrambleCredentials(c.user, c.password, c.challenge, out, sizeof out, c.version);
        EXPECT_STREQ(out, c.expected) << c.user << " v" << c.version;
        EXPECT_EQ(n, (int)strlen(c.expected));
    }
}

TEST(ScrambleCredentials, LongestTextsFitAndShortOutputIsRefused)
{
    std::string user(79, 'u'), password(79, 'p');
    char out[2 * (2 * 80 + 8) + 1];
    EXPECT_EQ(ScrambleCredentials(user.c_str(), password.c_str(), 1, out, sizeof out, 2), 2 * 159);
    for (size_t i = 0; i < strlen(out); i++)
        ASSERT_TRUE(out[i] >= '1' && out[i] <= 'D') << i;
    char small[10];
    EXPECT_EQ(ScrambleCredentials("ab", "cd", 1, small, sizeof small, 1), 0);
    EXPECT_STREQ(small, "");
}

static std::vector<std::string> Pieces(const char *list)
{
    std::vector<std::string> out;
    const char *cursor = list;
    char piece[256];
    for (int guard = 0; guard < 300 && NextInitialCommand(&cursor, piece, sizeof piece); guard++)
        out.push_back(piece);
    return out;
}

TEST(InitialCommands, CutAtSemicolonsKeepingEmptyPiecesBeforeThem)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Pieces("first;;second;"), (V{"first", "", "second"}));
    EXPECT_EQ(Pieces(";"), (V{""}));
    EXPECT_EQ(Pieces(""), V{});
    EXPECT_EQ(Pieces(nullptr), V{});
    EXPECT_EQ(Pieces("SITE %s%n;x"), (V{"SITE %s%n", "x"}));  // taken literally
}

// The logon machine against a fake server and fake prompts.
namespace {

struct Script {
    // Replies by command prefix, first match wins; unmatched commands get 502.
    std::vector<std::pair<std::string, std::pair<int, std::string>>> replies;
    // Answers typed at the prompts, in order; "" = the user cancels.
    std::deque<std::string> answers;
};

struct Session {
    char userId[80] = "joe", password[80] = "", account[80] = "", firewallUser[80] = "fwuser";
    char firewallPassword[112] = "";
};

// Runs the machine and returns the transcript: "> command", "? secret",
// "detect", "connected", "done" or "fail <kind>".
std::vector<std::string> RunLogon(Session &s, const Script &script, int useFirewall, int type,
                             int version = 0, uint32_t challenge = 0)
{
    LogonTexts texts{"ftp.example.org", s.userId, s.password, s.account, s.firewallUser,
                     s.firewallPassword};
    LogonMachine m;
    std::deque<std::string> answers = script.answers;
    std::vector<std::string> out;
    LogonAction a = LogonStart(&m, texts, useFirewall, type, version, challenge);
    for (int guard = 0; guard < 50; guard++) {
        EXPECT_STRNE(LogonStepName(&m), "?");
        switch (a.kind) {
        case LOGON_SEND: {
            out.push_back(std::string("> ") + a.text);
            std::pair<int, std::string> reply{5, "502 not implemented"};
            for (auto r = script.replies.rbegin(); r != script.replies.rend(); ++r)
                if (strncmp(a.text, r->first.c_str(), r->first.size()) == 0)
                    reply = r->second;   // the first match in the script wins
            a = LogonNext(&m, reply.first, reply.second.c_str());
            break;
        }
        case LOGON_ASK: {
            static const char *const names[] = {"site password", "firewall password", "account"};
            char *field = a.secret == SECRET_SITE_PASSWORD       ? s.password
                          : a.secret == SECRET_FIREWALL_PASSWORD ? s.firewallPassword
                                                                 : s.account;
            size_t size = a.secret == SECRET_FIREWALL_PASSWORD ? sizeof s.firewallPassword : 80;
            // Once: one question. While empty: until an answer or a cancel.
            do {
                out.push_back(std::string("? ") + names[a.secret]);
                if (answers.empty() || answers.front().empty()) {
                    if (!answers.empty())
                        answers.pop_front();
                    break;
                }
                snprintf(field, size, "%s", answers.front().c_str());
                answers.pop_front();
            } while (a.whileEmpty && !field[0]);
            a = LogonNext(&m, 0, nullptr);
            break;
        }
        case LOGON_DETECT:
        case LOGON_SET_CONNECTED:
            out.push_back(a.kind == LOGON_DETECT ? "detect" : "connected");
            a = LogonNext(&m, 0, nullptr);
            break;
        case LOGON_DONE:
            out.push_back("done");
            return out;
        case LOGON_FAIL: {
            static const char *const kinds[] = {"none", "firewall", "destination", "logon"};
            out.push_back(std::string("fail ") + kinds[a.failure]);
            return out;
        }
        }
    }
    ADD_FAILURE() << "the machine did not end";
    return out;
}

using T = std::vector<std::string>;
std::pair<std::string, std::pair<int, std::string>> R(const char *prefix, int cls,
                                                      const char *text = "")
{
    return {prefix, {cls, text}};
}

}  // namespace

// type -1: no firewall.
struct LogonCase { const char *name; int type; Script script; const char *password, *firewallPassword; T expected; };

TEST(LogonMachine, DirectAndThroughEveryFirewallKind)
{
    LogonCase cases[] = {
        {"missing password asked once before USER", -1, {{R("USER", 3), R("PASS", 2)}, {"typed"}}, "", "",
         {"? site password", "> USER joe", "> PASS typed", "done"}},
        {"first prompt cancelled, password stage asks again", -1, {{R("USER", 3), R("PASS", 2)}, {"", "late"}}, "", "",
         {"? site password", "> USER joe", "? site password", "> PASS late", "done"}},
        {"USER refused", -1, {{R("USER", 5)}, {}}, "pw", "", {"> USER joe", "fail logon"}},
        {"PASS refused", -1, {{R("USER", 3), R("PASS", 5)}, {}}, "pw", "", {"> USER joe", "> PASS pw", "fail logon"}},
        {"230 with ACCOUNT and an answer sends ACCT", -1,
         {{R("USER", 3), R("PASS", 2, "230 ACCOUNT"), R("ACCT", 2)}, {"acc"}}, "pw", "",
         {"> USER joe", "> PASS pw", "? account", "> ACCT acc", "done"}},
        {"ACCT refused", -1, {{R("USER", 3), R("PASS", 3), R("ACCT", 5)}, {"acc"}}, "pw", "",
         {"> USER joe", "> PASS pw", "? account", "> ACCT acc", "fail logon"}},
        {"0 SITE class 4 still goes on", 0, {{R("USER fwuser", 2), R("SITE", 4), R("USER joe", 2)}, {}}, "pw", "",
         {"> USER fwuser", "> SITE ftp.example.org", "connected", "> USER joe", "done"}},
        {"0 firewall password asked", 0, {{R("USER fwuser", 3), R("PASS", 2), R("SITE", 2), R("USER joe", 2)}, {"typed"}}, "pw", "",
         {"> USER fwuser", "? firewall password", "> PASS typed", "> SITE ftp.example.org", "connected", "> USER joe", "done"}},
        {"1 firewall PASS refused", 1, {{R("USER fwuser", 3), R("PASS", 5)}, {}}, "pw", "fwpw",
         {"> USER fwuser", "> PASS fwpw", "fail firewall"}},
        {"1 destination not 3", 1, {{R("USER fwuser", 2), R("USER joe@", 2)}, {}}, "pw", "",
         {"> USER fwuser", "> USER joe@ftp.example.org", "fail destination"}},
        {"2 logged on at once", 2, {{R("USER joe@", 2)}, {}}, "pw", "",
         {"> USER joe@ftp.example.org", "detect", "done"}},
        {"2 refused", 2, {{R("USER joe@", 5)}, {}}, "pw", "", {"> USER joe@ftp.example.org", "fail destination"}},
        {"3 OPEN 220 then direct logon", 3, {{R("OPEN", 2), R("USER joe", 3), R("PASS", 2)}, {}}, "pw", "",
         {"> OPEN ftp.example.org", "detect", "connected", "> USER joe", "> PASS pw", "done"}},
        {"3 OPEN then logon refused", 3, {{R("OPEN", 3), R("USER joe", 5)}, {}}, "pw", "",
         {"> OPEN ftp.example.org", "detect", "connected", "> USER joe", "fail logon"}},
        {"4 prompts for both", 4, {{R("USER joe@", 3), R("PASS", 3), R("ACCT", 2)}, {"sp", "fp"}}, "", "",
         {"> USER joe@ftp.example.org fwuser", "? site password", "> PASS sp", "? firewall password", "> ACCT fp", "done"}},
        {"4 USER not 3", 4, {{R("USER joe@", 2)}, {}}, "pw", "fwpw", {"> USER joe@ftp.example.org fwuser", "fail firewall"}},
        {"4 site password cancelled", 4, {{R("USER joe@", 3)}, {""}}, "", "fwpw",
         {"> USER joe@ftp.example.org fwuser", "? site password", "fail firewall"}},
        {"4 PASS not 3", 4, {{R("USER joe@", 3), R("PASS", 2)}, {}}, "pw", "fwpw",
         {"> USER joe@ftp.example.org fwuser", "> PASS pw", "fail firewall"}},
        {"4 firewall password cancelled", 4, {{R("USER joe@", 3), R("PASS", 3)}, {""}}, "pw", "",
         {"> USER joe@ftp.example.org fwuser", "> PASS pw", "? firewall password", "fail firewall"}},
        {"4 ACCT refused", 4, {{R("USER joe@", 3), R("PASS", 3), R("ACCT", 5)}, {}}, "pw", "fwpw",
         {"> USER joe@ftp.example.org fwuser", "> PASS pw", "> ACCT fwpw", "fail logon"}},
        {"5 firewall lets through at once", 5, {{R("USER fwuser@", 2), R("USER joe", 2)}, {}}, "pw", "",
         {"> USER fwuser@ftp.example.org", "detect", "> USER joe", "done"}},
        {"6 refused", 6, {{R("USER fwuser", 5)}, {}}, "pw", "fwpw", {"> USER fwuser", "fail destination"}},
        {"7 logged on at once", 7, {{R("USER joe@fwuser@", 2)}, {}}, "pw", "fwpw",
         {"> USER joe@fwuser@ftp.example.org", "done"}},
        {"7 USER refused", 7, {{R("USER", 5)}, {}}, "pw", "fwpw", {"> USER joe@fwuser@ftp.example.org", "fail logon"}},
        {"7 both asked, account required", 7, {{R("USER", 3), R("PASS", 3), R("ACCT", 2)}, {"fp", "sp", "ac"}}, "", "",
         {"> USER joe@fwuser@ftp.example.org", "? firewall password", "? site password", "> PASS sp@fp", "? account", "> ACCT ac", "done"}},
        {"9 unknown: direct at the firewall", 9, {{R("USER joe", 2)}, {}}, "pw", "", {"> USER joe", "done"}},
    };
    for (LogonCase &c : cases) {
        Session s;
        snprintf(s.password, sizeof s.password, "%s", c.password);
        snprintf(s.firewallPassword, sizeof s.firewallPassword, "%s", c.firewallPassword);
        EXPECT_EQ(RunLogon(s, c.script, c.type >= 0, c.type < 0 ? 0 : c.type), c.expected) << c.name;
    }
}

TEST(LogonMachine, FailuresThatAllowRetry)
{
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_FIREWALL, 0));
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_FIREWALL, 1));
    EXPECT_FALSE(LogonFailureClearsCancel(FAIL_FIREWALL, 4));
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_DESTINATION, 4));
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_LOGON, 7));
}

TEST(LogonMachine, XautOnlyWithVersionAndChallengeAndTextsSentAsTheyAre)
{
    Session s;
    snprintf(s.password, sizeof s.password, "cd");
    snprintf(s.userId, sizeof s.userId, "ab");
    Script ok{{R("XAUT", 2)}, {}};
    EXPECT_EQ(RunLogon(s, ok, 0, 0, 1, 0x01020304u), (T{"> XAUT 1 ;6;289;3;1", "done"}));
    Script refused{{R("XAUT", 5), R("USER", 2)}, {}};
    EXPECT_EQ(RunLogon(s, refused, 0, 0, 1, 0x01020304u), (T{"> XAUT 1 ;6;289;3;1", "> USER ab", "done"}));
    EXPECT_EQ(RunLogon(s, refused, 0, 0, 2, 0), (T{"> USER ab", "done"}));   // no challenge
    EXPECT_EQ(RunLogon(s, refused, 0, 0, 0, 77), (T{"> USER ab", "done"}));  // no version
    snprintf(s.userId, sizeof s.userId, "a%%sb");
    snprintf(s.password, sizeof s.password, "p%%n");
    Script plain{{R("USER", 3), R("PASS", 2)}, {}};
    EXPECT_EQ(RunLogon(s, plain, 0, 0), (T{"> USER a%sb", "> PASS p%n", "done"}));
}
