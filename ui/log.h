// Logging: one line to the message log. Everything that reports goes
// through here, so logging needs neither the control channel nor windows.
//
// Lines beginning with "[" are debug lines, shown only with VERBOSE on;
// "! " lines are errors, "+ " lines notes. A line logged on a thread other
// than the main window's (the transfer worker) is handed to the window
// thread by a posted message, so the worker never touches a window.
#pragma once

void LogLine(const char *text);
void LogFormat(const char *format, ...);
