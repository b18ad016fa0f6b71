// Control-channel rules checked without sockets: reply lines, echoes and
// trimming; the remote command rules: X-command fallback, path joining by host
// type, capabilities by host type, the HELP scan, chmod modes and row names.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

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
    const char *expect[] = {"250-B\r\n", "250 C\r\n"};
    for (const char *e : expect) {
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

TEST(HelpScan, HostTypeFromFirstLine)
{
    struct Case { const char *line; int hostType; } cases[] = {
        {"214-NCSA Telnet FTP server", 6006}, {"214-MACB commands", 6014}, {"214 QVT/Net", 6013},
        {"214-The following commands", 6010}, {"214-ncsa", 6010},   // case-sensitive
    };
    for (const Case &c : cases)
        EXPECT_EQ(HostTypeFromHelpLine(c.line), c.hostType) << c.line;
}

// A reply fed the way detection reads it, every line until the stop; the
// flags found as "mkd ren del" with "-" for each one not found.
TEST(HelpScan, FlagsFromScannedLinesOnly)
{
    const struct { std::vector<std::pair<int, std::string>> lines; const char *flags; } cases[] = {
        {{{214, "214 MKD RNFR DELE"}}, "- - -"},                                    // a single final line: not scanned
        {{{214, "214-help"}, {0, " MKD"}, {214, "214 DELE RNFR"}}, "mkd - -"},      // nor the final line of many
        {{{214, "214-help"}, {421, ""}, {0, " MKD RNFR DELE"}}, "- - -"},           // a closed connection stops it
        {{{214, "214-help"}, {0, " RNFR DELE"}, {502, "502 XMKD"}, {214, "214 end"}}, "mkd ren del"},
    };
    for (const auto &c : cases) {
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
        for (int i = 0; i < 9; i++)
            EXPECT_EQ(boxes[i], c.boxes[i]) << c.mode << " box " << i;
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

}  // namespace
