// Sample listing lines with the records they must give, grouped by family.
// Shared by the parser tests and the robustness sweep. All cases are read
// with the clock at 2024-03-15 10:00 local time. A record is written as
// "date time size kind name" (kind 0 file, 2 link, 4 folder); nullptr: the
// line must be refused.
#pragma once
#include <stdint.h>

#include <span>

struct ListingCase {
    uint32_t hostType;   // the host type the line is read with
    bool anyShape;       // the automatic type must read it the same way
    const char *line;
    const char *record;
};

inline const ListingCase kUnixCases[] = {
    {6001, 1, "-rw-r--r--   1 user  group   1234 Jan 31 12:00 readme.txt", "2024-01-31 12:00 1234 0 readme.txt"},
    {6001, 1, "drwxr-xr-x   2 user  group   4096 Dec 24  2022 pub", "2022-12-24 00:00 4096 4 pub"},
    {6001, 1, "-rw-r--r--   1 user   1234 Jan 31 12:00 a.txt", "2024-01-31 12:00 1234 0 a.txt"},
    {6002, 1, "crw-rw-rw-   1 root  tty    5,   0 Jan 31 12:00 tty", "2024-01-31 12:00 0 0 tty"},
    {6001, 1, "-rw-r--r--+  1 user group 10 Jan 31 12:00 acl.txt", "2024-01-31 12:00 10 0 acl.txt"},
    {6002, 1, "-rw-r--r--  1 user group 1234 2024-01-31 12:00 iso.txt", "2024-01-31 12:00 1234 0 iso.txt"},
    {6002, 1, "-rw-r--r--  1 user group 1234 2023-07-04 12:00:59.123456789 +0100 full.txt",
     "2023-07-04 12:00 1234 0 full.txt"},
    {6002, 1, "-rw-r--r--  1 user group 99 2019-05-06 old.txt", "2019-05-06 00:00 99 0 old.txt"},
    {6002, 1, "-rw-r--r--  1 user group 99 03-01 07:30 recent.txt", "2024-03-01 07:30 99 0 recent.txt"},
    {6001, 1, "-rw-r--r--  1 user group 1234 Jan 31 12:00 my file name.txt",
     "2024-01-31 12:00 1234 0 my file name.txt"},
    {6001, 1, "lrwxrwxrwx  1 user group 11 Jan 31 12:00 latest -> releases/1.2", "2024-01-31 12:00 11 2 latest"},
    {6001, 1, "-rw-r--r--  1 user group 3 Jan 31 12:00 a -> b", "2024-01-31 12:00 3 0 a -> b"},
    {6001, 1, "-rw-r--r--  1 user group 5368709120 Jan 31 12:00 big.iso", "2024-01-31 12:00 5368709120 0 big.iso"},
    {6001, 1, "-rw-r--r-- 1 u g 18446744073709551615 Jan 31 12:00 f", "2024-01-31 12:00 18446744073709551615 0 f"},
    {6001, 1, "-rw-r--r-- 1 u g 99999999999999999999 Jan 31 12:00 f", nullptr},   // twenty digits do not fit
    {6003, 1, "-rw-r--r--  1 user group 1234 Jan 31 12:00:00 2021 t.txt", "2021-01-31 12:00 1234 0 t.txt"},
    {6001, 1, "-rw-r--r--  1 user group 1234 31 Jan 12:00 eu.txt", "2024-01-31 12:00 1234 0 eu.txt"},
    {6001, 1, "-rw-r--r--  1 user group 1234 September 9 2020 long.txt", "2020-09-09 00:00 1234 0 long.txt"},
    {6001, 1, "drwxr-xr-x  2 user group 4096 Jan 31 12:00 .", "2024-01-31 12:00 4096 4 ."},
    {6002, 1, "-rw-r--r--  1 user group 1 M\303\244rz 3 2020 maerz", "2020-03-03 00:00 1 0 maerz"},
    {6002, 1, "-rw-r--r--  1 user group 1234 31. Okt 12:00 de.txt", "2023-10-31 12:00 1234 0 de.txt"},
    {6002, 1, "-rw-r--r--  1 user group 1 M\304R  3 2020 mar", "2020-03-03 00:00 1 0 mar"},
    {6002, 1, "-rw-r--r--  1 user group 1 3 d\303\251c. 2020 noel", "2020-12-03 00:00 1 0 noel"},
    {6002, 1, "-rw-r--r--  1 user group 1 ago 31 2019 es", "2019-08-31 00:00 1 0 es"},
    {6002, 1, "-rw-r--r--  1 user group 1 giu 5 2018 it", "2018-06-05 00:00 1 0 it"},
    {6002, 1, "-rw-r--r--  1 user group 1 mrt 13 2017 maart", "2017-03-13 00:00 1 0 maart"},
    {6002, 1, "-rw-r--r--  1 user group 1 out 1 2016 pt", "2016-10-01 00:00 1 0 pt"},
    {6002, 1, "-rw-r--r--  1 user group 1 maj 1 2015 sv", "2015-05-01 00:00 1 0 sv"},
    {6002, 1, "-rw-r--r--  1 user group 1 des. 24 2015 no", "2015-12-24 00:00 1 0 no"},
    {6002, 1, "-rw-r--r--  1 user group 1 jux 24 2015 no", nullptr},
    {6001, 1, "drwxr-xr-x  2 user group 4096 Jan 31 12:00 pub/", "2024-01-31 12:00 4096 4 pub"},
    {6001, 1, "-rw-r--r--  1 user group 812K Jan 31 12:00 k.bin", "2024-01-31 12:00 831488 0 k.bin"},
    {6001, 1, "-rw-r--r--  1 user group 3.7G Jan 31 12:00 g.bin", "2024-01-31 12:00 3972844749 0 g.bin"},
    {6001, 1, "-rw-r--r--  1 user group 20Q Jan 31 12:00 q.bin", nullptr},
    {6001, 1, "-rw-r--r--  1 user group 1 Jan 31 12:00   both  ", "2024-01-31 12:00 1 0   both  "},
    {6016, 1, "-rw-r--r-- 1 DOMAIN\\John Smith 1234 Jan 31 12:00 x.doc", "2024-01-31 12:00 1234 0 x.doc"},
    {6001, 1, "-rw-r--r-- 1 jan group 1234 Jan 31 12:00 m.txt", "2024-01-31 12:00 1234 0 m.txt"},
    {6001, 1, "-rw-r--r--  1 user group 1 Jan 31 12:00 crlf.txt\r\n", "2024-01-31 12:00 1 0 crlf.txt"},
    {6001, 1, "-rw-r--r--  1 user group 1 Jan 31 12:00\ttabbed", "2024-01-31 12:00 1 0 tabbed"},
    {6029, 1, "drwxrwxr-x               folder        2 May 10  1996 network", "1996-05-10 00:00 2 4 network"},
    {6029, 1, "-------r--         326  1391972  1392298 Nov 22  1995 MegaPhone.sit",
     "1995-11-22 00:00 1392298 0 MegaPhone.sit"},
    {6052, 1, "--rw-rw-r-- M 19 glenda glenda 1234 Jan 31 12:00 plan9.txt", "2024-01-31 12:00 1234 0 plan9.txt"},
    {6021, 1, "d [RWCEAFMS] admin                512 Jan 31 12:00 SYSTEM", "2024-01-31 12:00 512 4 SYSTEM"},
    {6041, 1, "- [-WCE---S] guest 7 Feb 29 23:59 leap.txt", "2024-02-29 23:59 7 0 leap.txt"},
    {6021, 1, "-[R----F--] rhesus   214059       Oct 20 15:27    cx.exe", "2023-10-20 15:27 214059 0 cx.exe"},
    {6001, 1, "total 1234", nullptr}, {6001, 1, "-rw-r--r--  1 user group 1234 name-only", nullptr},
    {6001, 1, "-rw-r--r--  1 user group 1234 Jan 31 12:00", nullptr},
    {6001, 1, "-rw-r--r--  1 user group 1234 Jan 31 25:00 bad", nullptr},
    {6001, 1, "-rw-r--r--  1 user group 1234 Jan 32 12:00 bad", nullptr}, {6001, 1, "   \t  ", nullptr},
};

