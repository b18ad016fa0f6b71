// The unattended transfers of one file or one wildcard pattern, and the
// program's wrappers of the name rules (transfer/local_name.h) over the
// current settings.
#pragma once
#include <winsock2.h>

// Converts name (a buffer of at least 256 bytes) by the conversion table
// CnvPath with the CONVEXT and FORCLOW options; returns 1 when a table entry
// applied. direction 0: local to remote, 1: remote to local.
int ConvertName(char *name, int direction);

// A local file name for a remote name, for the current volume and host type
// (destination of 256 bytes).
void FitLocalName(char *destination, const char *remoteName);

// The site section that keeps the restart keys (REGETRDIR, REGETRFILE,
// REGETLDIR, REGETLFILE, REGETTIME) of the binary downloads made here: set
// before a download, removed when it is complete; empty: none are kept.
extern char RestartProfile[80];

// One file, or every file matching a "*"/"?" pattern in the last path part
// of source. direction 1 uploads (source local, destination remote), 0
// downloads. A destination whose last part is empty is a folder: the name
// comes from the source. Returns the reply class of the last transfer: 2
// done, 5 failed (also an upload pattern with nothing to match, and a
// download whose completion reply was positive but whose data did not all
// arrive or could not be stored), 6 when a download source names a folder
// (ends with "/"). A download pattern is matched here against the names the
// server lists (name_list.h); when the server refuses the pattern or lists
// nothing for it, the whole folder is listed and matched here instead. A
// pattern that matches nothing downloads nothing and returns 2.
int TransferByPattern(SOCKET control, const char *source, const char *destination, int direction,
                      int type);
