// The three input dialogs, the help entry point and the right-button menus.
// The answer of the last dialog stays in InputBuffer (several callers read
// it from there). Set HelpContext just before opening a dialog; every
// dialog resets it to 0 when it closes.
#pragma once
#include <windows.h>

extern char InputBuffer[256];
extern char PromptBuffer[256];
extern int HelpContext;

// "DLG_INPUT": 1 for OK (answer copied into answer when given), 0 for Cancel.
int InputText(char *answer, const char *format, ...);
// "DLG_INPUT_PASSWORD": characters hidden; answer's text is the start text.
int InputPassword(char *answer, const char *format, ...);
// "DLG_INPUT1": a drop-down of the cached remote folders; the answer is left
// in InputBuffer only (at most 69 characters).
int InputWithHistory(const char *start, const char *format, ...);

// The answer to a dialog's colour messages: the window background colour
// and brush, so dialogs match the main window.
INT_PTR DialogBackground(HDC dc);

// Opens the help file at a topic (0 counts as 10; below 11: contents).
void ShowHelp(int context);

// Fills the shared popup menu for the window (a file list or the main
// window) and returns it; ShowMainContextMenu also tracks it and posts the
// chosen command to the main window.
HMENU BuildContextMenu(HWND window);
void ShowMainContextMenu(HWND window, int x, int y);
