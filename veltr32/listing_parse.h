// Reading one line of a remote directory listing into a ListingEntry.
//
// ParseListingLineAt fills *entry from one line and returns nonzero when the
// line describes a file, folder or link; headers, "total N" lines, blank
// lines, summaries and anything unrecognised return 0. Every field of the
// entry is written on every call (the caller reuses one record). The line is
// read up to its NUL, and a CR or LF ends it. Names longer than 255 bytes are
// cut to 255. kind is 0 for a file, 2 for a link, 4 for a folder. The "." and
// ".." entries of a listing are returned as folders like any other (the
// program drops them and shows its own ".."); MLSD's cdir/pdir facts, which
// describe the listed folder itself, return 0. Dates the server gives without
// a year take the year of `now`, or the year before when the date would
// otherwise lie more than a day after `now`; 2-digit years 70-99 are 19xx,
// 00-69 are 20xx. A month of 0 means the line carried no date.
//
// The host type selects the family grammar tried first (see host_types.h);
// a line that does not fit it is then tried against every family, so a
// listing of a different shape is still read. Lines that only make sense
// for a given kind (a lone VMS name, a bare MVS member name) are accepted
// only for that kind. Formats, one sample each:
//   Unix      -rw-r--r--   1 user  group   1234 Jan 31 12:00 name
//             (also without group, numeric ids, "+", "@" or "." after the
//             permissions, "major, minor" for devices, year dates, ISO dates
//             "2024-01-31 12:00", BSD "Jan 31 12:00:00 2024", Plan 9 modes,
//             NetPresenz "drwxrwxr-x  folder  2 May 10  1996 name";
//             month names in German, French, Spanish, Italian, Dutch,
//             Portuguese, Swedish, Norwegian and Danish ("31. Okt 12:00",
//             "avr. 3 2021", UTF-8 or Latin-1, any case); ls -h sizes
//             "812K", "3.7G" (powers of 1024, to the nearest byte); a "/"
//             after a folder name is dropped; a link "l... name -> target"
//             is named by the part before " -> ". The name starts after the
//             one blank that follows the date, so blanks at either end of it
//             are kept)
//   NetWare   d [RWCEAFMS] owner      512       Jan 31 12:00    Shared Docs
//             (the name is a column: the blanks before it are padding)
//   Windows   01-31-24  02:15PM       <DIR>          name
//             2024-01-31  14:15             12345 name
//             31-01-19  02:15PM             12345 day first
//             (the name starts after the blank that follows the size, or
//             after "<DIR>" and its ten blanks; blanks at either end kept)
//   MLSD      type=file;size=1234;modify=20240131120000; name
//   EPLF      +i8388621.48594,m825718503,r,s280,\tname
//   VMS       NAME.EXT;1  12/24  31-JAN-2024 12:00:00 [GRP,OWN] (RWED,RWED,RE,)
//             [ARCHIVE]NOTES.TXT;3  5/8  31-JAN-2024 12:00:00 ...
//             ("NAME.DIR;1" is the folder NAME, sized by its blocks like a
//             file; ODS-5 escapes are undone: "DATA^.2021.CSV;1" is
//             DATA.2021.CSV;1; a lone "NAME.EXT;1" is accepted for VMS host
//             types, its details being elsewhere)
//   MVS       WYOSPT 3390   2024/01/31  1   15  FB   80  3120  PS  USER.JCL
//             Migrated                                          USER.OLD
//             ARC001 Tape                                       USER.SAVED
//   PDS       MEMBER1   01.03 2002/09/12 2024/01/31 13:55    22    22     0 USER
//             (also with "02/09/12" dates)
//   load mod  MEMBER1   000A20   00000A   00  FO  ...
//   JES       USERJOB  JOB01234 USER     OUTPUT A        RC=0000 3 spool files
//   OS/400    QSYS            77824 02/23/00 15:09:55 *DIR       QOpenSys/
//             QPGMR           36864 18/11/97 11:48:28 *FILE      QCLSRC
//             QSYS                                    *MEM       LIB.FILE/M.MBR
//   OS/2               345      A          01-31-24   12:00  name
//             (a 3-digit year counts from 1900: "11-30-105" is 2005)
//   VxWorks       1024    JAN-31-2024  12:00:00   name          <DIR>
//   Tandem    ALTERNAT      101       156  18-Mar-02 09:23:58 100,1 "oooo"
//   VM/CMS    PROFILE  EXEC     V    80   50    1 2024-01-31 12:00:00 A1
//   KA9Q NOS  autoexec.bat      512  9:02  9/20/93
// MVS dataset names are shown relative to the current folder ('USER.' shows
// USER.JCL as JCL) or, when no folder is known, to the user id.
#pragma once
#include <stdint.h>
#include "listing/host_library.h"

// The moment a listing is read, as local civil time.
struct ListingClock {
    int year, month, day, hour, minute;
};

int ParseListingLineAt(ListingEntry *entry, const char *line, uint32_t hostType,
                       const char *folder, const char *userId, const ListingClock &now);
