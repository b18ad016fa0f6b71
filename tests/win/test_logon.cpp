// Connect and logon against scripted servers on loopback: every firewall
// kind on the wire, XAUT, greetings, the logon stages with their prompts
// (answered from a thread), remote commands with their fallbacks, the HELP
// detection, and the failures: unknown host, refused, reset, silent
// server, bad greeting, a server that closes during logon.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "ftp_server_helper.h"
#include "listing/host_library.h"
#include "logon_helper.h"
#include "transcript_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"

namespace {

using Table = std::vector<std::pair<std::string, std::string>>;
using Lines = std::vector<std::string>;

class Logon : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLogonState();
        profile = SiteProfile{};
        snprintf(profile.host, sizeof profile.host, "127.0.0.1");
        snprintf(profile.userId, sizeof profile.userId, "joe");
        snprintf(profile.password, sizeof profile.password, "pw");
        profile.timeout = 5;
        profile.hostType = 6000;
    }
    void TearDown() override { CloseSession(socket_); }

    // Runs ConnectAndLogon against the server (started here).
    SOCKET Run(ScriptedFtpServer &server)
    {
        profile.port = server.Port();
        server.Start();
        socket_ = ConnectAndLogon(&profile);
        return socket_;
    }
    // A later connect to a well-behaved server works.
    void ExpectLaterConnectWorks()
    {
        CloseSession(socket_);
        socket_ = NO_SOCKET;
        ScriptedFtpServer good;
        good.Send("220 ok\r\n").Serve({{"USER", "331 pw\r\n"}, {"PASS", "230 in\r\n"}});
        SiteProfile p = profile;
        snprintf(p.host, sizeof p.host, "127.0.0.1");
        snprintf(p.userId, sizeof p.userId, "joe");
        snprintf(p.password, sizeof p.password, "pw");
        p.timeout = 5;
        p.useFirewall = 0;
        p.port = good.Port();
        good.Start();
        SOCKET s = ConnectAndLogon(&p);
        EXPECT_NE(s, NO_SOCKET);
        EXPECT_TRUE(Connected);
        CloseSession(s);
        good.Finish();
    }
    SiteProfile profile;
    SOCKET socket_ = NO_SOCKET;
};

// --- every firewall kind, on the wire --------------------------------

struct FirewallCase {
    const char *name;
    int type;
    const char *firewallPassword;   // stored in the FIREWALL section
    Lines rows;                     // after the greeting
    const char *failure;            // null: logged on
    bool cancelStaysSet;
};

