// The transfer engine against scripted servers on loopback: passive reply
// forms, XPSV, the fallback to PORT, quoted names, TYPE only on change,
// MDTM refusals, announced sizes, the ASCII end-of-file rule, and faults
// (dropped, never opened, short and long data connections, garbage
// replies, a local file that cannot be written).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "data_peer_helper.h"
#include "ftp/control.h"
#include "ftp_server_helper.h"
#include "logon_helper.h"
#include "transcript_helper.h"
#include "sites/site_profile.h"
#include "transfer/data_connection.h"
#include "transfer/data_sockets.h"
#include "transfer/transfer.h"
#include "ui/msglog.h"

// The message history (ui/msglog_win.cpp).
const char *LogHistoryLine(int index);

namespace {

// The lines logged since the current test began. The history keeps the
// last 60 lines in order of arrival.
std::vector<std::string> LinesSinceStart()
{
    std::vector<std::string> lines;
    for (int i = 0; i < 60; i++) {
        std::string line = LogHistoryLine(i);
        if (line == "-- test start --")
            lines.clear();
        else if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

bool LogMentions(const std::string &part)
{
    for (const std::string &l : LinesSinceStart())
        if (l.find(part) != std::string::npos)
            return true;
    return false;
}

std::string LogText()
{
    std::string all;
    for (const std::string &l : LinesSinceStart())
        all += l + "\n";
    return all;
}

void MarkLogStart()
{
    LogLine("-- test start --");
}

std::string TempPath(const char *name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "veltro-engine-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

std::string Pattern(size_t n)
{
    std::string bytes(n, '\0');
    for (size_t i = 0; i < n; i++)
        bytes[i] = (char)((i * 131 + i / 251) & 0xFF);
    return bytes;
}

// The PORT command the scripted server has recorded, once it has.
std::string RecordedPort(void *server)
{
    for (const std::string &c : static_cast<ScriptedFtpServer *>(server)->Commands())
        if (c.rfind("PORT ", 0) == 0)
            return c;
    return "";
}

class TransferEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppInstance = GetModuleHandleA(nullptr);
        MarkLogStart();
        // The status dialog has its own test: under Wine without a window
        // manager each dialog costs seconds to unmap.
        GlobalSettings.hash = 0;
        GlobalSettings.tranRate = 1;
        GlobalSettings.recvBlock = 4096;
        GlobalSettings.sendBlock = 512;
        GlobalSettings.keepTimes = 1;
        GlobalSettings.autoMode = 0;
        GlobalSettings.storeUnique = 0;
        CurrentSession = SiteProfile{};
        CurrentSession.timeout = 3;
        CurrentSession.passive = 1;
        CurrentSession.serverFlags = 6;
        CurrentSession.hostType = 6000;
        ReplyTimeout = 3;
        Connected = TRUE;
        CommandBusy = 0;
        CommandLock = FALSE;
        CancelFlag = FALSE;
        AnnouncedType = 'I';
        ClearCurrentEntry();
        local = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
        DeleteFileA(local.c_str());
    }
    void TearDown() override
    {
        if (ControlSocket != NO_SOCKET)
            closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
        DeleteFileA(local.c_str());
    }
    void Connect(ScriptedFtpServer &server)
    {
        server.Start();
        ControlSocket = ConnectToServer(server.Port());
        ASSERT_NE(ControlSocket, INVALID_SOCKET);
    }
    int Download(const char *name, int type = 'I')
    {
        char command[300];
        snprintf(command, sizeof command, "RETR %s", name);
        return DownloadFile(ControlSocket, command, local.c_str(), type, FALSE);
    }
    int Upload(const char *name, int type = 'I')
    {
        char command[300];
        snprintf(command, sizeof command, "STOR %s", name);
        return UploadFile(ControlSocket, command, local.c_str(), type, FALSE);
    }
    std::string local;
};

// --- passive replies and the fallback ----------------------------------

TEST_F(TransferEngine, PassiveXpsvAndTheFallbackToPort)
{
    // A port nothing listens on: bind one and close it again.
    unsigned dead = UnusedPort();
    const std::string refused = "227 Entering Passive Mode (127,0,0,1," + std::to_string(dead >> 8) + "," +
                                std::to_string(dead & 0xFF) + ")";
    const struct {
        const char *what;
        std::vector<std::string> rows;
        const char *logged;
    } cases[] = {
        {"PASV", {"= pasv send=#10000", "> PASV", "< 227 Entering Passive Mode ($PASV)"}, "Received 10000 bytes"},
        {"XPSV after 500", {"= pasv send=#10000", "> PASV", "< 500 PASV not understood", "> XPSV",
                            "< 227 Entering Passive Mode ($PASV)"}, "Received 10000 bytes"},
        {"refused connect", {"= port send=#10000", "> PASV", "< " + refused, ">~ PORT 127,0,0,1,*", "< 200 ok"},
         "! connect: "},
        {"three numbers", {"= port send=#10000", "> PASV", "< 227 Entering Passive Mode (1,2,3)",
                           ">~ PORT 127,0,0,1,*", "< 200 ok"}, "! bad address in 1,2,3"},
        {"no address", {"= port send=#10000", "> PASV", "< 227 Entering Passive Mode", ">~ PORT 127,0,0,1,*",
                        "< 200 ok"}, "! Unable to parse info 227 Entering Passive Mode"},
        {"PASV refused", {"= port send=#10000", "> PASV", "< 502 Not here", ">~ PORT 127,0,0,1,*", "< 200 ok"},
         "502 Not here"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        MarkLogStart();
        std::vector<std::string> rows = c.rows;
        rows.insert(rows.end(), {"> RETR f", "< 150 Opening BINARY mode data connection for f (10000 bytes).",
                                 "< 226 Transfer complete"});
        Transcript t(rows);
        ControlSocket = t.Connect();
        EXPECT_EQ(Download("f"), 2);
        EXPECT_TRUE(t.Finish());
        EXPECT_EQ(ReceiveResult, 1);
        EXPECT_EQ(ExpectedSize, 10000u);
        EXPECT_TRUE(ReadLocalFile(local) == TestPattern(10000));
        EXPECT_TRUE(LogMentions(c.logged)) << LogText();
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
    }
}

TEST_F(TransferEngine, ActiveRetryQuotesTheNameOnHostType6024)
{
    CurrentSession.passive = 0;
    CurrentSession.hostType = 6024;
    const std::string data = Pattern(700);
    ScriptedFtpServer server;
    server.Reply("200 PORT ok\r\n")
        .Reply("550 No such dataset\r\n")
        .Reply("150 Sending (700 bytes)\r\n")
        .Send("226 Done\r\n");
    DataPeer peer;
    peer.SendOnConnect(data);
    peer.StartActive(RecordedPort, &server);
    Connect(server);
    EXPECT_EQ(Download("my data.set"), 2);
    EXPECT_TRUE(server.Finish());
    std::vector<std::string> commands = server.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1], "RETR my data.set");
    EXPECT_EQ(commands[2], "RETR 'my data.set'");
    EXPECT_TRUE(ReadLocalFile(local) == data);
}

TEST_F(TransferEngine, RefusedLinkAnswersFiveAndOtherRefusalsZero)
{
    for (int link = 0; link < 2; link++) {
        SCOPED_TRACE(link ? "link entry" : "file entry");
        CurrentSession.passive = 0;
        ClearCurrentEntry();
        CurrentEntry.kind = link ? 2 : 0;
        ScriptedFtpServer server;
        server.Reply("200 PORT ok\r\n").Reply("550 Not a plain file\r\n");
        Connect(server);
        EXPECT_EQ(Download("lnk"), link ? 5 : 0);
        EXPECT_EQ(ReceiveResult, link ? 5 : 0);
        EXPECT_TRUE(server.Finish());
        EXPECT_EQ(ListenSocket, NO_SOCKET);
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
    }
}

// --- types, sizes and the ASCII rule -------------------------------------

TEST_F(TransferEngine, TypeIsAnnouncedOnlyWhenItChanges)
{
    AnnouncedType = 'A';   // a new session
    const int types[] = {'A', 'A', 'I', 'I', 'L', 'A'};
    const size_t count = sizeof types / sizeof types[0];
    DataPeer peers[count];
    ScriptedFtpServer server;
    std::vector<std::string> expected;
    int announced = 'A';
    for (size_t i = 0; i < count; i++) {
        ASSERT_TRUE(peers[i].Listen());
        peers[i].SendOnConnect("line\r\n");
        peers[i].StartPassive();
        if (types[i] != announced) {
            server.Reply("200 Type set\r\n");
            expected.push_back(types[i] == 'L' ? "TYPE L 8" : std::string("TYPE ") + (char)types[i]);
            announced = types[i];
        }
        server.Reply(peers[i].PassiveReply()).Reply("150 go\r\n").Send("226 ok\r\n");
        expected.push_back("PASV");
        expected.push_back("RETR t.txt");
    }
    Connect(server);
    for (size_t i = 0; i < count; i++)
        EXPECT_EQ(Download("t.txt", types[i]), 2) << i;
    EXPECT_TRUE(server.Finish());
    EXPECT_EQ(server.Commands(), expected);
    EXPECT_EQ(ReadLocalFile(local), "line\r\n") << "ASCII downloads are stored as received";
}

TEST_F(TransferEngine, AutomaticTypeFollowsTheExtensionList)
{
    char list[MAX_PATH];
    snprintf(list, sizeof list, "%s", TempPath("VELTRO.EXT").c_str());
    ASSERT_TRUE(WriteLocalFile(list, ".txt\r\nREADME\r\n"));
    ExtPath = list;
    GlobalSettings.autoMode = 1;
    AnnouncedType = 'I';
    DataPeer first, second;
    ASSERT_TRUE(first.Listen() && second.Listen());
    first.SendOnConnect("a");
    second.SendOnConnect("b");
    first.StartPassive();
    second.StartPassive();
    ScriptedFtpServer server;
    server.Reply("200 Type A\r\n").Reply(first.PassiveReply()).Reply("150 go\r\n").Send("226 ok\r\n");
    server.Reply("200 Type I\r\n").Reply(second.PassiveReply()).Reply("150 go\r\n").Send("226 ok\r\n");
    Connect(server);
    EXPECT_EQ(Download("NOTES.TXT", 'I'), 2);
    EXPECT_EQ(GlobalSettings.mode, 'A');
    EXPECT_EQ(Download("image.png", 'A'), 2);
    EXPECT_EQ(GlobalSettings.mode, 'I');
    EXPECT_TRUE(server.Finish());
    std::vector<std::string> expected = {"TYPE A", "PASV", "RETR NOTES.TXT",
                                         "TYPE I", "PASV", "RETR image.png"};
    EXPECT_EQ(server.Commands(), expected);
    ExtPath = nullptr;
    DeleteFileA(list);
}

struct SizeCase {
    const char *what;
    const char *preliminary;
    uint64_t expected;
};

TEST_F(TransferEngine, PreliminaryReplyAnnouncesTheSize)
{
    const SizeCase cases[] = {
        {"bytes", "150 Opening BINARY mode data connection for f (12345 bytes)\r\n", 12345},
        {"none, entry size used", "150 Here it comes\r\n", 777},
    };
    for (const SizeCase &c : cases) {
        SCOPED_TRACE(c.what);
        ClearCurrentEntry();
        CurrentEntry.size = 777;
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        peer.SendOnConnect("abc");
        peer.StartPassive();
        ScriptedFtpServer server;
        server.Reply(peer.PassiveReply()).Reply(c.preliminary).Send("226 ok\r\n");
        Connect(server);
        EXPECT_EQ(Download("f"), 2);
        EXPECT_EQ(ExpectedSize, c.expected);
        EXPECT_TRUE(server.Finish());
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
    }
}

struct EndOfFileCase {
    const char *what;
    int type;
    std::string file;
    std::string sent;
};

TEST_F(TransferEngine, AsciiUploadDropsOnlyTheFinalEndOfFileMark)
{
    std::string inner(600, 'x');
    inner[511] = 0x1A;   // ends the first 512-byte block, but is data
    const EndOfFileCase cases[] = {
        {"ASCII with final mark", 'A', "a\r\nb\r\n\x1A", "a\r\nb\r\n"},
        {"binary keeps the mark", 'I', "a\r\nb\r\n\x1A", "a\r\nb\r\n\x1A"},
        {"ASCII keeps a mark inside the file", 'A', inner, inner},
        {"ASCII without a mark", 'A', "plain\r\n", "plain\r\n"},
    };
    for (const EndOfFileCase &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteLocalFile(local, c.file));
        AnnouncedType = (char)c.type;
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        peer.ReceiveOnConnect();
        peer.StartPassive();
        ScriptedFtpServer server;
        server.Reply(peer.PassiveReply()).Reply("150 Ok to send data\r\n").Send("226 ok\r\n");
        server.Serve({{"MDTM", "213 ok\r\n"}});
        Connect(server);
        EXPECT_EQ(Upload("up.txt", c.type), 2);
        EXPECT_TRUE(peer.Finish());
        EXPECT_TRUE(peer.Received() == c.sent);
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
        server.Finish();
    }
}

