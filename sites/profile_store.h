// The rules of the site profile store, independent of where the INI file
// lives: which key is read with which default and limit, what is written in
// which order, what is removed. The program plugs in the configuration
// accessors and the window controls; tests plug in an in-memory file.
//
// The accessors keep the configuration store's contract: a missing key
// reads as the default, a null text removes the key, integers are "%u",
// surrounding double quotes are dropped on read.
#pragma once
#include "app/settings.h"
#include "sites/site_profile.h"

#include <stddef.h>
#include <stdio.h>

extern const char GlobalSectionName[];    // "_config_"
extern const char FirewallSectionName[];  // "FIREWALL"

struct ProfileAccess {
    void (*getString)(const char *section, const char *key, const char *def,
                      char *buffer, int size);
    void (*putString)(const char *section, const char *key, const char *text);
    int (*getInt)(const char *section, const char *key, int def);
    void (*putInt)(const char *section, const char *key, unsigned value);
    // Removes the key when `_config_` holds the same value, else writes it.
    void (*putIntUnlessGlobal)(const char *section, const char *key, unsigned value);
    // The section's key, defaulting to the `_config_` key, defaulting to def.
    int (*getIntOrGlobal)(const char *section, const char *key, int def);
    // Number of host-type codes, automatic included.
    int (*hostTypeCount)(void);
    // Asks once for the e-mail address; false when the user cancels.
    bool (*askMailAddress)(char *buffer, int size);
};

// One folder box: its entries in order, and appending/emptying.
struct FolderList {
    void *context;
    int (*count)(void *context);
    void (*get)(void *context, int index, char *buffer, int size);
    void (*append)(void *context, const char *text);
    void (*clear)(void *context);
};

// True when the name may not be used as a profile section.
bool IsReservedProfileName(const char *name);

bool ReadSiteProfile(const ProfileAccess *io, SiteProfile *p, GlobalSettingValues *options);
bool WriteSiteProfile(const ProfileAccess *io, const SiteProfile *p);

void ReadFirewallSettings(const ProfileAccess *io, FirewallSettings *firewall);
void WriteFirewallSettings(const ProfileAccess *io, const FirewallSettings *firewall);

void ReadFolderHistory(const ProfileAccess *io, const char *section, bool remote,
                       const FolderList *box);
void WriteFolderHistory(const ProfileAccess *io, const char *section, bool retain,
                        const FolderList *remoteBox, const FolderList *localBox);

// The profile name of one INI line: the text between "[" and "]" of a
// section line (blanks around it dropped), unless it is the global section.
// False for every other line.
bool ProfileNameFromLine(const char *line, char *name, size_t size);
// Calls add for every profile name of an INI file, in file order. Lines are
// read up to 149 characters; the rest of a longer line is skipped.
void ReadProfileNames(FILE *file, void (*add)(void *context, const char *name), void *context);
