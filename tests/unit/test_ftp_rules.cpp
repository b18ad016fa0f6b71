// Control-channel rules checked without sockets: reply lines, echoes and
// trimming; the remote command rules: X-command fallback, path joining by host
// type, capabilities by host type, the HELP scan, chmod modes and row names; the
// logon rules: greeting check, XAUT credentials, initial-command list and the
// logon sequences through every kind of firewall, driven by a fake server
// (replies chosen by command prefix) and fake prompts.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "ftp/logon_rules.h"
#include "ftp/remote_rules.h"
#include "ftp/reply.h"

namespace {

TEST(ReplyLine, CodeAndContinuation)
{
    const struct { const char *line; int code; bool continued; } cases[] = {
        {"220 Ready", 220, false}, {"220-Welcome", 220, true}, {"100 lowest", 100, false},
        {"599 highest", 599, false}, {"600 just above", 600, true}, {"2x0 broken", 0, true},
        {"200", 200, false},       // three digits and nothing more ends a reply
        {"200-", 200, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ReplyLineCode(c.line), c.code);
        EXPECT_EQ(IsContinuedLine(c.line, ReplyLineCode(c.line)), c.continued);
    }
}

// Cutting lines out of received bytes.
struct Reader { char line[REPLY_TEXT_CLEARED]; PendingBytes pending; int held; };

void StartLine(Reader *r)
{
    memset(r->line, 0, sizeof r->line);
    r->held = 0;
}

// Feeds one receive's bytes; returns whether the line is complete.
bool Feed(Reader *r, const std::string &bytes)
{
    EXPECT_LE(r->held + (int)bytes.size(), REPLY_LINE_READ);
    memcpy(r->line + r->held, bytes.data(), bytes.size());
    bool complete = false;
    r->held = AcceptReceived(r->line, r->held, (int)bytes.size(), &r->pending, &complete);
    return complete;
}

TEST(LineCutting, BytesBehindTheLineArePending)
{
    Reader r{};
    ClearPending(&r.pending);
    StartLine(&r);
    EXPECT_TRUE(Feed(&r, "200 A\r\n250-B\r\n250 C\r\n3"));
    EXPECT_STREQ(r.line, "200 A\r\n");
    EXPECT_EQ(r.held, 7);
    ASSERT_EQ(r.pending.length, 15);

    // The next lines come from the pending bytes without a receive.
    for (const char *e : {"250-B\r\n", "250 C\r\n"}) {
        StartLine(&r);
        bool complete = false;
        r.held = TakePendingLine(&r.pending, r.line, &complete);
        EXPECT_TRUE(complete);
        EXPECT_STREQ(r.line, e);
    }
    // A partial pending line is moved whole and reading goes on behind it.
    StartLine(&r);
    bool complete = true;
    r.held = TakePendingLine(&r.pending, r.line, &complete);
    EXPECT_FALSE(complete);
    EXPECT_EQ(r.held, 1);
    EXPECT_EQ(r.pending.length, 0);
    EXPECT_TRUE(Feed(&r, std::string("31 pw\0" "250 b\n", 12)));
    EXPECT_STREQ(r.line, "331 pw") << "a NUL ends a line like a line feed";
    EXPECT_EQ(r.held, 7);
    EXPECT_EQ(r.pending.length, 6);
}

TEST(CommandEcho, SecretsHiddenAndNoopQuiet)
{
    struct EchoCase { const char *command; bool hideNoop; const char *echo; } cases[] = {   // echo null: not logged
        {"PASS secret ", false, "PASS (hidden)"}, {"ACCT 1234", true, "ACCT (hidden)"},
        {"PASSWORD x", false, "PASSWORD x"}, {"NOOP", true, nullptr}, {"noop", true, "noop"},
    };
    for (const EchoCase &c : cases) {
        const char *echo = CommandEcho(c.command, c.hideNoop);
        EXPECT_STREQ(echo ? echo : "(not logged)", c.echo ? c.echo : "(not logged)") << c.command;
    }
    EXPECT_TRUE(IsQuietReply("200 NOOP command successful"));
    EXPECT_FALSE(IsQuietReply("200 Command okay") || IsQuietReply("500 NOOP"));
    EXPECT_TRUE(KeepsTrailingBlanks("PASS x "));
    EXPECT_FALSE(KeepsTrailingBlanks("PASSx") || KeepsTrailingBlanks("CWD x "));
}

TEST(TextHelpers, TrimRightAndFindText)
{
    struct TrimCase { const char *in, *out; } cases[] = {
        {"CWD dir  \t\r\n", "CWD dir"}, {"  lead stays", "  lead stays"}, {"x\r\n\r\n", "x"},
    };
    for (const TrimCase &c : cases) {
        char buf[64];
        snprintf(buf, sizeof buf, "%s", c.in);
        EXPECT_STREQ(TrimRight(buf), c.out);
    }
    const char *greeting = "220 host X1 VELTRO ready (12)";
    EXPECT_EQ(FindText(greeting, " VELTRO "), greeting + 11);
    EXPECT_EQ(FindText(greeting, "veltro"), nullptr);
    EXPECT_EQ(FindText(greeting, ""), greeting);
    char buf[] = "abcabc";
    EXPECT_EQ(FindText(buf, "ca"), buf + 2);
}

TEST(XCommandRule, CwdFallbackByHostType)
{
    const struct { int hostType; const char *folder, *command; } cases[] = {
        {6012, "sub", "CWD [.sub]"}, {6012, "[x.y]", "XCWD [x.y]"}, {6000, "sub", "XCWD sub"}};
    for (const auto &c : cases) {
        char command[64] = "";
        EXPECT_TRUE(CwdFallbackCommand(c.hostType, c.folder, command, sizeof command));
        EXPECT_STREQ(command, c.command);
    }
    char small[6];
    EXPECT_FALSE(CwdFallbackCommand(6000, "longname", small, sizeof small));
}

TEST(BuildRemotePath, JoinsByHostTypeAndFolderForm)
{
    struct Case { int hostType; const char *folder, *name, *expected; } cases[] = {
        {6000, "/pub", "a", "/pub/a"}, {6000, "/pub/", "a", "/pub/a"}, {6000, "C:\\dir\\", "a", "C:\\dir\\a"},
        {6000, "", "a", "/a"}, {6018, "USER.LIB.", "M", "USER.LIB.M"}, {6030, "SYS1.", "M", "SYS1..M"},
        {6030, "/pub", "a", "/pub.a"}, {6000, "DISK>DIR>", "f", "DISK>DIR>f"}, {6000, "^top", "f", "^top>f"},
        {6000, "/a>b", "f", "/a>b/f"},   // a "/" wins over ">"
        {6000, "DISK:[DIR]", "f", "DISK:[DIR]/f"},
    };
    for (const Case &c : cases) {
        char out[64];
        EXPECT_STREQ(BuildRemotePath(c.hostType, c.folder, c.name, out, sizeof out), c.expected)
            << c.hostType << " " << c.folder;
    }
    char small[5];
    EXPECT_STREQ(BuildRemotePath(6000, "/pub", "abc", small, sizeof small), "/pub");
}

TEST(Capabilities, ByHostType)
{
    struct Case { int hostType; CapabilityPlan plan; int mkd, ren, del, cdup; } cases[] = {
        {6019, CAPS_NO_BUTTONS, 0, 0, 1, 1}, {6020, CAPS_SET, 1, 1, 1, 1}, {6005, CAPS_SET, 1, 0, 1, 0},
        {6026, CAPS_SET, 0, 0, 1, 0}, {6027, CAPS_SET, 0, 0, 1, 1}, {6001, CAPS_SET, 1, 1, 1, 1},
        {6000, CAPS_ASK_HELP, 0, 0, 0, 1},
    };
    for (const Case &c : cases) {
        ServerCapabilities caps{1, 1, 1, 1, 1};
        EXPECT_EQ(CapabilitiesForHostType(c.hostType, &caps), c.plan) << c.hostType;
        EXPECT_EQ((std::vector<int>{caps.canMakeFolder, caps.canRename, caps.canDelete, caps.useCdup}),
                  (std::vector<int>{c.mkd, c.ren, c.del, c.cdup})) << c.hostType;
    }
}

TEST(HelpScan, HostTypeFromFirstLineFlagsFromScannedLinesOnly)
{
    struct Case { const char *line; int hostType; } cases[] = {
        {"214-NCSA Telnet FTP server", 6006}, {"214-MACB commands", 6014}, {"214 QVT/Net", 6013},
        {"214-The following commands", 6010}, {"214-ncsa", 6010},   // case-sensitive
    };
    for (const Case &c : cases)
        EXPECT_EQ(HostTypeFromHelpLine(c.line), c.hostType) << c.line;
    // A reply fed the way detection reads it, every line until the stop; the
    // flags found as "mkd ren del" with "-" for each one not found.
    const struct { std::vector<std::pair<int, std::string>> lines; const char *flags; } replies[] = {
        {{{214, "214 MKD RNFR DELE"}}, "- - -"},                                    // a single final line: not scanned
        {{{214, "214-help"}, {0, " MKD"}, {214, "214 DELE RNFR"}}, "mkd - -"},      // nor the final line of many
        {{{214, "214-help"}, {421, ""}, {0, " MKD RNFR DELE"}}, "- - -"},           // a closed connection stops it
        {{{214, "214-help"}, {0, " RNFR DELE"}, {502, "502 XMKD"}, {214, "214 end"}}, "mkd ren del"},
    };
    for (const auto &c : replies) {
        ServerCapabilities caps{};
        for (const auto &l : c.lines) {
            if (HelpScanStops(l.second.c_str(), l.first))
                break;
            ScanHelpLine(l.second.c_str(), &caps);
        }
        std::string flags = std::string(caps.canMakeFolder ? "mkd" : "-") + (caps.canRename ? " ren" : " -") +
                            (caps.canDelete ? " del" : " -");
        EXPECT_EQ(flags, c.flags) << c.lines.back().second;
    }
    EXPECT_TRUE(HelpScanStops("214", 214));
    EXPECT_FALSE(HelpScanStops("214-", 214));
}

TEST(ChmodMode, BoxesAndOctalDigits)
{
    struct Case { unsigned mode; int boxes[9]; } cases[] = {
        {751, {1, 1, 1, 1, 0, 1, 0, 0, 1}}, {420, {1, 0, 0, 0, 1, 0, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ChmodModeFromBoxes(c.boxes), c.mode);
        int boxes[9];
        ChmodBoxesFromMode(c.mode, boxes);
        EXPECT_TRUE(std::equal(boxes, boxes + 9, c.boxes)) << c.mode;
    }
}

TEST(RowName, CutAtLengthAndTabFoldersTrimmed)
{
    struct Case { const char *text; size_t length; bool folder; const char *expected; } cases[] = {
        {"readme.txt\t1234\t2024-01-01", 10, false, "readme.txt"}, {"sub   \t<DIR>", 20, true, "sub"},
        {"name with space ", 16, false, "name with space "}, {"name with space ", 16, true, "name with space"},
        {"..", 2, true, ".."},
    };
    for (const Case &c : cases) {
        char name[32];
        RowNameFromText(c.text, c.length, c.folder, name, sizeof name);
        EXPECT_STREQ(name, c.expected) << c.text;
    }
    char small[4];
    RowNameFromText("abcdefgh", 8, false, small, sizeof small);
    EXPECT_STREQ(small, "abc");
}

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
        // version 1 is the XAUT logon case below; version 2: both pads and the fixed key
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
    // The longest texts fit; a short output is refused.
    std::string user(79, 'u'), password(79, 'p');
    char out[2 * (2 * 80 + 8) + 1];
    EXPECT_EQ(ScrambleCredentials(user.c_str(), password.c_str(), 1, out, sizeof out, 2), 2 * 159);
    for (size_t i = 0; i < strlen(out); i++)
        ASSERT_TRUE(out[i] >= '1' && out[i] <= 'D') << i;
    char small[10];
    EXPECT_EQ(ScrambleCredentials("ab", "cd", 1, small, sizeof small, 1), 0);
    EXPECT_STREQ(small, "");
}

std::vector<std::string> Pieces(const char *cursor)
{
    std::vector<std::string> out;
    for (char piece[256]; out.size() < 300 && NextInitialCommand(&cursor, piece, sizeof piece);)
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
    LogonTexts texts{"ftp.example.org", s.userId, s.password, s.account, s.firewallUser, s.firewallPassword};
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
std::pair<std::string, std::pair<int, std::string>> R(const char *prefix, int cls, const char *text = "")
{
    return {prefix, {cls, text}};
}


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
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_FIREWALL, 0) && LogonFailureClearsCancel(FAIL_FIREWALL, 1));
    EXPECT_FALSE(LogonFailureClearsCancel(FAIL_FIREWALL, 4));
    EXPECT_TRUE(LogonFailureClearsCancel(FAIL_DESTINATION, 4) && LogonFailureClearsCancel(FAIL_LOGON, 7));
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

}  // namespace
