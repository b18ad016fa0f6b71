// The rules around each file transfer: may an existing destination file be
// replaced, and where does an interrupted download restart.
//
// Overwrite: the source and destination entries are compared by their date
// stamps "YYYYMMDDhhmm" (a year below 200 counts from 1900), as strings:
//   source later                       -> OVERWRITE_GO
//   source earlier                     -> OVERWRITE_NEWER (destination newer)
//   equal stamps, equal sizes          -> OVERWRITE_SAME
//   equal stamps, different sizes      -> OVERWRITE_GO
//   no destination, or either undated  -> OVERWRITE_GO
// A verdict other than GO is then settled without a question inside a folder
// walk (KEPDIROW on: the verdict; off: GO) and by a remembered "to All"
// answer; otherwise the user is asked.
//
// Restart: a partial file restarts at its size rounded down to a multiple
// of 1024; a file of 1024 bytes or less restarts at 0.
#pragma once
#include <stdint.h>

enum { OVERWRITE_NEWER = -1, OVERWRITE_SAME = 0, OVERWRITE_GO = 1 };
// The overwrite answer memory: none, yes to all, no to all.
enum { ANSWER_NONE = 0, ANSWER_YES_ALL = 1, ANSWER_NO_ALL = -1 };
// The buttons of the overwrite question (the dialog's control ids).
enum { OVERWRITE_YES = 6, OVERWRITE_NO = 7, OVERWRITE_YES_ALL = 2420, OVERWRITE_NO_ALL = 2421 };

struct StampedEntry {
    uint16_t year;   // 0 = no date (with month 0)
    uint8_t month, day, hour, minute;
    uint64_t size;
};

struct OverwriteCase {
    StampedEntry source;
    const StampedEntry *destination;   // the same-named destination file, or null
    int folderWalk;                    // a folder transfer runs
    int askOverwrite;                  // KEPOVERW
    int skipInFolders;                 // KEPDIROW
    int answerMemory;                  // ANSWER_*
};

struct OverwriteDecision {
    int verdict;   // OVERWRITE_*: the comparison
    int answer;    // what to do without asking: OVERWRITE_GO, or the verdict
    int ask;       // 1: ask the user; answer then holds the verdict
};

// Whether the destination entry matters at all (a comparison is due only
// in folder walks or with KEPOVERW on, and only for a dated source).
int OverwriteNeedsComparison(const OverwriteCase *c);
// "%04u%02u%02u%02u%02u" of the entry (13 bytes with the NUL).
void FormatStamp(char *out, int size, const StampedEntry *entry);
OverwriteDecision DecideOverwrite(const OverwriteCase *c);
// The answer for the button pressed on the question (any other id, such as
// Cancel, counts as "&No"); "to All" buttons update *memory.
int AnswerFromButton(int button, int verdict, int *memory);

uint64_t RestartOffset(uint64_t partialSize);