// --- uploads: MDTM, STOU ------------------------------------------------

TEST_F(TransferEngine, RefusedMdtmIsNotSentAgain)
{
    ASSERT_TRUE(WriteLocalFile(local, "content"));
    FILETIME ft;
    SYSTEMTIME st = {2003, 2, 0, 3, 9, 5, 7, 0};
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(local.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);

    DataPeer first, second;
    ASSERT_TRUE(first.Listen() && second.Listen());
    first.ReceiveOnConnect();
    second.ReceiveOnConnect();
    first.StartPassive();
    second.StartPassive();
    ScriptedFtpServer server;
    server.Reply(first.PassiveReply()).Reply("150 Ok\r\n").Send("226 ok\r\n")
        .Reply("500 Unknown command\r\n")
        .Reply(second.PassiveReply()).Reply("150 Ok\r\n").Send("226 ok\r\n");
    Connect(server);
    EXPECT_EQ(Upload("one file"), 2);
    EXPECT_EQ(CurrentSession.serverFlags & 2, 0u);
    EXPECT_EQ(Upload("two"), 2);
    EXPECT_TRUE(server.Finish());
    std::vector<std::string> expected = {"PASV", "STOR one file", "MDTM 20030203090507 one file",
                                         "PASV", "STOR two"};
    EXPECT_EQ(server.Commands(), expected);
    EXPECT_EQ(first.Received(), "content");
}

