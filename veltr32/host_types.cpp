#include "veltr32/host_types.h"

namespace {

struct HostTypeInfo {
    const char *name;
    ListingFamily family;
};

// Indexed by code - 6000. The codes the program acts on are described in
// host_types.h; the others name the servers users meet most, so a profile
// can say what it talks to and its listings are read with the right grammar
// first (lines of another shape are still recognised).
const HostTypeInfo kHostTypes[] = {
    /* 6000 */ {"Automatic", FAMILY_AUTO},
    /* 6001 */ {"Unix (generic)", FAMILY_UNIX},
    /* 6002 */ {"Linux", FAMILY_UNIX},
    /* 6003 */ {"BSD Unix", FAMILY_UNIX},
    /* 6004 */ {"Solaris / SunOS", FAMILY_UNIX},
    /* 6005 */ {"KA9Q NOS (two columns)", FAMILY_NOS},
    /* 6006 */ {"NCSA Telnet / CUTCP (PC)", FAMILY_DOS},
    /* 6007 */ {"IBM AIX", FAMILY_UNIX},
    /* 6008 */ {"HP-UX", FAMILY_UNIX},
    /* 6009 */ {"SGI IRIX", FAMILY_UNIX},
    /* 6010 */ {"Generic server", FAMILY_AUTO},
    /* 6011 */ {"VMS (MultiNet)", FAMILY_VMS},
    /* 6012 */ {"VMS (UCX / TCPware)", FAMILY_VMS},
    /* 6013 */ {"PC/TCP or QVT/Net (PC)", FAMILY_DOS},
    /* 6014 */ {"Macintosh (MacBinary)", FAMILY_UNIX},
    /* 6015 */ {"Windows NT / IIS (DOS style)", FAMILY_DOS},
    /* 6016 */ {"Windows NT / IIS (Unix style)", FAMILY_UNIX},
    /* 6017 */ {"OS/2", FAMILY_OS2},
    /* 6018 */ {"IBM MVS (member columns)", FAMILY_MVS},
    /* 6019 */ {"IBM VM/CMS minidisk (delete only)", FAMILY_VMCMS},
    /* 6020 */ {"Serv-U", FAMILY_UNIX},
    /* 6021 */ {"Novell NetWare", FAMILY_NETWARE},
    /* 6022 */ {"IBM OS/400 (IFS)", FAMILY_OS400},
    /* 6023 */ {"Tandem NonStop (OSS)", FAMILY_UNIX},
    /* 6024 */ {"IBM MVS / OS/390 / z/OS datasets", FAMILY_MVS},
    /* 6025 */ {"IBM z/OS Unix System Services", FAMILY_UNIX},
    /* 6026 */ {"IBM VM/CMS (no PWD)", FAMILY_VMCMS},
    /* 6027 */ {"VxWorks", FAMILY_VXWORKS},
    /* 6028 */ {"IBM MVS JES spool", FAMILY_MVS},
    /* 6029 */ {"Macintosh (NetPresenz / WebSTAR)", FAMILY_UNIX},
    /* 6030 */ {"Tandem NonStop (Guardian)", FAMILY_TANDEM},
    /* 6031 */ {"EPLF (publicfile)", FAMILY_EPLF},
    /* 6032 */ {"Windows CE", FAMILY_DOS},
    /* 6033 */ {"FileZilla Server", FAMILY_UNIX},
    /* 6034 */ {"Microsoft FTP Service (IIS)", FAMILY_DOS},
    /* 6035 */ {"ProFTPD", FAMILY_UNIX},
    /* 6036 */ {"vsFTPd", FAMILY_UNIX},
    /* 6037 */ {"Pure-FTPd", FAMILY_UNIX},
    /* 6038 */ {"wu-ftpd", FAMILY_UNIX},
    /* 6039 */ {"pyftpdlib", FAMILY_UNIX},
    /* 6040 */ {"Mac OS X / macOS", FAMILY_UNIX},
    /* 6041 */ {"NetWare (HellSoft)", FAMILY_NETWARE},
    /* 6042 */ {"War FTP Daemon", FAMILY_UNIX},
    /* 6043 */ {"NcFTPd", FAMILY_UNIX},
    /* 6044 */ {"IBM OS/400 (library members)", FAMILY_OS400},
    /* 6045 */ {"Windows server (all commands)", FAMILY_DOS},
    /* 6046 */ {"HP MPE/iX (LIST and NLST)", FAMILY_NAMES_AFTER_LIST},
    /* 6047 */ {"IBM VM/CMS", FAMILY_VMCMS},
    /* 6048 */ {"Tandem NonStop (TCP/IP)", FAMILY_TANDEM},
    /* 6049 */ {"Digital Unix / Tru64", FAMILY_UNIX},
    /* 6050 */ {"SCO Unix", FAMILY_UNIX},
    /* 6051 */ {"QNX", FAMILY_UNIX},
    /* 6052 */ {"Plan 9", FAMILY_UNIX},
    /* 6053 */ {"Windows 2000 / IIS 5 (DOS style)", FAMILY_DOS},
    /* 6054 */ {"Network storage (NAS)", FAMILY_UNIX},
    /* 6055 */ {"Embedded (BusyBox)", FAMILY_UNIX},
    /* 6056 */ {"OS/2 (IBM TCP/IP)", FAMILY_OS2},
    /* 6057 */ {"VMS (generic)", FAMILY_VMS},
    /* 6058 */ {"Name list only (NLST)", FAMILY_NAMES},
    /* 6059 */ {"MLSD (RFC 3659)", FAMILY_MLSD},
    /* 6060 */ {"Cisco IOS", FAMILY_UNIX},
    /* 6061 */ {"IBM MVS PDS members", FAMILY_MVS},
    /* 6062 */ {"Novell NetWare (NLM)", FAMILY_NETWARE},
    /* 6063 */ {"EPLF (anonftpd)", FAMILY_EPLF},
};

constexpr uint32_t kCount = sizeof(kHostTypes) / sizeof(kHostTypes[0]);
static_assert(kCount >= 60, "at least sixty host types");

}  // namespace

uint32_t HostTypeTotal(void) { return kCount; }

bool HostTypeValid(uint32_t hostType) {
    return hostType >= HOSTTYPE_FIRST && hostType - HOSTTYPE_FIRST < kCount;
}

const char *HostTypeLabel(uint32_t hostType) {
    return HostTypeValid(hostType) ? kHostTypes[hostType - HOSTTYPE_FIRST].name : kHostTypes[0].name;
}

ListingFamily HostTypeFamily(uint32_t hostType) {
    return HostTypeValid(hostType) ? kHostTypes[hostType - HOSTTYPE_FIRST].family : FAMILY_AUTO;
}
