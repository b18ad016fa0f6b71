#include "transfer/restart_info.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "resources/resource.h"
#include "transfer/local_name.h"

void SaveRestartInfo(const char *profile, const char *remoteFolder, const char *remoteFile,
                     const char *localPath)
{
    if (!profile || !profile[0])
        return;
    if (GlobalSettings.keepReget)
        LogFormat(LoadText(IDS_SAVING_RESTART_INFO), profile, remoteFile);
    const char *name = LastPathPart(localPath);
    char folder[MAX_PATH];
    if (name == localPath)
        GetCurrentDirectoryA(sizeof folder, folder);
    else
        snprintf(folder, sizeof folder, "%.*s", (int)(name - localPath), localPath);
    char now[24];
    snprintf(now, sizeof now, "%lu", (unsigned long)time(nullptr));
    ProfilePutString(profile, "REGETRDIR", remoteFolder);
    ProfilePutString(profile, "REGETRFILE", remoteFile);
    ProfilePutString(profile, "REGETLDIR", folder);
    ProfilePutString(profile, "REGETLFILE", name);
    ProfilePutString(profile, "REGETTIME", now);
}

void ClearRestartInfo(const char *profile)
{
    if (!profile || !profile[0])
        return;
    char held[8];
    ProfileGetString(profile, "REGETRFILE", "", held, sizeof held);
    if (!held[0])
        return;
    static const char *const keys[] = {"REGETRDIR", "REGETRFILE", "REGETLDIR", "REGETLFILE",
                                       "REGETTIME"};
    for (const char *key : keys)
        ProfilePutString(profile, key, nullptr);
}
