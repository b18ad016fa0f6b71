// The "Session" property sheet: the site manager shown before every
// interactive connection (and at start-up when AUTOSTART is on).
//
// It edits WorkingSession: the "General" page starts it as a copy of
// CurrentSession reloaded from its profile section; choosing a profile in
// the box loads it and copies it into CurrentSession at once; each page's
// apply saves the profile; Cancel makes the working copy a copy of
// CurrentSession again. The result is TRUE when the "General" page applied
// (OK or Apply) and the sheet was not cancelled afterwards.
#pragma once
#include <windows.h>

BOOL ShowSessionSheet(HWND owner);
