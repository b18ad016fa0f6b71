// The command table of the main window. Subsystems that own commands add
// their cases in RunCommand (app/commands_win.cpp), one call each.
#pragma once
#include <windows.h>

// Runs a command; returns FALSE when the command is not one it handles.
BOOL RunCommand(HWND window, int id, HWND control, int notify);