inline const ListingCase kPcCases[] = {
    {6015, 1, "01-31-24  02:15PM       <DIR>          Program Files", "2024-01-31 14:15 0 4 Program Files"},
    {6015, 1, "01-31-2024  14:15             12345 report.doc", "2024-01-31 14:15 12345 0 report.doc"},
    {6015, 1, "12-24-98  12:00AM                 10 old.txt", "1998-12-24 00:00 10 0 old.txt"},
    {6015, 1, "03-01-24  12:30PM                 10 noon.txt", "2024-03-01 12:30 10 0 noon.txt"},
    {6034, 1, "01-31-24  12:30PM  1,234,567 commas.bin", "2024-01-31 12:30 1234567 0 commas.bin"},
    {6015, 1, "01/31/2024  02:15 PM   100 sep.txt", "2024-01-31 14:15 100 0 sep.txt"},
    {6053, 1, "2024-01-31  14:15  <DIR>  iso dir", "2024-01-31 14:15 0 4 iso dir"},
    {6015, 1, "01/31/2024  02:15 PM    <JUNCTION>     Documents and Settings [C:\\Users]",
     "2024-01-31 14:15 0 4 Documents and Settings"},
    {6015, 1, "01-31-24  02:15PM       <DIR>           leading", "2024-01-31 14:15 0 4  leading"},
    {6015, 1, "31-01-19  02:15PM                 12345 dayfirst.txt", "2019-01-31 14:15 12345 0 dayfirst.txt"},
    {6015, 1, "02-29-00  01:00AM  5 y2k.txt", "2000-02-29 01:00 5 0 y2k.txt"},
    {6015, 1, "01-31-24  13:15PM  5 x", nullptr}, {6015, 1, "               2 Dir(s)  1,234,567 bytes free", nullptr},
    {6017, 1, "           0           DIR   01-31-24   12:00  Folder", "2024-01-31 12:00 0 4 Folder"},
    {6017, 1, "       12345    A          01-31-24   12:00  file.txt", "2024-01-31 12:00 12345 0 file.txt"},
    {6017, 1, "         345      A          11-30-105   12:00  os2.txt", "2005-11-30 12:00 345 0 os2.txt"},
    {6027, 1, "    1024    JAN-31-2024  12:00:00   ssh            <DIR>", "2024-01-31 12:00 1024 4 ssh"},
    {6027, 1, "     512    FEB-01-2024  09:30:00   startup.cmd", "2024-02-01 09:30 512 0 startup.cmd"},
    {6027, 1, "  size          date       time       name", nullptr},
    {6005, 1, "autoexec.bat      512  9:02  9/20/93", "1993-09-20 09:02 512 0 autoexec.bat"},
    {6005, 1, "public/             0 12:00  1/31/24", "2024-01-31 12:00 0 4 public"},
};

