#include "veltr32/detect.h"

#include <string.h>

#include "veltr32/host_types.h"

namespace {

struct Marker {
    const char *text;
    bool word;  // must stand as a word (case-sensitive): short names that
                // also occur inside host names and other words
    uint32_t code;
};

// Checked in order; the first marker found decides.
const Marker kSystMarkers[] = {
    {"MVS is the operating system", false, 6024},
    {"z/OS", false, 6024},
    {"OS/390", false, 6024},
    {"MVS", true, 6024},
    {"OS/400", false, 6022},
    {"IBM i", false, 6022},
    {"VM/CMS", false, 6047},
    {"z/VM", false, 6047},
    {"VM", true, 6047},
    {"MultiNet", false, 6011},
    {"TCPware", false, 6012},
    {"UCX", true, 6012},
    {"OpenVMS", false, 6057},
    {"VMS", true, 6057},
    {"NetWare", false, 6021},
    {"Netware", false, 6021},
    {"Mac OS X", false, 6040},
    {"macOS", false, 6040},
    {"MACOS", false, 6029},
    {"MacOS", false, 6029},
    {"Windows_CE", false, 6032},
    {"Windows_NT", false, 6015},
    {"Windows", true, 6015},
    {"OS/2", false, 6017},
    {"VxWorks", false, 6027},
    {"NONSTOP", false, 6030},
    {"NonStop", false, 6030},
    {"Tandem", false, 6030},
    {"GUARDIAN", false, 6030},
    {"MPE/iX", false, 6046},
    {"KA9Q", false, 6005},
    {"Plan 9", false, 6052},
    {"QNX", false, 6051},
    {"AIX", true, 6007},
    {"HP-UX", false, 6008},
    {"IRIX", true, 6009},
    {"SunOS", false, 6004},
    {"Solaris", false, 6004},
    {"FreeBSD", false, 6003},
    {"NetBSD", false, 6003},
    {"OpenBSD", false, 6003},
    {"BSD", true, 6003},
    {"Linux", false, 6002},
    {"UNIX", false, 6001},
    {"Unix", false, 6001},
};

const Marker kReplyMarkers[] = {
    {"IBM FTP CS", false, 6024},
    {"Microsoft FTP Service", false, 6034},
    {"FileZilla Server", false, 6033},
    {"ProFTPD", false, 6035},
    {"vsFTPd", false, 6036},
    {"vsftpd", false, 6036},
    {"Pure-FTPd", false, 6037},
    {"Version wu-", false, 6038},
    {"wu-ftpd", false, 6038},
    {"pyftpdlib", false, 6039},
    {"Serv-U", false, 6020},
    {"WAR-FTPD", false, 6042},
    {"War FTP", false, 6042},
    {"NcFTPd", false, 6043},
    {"MultiNet", false, 6011},
    {"TCPware", false, 6012},
    {"UCX", true, 6012},
    {"OpenVMS", false, 6057},
    {"VMS", true, 6057},
    {"HellSoft", false, 6041},
    {"NetWare", false, 6021},
    {"VxWorks", false, 6027},
    {"MVS", true, 6024},
    {"z/OS", false, 6024},
    {"OS/390", false, 6024},
    {"QTCP", false, 6022},
    {"OS/400", false, 6022},
    {"z/VM", false, 6047},
    {"VM/CMS", false, 6047},
    {"VM TCP/IP", false, 6047},
    {"NonStop", false, 6030},
    {"Tandem", false, 6030},
    {"OS/2", false, 6017},
    {"KA9Q", false, 6005},
    {"Windows CE", false, 6032},
    {"NetPresenz", false, 6029},
    {"WebSTAR", false, 6029},
    {"Mac OS X", false, 6040},
    {"macOS", false, 6040},
    {"BusyBox", false, 6055},
    {"Plan 9", false, 6052},
    {"QNX", false, 6051},
    {"FreeBSD", false, 6003},
    {"NetBSD", false, 6003},
    {"OpenBSD", false, 6003},
    {"SunOS", false, 6004},
    {"Solaris", false, 6004},
    {"AIX", true, 6007},
    {"HP-UX", false, 6008},
    {"IRIX", true, 6009},
    {"Cisco", false, 6060},
};

bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Reply lines are short; longer text is looked at up to this length.
constexpr size_t kMaxLine = 1024;

bool Contains(const char *line, size_t len, const Marker &m) {
    size_t n = strlen(m.text);
    for (size_t i = 0; i + n <= len; i++) {
        if (memcmp(line + i, m.text, n) != 0) continue;
        if (!m.word) return true;
        bool before = i == 0 || (!IsWordChar(line[i - 1]) && line[i - 1] != '.');
        bool after = i + n == len || !IsWordChar(line[i + n]);
        // "VMS." ends a sentence; "vms.example.com" is a host name.
        if (i + n < len && line[i + n] == '.' && i + n + 1 < len && IsWordChar(line[i + n + 1]))
            after = false;
        if (before && after) return true;
    }
    return false;
}

uint32_t Detect(const char *line, uint32_t current, const Marker *markers, size_t count) {
    if (line == nullptr) return HOSTTYPE_AUTO;
    size_t len = strnlen(line, kMaxLine);
    uint32_t found = HOSTTYPE_AUTO;
    for (size_t i = 0; i < count; i++) {
        if (Contains(line, len, markers[i])) {
            found = markers[i].code;
            break;
        }
    }
    if (found == HOSTTYPE_AUTO) return HOSTTYPE_AUTO;
    if (current != HOSTTYPE_AUTO && HostTypeValid(current) &&
        HostTypeFamily(current) == HostTypeFamily(found))
        return current;
    return found;
}

}  // namespace

uint32_t DetectFromSyst(const char *line, uint32_t current) {
    return Detect(line, current, kSystMarkers, sizeof kSystMarkers / sizeof kSystMarkers[0]);
}

uint32_t DetectFromReply(const char *line, uint32_t current) {
    return Detect(line, current, kReplyMarkers, sizeof kReplyMarkers / sizeof kReplyMarkers[0]);
}
