// Work handed to the window thread (the thread of the main window) by a
// posted message: a worker thread never touches a window itself.
#pragma once

// True when the caller may touch windows directly: it is the main window's
// thread, or there is no main window (yet).
bool OnWindowThread(void);
// Posts job(data) to the window thread; false when that cannot be done (on
// the window thread already, before the relay exists, or the post failed).
// The job owns data (it frees what needs freeing).
bool PostToWindowThread(void (*job)(void *data), void *data);
// The same for a text to show (a log line, a progress text): run within a
// few tens of milliseconds, together with the texts handed meanwhile.
bool QueueForWindowThread(void (*job)(void *data), void *data);
// Makes the relay; called on the window thread (the first log line does).
void PrepareWindowThreadRelay(void);
// Runs the jobs still waiting, on the window thread (at shutdown, so that no
// logged line is lost).
void RunWindowThreadJobs(void);
