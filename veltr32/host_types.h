// The table of server kinds ("host types") the library knows.
//
// A host type is a 32-bit code from 6000 (automatic detection) to
// 5999 + HostTypeTotal(). Each code has a display name and a listing family,
// the grammar its directory listings are read with. The program acts on some
// codes itself:
//   6000  automatic: every listing line is recognised by its own shape
//   6005  KA9Q NOS: two entries per listing line split at column 40; no CDUP,
//         no rename
//   6006, 6010, 6013, 6014, 6041  chosen by the program's HELP detection
//         (NCSA/CUTCP, generic, PC/TCP and QVT, MacBinary servers, HellSoft)
//   6011, 6012  VMS: ";version" names, wrapped name lines; 6012 changes folder
//         with "[.name]"
//   6018  MVS with partitioned-dataset member columns; "." joins names
//   6019  VM/CMS minidisk: delete only, no detection
//   6020, 6045  servers offering every command without asking HELP
//   6024  MVS/OS/390 datasets: a 550 on a transfer is retried with the name in
//         apostrophes
//   6026  VM/CMS without PWD: no PWD on refresh, no CDUP, delete only
//   6027, 6028  delete only (VxWorks; the MVS JES spool, which also takes no
//         CWD from the command line)
//   6029  classic Macintosh servers: names with blanks get tidied local names
//   6030  Tandem NonStop Guardian: "." joins names
//   6044  OS/400 library members: "/" in names become "." locally
//   6046  LIST followed by NLST in one listing: only the name lines count
//   6059  MLSD instead of LIST
// Every other code simply selects its family's grammar first.
#pragma once
#include <stdint.h>

enum ListingFamily {
    FAMILY_AUTO,     // every shape below, tried in turn
    FAMILY_UNIX,     // ls -l and its relatives (classic Macintosh servers too)
    FAMILY_DOS,      // Windows / IIS "MM-DD-YY  HH:MMPM  <DIR>|size  name"
    FAMILY_MLSD,     // RFC 3659 facts
    FAMILY_EPLF,     // "+facts\tname"
    FAMILY_VMS,      // "NAME.EXT;1  blocks  date time [owner] (prot)"
    FAMILY_MVS,      // datasets, PDS members, load modules, JES jobs
    FAMILY_OS400,    // "owner size date time *TYPE name"
    FAMILY_NETWARE,  // "d [RWCEAFMS] owner size date name"
    FAMILY_OS2,      // "size [attributes] MM-DD-YY HH:MM name"
    FAMILY_VXWORKS,  // "size MON-DD-YYYY HH:MM:SS name [<DIR>]"
    FAMILY_TANDEM,   // "NAME code eof DD-Mon-YY HH:MM:SS owner rwep"
    FAMILY_VMCMS,    // "FNAME FTYPE [fm] recfm lrecl records blocks date time"
    FAMILY_NOS,      // KA9Q NOS "name size H:MM M/DD/YY"
    FAMILY_NAMES,    // a bare name per line (NLST)
    FAMILY_NAMES_AFTER_LIST,  // LIST text followed by NLST: single-word lines
    FAMILY_COUNT
};

enum : uint32_t {
    HOSTTYPE_FIRST = 6000,
    HOSTTYPE_AUTO = 6000,
};

// Number of codes, automatic included.
uint32_t HostTypeTotal(void);
// True for 6000 .. 5999 + HostTypeTotal().
bool HostTypeValid(uint32_t hostType);
// Display name; an unknown code reads as the automatic type's name.
const char *HostTypeLabel(uint32_t hostType);
// Listing family of a code; unknown codes read as FAMILY_AUTO.
ListingFamily HostTypeFamily(uint32_t hostType);
