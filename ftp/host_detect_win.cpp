// Reply-based host-type detection: greeting and logon replies are offered
// to the host-type library while the session's host type is automatic.
#include "ftp/control.h"
#include "listing/host_library.h"
#include "sites/site_profile.h"

int DetectHostTypeFromReply(const char *line)
{
    if (CurrentSession.hostType != HOST_AUTO)
        return CurrentSession.hostType;
    CurrentSession.hostType = (int32_t)HostDetectFromReply(line, CurrentSession.hostType);
    if (CurrentSession.hostType != HOST_AUTO)
        LogFormat("%s (1): %s", "Host type", HostTypeName(CurrentSession.hostType));
    return CurrentSession.hostType;
}
