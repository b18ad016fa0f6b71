// The rules of the remote folder and file commands, free of sockets and
// windows: the X-command fallback, joining a folder and a name by host
// type, the server capabilities each host type implies, the scan of a HELP
// reply, the chmod mode and the names of list rows.
#pragma once
#include <stddef.h>
#include <stdint.h>

// What the connected server lets the remote buttons do.
struct ServerCapabilities {
    int canMakeFolder;     // the remote make-folder button is enabled
    int canRename;         // the remote rename button (with a selection)
    int canDelete;         // the remote delete button (with a selection)
    int useCdup;           // "CDUP" is tried before "CWD .."
    int hostTypeChecked;   // detection has run for this connection
};

// Host-type codes that these rules act on.
enum {
    HOSTTYPE_AUTO = 6000,
    HOSTTYPE_VMS_DIR_BRACKETS = 6012,   // CWD falls back to "[.folder]"
    HOSTTYPE_DOTTED_FOLDERS = 6018,     // folder + "." + name, one dot only
    HOSTTYPE_LOGON_DELETE_ONLY = 6019,  // detection done at logon
    HOSTTYPE_DOTTED_JOIN = 6030,        // folder + "." + name
};

// The X-command rule: the X-form of a command (XCWD, XPWD, XMKD, XRMD,
// XPSV) is sent once, and only when the standard form's reply was code 500
// exactly. Any other failure is final.
bool WantsXCommand(int replyClass, int replyCode);

// The command that retries "CWD folder" after a code 500: "CWD [.folder]"
// for host type 6012 and a folder not beginning with "[", else
// "XCWD folder". Returns false when the command does not fit.
bool CwdFallbackCommand(int hostType, const char *folder, char *command, size_t size);

// Joins a remote folder and a name into the full remote name, by host type:
//   6030: folder.name
//   6018: folder.name, without the "." when the folder ends with one
//   a folder without "/" that contains ">" or begins with "^":
//         folder + name when it ends with ">", else folder>name
//   otherwise folder + name when the folder ends with "/" or "\",
//         folder\name when the folder contains a "\", else folder/name.
// The result is cut to size. Returns the output.
char *BuildRemotePath(int hostType, const char *folder, const char *name, char *output,
                      size_t size);

// What detection does for a host type (after clearing the three button
// flags and setting useCdup):
enum CapabilityPlan {
    CAPS_SET,          // flags decided; update the buttons
    CAPS_NO_BUTTONS,   // flags decided; return without updating the buttons (6019)
    CAPS_ASK_HELP,     // automatic type: ask the server with HELP
};
CapabilityPlan CapabilitiesForHostType(int hostType, ServerCapabilities *caps);

// The host type read from the first line of a HELP reply (case-sensitive):
// "NCSA" or "CUTCP" 6006, "MACB" 6014, "HellSoft" 6041, a line beginning
// with "214-PC FTP server" or containing "QVT" 6013, anything else 6010.
int HostTypeFromHelpLine(const char *line);
// Whether the HELP scan stops at this line (not scanning it): code 421, a
// class-2 line whose fourth character is not "-", or the final line of the
// reply: the first line's code (firstCode) without a "-" (a single-line
// refusal such as 502 ends the scan at once).
bool HelpScanStops(const char *line, int code, int firstCode = 0);
// Sets canMakeFolder, canRename, canDelete for "MKD", "RNFR", "DELE".
void ScanHelpLine(const char *line, ServerCapabilities *caps);

// The chmod permission boxes: index 0..8 = owner read, write, execute,
// group read, write, execute, other read, write, execute. The mode is the
// decimal number written with the three octal digits (644 for rw-r--r--).
unsigned ChmodModeFromBoxes(const int boxes[9]);
void ChmodBoxesFromMode(unsigned mode, int boxes[9]);

// The name of a list row: the first nameLength characters of its text, cut
// at a tab, and for folders without trailing blanks.
void RowNameFromText(const char *text, size_t nameLength, bool folder, char *name, size_t size);