TEST_F(TransferEngine, SendUniqueFallsBackToStor)
{
    GlobalSettings.storeUnique = 1;
    CurrentSession.serverFlags = 4;   // no MDTM
    ASSERT_TRUE(WriteLocalFile(local, "u"));
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.ReceiveOnConnect();
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("500 STOU not understood\r\n").Reply("150 Ok\r\n").Send("226 ok\r\n");
    Connect(server);
    char command[32] = "STOR u.txt";
    EXPECT_EQ(UploadFile(ControlSocket, command, local.c_str(), 'I', FALSE), 2);
    EXPECT_TRUE(server.Finish());
    std::vector<std::string> expected = {"PASV", "STOU u.txt", "STOR u.txt"};
    EXPECT_EQ(server.Commands(), expected);
    EXPECT_EQ(peer.Received(), "u");
}

// --- faults -------------------------------------------------------------

TEST_F(TransferEngine, DroppedDataConnectionKeepsThePartialFile)
{
    const std::string data = Pattern(200000);
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect(data.substr(0, 50000), 10000, 20, DataPeer::RESET);
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("150 Opening (200000 bytes)\r\n").Delay(300)
        .Send("426 Connection closed; transfer aborted\r\n");
    Connect(server);
    int result = Download("big");
    EXPECT_TRUE(result == 4) << result << "\n" << LogText();
    EXPECT_TRUE(ReceiveResult == 2 || ReceiveResult == 1) << ReceiveResult;
    std::string got = ReadLocalFile(local);
    EXPECT_LE(got.size(), 50000u);
    EXPECT_TRUE(got == data.substr(0, got.size())) << "what arrived is kept as it arrived";
    server.Finish();
}

