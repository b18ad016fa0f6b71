// The window-thread relay: a message-only window of the main window's thread
// that runs the jobs other threads hand to it, in the order handed.
//
// Jobs wait in one queue, run in order. A job that changes windows, and
// the first text after a quiet spell, wake the window thread with a posted
// message at once; while texts keep coming (a batch logs a dozen lines and
// progress texts for every small file) they are run from a timer every
// DRAIN_PERIOD_MS instead of one posted message and one wake-up each.
#include "ui/window_thread.h"

#include <windows.h>

#include <new>
#include <vector>

#include "app/app.h"

namespace {

enum { WM_RELAY_WAKE = WM_APP + 40, DRAIN_TIMER_ID = 1 };
const UINT DRAIN_PERIOD_MS = 40;
typedef void (*Job)(void *);

struct QueuedJob {
    Job job;
    void *data;
};

HWND volatile Relay;
CRITICAL_SECTION QueueLock;
// Made with the relay and never destroyed: a thread that logs while the
// process exits must not find it gone.
std::vector<QueuedJob> *Queue;
size_t QueueHead;      // the next job to run
bool Draining;         // the window thread has been woken (posted or ticking)

// Takes the next job; false when the queue is empty.
bool NextJob(QueuedJob *job)
{
    EnterCriticalSection(&QueueLock);
    bool have = QueueHead < Queue->size();
    if (have) {
        *job = (*Queue)[QueueHead++];
    } else {
        Queue->clear();
        QueueHead = 0;
    }
    LeaveCriticalSection(&QueueLock);
    return have;
}

// Runs what is queued; returns how many jobs ran.
int RunQueued(void)
{
    int ran = 0;
    QueuedJob job;
    while (NextJob(&job)) {
        job.job(job.data);
        ran++;
    }
    return ran;
}

// Ends the draining when nothing is queued: the next job wakes the thread.
bool EndDrainingIfIdle(void)
{
    EnterCriticalSection(&QueueLock);
    bool idle = QueueHead >= Queue->size();
    if (idle)
        Draining = false;
    LeaveCriticalSection(&QueueLock);
    return idle;
}

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELAY_WAKE) {
        RunQueued();
        if (!SetTimer(window, DRAIN_TIMER_ID, DRAIN_PERIOD_MS, nullptr)) {
            do
                RunQueued();
            while (!EndDrainingIfIdle());
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == DRAIN_TIMER_ID) {
        // A tick that finds nothing to run ends the ticking.
        if (RunQueued() == 0 && EndDrainingIfIdle())
            KillTimer(window, DRAIN_TIMER_ID);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool OnWindowThread(void)
{
    return !MainWindow || GetWindowThreadProcessId(MainWindow, nullptr) == GetCurrentThreadId();
}

void PrepareWindowThreadRelay(void)
{
    if (Relay || !MainWindow || !OnWindowThread())
        return;
    if (!Queue)
        Queue = new (std::nothrow) std::vector<QueuedJob>();
    if (!Queue)
        return;
    InitializeCriticalSection(&QueueLock);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RelayProc;
    wc.hInstance = AppInstance;
    wc.lpszClassName = "VELTRRELAY";
    RegisterClassA(&wc);
    HWND relay = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance, nullptr);
    if (!relay)
        DeleteCriticalSection(&QueueLock);
    InterlockedExchangePointer((PVOID volatile *)&Relay, relay);
}

void RunWindowThreadJobs(void)
{
    if (Relay && OnWindowThread())
        RunQueued();
}

namespace {

bool Hand(void (*job)(void *data), void *data, bool wakeNow)
{
    HWND relay = Relay;
    if (!relay || OnWindowThread())
        return false;
    EnterCriticalSection(&QueueLock);
    bool queued = true;
    try {
        Queue->push_back(QueuedJob{job, data});
    } catch (...) {
        queued = false;
    }
    bool wake = queued && (wakeNow || !Draining);
    if (wake)
        Draining = true;
    LeaveCriticalSection(&QueueLock);
    if (wake && !PostMessageA(relay, WM_RELAY_WAKE, 0, 0)) {
        // Not delivered (the program is closing): the job waits for the
        // next wake.
        EnterCriticalSection(&QueueLock);
        Draining = false;
        LeaveCriticalSection(&QueueLock);
    }
    return queued;
}

}  // namespace

bool PostToWindowThread(void (*job)(void *data), void *data)
{
    return Hand(job, data, true);
}

bool QueueForWindowThread(void (*job)(void *data), void *data)
{
    return Hand(job, data, false);
}
