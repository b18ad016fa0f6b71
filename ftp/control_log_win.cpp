// The WinSock error texts and their report.
#include "ftp/control.h"

#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "resources/resource.h"

namespace {

struct ErrorText {
    int error;
    UINT id;
};

const ErrorText ErrorTexts[] = {
    {10004, IDS_WSA_10004}, {10022, IDS_WSA_10022}, {10024, IDS_WSA_10024},
    {10035, IDS_WSA_10035}, {10036, IDS_WSA_10036}, {10038, IDS_WSA_10038},
    {10041, IDS_WSA_10041}, {10043, IDS_WSA_10043}, {10044, IDS_WSA_10044},
    {10047, IDS_WSA_10047}, {10048, IDS_WSA_10048}, {10049, IDS_WSA_10049},
    {10050, IDS_WSA_10050}, {10053, IDS_WSA_10053}, {10054, IDS_WSA_10054},
    {10055, IDS_WSA_10055}, {10057, IDS_WSA_10057}, {10060, IDS_WSA_10060},
    {10061, IDS_WSA_10061}, {10064, IDS_WSA_10064}, {10065, IDS_WSA_10065},
    {10091, IDS_WSA_10091}, {10092, IDS_WSA_10092}, {10093, IDS_WSA_10093},
    {11001, IDS_WSA_11001}, {11002, IDS_WSA_11001}, {11003, IDS_WSA_11003},
    {11004, IDS_WSA_11004},
};

thread_local char ErrorTextBuffer[128];

}  // namespace

const char *WinSockErrorText(int error, char *buffer)
{
    UINT id = 0;
    for (const ErrorText &e : ErrorTexts) {
        if (e.error == error) {
            id = e.id;
            break;
        }
    }
    if (id != 0)
        snprintf(ErrorTextBuffer, sizeof ErrorTextBuffer, "%.126s", LoadText(id));
    else
        snprintf(ErrorTextBuffer, sizeof ErrorTextBuffer, LoadText(IDS_ERROR_NUMBER),
                 (unsigned)error);
    if (!buffer)
        return ErrorTextBuffer;
    // Callers pass buffers of at least 128 bytes, the size of the texts.
    memcpy(buffer, ErrorTextBuffer, strlen(ErrorTextBuffer) + 1);
    return buffer;
}

void ReportWinSockError(const char *label, int error)
{
    char text[128];
    WinSockErrorText(error, text);
    if (label)
        LogFormat("! %s: %s", label, text);
    else
        LogFormat("! %s", text);
}