inline const ListingCase kFactCases[] = {
    {6059, 1, "type=file;size=1234;modify=20240131120000; readme.txt", "2024-01-31 12:00 1234 0 readme.txt"},
    {6059, 1, "type=dir;modify=20240131120000.123; sub dir", "2024-01-31 12:00 0 4 sub dir"},
    {6059, 1, "type=cdir;modify=20240131120000; .", nullptr},
    {6059, 1, "Type=OS.unix=slink:/target;size=4; link", "0000-00-00 00:00 4 2 link"},
    {6059, 1, " type=file;size=5368709120; big", "0000-00-00 00:00 5368709120 0 big"},
    {6059, 1, "size=10;type=file;unix.mode=0644; name; with; semis", "0000-00-00 00:00 10 0 name; with; semis"},
    {6059, 1, "type=file;size=1;", nullptr},
    {6059, 1, "type=file;modify=2024013112;size=3; short", "0000-00-00 00:00 3 0 short"},
    {6031, 1, "+i8388621.48594,m825718503,r,s280,\tdjb.html", "1996-03-01 22:15 280 0 djb.html"},
    {6031, 1, "+i8388621.50690,m824255907,/,\t514", "1996-02-13 23:58 0 4 514"},
    {6031, 1, "+m0,r,s5,\ta b c", "1970-01-01 00:00 5 0 a b c"}, {6031, 1, "+i1,r,s5, name", nullptr},
};

