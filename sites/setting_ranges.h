// Connection settings outside their ranges. A value typed or stored wrongly
// (PORT=99999999, TIMEOUT=0, TIMEOUT=-5, RETRIES=-1) must never wrap into
// another value: it falls back to its default, and the caller says so in
// the log. Ranges: PORT 1..65535 (else 21), TIMEOUT at least 1 second
// (else 65), RETRIES not negative (else 0).
#pragma once
#include "sites/site_profile.h"

struct SettingFallback {
    const char *key;     // "PORT", "TIMEOUT", "RETRIES"
    char value[24];      // the value found, as the INI file holds it
    unsigned used;       // the default put in its place
};

// Puts each setting that is out of range back to its default and describes
// it in fixes; returns how many were put back (0..3).
int CheckSettingRanges(SiteProfile *p, SettingFallback fixes[3]);

// CheckSettingRanges, with one "+ " log line per setting put back.
void FixSettingRanges(SiteProfile *p);
