// Reply-line rules of the control channel, checked without sockets.
#include "ftp/reply.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

TEST(ReplyLine, CodeAndContinuation)
{
    const struct { const char *line; int code; bool continued; } cases[] = {
        {"220 Ready", 220, false}, {"220-Welcome", 220, true}, {"100 lowest", 100, false},
        {"600 just above", 600, true}, {"2x0 broken", 0, true},
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
    struct EchoCase {
        const char *command;
        bool hideNoop;
        const char *echo;   // null: not logged
    } cases[] = {
        {"PASS secret ", false, "PASS (hidden)"}, {"ACCT 1234", true, "ACCT (hidden)"},
        {"PASSWORD x", false, "PASSWORD x"}, {"NOOP", true, nullptr}, {"noop", true, "noop"},
    };
    for (const EchoCase &c : cases) {
        SCOPED_TRACE(c.command);
        const char *echo = CommandEcho(c.command, c.hideNoop);
        if (c.echo)
            EXPECT_STREQ(echo, c.echo);
        else
            EXPECT_EQ(echo, nullptr);
    }
    EXPECT_TRUE(IsQuietReply("200 NOOP command successful"));
    EXPECT_FALSE(IsQuietReply("200 Command okay"));
    EXPECT_FALSE(IsQuietReply("500 NOOP"));
    EXPECT_TRUE(KeepsTrailingBlanks("PASS x "));
    EXPECT_FALSE(KeepsTrailingBlanks("PASSx"));
    EXPECT_FALSE(KeepsTrailingBlanks("CWD x "));
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

}  // namespace
