// Writing the transfer log.
#include "transfer/transfer_log.h"

#include <windows.h>
#include <stdio.h>

#include "app/config.h"
#include "transfer/transfer.h"
#include "transfer/batch_rules.h"

int TransferLogOn = 1;

void WriteTransferLog(int direction, const char *localName, const char *site,
                      const char *remoteFolder, const char *remoteName)
{
    if (!TransferLogOn)
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    // A full local path (a batch's files) names its own folder.
    char folder[LOG_FOLDER_MAX + 1] = "";
    char full[MAX_PATH], bare[MAX_PATH];
    if (SplitLocalPath(localName, full, sizeof full, bare, sizeof bare)) {
        snprintf(folder, sizeof folder, "%s", full);
        localName = bare;
    } else {
        DWORD n = GetCurrentDirectoryA(sizeof full, full);
        if (n > 0 && n < sizeof full)
            snprintf(folder, sizeof folder, "%s", full);
    }
    if (ConfigGetInt("dolog", 1) != 1)   // any other value is off
        return;
    char name[LOG_FILE_NAME_SIZE];
    ConfigGetString("logfile", "VELTRO.LOG", name, sizeof name);
    FILE *file = fopen(name, "a");
    if (!file)
        return;
    LogStamp when = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
    char line[1200];
    FormatTransferLogLine(line, sizeof line, &when, AnnouncedType, folder, localName, direction,
                          site, remoteFolder, remoteName);
    fputs(line, file);
    fclose(file);
}
