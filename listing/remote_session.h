// TEMPORARY: declarations of the logon helper's operations until they land.
#pragma once
#include <winsock2.h>
#include "sites/site_profile.h"
// TEMPORARY: the transfer engine's operations until they land.
extern char AnnouncedType;
int UploadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append);
int DownloadFile(SOCKET control, char *command, const char *localPath, int type, BOOL append);
enum {
    SOUND_OTHER_FAILURE = 1,
    SOUND_CONNECT_SUCCESS = 2,
    SOUND_CONNECT_FAILURE = 4,
    SOUND_TRANSFER_SUCCESS = 8,
    SOUND_TRANSFER_FAILURE = 16,
};
void PlayEventSound(int event);
