// The in-memory history of logged lines behind the three message lines and
// the log window: 60 entries of 119 characters, oldest dropped first.
#pragma once

enum { LOG_HISTORY_LINES = 60, LOG_LINE_SIZE = 120, LOG_LINE_KEEP = 118 };

struct LogHistory {
    char lines[LOG_HISTORY_LINES][LOG_LINE_SIZE];
    int count;     // N: where the next line goes (0..59)
    int position;  // P: the entry shown in the bottom message line
    int full;      // all 60 entries hold lines: the next one drops the oldest
};

// Which entries the three message lines show: -1 for an empty line.
struct LogDisplay {
    int top, middle, bottom;
};

void ResetLogHistory(LogHistory *h);
// Stores a line (cut to 118 characters) and returns the display that follows.
LogDisplay AddHistoryLine(LogHistory *h, const char *text);
// Moves the display one line up (-1) or down (+1). Returns 0 when the
// position was clamped and the display must not change.
int ScrollHistory(LogHistory *h, int delta, LogDisplay *display);

// The colour class of a message line: 0 black, 1 error red, 2 note yellow.
int MessageLineClass(const char *text);
