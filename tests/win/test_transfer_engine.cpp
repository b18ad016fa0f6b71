// The transfer engine against scripted servers on loopback: passive reply
// forms, XPSV, the fallback to PORT, quoted names, TYPE only on change,
// MDTM refusals, announced sizes, the ASCII end-of-file rule, and faults
// (dropped, never opened, short and long data connections, garbage
// replies, a local file that cannot be written).
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "logon_helper.h"
#include "sites/site_profile.h"
#include "transcript_helper.h"
#include "veltro_process_helper.h"
#include "transfer/data_sockets.h"
#include "transfer/transfer.h"

namespace {

using Lines = std::vector<std::string>;

std::string TempPath(const char *name)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "veltro-engine-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

class TransferEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The status dialog has its own test: under Wine without a window
        // manager each dialog costs seconds to unmap.
        ResetTransferState(3);
        CurrentSession.passive = 1;
        AnnouncedType = 'I';
        local = TempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
        DeleteFileA(local.c_str());
    }
    void TearDown() override
    {
        DropControlSocket();
        DeleteFileA(local.c_str());
    }
    void Open(Transcript &t) { ASSERT_TRUE(UseTranscriptSocket(t)); }
    int Transfer(const char *verb, const char *name, int type = 'I')
    {
        return TransferFile(ControlSocket, verb, name, local, type);
    }
    std::string local;
};

// --- downloads: one transfer each ---------------------------------------

struct DownloadCase {
    const char *what;
    void (*prepare)(void);   // settings beyond the fixture's, or null
    Lines rows;
    int result, receiveResult;   // receiveResult -1: 1 or 2
    long long size;              // ExpectedSize, -1: not checked
    const char *file;            // "#N" (TestPattern(N)) or "<#N" (a prefix of it)
    const char *logged;
};

void Active() { CurrentSession.passive = 0; }

