// Reading a remote listing: the folder named by a PWD reply, the lines of a
// listing file with the per-host-type line handling, and the entries they
// become.
//
// Line handling by host type (every other line goes to the parser as it is):
//   6011, 6012  a name with ";" on a line shorter than 53 characters may
//               have its details on the next, indented line:
//                 "LONG_FILE_NAME.TXT;1"
//                 "        12/24   1-JAN-2024 10:00 [USER] (RWED,RWED,,)"
//               the two are joined with one blank; an unindented next line
//               leaves the name to stand alone.
//   6018        a first line of more than 69 characters that reads "FB" at
//               column 44 and "PO NO" at column 61 (blanks at 40, 46, 50,
//               66 and 68) is the header of a member list: it is not shown,
//               and the lines after it are columns of 10 characters, each
//               an 8-character member name, until a line breaks the form:
//                 "MEMBER1   MEMBER2   MEMBER3"
//   6005        two entries per line, the second from column 41 on.
#pragma once
#include <stdint.h>
#include <stdio.h>

#include "listing/host_library.h"

enum { REMOTE_FOLDER_SIZE = 251, LISTING_LINE_SIZE = 180 };

// The folder named by a PWD reply line (`257 "/pub" is current`): the text
// after the first double quote (else after the first single quote) up to
// the next double quote (else single quote); with no quote, the second
// word. At most 250 characters; folder has REMOTE_FOLDER_SIZE bytes.
void FolderFromPwdReply(const char *reply, char *folder);

// Shifts an entry's time by offset hours when the entry has a year, a
// month and a non-zero hour, carrying into the day, month and year (February
// always has 28 days).
void ApplyTimeOffset(ListingEntry *entry, int offset);

// Decides what an entry from the parser becomes: 0 = dropped (empty name,
// "." or ".."); otherwise the kind (low 4 bits of the entry's kind, or 1/0
// by isText when the parser left it 0) is written back and the time offset
// applied. isText may be null (no text files).
int PrepareRemoteEntry(ListingEntry *entry, int timeOffset, int (*isText)(const char *name));

// The parser of one line (the host-type library, or a test's stand-in) and
// the receiver of each accepted entry.
typedef int (*ListingLineParser)(ListingEntry *entry, const char *line, void *context);
typedef void (*ListingEntrySink)(ListingEntry *entry, void *context);

// Reads every line of an open listing file (lines of at most 179
// characters) and hands the accepted entries to sink, with the handling of
// the host type above. Returns the number of lines read.
int ReadListingStream(FILE *file, uint32_t hostType, ListingLineParser parse,
                      ListingEntrySink sink, void *context);
