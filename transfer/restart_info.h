// Restart information of a binary download: five keys in the site's own
// section of VELTRO.INI, written before the download starts and removed
// when it completes, so that a download cut short (by the server, the
// network or the program's end) can be resumed later:
//   REGETRDIR   remote folder          REGETLDIR   local folder
//   REGETRFILE  remote file name       REGETLFILE  local file name
//   REGETTIME   time of saving, seconds since 1970
#pragma once

// localPath may be a bare name (the current folder is then its folder).
void SaveRestartInfo(const char *profile, const char *remoteFolder, const char *remoteFile,
                     const char *localPath);
// Removes the five keys when the section holds REGETRFILE.
void ClearRestartInfo(const char *profile);
