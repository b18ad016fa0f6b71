// The control channel and the transfer drivers under faults, Cancel,
// re-entry and a second thread (scripted transcripts, and vsftpd for the
// second thread).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "ftp/remote_commands.h"
#include "logon_helper.h"
#include "real_server_helper.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transcript_helper.h"
#include "transfer/data_sockets.h"
#include "transfer/transfer.h"
#include "veltro_process_helper.h"

namespace {

using Lines = std::vector<std::string>;

// Runs inside the transfer's pump (posted), or the user's Cancel (a timer).
std::function<void()> OnPump;
enum { WM_RUN = WM_APP + 7, CANCEL_TIMER = 7 };

LRESULT CALLBACK WindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RUN && OnPump) {
        OnPump();
    } else if (message == WM_TIMER && wParam == CANCEL_TIMER && KillTimer(w, CANCEL_TIMER)) {
        CancelFlag = TRUE;
        AbortFlag = TRUE;
    } else {
        return DefWindowProcA(w, message, wParam, lParam);
    }
    return 0;
}

class ChannelFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTransferState(5);
        SetThreadBlockingHook(nullptr);   // messages only in the transfer's own pump
        if (!window)
            window = MakeTestWindow("VeltroChannelFaults", WindowProc);
        CurrentSession.passive = 1;
        AnnouncedType = 'I';
        OnPump = nullptr;
        local = std::string(getenv("TEMP") ? getenv("TEMP") : ".") + "\\veltro-faults.bin";
        DeleteFileA(local.c_str());
    }
    void TearDown() override
    {
        DropControlSocket();
        DestroyWindow(window);
        window = nullptr;
        DeleteFileA(local.c_str());
    }
    void Open(Transcript &t) { ASSERT_TRUE(UseTranscriptSocket(t)); }
    int Transfer(const char *verb, int type = 'I') { return TransferFile(ControlSocket, verb, "f", local, type); }
    HWND window = nullptr;
    std::string local;
};