TEST_F(Logon, EveryFirewallKindSendsItsSequence)
{
    const char *F = "! Firewall logon failure, so quitting";
    const char *D = "! Connect to final destination failed, so quitting";
    const char *L = "! Logon failure, so quitting";
    const FirewallCase cases[] = {
        {"0 SITE", 0, "fwpw",
         {"> USER fwuser", "< 331 fw pw", "> PASS fwpw", "< 230 fw ok", "> SITE ftp.example.org",
          "< 220 connected", "> USER joe", "< 331 pw", "> PASS pw", "< 230 in"}, nullptr, false},
        {"0 firewall refuses", 0, "fwpw", {"> USER fwuser", "< 530 no", "! drain"}, F, false},
        {"0 SITE refused", 0, "fwpw",
         {"> USER fwuser", "< 230 ok", "> SITE ftp.example.org", "< 550 unknown host", "! drain"}, D, false},
        {"1 USER after logon", 1, "fwpw",
         {"> USER fwuser", "< 230 ok", "> USER joe@ftp.example.org", "< 331 pw", "> PASS pw", "< 230 in"},
         nullptr, false},
        {"1 destination refuses", 1, "fwpw",
         {"> USER fwuser", "< 230 ok", "> USER joe@ftp.example.org", "< 530 no", "! drain"}, D, false},
        {"2 USER with no logon", 2, "",
         {"> USER joe@ftp.example.org", "< 331 pw", "> PASS pw", "< 230 in"}, nullptr, false},
        {"3 proxy OPEN", 3, "",
         {"> OPEN ftp.example.org", "< 220 open", "> USER joe", "< 331 pw", "> PASS pw", "< 230 in"},
         nullptr, false},
        {"3 OPEN refused", 3, "", {"> OPEN ftp.example.org", "< 500 no", "! drain"}, D, false},
        {"4 USER user@host fireuser", 4, "fwpw",
         {"> USER joe@ftp.example.org fwuser", "< 331 pw", "> PASS pw", "< 332 fw", "> ACCT fwpw", "< 230 in"},
         nullptr, false},
        {"4 firewall refuses", 4, "fwpw", {"> USER joe@ftp.example.org fwuser", "< 530 no", "! drain"}, F, true},
        {"5 USER fireuser@host", 5, "fwpw",
         {"> USER fwuser@ftp.example.org", "< 331 fw", "> PASS fwpw", "< 230 fw in", "> USER joe", "< 331 pw",
          "> PASS pw", "< 230 in"}, nullptr, false},
        {"5 refused", 5, "fwpw",
         {"> USER fwuser@ftp.example.org", "< 331 fw", "> PASS fwpw", "< 530 no", "! drain"}, D, false},
        {"7 USER user@fireuser@host", 7, "fwpw",
         {"> USER joe@fwuser@ftp.example.org", "< 331 pw", "> PASS pw@fwpw", "< 230 in"}, nullptr, false},
        {"7 logon refused", 7, "fwpw",
         {"> USER joe@fwuser@ftp.example.org", "< 331 pw", "> PASS pw@fwpw", "< 530 no", "! drain"}, L, false},
    };
    for (const FirewallCase &c : cases) {
        SCOPED_TRACE(c.name);
        ResetLogonState();
        Lines rows = c.rows;
        rows.insert(rows.begin(), "< 220 proxy ready");
        Transcript t(rows);
        WriteFirewallSection(c.type, "127.0.0.1", t.Port(), "fwuser", c.firewallPassword);
        SiteProfile p = profile;
        snprintf(p.host, sizeof p.host, "ftp.example.org");
        p.useFirewall = 1;
        p.port = 1;   // replaced by the firewall's port
        t.Start();
        SOCKET s = ConnectAndLogon(&p);
        if (c.failure) {
            EXPECT_EQ(s, NO_SOCKET);
            EXPECT_TRUE(LogHasLine(c.failure));
            EXPECT_FALSE(Connected);
            EXPECT_EQ(CancelFlag != 0, c.cancelStaysSet);
        } else {
            EXPECT_NE(s, NO_SOCKET);
            EXPECT_TRUE(Connected);
            EXPECT_EQ(p.port, t.Port());
        }
        EXPECT_TRUE(t.Finish());
        CloseSession(s);
    }
}

TEST_F(Logon, TransparentFirewallConnectsToTheSiteItself)
{
    ScriptedFtpServer server;
    server.Send("220 site\r\n")
        .Serve({{"USER fwuser", "331 fw\r\n"}, {"PASS fwpw", "230 through\r\n"}, {"USER joe", "331 pw\r\n"},
                {"PASS pw", "230 in\r\n"}});
    // The firewall's own host is never used for kind 6.
    WriteFirewallSection(6, "firewall.invalid", 1, "fwuser", "fwpw");
    profile.useFirewall = 1;
    ASSERT_NE(Run(server), NO_SOCKET);
    CloseSession(socket_);
    socket_ = NO_SOCKET;
    server.Finish();
    EXPECT_EQ(server.Commands(), (Lines{"USER fwuser", "PASS fwpw", "USER joe", "PASS pw"}));
}

TEST_F(Logon, FirewallPasswordTypedAtThePromptIsKeptForTheRun)
{
    for (int round = 0; round < 2; round++) {
        ScriptedFtpServer server;
        server.Send("220 proxy\r\n")
            .Serve({{"USER fwuser", "331 fw pw\r\n"}, {"PASS", "230 fw\r\n"}, {"USER joe@", "331 pw\r\n"},
                    {"PASS pw", "230 in\r\n"}});
        WriteFirewallSection(1, "127.0.0.1", server.Port(), "fwuser", "");
        SiteProfile p = profile;
        p.useFirewall = 1;
        server.Start();
        // Only the first connect asks.
        DialogAnswerer answers(round == 0 ? std::vector<DialogAnswerer::Answer>{{"Password", "typed", IDOK, {}, {}}}
                                          : std::vector<DialogAnswerer::Answer>{});
        SOCKET s = ConnectAndLogon(&p);
        EXPECT_TRUE(answers.Finish());
        EXPECT_NE(s, NO_SOCKET);
        if (round == 0) {
            EXPECT_EQ(answers.Prompts(), (Lines{"Please enter a password for fwuser on firewall 127.0.0.1:"}));
        }
        CloseSession(s);
        server.Finish();
        EXPECT_EQ(server.Commands()[1], "PASS typed");
        EXPECT_EQ(server.Commands().size(), 4u);
    }
}