TEST_F(TransferEngine, ServerThatNeverConnectsTimesOut)
{
    CurrentSession.passive = 0;
    CurrentSession.timeout = 1;
    ScriptedFtpServer server;
    server.Reply("200 PORT ok\r\n").Reply("150 Opening data connection\r\n");
    Connect(server);
    DWORD start = GetTickCount();
    EXPECT_EQ(Download("f"), 0);
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_TRUE(LogMentions("! Accept error: ")) << LogText();
    EXPECT_EQ(ListenSocket, NO_SOCKET);
    server.Finish();
}

TEST_F(TransferEngine, StalledDataConnectionTimesOut)
{
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect("partial", 0, 0, DataPeer::HOLD);
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("150 Opening\r\n");
    Connect(server);
    DWORD start = GetTickCount();
    int result = Download("f");
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_NE(result, 2);
    EXPECT_EQ(ReceiveResult, 2);
    EXPECT_EQ(ReadLocalFile(local), "partial");
    EXPECT_TRUE(LogMentions("! Receive error: ")) << LogText();
    peer.Stop();
    server.Finish();
}

struct CountCase {
    const char *what;
    std::string announced;
    size_t sent;
};

TEST_F(TransferEngine, MoreOrFewerBytesThanAnnouncedAreStoredAsSent)
{
    const CountCase cases[] = {
        {"more", "(100 bytes)", 150},
        {"fewer", "(100 bytes)", 60},
    };
    for (const CountCase &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string data = Pattern(c.sent);
        DataPeer peer;
        ASSERT_TRUE(peer.Listen());
        peer.SendOnConnect(data);
        peer.StartPassive();
        ScriptedFtpServer server;
        server.Reply(peer.PassiveReply()).Reply("150 Opening " + c.announced + "\r\n").Send("226 ok\r\n");
        Connect(server);
        EXPECT_EQ(Download("f"), 2);
        EXPECT_EQ(ReceiveResult, 1);
        EXPECT_TRUE(ReadLocalFile(local) == data);
        EXPECT_TRUE(LogMentions("Received " + std::to_string(c.sent) + " bytes in ")) << LogText();
        server.Finish();
        closesocket(ControlSocket);
        ControlSocket = NO_SOCKET;
    }
}

