// Connect and logon against scripted servers on loopback: every firewall
// kind on the wire, XAUT, greetings, the logon stages with their prompts
// (answered from a thread), remote commands with their fallbacks, the HELP
// detection, and the failures: unknown host, reset, silent
// server, bad greeting, a server that closes during logon.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "ftp/control.h"
#include "ftp/logon.h"
#include "ftp/remote_commands.h"
#include "ftp/session.h"
#include "listing/host_library.h"
#include "logon_helper.h"
#include "transcript_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"

namespace {

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

    // Runs ConnectAndLogon against the transcript's server.
    SOCKET Run(Transcript &t)
    {
        profile.port = t.Port();
        t.Start();
        socket_ = ConnectAndLogon(&profile);
        return socket_;
    }
    // Logs on through the rows, closes, and checks the rows.
    void Expect(const Lines &rows, bool loggedOn = true)
    {
        {
            Transcript t(rows);
            EXPECT_EQ(Run(t) != NO_SOCKET, loggedOn);
            EXPECT_TRUE(t.Finish());
        }   // the server has gone: the close below needs no wait
        CloseSession(socket_);
        socket_ = NO_SOCKET;
    }
    // A failed logon leaves nothing behind: a later one to a good server works.
    void ExpectLaterConnectWorks()
    {
        SiteProfile kept = profile;
        SetUp();
        Expect({"< 220 ok", "> USER joe", "< 331 pw", "> PASS pw", "< 230 in"});
        profile = kept;
    }
    SiteProfile profile;
    SOCKET socket_ = NO_SOCKET;
};

struct FirewallCase {
    const char *name;
    int type;
    const char *firewallPassword;   // stored in the FIREWALL section
    Lines rows;                     // after the greeting
    const char *failure;            // null: logged on
};

// The sequences of every kind are the logon machine's (unit tests); here
// the firewall section, the address dialled and each failure's message.
TEST_F(Logon, FirewallKindsOnTheWire)
{
    const char *F = "! Firewall logon failure, so quitting";
    const char *D = "! Connect to final destination failed, so quitting";
    const char *L = "! Logon failure, so quitting";
    const FirewallCase cases[] = {
        {"0 SITE", 0, "fwpw",
         {"> USER fwuser", "< 331 fw pw", "> PASS fwpw", "< 230 fw ok", "> SITE ftp.example.org",
          "< 220 connected", "> USER joe", "< 331 pw", "> PASS pw", "< 230 in"}, nullptr},
        {"0 firewall refuses", 0, "fwpw", {"> USER fwuser", "< 530 no", "! drain"}, F},
        {"1 destination refuses", 1, "fwpw",
         {"> USER fwuser", "< 230 ok", "> USER joe@ftp.example.org", "< 530 no", "! drain"}, D},
        {"7 logon refused", 7, "fwpw",
         {"> USER joe@fwuser@ftp.example.org", "< 331 pw", "> PASS pw@fwpw", "< 530 no", "! drain"}, L},
    };
    for (const FirewallCase &c : cases) {
        SCOPED_TRACE(c.name);
        ResetLogonState();
        Lines rows = c.rows;
        rows.insert(rows.begin(), "< 220 proxy ready");
        auto t = std::make_unique<Transcript>(rows);
        WriteFirewallSection(c.type, "127.0.0.1", t->Port(), "fwuser", c.firewallPassword);
        SiteProfile p = profile;
        snprintf(p.host, sizeof p.host, "ftp.example.org");
        p.useFirewall = 1;
        p.port = 1;   // replaced by the firewall's port
        t->Start();
        SOCKET s = ConnectAndLogon(&p);
        if (c.failure) {
            EXPECT_EQ(s, NO_SOCKET);
            EXPECT_TRUE(LogHasLine(c.failure));
            EXPECT_FALSE(Connected);
            EXPECT_FALSE(CancelFlag);
        } else {
            EXPECT_NE(s, NO_SOCKET);
            EXPECT_TRUE(Connected);
            EXPECT_EQ(p.port, t->Port());
        }
        EXPECT_TRUE(t->Finish());
        t.reset();   // the server has gone: the close needs no wait
        CloseSession(s);
    }
}

TEST_F(Logon, TransparentFirewallConnectsToTheSiteItself)
{
    // The firewall's own host is never used for kind 6.
    WriteFirewallSection(6, "firewall.invalid", 1, "fwuser", "fwpw");
    profile.useFirewall = 1;
    Expect({"< 220 site", "> USER fwuser", "< 331 fw", "> PASS fwpw", "< 230 through", "> USER joe", "< 331 pw",
            "> PASS pw", "< 230 in"});
}