// --- greetings and XAUT ------------------------------------------------

TEST_F(Logon, XautWithTheGreetingsChallenge)
{
    // 16909060 = 0x01020304; the expected text is worked out by hand in the
    // unit tests of the credential form.
    ScriptedFtpServer server;
    server.Send("220 hostX2 VELTRO server (16909060)\r\n").Serve({{"XAUT", "230 welcome\r\n"}});
    snprintf(profile.userId, sizeof profile.userId, "ab");
    snprintf(profile.password, sizeof profile.password, "cd");
    ASSERT_NE(Run(server), NO_SOCKET);
    EXPECT_EQ(ServerVersion, 2);
    EXPECT_EQ(ServerChallenge, 16909060u);
    CloseSession(socket_);
    socket_ = NO_SOCKET;
    server.Finish();
    EXPECT_EQ(server.Commands(), (Lines{"XAUT 2 9::;8254:15=73:46;537=5@:7998?:=9=5<8="}));
}

TEST_F(Logon, GreetingsOfClassOneUntilTheFinalOne)
{
    ScriptedFtpServer server;
    server.Send("120 ready in a moment\r\n")
        .Delay(200)
        .Send("120-still\r\n120 busy\r\n")
        .Send("220 ready now\r\n")
        .Serve({{"USER", "230 no password needed\r\n"}});
    ASSERT_NE(Run(server), NO_SOCKET);
    CloseSession(socket_);
    socket_ = NO_SOCKET;
    server.Finish();
    // USER answered 230: logged on without PASS.
    EXPECT_EQ(server.Commands(), (Lines{"USER joe"}));
}

TEST_F(Logon, InitialCommandsAreCutAtSemicolonsAndSentLiterally)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").Serve({{"USER", "230 in\r\n"}, {"SITE", "200 ok\r\n"}, {"", "500 what\r\n"}});
    snprintf(profile.initCommands, sizeof profile.initCommands, "SITE UMASK %%s;;NOOP;");
    ASSERT_NE(Run(server), NO_SOCKET);
    CloseSession(socket_);
    socket_ = NO_SOCKET;
    server.Finish();
    EXPECT_EQ(server.Commands(), (Lines{"USER joe", "SITE UMASK %s", "", "NOOP"}));
}

// --- the logon stages and their prompts -------------------------------

TEST_F(Logon, MissingUserIdAndPasswordAreAskedWithTheirTexts)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").Serve({{"USER", "331 pw\r\n"}, {"PASS", "230 in\r\n"}});
    profile.userId[0] = '\0';
    profile.password[0] = '\0';
    DialogAnswerer answers({{"Input", "mary", IDOK, {}, {}}, {"Password", "secret", IDOK, {}, {}}});
    ASSERT_NE(Run(server), NO_SOCKET);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Please enter a userid for the connection to 127.0.0.1:",
                                        "Please enter a password for mary on site 127.0.0.1:"}));
    EXPECT_EQ(answers.HelpShown()[1], true);   // the password prompt has a help context
    EXPECT_STREQ(profile.userId, "mary");       // kept for a retry
    EXPECT_STREQ(profile.password, "secret");
    CloseSession(socket_);
    socket_ = NO_SOCKET;
    server.Finish();
    EXPECT_EQ(server.Commands(), (Lines{"USER mary", "PASS secret"}));
    EXPECT_TRUE(LogHasLine("PASS (hidden)"));
    EXPECT_FALSE(LogMentions("secret"));
}

