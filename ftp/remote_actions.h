// The folder and file actions of both file lists (pane 0 local, 1 remote):
// make folder, remove folder, delete, rename, move, chmod, change folder,
// and the typed FTP commands of the context menu. Each reads the selection
// of its list through pane_rows.h, serves the local pane with file-system
// calls and the remote pane with the commands of remote_commands.h, logs
// failures with the error sound, and refreshes the list afterwards (the
// remote one only when DOUPDATE is on).
#pragma once
#include <windows.h>

enum { PANE_LOCAL = 0, PANE_REMOTE = 1 };

void ChangeFolderAction(int pane);
// Enters the folder, drive or (remote) link row at index; FALSE when the
// row is none of these.
BOOL NavigateRow(int pane, int index);
void MakeFolderAction(int pane);
void RemoveFolderAction(int pane);
void DeleteAction(int pane);
void RenameAction(int pane);
void MoveAction(int pane);
void ChmodAction(void);

// Typed commands: "CWD" (prompt), "HELP", "SYST", "SITE" (prompt), make or
// remove a typed folder, "PWD", "QUOTE" (prompt).
void PromptChangeFolderCommand(void);
void SendSimpleCommand(const char *command);
void PromptSiteCommand(void);
void PromptFolderCommand(BOOL make);
void PrintFolderCommand(void);
void PromptQuoteCommand(void);

// The two dialogs of these actions, each returning its answer.
// "Verify Deletion": IDYES, IDNO, IDC_DELETE_ALL or IDCANCEL (also when
// closed). With fewer than two entries, "Delete All" and "Cancel" are hidden.
int VerifyDeletion(const char *text, int entries);
// "Remote file permissions": the mode as three octal digits written in
// decimal (644), kept for the next call; 0 for Cancel or no box checked.
unsigned AskChmodMode(void);
extern unsigned LastChmodMode;   // 644 at first
