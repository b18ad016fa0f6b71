#include "sites/setting_ranges.h"

#include <stdio.h>

#include "app/app.h"
#include "ftp/control.h"
#include "resources/resource.h"

void FixSettingRanges(SiteProfile *p)
{
    SettingFallback fixes[3];
    int count = CheckSettingRanges(p, fixes);
    for (int i = 0; i < count; i++) {
        char used[16];
        snprintf(used, sizeof used, "%u", fixes[i].used);
        LogFormat(LoadText(IDS_SETTING_OUT_OF_RANGE), fixes[i].key, fixes[i].value, used);
    }
}