TEST_F(Logon, AccountPromptAfter230WithAccountMayBeCancelled)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").Serve({{"USER", "331 pw\r\n"}, {"PASS", "230 ACCOUNT optional\r\n"}});
    DialogAnswerer answers({{"Password", "", IDCANCEL, {}, {}}});
    ASSERT_NE(Run(server), NO_SOCKET);
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Please enter an account for joe on site 127.0.0.1:"}));
    EXPECT_TRUE(Connected);
}

TEST_F(Logon, RequiredAccountNotGivenIsALogonFailure)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").Serve({{"USER", "331 pw\r\n"}, {"PASS", "332 need account\r\n"}});
    DialogAnswerer answers({{"Password", "", IDCANCEL, {}, {}}});
    EXPECT_EQ(Run(server), NO_SOCKET);
    ASSERT_TRUE(answers.Finish());
    EXPECT_TRUE(LogHasLine("! Logon failure, so quitting"));
    EXPECT_FALSE(Connected);
    EXPECT_FALSE(CancelFlag);
    server.Finish();
    ExpectLaterConnectWorks();
}

TEST_F(Logon, CancelledPasswordPromptEndsInLogonFailure)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").Serve({{"USER", "331 pw\r\n"}});
    profile.password[0] = '\0';
    // Asked once before USER, then again (while empty) in the password stage.
    DialogAnswerer answers({{"Password", "", IDCANCEL, {}, {}}, {"Password", "", IDCANCEL, {}, {}}});
    EXPECT_EQ(Run(server), NO_SOCKET);
    EXPECT_TRUE(answers.Finish());
    EXPECT_TRUE(LogHasLine("! Logon failure, so quitting"));
    server.Finish();
    EXPECT_EQ(server.Commands(), (Lines{"USER joe"}));
    ExpectLaterConnectWorks();
}

// --- failures before the logon ----------------------------------------

