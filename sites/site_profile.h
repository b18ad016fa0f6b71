// Site profiles: one section of VELTRO.INI per FTP server, loaded into the
// SiteProfile record the rest of the program works on, plus the global
// FIREWALL section and the per-site folder history.
//
// Contract for callers:
//  - LoadSiteProfile fills every field from the section named by p->name
//    (missing keys take their defaults, the host defaults to the name) and
//    returns nonzero only when the section holds a non-empty HOST. It also
//    applies the per-site option overrides to GlobalSettings and the
//    anonymous rule (which may ask for the e-mail address).
//  - SaveSiteProfile writes the section so that it holds only what differs
//    from the defaults; it refuses an empty name and the name of the global
//    section (returns 0).
//  - serverFlags is never stored.
//  - Everything here runs on the user-interface thread.
// This header stays free of <windows.h>: window handles are passed as the
// platform's opaque handle type.
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

// The global FIREWALL section, shared by all sites.
struct FirewallSettings {
    char host[80];        // HOST (up to 79 characters)
    char userId[80];      // UID (up to 79)
    char password[112];   // PWD in clear; the stored form is keyed with UID
    int32_t savePassword; // PWD is present / is to be stored
    int32_t type;         // FIRETYPE, 0..7 (1 when absent)
    uint32_t port;        // PORT (21 when absent)
};

struct HWND__;

int LoadSiteProfile(SiteProfile *p);
int SaveSiteProfile(const SiteProfile *p);

// Reads the FIREWALL section. The password is replaced only when PWD is
// present (savePassword then set); otherwise it keeps what the record held,
// so a password typed at a prompt survives for the run.
void LoadFirewallSettings(FirewallSettings *firewall);
// Writes HOST, UID, FIRETYPE and PORT; PWD scrambled with UID when
// savePassword is set, removed otherwise.
void SaveFirewallSettings(const FirewallSettings *firewall);

// The folder boxes of the main window, remembered in the current session's
// section as "rdir0".."rdir9" (quoted) and "ldir0".."ldir9". Loading the
// local box empties it first; the remote box keeps what it holds.
void LoadFolderHistory(HWND__ *combo, int remote);
// Saves both boxes when RETAIN is on; removes all history keys when it is off.
void SaveFolderHistory(HWND__ *remoteCombo, HWND__ *localCombo);

// Fills a combo box with every section name of the INI file except the
// global settings section.
void FillProfileList(HWND__ *combo);