inline const ListingCase kVmsCases[] = {
    {6011, 1, "CII-MANUAL.TEX;1  213/216  29-JAN-1996 03:33:12  [ANONYMOU,ANONYMOUS]   (RWED,RWED,,)",
     "1996-01-29 03:33 109056 0 CII-MANUAL.TEX;1"},
    {6012, 1, "SUBDIR.DIR;1  1/3  31-JAN-2024 12:00:00.50 [GRP,OWN] (RWE,RWE,RE,E)", "2024-01-31 12:00 512 4 SUBDIR"},
    {6057, 1, "LOGIN.COM;7  4  5-FEB-2024 08:01:02 [USER] (RWED,RWED,RE,)", "2024-02-05 08:01 2048 0 LOGIN.COM;7"},
    {6011, 0, "LONELY.TXT;3", "0000-00-00 00:00 0 0 LONELY.TXT;3"}, {6000, 0, "LONELY.TXT;3", nullptr},
    {6011, 0, "PRIVATE.DAT;1  %RMS-E-PRV, insufficient privilege or file protection violation",
     "0000-00-00 00:00 0 0 PRIVATE.DAT;1"},
    {6011, 1, "[ARCHIVE]NOTES.TXT;3  5/8  31-JAN-2024 12:00:00 [GRP,OWN] (RWED,RWED,RE,)",
     "2024-01-31 12:00 2560 0 NOTES.TXT;3"},
    {6057, 1, "DISK$USER:[PUB.OLD]ARC.DIR;1  3/4  1-FEB-2024 09:00 [G,O] (RWE,,,)", "2024-02-01 09:00 1536 4 ARC"},
    {6012, 1, "DATA^.2021.CSV;1  1,024/1,100  31-JAN-2024 12:00 [G,O] (RWED,,,)",
     "2024-01-31 12:00 524288 0 DATA.2021.CSV;1"},
    {6011, 1, "MY^_FILE^5E1.TXT;2  2  31-JAN-2024 12:00 [G,O] (RWED,,,)", "2024-01-31 12:00 1024 0 MY FILE^1.TXT;2"},
    {6011, 1, "ARCHIVE]NOTES.TXT;3  5/8  31-JAN-2024 12:00:00 [GRP,OWN] (RWED,,,)", nullptr},
    {6011, 1, "Directory DISK$USER:[ANONYMOUS]", nullptr}, {6011, 1, "Total of 3 files, 215/222 blocks.", nullptr},
    {6030, 1, "ALTERNAT      101             156  18-Mar-02 09:23:58 100,1 \"oooo\"",
     "2002-03-18 09:23 156 0 ALTERNAT"},
    {6030, 1, "File         Code             EOF  Last Modification    Owner  RWEP", nullptr},
};

