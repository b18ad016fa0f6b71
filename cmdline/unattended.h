// The unattended transfer named by the path part of the command line.
//
// Results: 0 failed (or nothing to do), 1 transferred, 2 connected and
// showing a remote folder (the window stays open). Every message goes to the
// log (and, while the batch flag is set, to "xferlog.txt"); message boxes
// appear only without "-quiet".
#pragma once

struct HWND__;

// Runs the path part `text` (modified in place): inline "-quiet",
// "-ascii", "-lower", then the source and destination words.
int RunPathPart(HWND__ *window, char *text);

// Connects, transfers and closes for one source and destination word.
int UnattendedTransfer(HWND__ *window, const char *sourceWord, const char *destinationWord);
