// Site profiles: one section of VELTRO.INI per FTP server, loaded into the
// SiteProfile record the rest of the program works on.
#pragma once
#include <stdint.h>

struct SiteProfile {
    char name[80];
    char host[256];
    char userId[80];
    char password[80];
    char account[80];
    char remoteFolder[144];
    char localFolder[144];
    char initCommands[256];
    char localMask[20];
    char remoteMask[20];
    uint32_t timeout;
    int32_t hostType;
    uint32_t port;
    int32_t firewallType;
    uint32_t retries;
    int32_t savePassword;
    int32_t passive;
    int32_t useFirewall;
    int32_t timeOffset;
    uint32_t serverFlags;
};

extern SiteProfile CurrentSession;   // the profile in use
extern SiteProfile WorkingSession;   // edited by the session sheet
extern SiteProfile CommandSession;   // the command line's profile

// Fills every field from the section named by profile->name; returns
// whether that section has a non-empty HOST key.
int LoadSiteProfile(SiteProfile *profile);
