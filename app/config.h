// The configuration store: every read goes to the INI file named by IniPath
// and every write goes straight through; nothing is cached.
//
// Contract for callers:
//  - a missing key reads as the caller's default; a non-numeric integer as 0;
//  - writing a null text removes the key (so a site section holds only what
//    differs from the defaults); integers are written as "%u";
//  - texts are cut to the buffer size given.
#pragma once

extern const char ConfigSection[];   // "_config_"

// Any section of IniPath.
void ProfileGetString(const char *section, const char *key, const char *def,
                      char *buffer, int size);
void ProfilePutString(const char *section, const char *key, const char *text);
// Several keys of one section (a null text removes its key), written with
// one rewrite of the file where the section allows it; skipped when nothing
// changes.
void ProfilePutStrings(const char *section, const char *const keys[], const char *const texts[], int count);
void ProfileRemoveSection(const char *section);
int ProfileGetInt(const char *section, const char *key, int def);

// The `_config_` section.
void ConfigGetString(const char *key, const char *def, char *buffer, int size);
void ConfigPutString(const char *key, const char *text);
int ConfigGetInt(const char *key, int def);

void ProfilePutInt(const char *section, const char *key, unsigned value);
// Removes the key from the section when `_config_` holds the same value
// (99 marks absence there); writes "%u" otherwise.
void ProfilePutIntUnlessGlobal(const char *section, const char *key, unsigned value);
// ProfilePutIntUnlessGlobal on the current session's section.
void SessionPutInt(const char *key, unsigned value);
// The section's key, defaulting to the `_config_` key, defaulting to def.
int ProfileGetIntOrGlobal(const char *section, const char *key, int def);

// Loads GlobalSettings (and the current session's profile) from `_config_`.
void LoadGlobalSettings(void);
void SaveWindowLocations(void);
void ResetWindowLocations(void);