TEST_F(ChannelFaults, FailedUploadsAreNeverSuccess)
{
    auto rows = [](const char *peer, Lines replies) {
        replies.insert(replies.begin(), {peer, "> PASV", "< 227 ($PASV)", "> STOR f"});
        return replies;
    };
    struct Case {
        const char *name;
        size_t localSize;   // 0: no local file
        Lines rows;
    } cases[] = {
        {"local file missing", 0, {"! drain"}},
        {"426 during STOR", 50000, rows("= pasv recv", {"< 150 Ok", "< 426 Transfer aborted"})},
        {"552 on STOR", 50000, rows("= pasv recv", {"< 552 Exceeded storage allocation"})},
        {"data dropped mid-upload", 8 << 20, rows("= pasv send=x end=reset", {"< 150 Ok", "< 226 Done"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_TRUE(!c.localSize || WriteLocalFile(local, std::string(c.localSize, 'u')));
        Transcript t(c.rows);
        Open(t);
        EXPECT_NE(Transfer("STOR"), 2);
        EXPECT_FALSE(LogMentions("transfer succeeded"));
        DropControlSocket();
        EXPECT_TRUE(t.Finish());
        EXPECT_TRUE(c.localSize || t.Received().empty()) << "sent for a missing file: " << t.Received();
    }
}

TEST_F(ChannelFaults, HelpScanEndsWithASingleLineRefusal)
{
    Transcript t({"> SYST", "< 215 MysteryOS", "> HELP", "< 502 Command not implemented", "> NOOP", "< 200 ok"});
    Open(t);
    DWORD start = GetTickCount();
    DetectHostType(ControlSocket);
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(FtpCommand(ControlSocket, "NOOP"), 2);   // the next reply is its own
    EXPECT_TRUE(t.Finish());
}

const char *const Trickle = "= pasv send=#65536 piece=4096 pause=25";   // the loop pumps messages

TEST_F(ChannelFaults, CommandInsideATransferIsRefused)
{
    Transcript t({Trickle, "> PASV", "< 227 ($PASV)", "> RETR f", "<< 150 Data\\r\\n226 Done\\r\\n", "> PWD",
                  "< 257 \"/\""});
    Open(t);
    int pwd = -1, pwdCode = -1, help = 0;
    OnPump = [&] {   // the flush would drop the pending "226 Done"
        pwd = FtpCommand(ControlSocket, "PWD"), pwdCode = LastReplyCode, help = SendLine(ControlSocket, "HELP");
        FlushReply(ControlSocket);
    };
    PostMessageA(window, WM_RUN, 0, 0);
    EXPECT_EQ(Transfer("RETR"), 2);
    EXPECT_TRUE(pwd == 4 && pwdCode == 400 && help == -1) << pwd << " " << pwdCode << " " << help;
    EXPECT_EQ(FtpCommand(ControlSocket, "PWD"), 2);
    EXPECT_TRUE(t.Finish());
}

TEST_F(ChannelFaults, NextCommandGetsItsOwnReply)
{
    // Cancelled during the TYPE reply (passive), and in the accept of an active data connection.
    const Lines passiveRows = {"> TYPE A", "! pause 1500", "< 200 Type set"},
                activeRows = {">~ PORT 127,0,0,1,*", "< 200 Ok", "> RETR f",
                              "<< 150 Opening\\r\\n425 No data connection\\r\\n"};
    for (BOOL passive : {TRUE, FALSE}) {
        SCOPED_TRACE(passive);
        SetUp();
        CurrentSession.passive = passive;
        AnnouncedType = passive ? 'I' : 'A';   // TYPE A only in the first case
        Lines rows = passive ? passiveRows : activeRows;
        rows.insert(rows.end(), {"> PWD", "< 257 \"/\""});
        Transcript t(rows);
        Open(t);
        SetThreadBlockingHook(BlockingHook);
        SetTimer(window, CANCEL_TIMER, 300, nullptr);
        EXPECT_NE(Transfer("RETR", 'A'), 2);
        EXPECT_TRUE(FtpCommand(ControlSocket, "PWD") == 2 && LastReplyCode == 257) << LastReplyCode;
        DropControlSocket();
        EXPECT_TRUE(t.Finish());
    }
}

TEST_F(ChannelFaults, DataSocketClosedByCancelIsClosedOnce)
{
    Transcript t({std::string(Trickle) + " end=hold", "> PASV", "< 227 ($PASV)", "> RETR f", "< 150 Data", "! urgent", ">~ *ABOR",
                  "<< 426 Aborted\\r\\n226 ABOR ok\\r\\n"});
    Open(t);
    SOCKET spare = INVALID_SOCKET;   // made after the close: may reuse the handle
    OnPump = [&] { CloseDataConnections(), spare = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP); };
    PostMessageA(window, WM_RUN, 0, 0);
    Transfer("RETR");
    EXPECT_EQ(ReceiveResult, 2);   // partial: cancelled
    int type = 0, size = sizeof type;
    EXPECT_EQ(getsockopt(spare, SOL_SOCKET, SO_TYPE, (char *)&type, &size), 0);
    closesocket(spare);
    EXPECT_TRUE(t.Finish());
}

// A batch on a second thread while the window thread issues PWD and Cancel,
// against vsftpd: nothing hangs and every reply is the command's own.
struct Worker {
    SOCKET control;
    std::string local;
    int transferred = 0;
    static DWORD WINAPI Run(void *self)
    {
        Worker *w = static_cast<Worker *>(self);
        for (int i = 0; i < 40; i++) {
            if (TransferFile(w->control, "RETR", "threads.bin", w->local, 'I') == 2 && ReceiveResult == 1)
                w->transferred++;
        }
        return 0;
    }
};

TEST_F(ChannelFaults, SecondThreadTransfersWhileWindowThreadCommands)
{
    if (!RealServersRunning())
        GTEST_SKIP() << "no test servers (run through tests/servers/with-servers.sh)";
    GlobalSettings.keepTimes = 0;
    ControlSocket = LogOnTo(RealServers[0]);
    ASSERT_NE(ControlSocket, NO_SOCKET);
    const std::string remote = ServerFile(RealServers[0], "threads.bin");
    ASSERT_TRUE(WriteLocalFile(remote, std::string(300000, 't')));
    MainWindow = window;   // the worker's log lines are posted to this thread
    LogLine("-- second thread --");
    SetThreadBlockingHook(BlockingHook);
    Worker worker{ControlSocket, local};
    HANDLE thread = CreateThread(nullptr, 0, Worker::Run, &worker, 0, nullptr);
    int commands = 0;
    for (DWORD start = GetTickCount(); WaitForSingleObject(thread, 5) == WAIT_TIMEOUT;) {
        ASSERT_LT(GetTickCount() - start, 120000u) << "hung";
        PumpWhileWaiting(1);
        if (++commands % 9 == 0)
            CancelFlag = TRUE;
        int r = FtpCommand(ControlSocket, "PWD");
        EXPECT_TRUE(r == 2 ? strncmp(ReplyText, "257 ", 4) == 0 : r == 4) << r << " " << ReplyText;
    }
    CloseHandle(thread);
    MainWindow = nullptr;
    EXPECT_TRUE(worker.transferred > 0 && commands > 10) << worker.transferred << " " << commands;
    EXPECT_TRUE(FtpCommand(ControlSocket, "PWD") == 2 && strncmp(ReplyText, "257 ", 4) == 0) << ReplyText;
    EXPECT_EQ(TransferFile(ControlSocket, "RETR", "threads.bin", local, 'I'), 2);
    EXPECT_EQ(ReadTextFile(local), std::string(300000, 't'));
    DeleteFileA(remote.c_str());
}

// The status of a transfer on a second thread: the worker makes no window;
// the window thread opens, fills and closes the dialog from its posts.
struct StatusWorker {
    HANDLE opened = CreateEventA(nullptr, FALSE, FALSE, nullptr), proceed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    static DWORD WINAPI Run(void *self)
    {
        StatusWorker *w = static_cast<StatusWorker *>(self);
        OpenStatusDialog(2);
        ShowProgress(4096, 0, 1000, 0);
        SetEvent(w->opened);
        WaitForSingleObject(w->proceed, 10000);
        CloseStatusDialog();
        return 0;
    }
};

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(int *)count;
    return TRUE;
}

TEST_F(ChannelFaults, StatusOfAWorkerTransferIsShownByTheWindowThread)
{
    GlobalSettings.hash = 1;
    MainWindow = window;
    LogLine("-- status --");   // the window thread's first line readies the relay
    StatusWorker w;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, StatusWorker::Run, &w, 0, &id);
    ASSERT_EQ(WaitForSingleObject(w.opened, 10000), WAIT_OBJECT_0);
    int windows = 0;
    EnumThreadWindows(id, CountWindow, (LPARAM)&windows);
    EXPECT_EQ(windows, 0) << "the worker made a window";
    PumpTransferMessages();
    char text[64] = "";
    GetDlgItemTextA(StatusDialogWindow(), IDC_STATUS_PROGRESS, text, sizeof text);
    EXPECT_EQ(strncmp(text, "4096 ", 5), 0) << text;
    SetEvent(w.proceed);
    WaitForSingleObject(thread, 10000);
    PumpTransferMessages();
    EXPECT_EQ(StatusDialogWindow(), nullptr);
    for (HANDLE h : {thread, w.opened, w.proceed})
        CloseHandle(h);
    MainWindow = nullptr;
}

// Closing asks a running worker to stop and waits for it: one that stops in
// time ends by itself (exit code 0), never by TerminateThread (code 1).
DWORD WINAPI StopsWhenAsked(void *)
{
    for (int i = 0; i < 2000 && !AbortFlag; i++)
        Sleep(5);
    return AbortFlag ? 0 : 2;
}

TEST_F(ChannelFaults, ClosingAsksTheWorkerToStop)
{
    SetBusy(TRUE);
    TransferThread = CreateThread(nullptr, 0, StopsWhenAsked, nullptr, 0, nullptr);
    HANDLE thread;
    DuplicateHandle(GetCurrentProcess(), TransferThread, GetCurrentProcess(), &thread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    EXPECT_TRUE(TerminateTransferWorker());
    DWORD code = 9;
    EXPECT_TRUE(GetExitCodeThread(thread, &code) && code == 0) << code;
    EXPECT_FALSE(IsBusy());
    CloseHandle(thread);
}

}  // namespace
