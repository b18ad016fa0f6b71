#include "transfer/transfer_log.h"

#include <stdio.h>

void FormatTransferLogLine(char *out, int size, const LogStamp *when, int announcedType,
                           const char *localFolder, const char *localName, int direction,
                           const char *site, const char *remoteFolder, const char *remoteName)
{
    snprintf(out, (size_t)size, "%04d.%02d.%02d %02d:%02d %c %.*s\\%s %s %s %s %s\n", when->year,
             when->month, when->day, when->hour, when->minute, announcedType == 'A' ? 'A' : 'B',
             (int)LOG_FOLDER_MAX, localFolder, localName, direction == LOG_UPLOAD ? "-->" : "<--",
             site, remoteFolder, remoteName);
}