inline const ListingCase kIbmCases[] = {
    {6024, 1, "WYOSPT 3420   2003/03/18  1   15  FB      80  3120  PS  USER.JCL.CNTL", "2003-03-18 00:00 0 0 JCL.CNTL"},
    {6024, 1, "SMP224 3390   2024/01/31  2   30  FB      80 27920  PO  USER.SOURCE", "2024-01-31 00:00 0 4 SOURCE"},
    {6024, 1, "SMP224 3390   2024/01/31  2   30  FB  80 27920  PS  SYS1.MACLIB", "2024-01-31 00:00 0 0 SYS1.MACLIB"},
    {6024, 1, "VOL002 3390   **NONE**    1    1  VB   255 27998  PS  USER.NEW", "0000-00-00 00:00 0 0 NEW"},
    {6024, 1, "Migrated                                                USER.OLD.DATA", "0000-00-00 00:00 0 0 OLD.DATA"},
    {6024, 1, "Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname", nullptr},
    {6018, 1, "MEMBER1   01.03 2002/09/12 2024/01/31 13:55    22    22     0 USER", "2024-01-31 13:55 0 0 MEMBER1"},
    {6018, 1, "Name     VV.MM   Created       Changed      Size  Init   Mod   Id", nullptr},
    {6061, 1, "MEMBER3   01.03 02/09/12 24/01/31 13:55    22    22     0 USER", "2024-01-31 13:55 0 0 MEMBER3"},
    {6024, 1, "IEFBR14   000008   00000A   00  FO             RN RU            31    ANY",
     "0000-00-00 00:00 8 0 IEFBR14"},
    {6018, 0, "MEMBER2", "0000-00-00 00:00 0 0 MEMBER2"}, {6000, 0, "MEMBER2", nullptr},
    {6028, 1, "USERJOB  JOB01234 USER     OUTPUT A        RC=0000 3 spool files", "0000-00-00 00:00 0 0 JOB01234"},
    {6022, 1, "QSYS            77824 02/23/00 15:09:55 *DIR       QOpenSys/", "2000-02-23 15:09 77824 4 QOpenSys"},
    {6022, 1, "USER             8192 2024-01-31 12:00:00 *STMF      my file.txt",
     "2024-01-31 12:00 8192 0 my file.txt"},
    {6044, 1, "QSYS                                    *MEM       MYLIB.FILE/MBR.MBR",
     "0000-00-00 00:00 0 0 MYLIB.FILE/MBR.MBR"},
    {6044, 1, "QDEVELOP        40960 01/12/04 11:51:22 *FILE      QCLSRC.FILE", "2004-01-12 11:51 40960 4 QCLSRC.FILE"},
    {6022, 1, "QPGMR           36864 18/11/97 11:48:28 *FILE      QCLSRC", "1997-11-18 11:48 36864 4 QCLSRC"},
    {6047, 1, "PROFILE  EXEC     A1 V         80         50          1 2024-01-31 12:00:00 A1",
     "2024-01-31 12:00 4096 0 PROFILE.EXEC"},
    {6019, 1, "SUBDIR   DIR      -          -          -          - 2024-01-31 12:00:00 -",
     "2024-01-31 12:00 0 4 SUBDIR"},
};

inline const ListingCase kOtherCases[] = {
    {6058, 0, "some file name", "0000-00-00 00:00 0 0 some file name"}, {6058, 0, "..", "0000-00-00 00:00 0 4 .."},
    {6046, 0, "FILE1", "0000-00-00 00:00 0 0 FILE1"},
    {6046, 0, "FILE1     80B  FA          12       1023   16       32  1  8", nullptr},
    {6000, 0, "\001\002\377\376\177 garbage \033[0m", nullptr}, {6000, 0, "", nullptr},
    {6000, 0, "220 Welcome to the server", nullptr},
    {6015, 0, "-rw-r--r--  1 user group 1 Jan 31 12:00 fallback", "2024-01-31 12:00 1 0 fallback"},
    {6011, 0, "01-31-24  02:15PM  100 other.txt", "2024-01-31 14:15 100 0 other.txt"},
};

inline const std::span<const ListingCase> kAllFamilies[] = {kUnixCases, kPcCases,  kFactCases,
                                                            kVmsCases,  kIbmCases, kOtherCases};
