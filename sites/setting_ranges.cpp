#include "sites/setting_ranges.h"

#include <stdio.h>

namespace {

enum { DEFAULT_PORT = 21, DEFAULT_TIMEOUT = 65, DEFAULT_RETRIES = 0 };

void Note(SettingFallback *fix, const char *key, long long value, unsigned used)
{
    fix->key = key;
    snprintf(fix->value, sizeof fix->value, "%lld", value);
    fix->used = used;
}

}  // namespace

int CheckSettingRanges(SiteProfile *p, SettingFallback fixes[3])
{
    int count = 0;
    if (p->port < 1 || p->port > 65535) {
        // A negative number read from the file arrives as a huge one.
        Note(&fixes[count++], "PORT", (long long)(int32_t)p->port, DEFAULT_PORT);
        p->port = DEFAULT_PORT;
    }
    if ((int32_t)p->timeout <= 0) {
        Note(&fixes[count++], "TIMEOUT", (long long)(int32_t)p->timeout, DEFAULT_TIMEOUT);
        p->timeout = DEFAULT_TIMEOUT;
    }
    if ((int32_t)p->retries < 0) {
        Note(&fixes[count++], "RETRIES", (long long)(int32_t)p->retries, DEFAULT_RETRIES);
        p->retries = DEFAULT_RETRIES;
    }
    return count;
}