TEST_F(TransferEngine, GarbageRepliesFailWithoutHanging)
{
    CurrentSession.passive = 0;
    ScriptedFtpServer server;
    server.Reply("garbage\r\n").Delay(100).Close();
    Connect(server);
    DWORD start = GetTickCount();
    EXPECT_EQ(Download("f"), 0);
    EXPECT_EQ(ListenSocket, NO_SOCKET);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_TRUE(LogMentions("! Failed \"port\":")) << LogText();
    server.Finish();
}

TEST_F(TransferEngine, LocalFileThatCannotBeWrittenCancelsWithAbort)
{
    local = TempPath("no-such-folder\\file");
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect(Pattern(5000));
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("150 Opening\r\n")
        .ReadUrgent().ReadCommand().Send("426 Aborted\r\n226 ABOR ok\r\n");
    Connect(server);
    int result = Download("f");
    EXPECT_TRUE(server.Finish()) << server.Error();
    EXPECT_EQ(result, 2);
    EXPECT_EQ(ReceiveResult, 2);
    std::vector<std::string> commands = server.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_NE(commands[2].find("ABOR"), std::string::npos);
    EXPECT_TRUE(LogMentions("! Failed to open file ")) << LogText();
    EXPECT_TRUE(LogMentions("! File error on WRITE! Transfer cancelled.")) << LogText();
    EXPECT_TRUE(LogMentions("transfer failed")) << LogText();
}

TEST_F(TransferEngine, RefusalsBeforeAnyTraffic)
{
    char command[] = "RETR f";
    ControlSocket = NO_SOCKET;
    EXPECT_EQ(DownloadFile(NO_SOCKET, command, local.c_str(), 'I', FALSE), 0);
    EXPECT_TRUE(LogMentions("! Not connected, ignored"));
    ScriptedFtpServer server;
    Connect(server);
    CommandBusy = 1;
    EXPECT_EQ(UploadFile(ControlSocket, command, local.c_str(), 'I', FALSE), 0);
    EXPECT_TRUE(LogMentions("! Command in progress, ignored"));
    CommandBusy = 0;
    EXPECT_TRUE(server.Finish());
    EXPECT_TRUE(server.Commands().empty());
}

