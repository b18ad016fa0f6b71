// The pure rules of the transfer batches: which selected entries a batch
// moves and how, the paths a folder walk builds, and the temporary name of
// the edit round trip.
#pragma once
#include <stdint.h>

enum BatchAction { BATCH_SKIP = 0, BATCH_FILE = 1, BATCH_FOLDER = 2 };

// What a batch does with a selected entry of kind (FileKind) and name:
// ".." is never moved, drives are left alone, and an upload also skips
// names beginning with "[" (the local pane's drive rows).
int BatchEntryAction(uint32_t kind, const char *name, int upload);

// folder + "\" + name into out (size bytes); 0 when it does not fit.
int JoinLocalPath(char *out, int size, const char *folder, const char *name);

// Splits a full local path at its last "\" or "/": the folder (without the
// separator, "C:\" kept for a drive root) and the name. 0 when there is no
// separator or a part does not fit.
int SplitLocalPath(const char *path, char *folder, int folderSize, char *name, int nameSize);

// The edit round trip's temporary file: a system temporary name ending in
// ".TMP" takes the remote name's extension (the last "." and at most three
// characters after it) instead. A remote name without extension leaves the
// ".TMP" ending. Works in place on temp (size bytes).
void EditTempName(char *temp, int size, const char *remoteName);
