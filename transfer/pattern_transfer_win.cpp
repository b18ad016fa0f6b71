// Single-file and wildcard transfers of the unattended command line, and the
// name rules over the program's settings.
#include "transfer/pattern_transfer.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "listing/listing_cache.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"
#include "transfer/local_name.h"


enum { PATH_SIZE = 600 };

static ConvertRules CurrentConvertRules(void)
{
    ConvertRules rules = {CnvPath, GlobalSettings.convertExt, GlobalSettings.forceLower};
    return rules;
}

int ConvertName(char *name, int direction)
{
    ConvertRules rules = CurrentConvertRules();
    return ConvertNameWith(name, LOCAL_NAME_SIZE, direction, &rules);
}

static int LocalFileExists(const char *name)
{
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

void FitLocalName(char *destination, const char *remoteName)
{
    DWORD maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(nullptr, nullptr, 0, nullptr, &maxComponent, &flags, nullptr, 0))
        maxComponent = 0;
    FitRules rules = {(uint32_t)CurrentSession.hostType, (int)maxComponent, GlobalSettings.recvUnique,
                      LocalFileExists, CurrentConvertRules()};
    if (FitLocalNameWith(destination, remoteName, &rules))
        LogFormat(LoadText(IDS_UNSAFE_LOCAL_NAME), remoteName, destination);
}

static void LowerCase(char *text)
{
    for (; *text; text++)
        *text = (char)tolower((unsigned char)*text);
}

// The destination with `name` appended when its last part is empty.
static void CompleteDestination(char *out, const char *destination, const char *name)
{
    if (LastPathPart(destination)[0] == '\0')
        snprintf(out, PATH_SIZE, "%s%s", destination, name);
    else
        snprintf(out, PATH_SIZE, "%s", destination);
}

static int DownloadOneFile(SOCKET control, const char *remote, const char *localFolder, int type,
                           BOOL lowerName)
{
    char fitted[LOCAL_NAME_SIZE];
    char local[PATH_SIZE];
    if (LastPathPart(localFolder)[0] == '\0') {
        FitLocalName(fitted, remote);
        if (lowerName && GlobalSettings.forceLower)
            LowerCase(fitted);
        snprintf(local, sizeof local, "%s%s", localFolder, fitted);
    } else {
        snprintf(local, sizeof local, "%s", localFolder);
    }
    char command[PATH_SIZE + 8];
    snprintf(command, sizeof command, "RETR %s", remote);
    return DownloadFile(control, command, local, type, FALSE);
}

// name is the file's name for a destination folder; the whole remote path
// is lower-cased with FORCLOW unless the caller has done the name already.
static int UploadOneFile(SOCKET control, const char *local, const char *remoteDestination,
                         const char *name, int type, BOOL lowerWhole)
{
    char remote[PATH_SIZE];
    CompleteDestination(remote, remoteDestination, name);
    if (lowerWhole && GlobalSettings.forceLower)
        LowerCase(remote);
    char command[PATH_SIZE + 8];
    snprintf(command, sizeof command, "STOR %s", remote);
    return UploadFile(control, command, local, type, FALSE);
}

// Every name NLST gives for the pattern, fetched one by one from the
// source folder.
static int DownloadPattern(SOCKET control, const char *folder, const char *pattern,
                           const char *destination, int type)
{
    int result = FtpCommand(control, "CWD %s", folder);
    if (result != 2)
        return result;
    char listing[LISTING_FILE_SIZE];
    if (!MakeListingFileName(listing, sizeof listing))
        return 5;
    char command[PATH_SIZE + 8];
    snprintf(command, sizeof command, "NLST %s", pattern);
    result = DownloadFile(control, command, listing, 'A', FALSE);
    FILE *names = result == 2 ? fopen(listing, "r") : nullptr;
    if (!names) {
        DeleteFileA(listing);
        return 5;
    }
    result = 2;
    char line[80];
    while (result == 2 && !AbortFlag && fgets(line, sizeof line, names)) {
        line[strcspn(line, "\r\n")] = '\0';
        if (line[0] == '\0')
            continue;
        result = DownloadOneFile(control, line, destination, type, TRUE);
    }
    fclose(names);
    DeleteFileA(listing);
    return result;
}

// Every file of the local folder that matches the pattern, sent one by one.
static int UploadPattern(SOCKET control, const char *folder, const char *pattern,
                         const char *destination, int type)
{
    char previous[MAX_PATH];
    DWORD kept = GetCurrentDirectoryA(sizeof previous, previous);
    if (folder[0] && !SetCurrentDirectoryA(folder))
        return 5;
    int result = 5;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        BOOL more = TRUE;
        for (; more && !AbortFlag; more = FindNextFileA(search, &found)) {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            // The search also matches short names; only the real name counts.
            if (!MatchWildcard(pattern, found.cFileName))
                continue;
            char name[MAX_PATH];
            snprintf(name, sizeof name, "%s", found.cFileName);
            if (GlobalSettings.forceLower)
                LowerCase(name);
            result = UploadOneFile(control, found.cFileName, destination, name, type, FALSE);
            if (result != 2)
                break;
        }
        FindClose(search);
    }
    if (kept && kept < sizeof previous)
        SetCurrentDirectoryA(previous);
    return result;
}

int TransferByPattern(SOCKET control, const char *source, const char *destination, int direction,
                      int type)
{
    const char *name = LastPathPart(source);
    if (HasWildcard(name)) {
        if (name == source || LastPathPart(destination)[0] != '\0')
            return 5;
        char folder[PATH_SIZE];
        snprintf(folder, sizeof folder, "%.*s", (int)(name - source), source);
        return direction ? UploadPattern(control, folder, name, destination, type)
                         : DownloadPattern(control, folder, name, destination, type);
    }
    if (direction == 0) {
        if (name[0] == '\0')
            return 6;
        return DownloadOneFile(control, source, destination, type, FALSE);
    }
    return UploadOneFile(control, source, destination, name, type, TRUE);
}
