// The command lines that view, edit and run files. Pure text building:
// the Win32 layer (view_exec_win.cpp) looks up the association value of
// WIN.INI "Extensions" and the shell's program for a file, passes them in,
// and starts what comes back.
//
//   viewer        "notepad README."          (no "." in the name: one added)
//   association   "wordpad ^.doc" + a.doc -> "wordpad a.doc"
//                 "pad" + a.doc           -> "pad a.doc"
//   shell program "\"C:\\My Apps\\ed.exe\" a.doc" (quoted when it has a blank)
//   "bat" is edited in the viewer, "pif" with "pifedit ", "exe" and "com"
//   are never edited.
#pragma once
#include <string>

// The name part of a path (after the last "\" or "/").
const char *FileNamePart(const char *path);
// The extension after the last "." of the name part, or "".
std::string LastExtension(const char *name);
// The extension after the first "." of the name part, or "".
std::string FirstExtension(const char *name);

// The viewer's command: "viewer file", with "." appended when the file's
// name part has none.
std::string ViewerCommand(const char *viewer, const char *file);
// An association value applied to a file: the part from "^" replaced by
// the file, or " file" appended when there is no "^".
std::string AssociationCommand(const char *value, const char *file);
// The shell's program for a file: "\"program\" file" when the program's
// path holds a blank, else "program file".
std::string FoundProgramCommand(const char *program, const char *file);

// The edit command for a remote or local name kept in file. foundProgram
// is the shell's program (null when UseFindExec is off or the shell found
// none); association is the WIN.INI value of the name's extension (null
// when absent). False when nothing is built ("exe", "com").
bool EditCommandFor(const char *name, const char *file, const char *viewer, const char *foundProgram,
                    const char *association, std::string *command);

// What Exec does after the shell's "open" failed.
enum ExecFallback { EXEC_NOTHING, EXEC_START_FILE, EXEC_START_COMMAND, EXEC_ASK_ASSOCIATION };
// For a file and the association value of its first extension (null when
// absent): start the file itself (programs), start the built command, ask
// for an association, or nothing (no extension).
ExecFallback ExecFallbackFor(const char *file, const char *association, std::string *command);

// The display file of a remote name: the ".TMP" (or ".tmp") of the
// temporary name replaced by the remote name's last "." and up to three
// characters after it; unchanged when the remote name has no ".".
std::string DisplayFileName(const char *tempName, const char *remoteName);