TEST_F(Logon, FirewallPasswordTypedAtThePromptIsKeptForTheRun)
{
    for (int round = 0; round < 2; round++) {
        Transcript t({"< 220 proxy", "> USER fwuser", "< 331 fw pw", "> PASS typed", "< 230 fw",
                      "> USER joe@127.0.0.1", "< 331 pw", "> PASS pw", "< 230 in"});
        WriteFirewallSection(1, "127.0.0.1", t.Port(), "fwuser", "");
        profile.useFirewall = 1;
        // Only the first connect asks.
        DialogAnswerer answers(round == 0 ? std::vector<DialogAnswerer::Answer>{{"Password", "typed", IDOK, {}, {}}}
                                          : std::vector<DialogAnswerer::Answer>{});
        EXPECT_NE(Run(t), NO_SOCKET);
        EXPECT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), round ? Lines{} : Lines{"Please enter a password for fwuser on firewall 127.0.0.1:"});
        EXPECT_TRUE(t.Finish());
        CloseSession(socket_);
        socket_ = NO_SOCKET;
    }
}

// --- greetings, XAUT, initial commands --------------------------------

TEST_F(Logon, GreetingsXautAndInitialCommands)
{
    // 16909060 = 0x01020304; the expected text is worked out by hand in the
    // unit tests of the credential form.
    snprintf(profile.userId, sizeof profile.userId, "ab");
    snprintf(profile.password, sizeof profile.password, "cd");
    Expect({"< 220 hostX2 VELTRO server (16909060)", "> XAUT 2 9::;8254:15=73:46;537=5@:7998?:=9=5<8=",
            "< 230 welcome"});
    EXPECT_EQ(ServerVersion, 2);
    EXPECT_EQ(ServerChallenge, 16909060u);

    // Preliminary greetings until the final one; USER answered 230 needs no PASS.
    snprintf(profile.userId, sizeof profile.userId, "joe");
    Expect({"< 120 ready in a moment", "! pause 200", "<< 120-still\r\n120 busy\r\n", "< 220 ready now",
            "> USER joe", "< 230 no password needed"});

    // Initial commands are cut at semicolons and sent literally.
    snprintf(profile.initCommands, sizeof profile.initCommands, "SITE UMASK %%s;;NOOP;");
    Expect({"< 220 ok", "> USER joe", "< 230 in", "> SITE UMASK %s", "< 200 ok", ">", "< 500 what", "> NOOP",
            "< 500 what"});
}

// --- the logon stages and their prompts -------------------------------

TEST_F(Logon, MissingUserIdAndPasswordAreAskedWithTheirTexts)
{
    profile.userId[0] = '\0';
    profile.password[0] = '\0';
    DialogAnswerer answers({{"Input", "mary", IDOK, {}, {}}, {"Password", "secret", IDOK, {}, {}}});
    Expect({"< 220 ok", "> USER mary", "< 331 pw", "> PASS secret", "< 230 in"});
    ASSERT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Please enter a userid for the connection to 127.0.0.1:",
                                        "Please enter a password for mary on site 127.0.0.1:"}));
    EXPECT_TRUE(answers.ButtonsShown(IDC_INPUT_HELP)[1]);   // the password prompt has a help context
    EXPECT_STREQ(profile.userId, "mary");       // kept for a retry
    EXPECT_STREQ(profile.password, "secret");
    EXPECT_TRUE(LogHasLine("PASS (hidden)"));
    EXPECT_FALSE(LogMentions("secret"));
}