TEST_F(Logon, HostThatDoesNotResolve)
{
    snprintf(profile.host, sizeof profile.host, "no-such-host.invalid");
    profile.port = 21;
    EXPECT_EQ(ConnectAndLogon(&profile), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Can't get \"no-such-host.invalid\" host entry"));
    EXPECT_TRUE(LogHasLine("! Connection failed no-such-host.invalid"));
    EXPECT_EQ(CommandBusy, 0);
    ExpectLaterConnectWorks();
}

TEST_F(Logon, RefusedConnection)
{
    profile.port = UnusedPort();
    EXPECT_EQ(ConnectAndLogon(&profile), NO_SOCKET);
    char line[128];
    snprintf(line, sizeof line, "connecting to 127.0.0.1:%u", (unsigned)profile.port);
    EXPECT_TRUE(LogHasLine(line));
    EXPECT_TRUE(LogHasLine("! Connection failed 127.0.0.1 - connection refused"));
    EXPECT_TRUE(LogHasLine("! Connection failed 127.0.0.1"));
    EXPECT_EQ(CommandBusy, 0);
    ExpectLaterConnectWorks();
}

TEST_F(Logon, ResetGreetingSilentServerAndBadGreeting)
{
    struct Case {
        const char *name;
        int timeout;
        void (*script)(ScriptedFtpServer &);
        const char *message;
    } cases[] = {
        {"reset", 5, [](ScriptedFtpServer &s) { s.Reset(); }, "! Connection failed 127.0.0.1"},
        {"closed", 5, [](ScriptedFtpServer &s) { s.Close(); }, "! Connection failed 127.0.0.1"},
        {"silent", 1, [](ScriptedFtpServer &s) { s.Delay(2500); }, "! Connection failed 127.0.0.1"},
        {"not 220", 5, [](ScriptedFtpServer &s) { s.Send("530 go away\r\n"); },
         "! unknown open message \"530 go away\" 530"},
        {"no code", 5, [](ScriptedFtpServer &s) { s.Send("hello\r\n"); s.Close(); },
         "! Connection failed 127.0.0.1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ResetLogonState();
        ScriptedFtpServer server;
        c.script(server);
        profile.timeout = (uint32_t)c.timeout;
        DWORD start = GetTickCount();
        EXPECT_EQ(Run(server), NO_SOCKET);
        EXPECT_LT(GetTickCount() - start, 8000u);
        EXPECT_TRUE(LogHasLine(c.message));
        EXPECT_FALSE(Connected);
        EXPECT_FALSE(CancelFlag);
        EXPECT_EQ(CommandBusy, 0);
        server.Finish();
    }
    ExpectLaterConnectWorks();
}

TEST_F(Logon, ServerClosingDuringLogon)
{
    ScriptedFtpServer server;
    server.Send("220 ok\r\n").ReadCommand().Close();
    EXPECT_EQ(Run(server), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Logon failure, so quitting"));
    server.Finish();
    ExpectLaterConnectWorks();
}

TEST_F(Logon, AlreadyConnectedChangesNothing)
{
    Connected = TRUE;
    EXPECT_EQ(ConnectAndLogon(&profile), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Already connected"));
    EXPECT_TRUE(Connected);
    Connected = FALSE;
}

// --- connect command: retries and cancel ------------------------------

LRESULT CALLBACK CancelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        KillTimer(window, wParam);
        CancelCommand();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Logon, ConnectRetriesHalfASecondApartAndCancelStopsThem)
{
    CurrentSession = profile;
    CurrentSession.port = UnusedPort();
    CurrentSession.retries = 3;
    DWORD start = GetTickCount();
    ConnectCommand(FALSE);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(LogCount("! Connection failed 127.0.0.1 - connection refused"), 4);
    EXPECT_GE(elapsed, 1400u);
    EXPECT_EQ(ControlSocket, NO_SOCKET);

    // Cancel during the first pause: no further attempt.
    ResetLogonState();
    CurrentSession = profile;
    CurrentSession.port = UnusedPort();
    CurrentSession.retries = 5;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CancelWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VeltroCancelTest";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("VeltroCancelTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    SetTimer(window, 1, 250, nullptr);
    start = GetTickCount();
    ConnectCommand(FALSE);
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(LogCount("! Connection failed 127.0.0.1 - connection refused"), 1);
    EXPECT_EQ(ConnectRetryCount, 0);
    DestroyWindow(window);
}

TEST_F(Logon, CancelDuringTheGreetingEndsTheWait)
{
    ScriptedFtpServer server;
    server.Delay(4000);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CancelWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VeltroCancelTest2";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("VeltroCancelTest2", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    SetTimer(window, 1, 300, nullptr);
    profile.timeout = 30;
    DWORD start = GetTickCount();
    EXPECT_EQ(Run(server), NO_SOCKET);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(LogHasLine("! Connection failed 127.0.0.1"));
    EXPECT_TRUE(AbortFlag);   // so no retry starts
    DestroyWindow(window);
}

// --- remote commands ---------------------------------------------------

class Remote : public Logon {
protected:
    // Logs on to a server that serves the table after USER/PASS.
    SOCKET Open(ScriptedFtpServer &server, Table table)
    {
        table.insert(table.begin(), {"PASS", "230 in\r\n"});
        table.insert(table.begin(), {"USER", "331 pw\r\n"});
        server.Send("220 ok\r\n").Serve(table);
        SOCKET s = Run(server);
        ControlSocket = s;
        CurrentSession = profile;
        return s;
    }
    Lines After(ScriptedFtpServer &server, size_t skip = 2)
    {
        CloseSession(socket_);
        socket_ = NO_SOCKET;
        server.Finish();
        Lines all = server.Commands();
        return Lines(all.begin() + (long)std::min(skip, all.size()), all.end());
    }
};

TEST_F(Remote, XCommandOnlyAfterCode500)
{
    ScriptedFtpServer server;
    SOCKET s = Open(server, {{"CWD", "500 unknown command\r\n"}, {"XCWD", "250 ok\r\n"},
                             {"MKD", "502 not implemented\r\n"}, {"PWD", "500 what\r\n"},
                             {"XPWD", "257 \"/\"\r\n"}, {"RMD", "550 no\r\n"}});
    ASSERT_NE(s, NO_SOCKET);
    EXPECT_EQ(ChangeRemoteFolder(s, "sub"), 2);
    EXPECT_EQ(MakeRemoteFolder(s, "new"), 5);
    EXPECT_EQ(PrintRemoteFolder(s), 2);
    EXPECT_EQ(RemoveRemoteFolder(s, "old"), 5);
    EXPECT_EQ(After(server), (Lines{"CWD sub", "XCWD sub", "MKD new", "PWD", "XPWD", "RMD old"}));
}

TEST_F(Remote, CwdFallbackWithBracketsForHostType6012)
{
    ScriptedFtpServer server;
    SOCKET s = Open(server, {{"CWD [", "250 ok\r\n"}, {"CWD", "500 unknown\r\n"}});
    ASSERT_NE(s, NO_SOCKET);
    CurrentSession.hostType = 6012;
    EXPECT_EQ(ChangeRemoteFolder(s, "sub"), 2);
    EXPECT_EQ(After(server), (Lines{"CWD sub", "CWD [.sub]"}));
}

TEST_F(Remote, RefusedCdupFallsBackToCwdDotDot)
{
    ScriptedFtpServer server;
    SOCKET s = Open(server, {{"CDUP", "502 no\r\n"}, {"CWD ..", "250 ok\r\n"}});
    ASSERT_NE(s, NO_SOCKET);
    EXPECT_EQ(ChangeRemoteFolder(s, ".."), 2);
    EXPECT_EQ(ChangeRemoteFolder(s, ""), 2);   // sends nothing
    ServerCaps.useCdup = 0;
    EXPECT_EQ(ChangeRemoteFolder(s, ".."), 2);
    EXPECT_EQ(After(server), (Lines{"CDUP", "CWD ..", "CWD .."}));
}

TEST_F(Remote, FolderNeedingAnAccountAsksForIt)
{
    ScriptedFtpServer server;
    SOCKET s = Open(server, {{"CWD", "332 account please\r\n"}, {"ACCT", "250 ok\r\n"}});
    ASSERT_NE(s, NO_SOCKET);
    DialogAnswerer answers({{"Password", "", IDOK, {}, {}}, {"Password", "acc1", IDOK, {}, {}}});
    EXPECT_EQ(ChangeRemoteFolder(s, "private"), 2);
    EXPECT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Password required:", "Password required:"}));
    EXPECT_STREQ(CurrentSession.account, "acc1");
    EXPECT_EQ(After(server), (Lines{"CWD private", "ACCT acc1"}));
}

TEST_F(Remote, HelpReplyDecidesTheCapabilities)
{
    // Without the host-type library SYST detects nothing, so HELP is asked.
    ScriptedFtpServer server;
    SOCKET s = Open(server, {{"SYST", "215 UNIX Type: L8\r\n"},
                             {"HELP", "214-The following commands are recognized.\r\n"
                                      " USER PASS MKD RNFR\r\n DELE QUIT\r\n214 Help OK.\r\n"},
                             {"NOOP", "200 ok\r\n"}});
    ASSERT_NE(s, NO_SOCKET);
    EXPECT_FALSE(ServerCaps.hostTypeChecked);
    EXPECT_EQ(DetectHostType(s), 214);
    EXPECT_TRUE(ServerCaps.hostTypeChecked);
    EXPECT_EQ(ServerCaps.canMakeFolder, 1);
    EXPECT_EQ(ServerCaps.canRename, 1);
    EXPECT_EQ(ServerCaps.canDelete, 1);
    EXPECT_EQ(CurrentSession.hostType, 6010);
    EXPECT_TRUE(LogHasLine("Host type (3): " + std::string(HostTypeName(6010))));
    // The channel is still in step: the next command gets its own reply.
    EXPECT_EQ(FtpCommand(s, "NOOP"), 2);
    EXPECT_EQ(After(server), (Lines{"SYST", "HELP", "NOOP"}));
}

TEST_F(Remote, KnownHostTypeNeedsNoQuestion)
{
    ScriptedFtpServer server;
    SOCKET s = Open(server, {});
    ASSERT_NE(s, NO_SOCKET);
    CurrentSession.hostType = 6005;
    DetectHostType(s);
    EXPECT_EQ(ServerCaps.canMakeFolder, 1);
    EXPECT_EQ(ServerCaps.canRename, 0);
    EXPECT_EQ(ServerCaps.useCdup, 0);
    EXPECT_EQ(After(server), Lines{});
}

}  // namespace
