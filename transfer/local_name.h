// Names of transferred files: the conversion table ("VELTRO.CNV") and the
// fitting of a remote name to the local file system.
//
// Conversion table: one entry per line, "source=destination"; the source is
// a whole name or a name ending (usually ".ext") of at least 2 characters,
// the destination at most 20 characters. Lines are tried in file order and
// the first that matches wins:
//   .htm=.html      INDEX.HTM -> INDEX.html, .htm -> .html
//   readme=read.me  README    -> read.me
#pragma once
#include <stdint.h>

enum { LOCAL_NAME_SIZE = 256, CONVERT_DEST_MAX = 20 };
enum { CONVERT_TO_REMOTE = 0, CONVERT_TO_LOCAL = 1 };

struct ConvertRules {
    const char *tablePath;  // the conversion table; null or unreadable: none
    int convertExt;         // CONVEXT: without it nothing converts
    int forceLower;         // FORCLOW: lower-cases names going to the server
};

// Converts name in place (buffer of `size` bytes) by the table; returns 1
// when a table entry applied. Direction CONVERT_TO_REMOTE lower-cases first
// when forceLower is set. A version suffix from the first ";" is cut before
// the table is searched; when nothing applies it is put back for uploads
// and stays cut for downloads.
int ConvertNameWith(char *name, int size, int direction, const ConvertRules *rules);

// What FitLocalNameWith needs from the platform.
struct FitRules {
    uint32_t hostType;
    int maxComponent;                  // the volume's longest name part; 0 = unknown
    int recvUnique;                    // RECU: never replace an existing file
    int (*exists)(const char *name);   // for recvUnique; may be null
    ConvertRules convert;
};

// Makes a local file name (destination of LOCAL_NAME_SIZE bytes) from a
// remote name: the last path part, long or 8.3 as the volume allows, the
// version suffix of VMS-like hosts cut, extensions converted by the table,
// the characters * < > ? | replaced by @ { } $ +, an empty result named
// "aaremote", made safe (below), and with recvUnique a numbered name that
// does not exist yet. Returns 1 when the safety rule had to change the name.
int FitLocalNameWith(char *destination, const char *remoteName, const FitRules *rules);

// A name from the server never leaves the chosen local folder: separators
// ("/", "\"), ":" (drive letters, alternate streams), '"' and control
// characters become "_"; trailing dots and blanks go (so ".." and "..."
// become "aaremote"); device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9,
// CONIN$, CONOUT$, CLOCK$, with any extension) get a leading "_".
// Works in place on a buffer of size bytes; returns 1 when it changed the
// name.
int MakeLocalNameSafe(char *name, int size);

// Whether name holds "*" or "?".
int HasWildcard(const char *name);
// Case-insensitive match of a name against a pattern of "*" (any run) and
// "?" (any one character).
int MatchWildcard(const char *pattern, const char *name);
// Where the last path part of path begins (after the last "/" or "\").
const char *LastPathPart(const char *path);