TEST_F(TransferEngine, DownloadsAndTheirFaults)
{
    const unsigned unused = UnusedPort();
    const std::string dead = std::to_string(unused >> 8) + "," + std::to_string(unused & 0xFF);
    const Lines pasv = {"= pasv send=#10000", "> PASV", "< 227 Entering Passive Mode ($PASV)", "> RETR f"};
    const Lines port = {"= port send=#10000", "> PASV"};
    const Lines portRetr = {">~ PORT 127,0,0,1,*", "< 200 ok", "> RETR f"};
    const char *announced = "< 150 Opening BINARY mode data connection for f (10000 bytes).";
    const DownloadCase cases[] = {
        {"PASV", nullptr, JoinRows({pasv, {announced, "< 226 Transfer complete"}}), 2, 1, 10000, "#10000",
         "Received 10000 bytes in "},
        {"XPSV after 500", nullptr,
         {"= pasv send=#10000", "> PASV", "< 500 PASV not understood", "> XPSV", "< 227 Entering Passive Mode ($PASV)",
          "> RETR f", announced, "< 226 ok"}, 2, 1, 10000, "#10000", nullptr},
        {"refused connect: PORT", nullptr,
         JoinRows({port, {"< 227 Entering Passive Mode (127,0,0,1," + dead + ")"}, portRetr, {announced, "< 226 ok"}}),
         2, 1, 10000, "#10000", "! connect: "},
        {"three numbers: PORT", nullptr,
         JoinRows({port, {"< 227 Entering Passive Mode (1,2,3)"}, portRetr, {announced, "< 226 ok"}}), 2, 1, 10000,
         "#10000", "! bad address in 1,2,3"},
        {"no address: PORT", nullptr, JoinRows({port, {"< 227 Entering Passive Mode"}, portRetr, {announced, "< 226 ok"}}),
         2, 1, 10000, "#10000", "! Unable to parse info 227 Entering Passive Mode"},
        {"PASV refused: PORT", nullptr, JoinRows({port, {"< 502 Not here"}, portRetr, {announced, "< 226 ok"}}), 2, 1,
         10000, "#10000", "502 Not here"},
        {"size from the entry", [] { CurrentEntry.size = 777; },
         JoinRows({pasv, {"< 150 Here it comes", "< 226 ok"}}), 2, 1, 777, "#10000", nullptr},
        {"more than announced", nullptr,
         {"= pasv send=#150", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Opening (100 bytes)", "< 226 ok"}, 2, 1,
         100, "#150", "Received 150 bytes in "},
        {"fewer than announced", nullptr,
         {"= pasv send=#60", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Opening (100 bytes)", "< 226 ok"}, 2, 2,
         100, "#60", "! Only 60 of the 100 bytes announced arrived"},
        {"quoted retry on 6024", [] {
             Active();
             CurrentSession.hostType = 6024;
         },
         {"= port send=#700", ">~ PORT *", "< 200 PORT ok", "> RETR my data.set", "< 550 No such dataset",
          "> RETR 'my data.set'", "< 150 Sending (700 bytes)", "< 226 Done"}, 2, 1, 700, "#700", nullptr},
        {"refused file", Active, {">~ PORT *", "< 200 PORT ok", "> RETR f", "< 550 Not a plain file"}, 0, 0, -1,
         nullptr, nullptr},
        {"refused link", [] {
             Active();
             CurrentEntry.kind = 2;
         },
         {">~ PORT *", "< 200 PORT ok", "> RETR f", "< 550 Not a plain file"}, 5, 5, -1, nullptr, nullptr},
        {"dropped data connection", nullptr,
         {"= pasv send=#50000 piece=10000 pause=20 end=reset", "> PASV", "< 227 ($PASV)", "> RETR f",
          "< 150 Opening (200000 bytes)", "! pause 300", "< 426 Connection closed; transfer aborted"}, 4, -1, -1,
         "<#50000", nullptr},
        {"stalled data connection", nullptr,
         {"= pasv send=#7 end=hold", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Opening"}, 4, 2, -1,
         "#7", "! Receive error: "},
        {"server never connects", [] {
             Active();
             CurrentSession.timeout = 1;
         },
         {">~ PORT *", "< 200 PORT ok", "> RETR f", "< 150 Opening data connection"}, 0, 0, -1, nullptr,
         "! Accept error: "},
        {"garbage reply", Active, {">~ PORT *", "< garbage", "! pause 100", "! close"}, 0, 0, -1, nullptr,
         "! Failed \"port\":"},
    };
    for (const DownloadCase &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        if (c.prepare)
            c.prepare();
        Transcript t(c.rows);
        Open(t);
        std::string name = "f";   // as the first RETR row has it
        for (auto row = c.rows.rbegin(); row != c.rows.rend(); ++row)
            if (row->rfind("> RETR ", 0) == 0)
                name = row->substr(7);
        DWORD start = GetTickCount();
        EXPECT_EQ(Transfer("RETR", name.c_str()), c.result);
        EXPECT_LT(GetTickCount() - start, 15000u);
        EXPECT_TRUE(c.receiveResult < 0 ? ReceiveResult == 1 || ReceiveResult == 2 : ReceiveResult == c.receiveResult)
            << ReceiveResult;
        EXPECT_TRUE(c.size < 0 || ExpectedSize == (uint64_t)c.size) << ExpectedSize;
        EXPECT_EQ(ListenSocket, NO_SOCKET);
        std::string got = ReadTextFile(local);
        bool prefix = c.file && c.file[0] == '<';   // what arrived is kept as it arrived
        size_t want = c.file ? strtoul(c.file + 1 + prefix, nullptr, 10) : 0;
        EXPECT_TRUE(!c.file || ((prefix ? got.size() <= want : got.size() == want) && got == TestPattern(got.size())))
            << got.size();
        EXPECT_TRUE(!c.logged || LogMentions(c.logged)) << c.logged;
        EXPECT_TRUE(t.Finish());
    }
}

TEST_F(TransferEngine, LocalFileThatCannotBeWrittenCancelsWithAbort)
{
    local = TempPath("no-such-folder\\file");
    Transcript t({"= pasv send=#5000 end=hold", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Opening", "! urgent",
                  ">~ *ABOR", "<< 426 Aborted\\r\\n226 ABOR ok\\r\\n"});
    Open(t);
    EXPECT_EQ(Transfer("RETR", "f"), 2);
    EXPECT_EQ(ReceiveResult, 2);
    EXPECT_TRUE(t.Finish());
    EXPECT_TRUE(LogMentions("! Failed to open file "));
    EXPECT_TRUE(LogMentions("! File error on WRITE! Transfer cancelled."));
    EXPECT_TRUE(LogMentions("transfer failed"));
}

TEST_F(TransferEngine, RefusalsBeforeAnyTraffic)
{
    char command[] = "RETR f";
    EXPECT_EQ(DownloadFile(NO_SOCKET, command, local.c_str(), 'I', FALSE), 0);
    EXPECT_TRUE(LogMentions("! Not connected, ignored"));
    Transcript t(Lines{});
    Open(t);
    CommandBusy = 1;
    EXPECT_EQ(UploadFile(ControlSocket, command, local.c_str(), 'I', FALSE), 0);
    EXPECT_TRUE(LogMentions("! Command in progress, ignored"));
    CommandBusy = 0;
    EXPECT_TRUE(t.Finish());
    EXPECT_TRUE(t.Commands().empty());
}

// --- types ----------------------------------------------------------------

TEST_F(TransferEngine, TypeIsAnnouncedOnlyWhenItChanges)
{
    AnnouncedType = 'A';   // a new session
    const int types[] = {'A', 'A', 'I', 'I', 'L', 'A'};
    Lines rows;
    int announced = 'A';
    for (int type : types) {
        if (type != announced)
            rows.insert(rows.end(), {type == 'L' ? "> TYPE L 8" : std::string("> TYPE ") + (char)type, "< 200 ok"});
        announced = type;
        rows.insert(rows.end(), {"= pasv send=line\\r\\n", "> PASV", "< 227 ($PASV)", "> RETR t.txt", "< 150 go",
                                 "< 226 ok"});
    }
    Transcript t(rows);
    Open(t);
    for (int type : types)
        EXPECT_EQ(Transfer("RETR", "t.txt", type), 2) << (char)type;
    EXPECT_TRUE(t.Finish());
    EXPECT_EQ(ReadTextFile(local), "line\r\n") << "ASCII downloads are stored as received";
}

TEST_F(TransferEngine, AutomaticTypeFollowsTheExtensionList)
{
    char list[MAX_PATH];
    snprintf(list, sizeof list, "%s", TempPath("VELTRO.EXT").c_str());
    ASSERT_TRUE(WriteLocalFile(list, ".txt\r\nREADME\r\n"));
    ExtPath = list;
    GlobalSettings.autoMode = 1;
    Transcript t({"> TYPE A", "< 200 ok", "= pasv send=a", "> PASV", "< 227 ($PASV)", "> RETR NOTES.TXT",
                  "< 150 go", "< 226 ok", "> TYPE I", "< 200 ok", "= pasv send=b", "> PASV", "< 227 ($PASV)",
                  "> RETR image.png", "< 150 go", "< 226 ok"});
    Open(t);
    EXPECT_EQ(Transfer("RETR", "NOTES.TXT", 'I'), 2);
    EXPECT_EQ(GlobalSettings.mode, 'A');
    EXPECT_EQ(Transfer("RETR", "image.png", 'A'), 2);
    EXPECT_EQ(GlobalSettings.mode, 'I');
    EXPECT_TRUE(t.Finish());
    ExtPath = nullptr;
    DeleteFileA(list);
}

// --- uploads ----------------------------------------------------------------

TEST_F(TransferEngine, AsciiUploadDropsOnlyTheFinalEndOfFileMark)
{
    std::string inner(600, 'x');
    inner[511] = 0x1A;   // ends the first 512-byte block, but is data
    const struct {
        const char *what;
        int type;
        std::string file, sent;
    } cases[] = {
        {"ASCII with final mark", 'A', "a\r\nb\r\n\x1A", "a\r\nb\r\n"},
        {"binary keeps the mark", 'I', "a\r\nb\r\n\x1A", "a\r\nb\r\n\x1A"},
        {"ASCII keeps a mark inside the file", 'A', inner, inner},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteLocalFile(local, c.file));
        AnnouncedType = (char)c.type;
        CurrentSession.serverFlags = 4;   // no MDTM
        Transcript t({"= pasv recv", "> PASV", "< 227 ($PASV)", "> STOR up.txt", "< 150 Ok to send data", "< 226 ok"});
        Open(t);
        EXPECT_EQ(Transfer("STOR", "up.txt", c.type), 2);
        EXPECT_TRUE(t.Finish());
        EXPECT_TRUE(t.Peer(0).Received() == c.sent);
    }
}

TEST_F(TransferEngine, RefusedMdtmIsNotSentAgainAndStouFallsBackToStor)
{
    ASSERT_TRUE(WriteLocalFile(local, "content"));
    SetFileWriteTime(local, SYSTEMTIME{2003, 2, 0, 3, 9, 5, 7, 0});
    Transcript t({"= pasv recv", "> PASV", "< 227 ($PASV)", "> STOR one file", "< 150 Ok", "< 226 ok",
                  "> MDTM 20030203090507 one file", "< 500 Unknown command", "= pasv recv", "> PASV", "< 227 ($PASV)",
                  "> STOR two", "< 150 Ok", "< 226 ok", "= pasv recv", "> PASV", "< 227 ($PASV)", "> STOU u.txt",
                  "< 500 STOU not understood", "> STOR u.txt", "< 150 Ok", "< 226 ok"});
    Open(t);
    EXPECT_EQ(Transfer("STOR", "one file"), 2);
    EXPECT_EQ(CurrentSession.serverFlags & 2, 0u);
    EXPECT_EQ(Transfer("STOR", "two"), 2);
    GlobalSettings.storeUnique = 1;
    EXPECT_EQ(Transfer("STOR", "u.txt"), 2);
    EXPECT_TRUE(t.Finish());
    EXPECT_EQ(t.Peer(0).Received(), "content");
    EXPECT_EQ(t.Peer(2).Received(), "content");
}

TEST_F(TransferEngine, KeptTimeComesFromTheEntry)
{
    CurrentEntry.year = 99, CurrentEntry.month = 12, CurrentEntry.day = 31;
    CurrentEntry.hour = 23, CurrentEntry.minute = 58;
    Transcript t({"= pasv send=dated", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Opening", "< 226 ok"});
    Open(t);
    EXPECT_EQ(Transfer("RETR", "f"), 2);
    SYSTEMTIME utc = FileWriteTime(local), got;
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &got);
    EXPECT_EQ(std::vector<int>({got.wYear, got.wMonth, got.wDay, got.wHour, got.wMinute}),
              std::vector<int>({1999, 12, 31, 23, 58}));
    EXPECT_EQ(CurrentEntry.year, 0) << "the entry is cleared after the loop";
    EXPECT_TRUE(t.Finish());
}

// --- the status dialog --------------------------------------------------

TEST_F(TransferEngine, StatusDialogShowsProgressAndCancels)
{
    GlobalSettings.hash = 1;
    snprintf(TransferDescription, sizeof TransferDescription, "150 Opening BINARY mode data connection for f.");
    OpenStatusDialog(2);
    HWND dialog = StatusDialogWindow();
    ASSERT_NE(dialog, nullptr);
    char text[256];
    GetDlgItemTextA(dialog, 831, text, sizeof text);
    EXPECT_STREQ(text, TransferDescription);
    GetWindowTextA(dialog, text, sizeof text);
    EXPECT_STREQ(text, "Transfer Status");
    ShowProgress(4096, 1000, 3000, 0);
    ShowProgress(8192, 1000, 3100, 0);
    GetDlgItemTextA(dialog, 104, text, sizeof text);
    EXPECT_EQ(std::string(text).rfind("4096 ", 0), 0u) << text << ": one text per 500 ms";

    RECT before, after;
    GetWindowRect(dialog, &before);
    SetWindowPos(dialog, nullptr, before.left + 37, before.top + 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(dialog, &before);
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
    GetWindowRect(dialog, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    CloseStatusDialog();
    EXPECT_EQ(StatusDialogWindow(), nullptr);
    CancelFlag = FALSE;
    AbortFlag = FALSE;
}

}  // namespace