TEST_F(TransferEngine, LargeBlockSizesAreHonoured)
{
    GlobalSettings.recvBlock = 65536;
    const std::string data = Pattern(1 << 20);
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect(data);
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("150 Opening\r\n").Send("226 ok\r\n");
    Connect(server);
    EXPECT_EQ(Download("f"), 2);
    EXPECT_TRUE(ReadLocalFile(local) == data);
    server.Finish();
}

TEST_F(TransferEngine, KeptTimeComesFromTheEntry)
{
    ClearCurrentEntry();
    CurrentEntry.year = 99;
    CurrentEntry.month = 12;
    CurrentEntry.day = 31;
    CurrentEntry.hour = 23;
    CurrentEntry.minute = 58;
    DataPeer peer;
    ASSERT_TRUE(peer.Listen());
    peer.SendOnConnect("dated");
    peer.StartPassive();
    ScriptedFtpServer server;
    server.Reply(peer.PassiveReply()).Reply("150 Opening\r\n").Send("226 ok\r\n");
    Connect(server);
    EXPECT_EQ(Download("f"), 2);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(local.c_str(), GetFileExInfoStandard, &data));
    FILETIME localTime;
    SYSTEMTIME t;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &localTime);
    FileTimeToSystemTime(&localTime, &t);
    EXPECT_EQ(t.wYear, 1999);
    EXPECT_EQ(t.wMonth, 12);
    EXPECT_EQ(t.wDay, 31);
    EXPECT_EQ(t.wHour, 23);
    EXPECT_EQ(t.wMinute, 58);
    EXPECT_EQ(CurrentEntry.year, 0) << "the entry is cleared after the loop";
    server.Finish();
}

// --- the status dialog --------------------------------------------------

TEST_F(TransferEngine, StatusDialogShowsProgressAndCancels)
{
    GlobalSettings.hash = 1;
    snprintf(TransferDescription, sizeof TransferDescription,
             "150 Opening BINARY mode data connection for f (4294967297 bytes).");
    OpenStatusDialog(2);
    HWND dialog = StatusDialogWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ExpectedSize, 4294967297ull);
    char text[256];
    GetDlgItemTextA(dialog, 831, text, sizeof text);
    EXPECT_STREQ(text, TransferDescription);
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Transfer Status");
    ShowProgress(4294967296ull, 1000, 3000, ExpectedSize);
    GetDlgItemTextA(dialog, 104, text, sizeof text);
    EXPECT_EQ(std::string(text).rfind("4294967296 : 2048.00 MBps : 0:02", 0), 0u) << text;
    ShowProgress(4294967297ull, 1000, 3100, ExpectedSize);
    GetDlgItemTextA(dialog, 104, text, sizeof text);
    EXPECT_EQ(std::string(text).rfind("4294967296 : ", 0), 0u) << "throttled to one text per 500 ms";

    RECT before;
    GetWindowRect(dialog, &before);
    SetWindowPos(dialog, nullptr, before.left + 37, before.top + 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dialog, &before);
    CancelFlag = FALSE;
    AbortFlag = FALSE;
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(CancelFlag);
    EXPECT_TRUE(AbortFlag);
    EXPECT_EQ(StatusDialogWindow(), nullptr);
    EXPECT_FALSE(IsWindow(dialog));

    // The next dialog opens where the last one was closed.
    TransferDescription[0] = 0;
    ClearCurrentEntry();
    OpenStatusDialog(1);
    dialog = StatusDialogWindow();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ExpectedSize, 0u);
    RECT after;
    GetWindowRect(dialog, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    CloseStatusDialog();
    EXPECT_EQ(StatusDialogWindow(), nullptr);
    CancelFlag = FALSE;
    AbortFlag = FALSE;
}

}  // namespace