TEST_F(Logon, AccountPromptsAndCancelledPrompts)
{
    const struct {
        const char *what;
        bool noPassword;
        Lines rows;
        Lines prompts;
        bool loggedOn;
    } cases[] = {
        {"optional account cancelled", false,
         {"< 220 ok", "> USER joe", "< 331 pw", "> PASS pw", "< 230 ACCOUNT optional"},
         {"Please enter an account for joe on site 127.0.0.1:"}, true},
        {"required account cancelled", false,
         {"< 220 ok", "> USER joe", "< 331 pw", "> PASS pw", "< 332 need account", "! drain"},
         {"Please enter an account for joe on site 127.0.0.1:"}, false},
        // Asked once before USER, then again (while empty) in the password stage.
        {"password cancelled", true, {"< 220 ok", "> USER joe", "< 331 pw", "! drain"},
         {"Please enter a password for joe on site 127.0.0.1:", "Please enter a password for joe on site 127.0.0.1:"},
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        if (c.noPassword)
            profile.password[0] = '\0';
        DialogAnswerer answers(std::vector<DialogAnswerer::Answer>(c.prompts.size(), {"Password", "", IDCANCEL, {}, {}}));
        Expect(c.rows, c.loggedOn);
        EXPECT_TRUE(answers.Finish());
        EXPECT_EQ(answers.Prompts(), c.prompts);
        EXPECT_EQ(LogHasLine("! Logon failure, so quitting"), !c.loggedOn);
        EXPECT_FALSE(CancelFlag);
        if (!c.loggedOn)
            ExpectLaterConnectWorks();
    }
}

// --- failures before the logon ----------------------------------------

TEST_F(Logon, AlreadyConnectedOrHostThatDoesNotResolve)
{
    Connected = TRUE;
    EXPECT_EQ(ConnectAndLogon(&profile), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Already connected"));
    EXPECT_TRUE(Connected);
    Connected = FALSE;
    snprintf(profile.host, sizeof profile.host, "no-such-host.invalid");
    profile.port = 21;
    EXPECT_EQ(ConnectAndLogon(&profile), NO_SOCKET);
    EXPECT_TRUE(LogHasLine("! Can't get \"no-such-host.invalid\" host entry"));
    EXPECT_TRUE(LogHasLine("! Connection failed no-such-host.invalid"));
    EXPECT_EQ(CommandBusy, 0);
    ExpectLaterConnectWorks();
}

TEST_F(Logon, BadGreetingsAndServersThatGoAway)
{
    const char *failed = "! Connection failed 127.0.0.1";
    const struct { const char *name; int timeout; Lines rows; const char *message; } cases[] = {
        {"reset", 5, {"! reset"}, failed},
        {"silent", 1, {"! pause 2500"}, failed},
        {"not 220", 5, {"< 530 go away", "! drain"}, "! unknown open message \"530 go away\" 530"},
        {"no code", 5, {"< hello", "! close"}, failed},
        {"closed during logon", 5, {"< 220 ok", "> USER joe", "! close"}, "! Logon failure, so quitting"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        profile.timeout = (uint32_t)c.timeout;
        DWORD start = GetTickCount();
        Expect(c.rows, false);
        EXPECT_LT(GetTickCount() - start, 8000u);
        EXPECT_TRUE(LogHasLine(c.message));
        EXPECT_FALSE(Connected);
        EXPECT_FALSE(CancelFlag);
        EXPECT_EQ(CommandBusy, 0);
    }
    ExpectLaterConnectWorks();
}

// --- cancel ------------------------------------------------------------

LRESULT CALLBACK CancelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER)
        return DefWindowProcA(window, message, wParam, lParam);
    KillTimer(window, wParam);
    CancelCommand();
    return 0;
}

// A refused port is retried half a second apart; Cancel during a pause stops the retries.
TEST_F(Logon, ConnectRetriesHalfASecondApartAndCancelStopsThem)
{
    for (int retries : {3, 5}) {
        SCOPED_TRACE(retries);
        SetUp();
        CurrentSession = profile;
        CurrentSession.port = UnusedPort();
        CurrentSession.retries = (uint32_t)retries;
        HWND window = retries == 5 ? MakeTestWindow("VeltroCancelTest", CancelWndProc) : nullptr;
        if (window)
            SetTimer(window, 1, 250, nullptr);   // cancel during the first pause
        DWORD start = GetTickCount();
        ConnectCommand(FALSE);
        DWORD elapsed = GetTickCount() - start;
        EXPECT_EQ(LogCount("! Connection failed 127.0.0.1 - connection refused"), window ? 1 : 4);
        EXPECT_TRUE(window ? elapsed < 1500 : elapsed >= 1400) << elapsed;
        EXPECT_EQ(ControlSocket, NO_SOCKET);
        EXPECT_EQ(ConnectRetryCount, 0);
        if (window)
            DestroyWindow(window);
    }
}

TEST_F(Logon, CancelDuringTheGreetingEndsTheWait)
{
    HWND window = MakeTestWindow("VeltroCancelTest2", CancelWndProc);
    SetTimer(window, 1, 300, nullptr);
    profile.timeout = 30;
    Transcript t({"! pause 4000"});
    DWORD start = GetTickCount();
    EXPECT_EQ(Run(t), NO_SOCKET);
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_TRUE(LogHasLine("! Connection failed 127.0.0.1"));
    EXPECT_TRUE(AbortFlag);   // so no retry starts
    DestroyWindow(window);
}

// --- remote commands ---------------------------------------------------

class Remote : public Logon {
protected:
    // Logs on, then plays the rows as the session's server.
    SOCKET Open(Lines rows)
    {
        rows.insert(rows.begin(), {"< 220 ok", "> USER joe", "< 331 pw", "> PASS pw", "< 230 in"});
        t = std::make_unique<Transcript>(rows);
        ControlSocket = Run(*t);
        CurrentSession = profile;
        return ControlSocket;
    }
    std::unique_ptr<Transcript> t;
};

TEST_F(Remote, FallbacksForCodes500AndForHostTypes)
{
    // An X command only after code 500; a refused CDUP falls back to CWD ..,
    // and so does a server without CDUP; host type 6012 has its own form.
    SOCKET s = Open({"> CWD sub", "< 500 unknown command", "> XCWD sub", "< 250 ok", "> MKD new", "< 502 no",
                     "> PWD", "< 500 what", "> XPWD", "< 257 \"/\"", "> RMD old", "< 550 no", "> CDUP", "< 502 no",
                     "> CWD ..", "< 250 ok", "> CWD ..", "< 250 ok", "> CWD sub", "< 500 unknown", "> CWD [.sub]",
                     "< 250 ok"});
    ASSERT_NE(s, NO_SOCKET);
    EXPECT_EQ(ChangeRemoteFolder(s, "sub"), 2);
    EXPECT_EQ(MakeRemoteFolder(s, "new"), 5);
    EXPECT_EQ(PrintRemoteFolder(s), 2);
    EXPECT_EQ(RemoveRemoteFolder(s, "old"), 5);
    EXPECT_EQ(ChangeRemoteFolder(s, ".."), 2);
    EXPECT_EQ(ChangeRemoteFolder(s, ""), 2);   // sends nothing
    ServerCaps.useCdup = 0;
    EXPECT_EQ(ChangeRemoteFolder(s, ".."), 2);
    CurrentSession.hostType = 6012;
    EXPECT_EQ(ChangeRemoteFolder(s, "sub"), 2);
    EXPECT_TRUE(t->Finish());
}

TEST_F(Remote, FolderNeedingAnAccountAsksForIt)
{
    SOCKET s = Open({"> CWD private", "< 332 account please", "> ACCT acc1", "< 250 ok"});
    ASSERT_NE(s, NO_SOCKET);
    DialogAnswerer answers({{"Password", "", IDOK, {}, {}}, {"Password", "acc1", IDOK, {}, {}}});
    EXPECT_EQ(ChangeRemoteFolder(s, "private"), 2);
    EXPECT_TRUE(answers.Finish());
    EXPECT_EQ(answers.Prompts(), (Lines{"Password required:", "Password required:"}));
    EXPECT_STREQ(CurrentSession.account, "acc1");
    EXPECT_TRUE(t->Finish());
}

TEST_F(Remote, HelpReplyDecidesTheCapabilitiesAndAKnownTypeAsksNothing)
{
    // Without the host-type library SYST detects nothing, so HELP is asked.
    SOCKET s = Open({"> SYST", "< 215 UNIX Type: L8", "> HELP", "< 214-The following commands are recognized.",
                     "<  USER PASS MKD RNFR", "<  DELE QUIT", "< 214 Help OK.", "> NOOP", "< 200 ok", "! drain"});
    ASSERT_NE(s, NO_SOCKET);
    EXPECT_FALSE(ServerCaps.hostTypeChecked);
    EXPECT_EQ(DetectHostType(s), 214);
    EXPECT_TRUE(ServerCaps.hostTypeChecked);
    EXPECT_EQ(ServerCaps.canMakeFolder + ServerCaps.canRename + ServerCaps.canDelete, 3);
    EXPECT_EQ(CurrentSession.hostType, 6010);
    EXPECT_TRUE(LogHasLine("Host type (3): " + std::string(HostTypeName(6010))));
    // The channel is still in step: the next command gets its own reply.
    EXPECT_EQ(FtpCommand(s, "NOOP"), 2);

    ResetServerCapabilities();
    CurrentSession.hostType = 6005;
    DetectHostType(s);
    EXPECT_EQ(ServerCaps.canMakeFolder, 1);
    EXPECT_EQ(ServerCaps.canRename, 0);
    EXPECT_EQ(ServerCaps.useCdup, 0);
    CloseSession(s);
    socket_ = NO_SOCKET;
    EXPECT_TRUE(t->Finish());
    EXPECT_EQ(t->Received().substr(t->Received().size() - 6), "NOOP\r\n") << "nothing sent for a known type";
}

}  // namespace
