// Single-file and wildcard transfers of the unattended command line, and the
// name rules over the program's settings.
#include "transfer/pattern_transfer.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "app/app.h"
#include "app/config.h"
#include "app/settings.h"
#include "ftp/control.h"
#include "listing/listing_cache.h"
#include "resources/resource.h"
#include "sites/site_profile.h"
#include "transfer/decisions.h"
#include "transfer/local_name.h"
#include "transfer/name_list.h"
#include "transfer/sounds.h"
#include "transfer/transfer.h"


#include <string>
#include <vector>


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

char RestartProfile[80];

// The remote folder of the pattern being fetched: the folder of the bare
// names it lists, for their restart keys.
static char PatternFolder[PATH_SIZE];

// Restart keys of an unattended binary download, in the site's section:
// the local file is named by its own folder and name (a command line names
// local paths whole), so that a resume finds it from any current folder.
// One download. A positive completion reply counts only when every byte
// announced arrived and was stored; a binary download keeps restart keys
// until then.
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
    int wanted = GlobalSettings.autoMode ? GlobalSettings.mode : type;
    bool restartable = wanted == 'I' && RestartProfile[0];
    if (restartable) {
        const char *name = LastPathPart(remote);
        char folder[PATH_SIZE];
        if (name != remote)
            snprintf(folder, sizeof folder, "%.*s", (int)(name - remote), remote);
        else
            snprintf(folder, sizeof folder, "%s", PatternFolder);
        SaveRestartInfo(RestartProfile, folder, name, local);
    }
    int result = DownloadFile(control, command, local, type, FALSE);
    bool complete = result == 2 && ReceiveResult != 2 && !LastReceive.failed;
    if (complete && restartable)
        ClearRestartInfo(RestartProfile);
    return result == 2 && !complete ? 5 : result;
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

// Reads one line of any length (line end cut). Lines longer than `limit`
// are read to their end but flagged, not kept whole.
static bool ReadListedLine(FILE *file, std::string *line, size_t limit, bool *tooLong)
{
    line->clear();
    *tooLong = false;
    int c;
    bool any = false;
    while ((c = getc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (line->size() < limit)
            line->push_back((char)c);
        else
            *tooLong = true;
    }
    if (!line->empty() && line->back() == '\r')
        line->pop_back();
    return any;
}

struct ListedNames {
    std::vector<std::string> matches;
    unsigned listed = 0;
    unsigned junk = 0;
};

// "NLST pattern" (or a bare "NLST") into a listing file, then the names that
// match, in the server's order. Returns the listing's reply class (5 when
// the listing file cannot be made or read).
static int ListMatchingNames(SOCKET control, const char *argument, const char *pattern,
                             ListedNames *out)
{
    char listing[LISTING_FILE_SIZE];
    if (!MakeListingFileName(listing, sizeof listing))
        return 5;
    char command[PATH_SIZE + 8];
    if (argument)
        snprintf(command, sizeof command, "NLST %s", argument);
    else
        snprintf(command, sizeof command, "%s", "NLST");
    int result = DownloadFile(control, command, listing, 'A', FALSE);
    if (result == 2 && LastReceive.failed)
        result = 5;
    FILE *names = result == 2 ? fopen(listing, "rb") : nullptr;
    if (result == 2 && !names)
        result = 5;
    if (names) {
        std::string line;
        bool tooLong = false;
        // The longest name a RETR command can carry.
        const size_t limit = PATH_SIZE - 1;
        for (unsigned guard = 0; guard < 10000000u && ReadListedLine(names, &line, limit, &tooLong);
             guard++) {
            ListedName kind = ClassifyListedName(line.data(), line.size(), pattern);
            if (kind == LISTED_EMPTY)
                continue;
            out->listed++;
            if (kind == LISTED_JUNK) {
                out->junk++;
            } else if (tooLong) {
                LogFormat(LoadText(IDS_NAME_TOO_LONG), line.c_str());
            } else if (kind == LISTED_MATCH) {
                out->matches.push_back(line);
            }
        }
        fclose(names);
    }
    DeleteFileA(listing);
    return result;
}

// Every listed name that matches the pattern, fetched one by one from the
// source folder.
static int DownloadPattern(SOCKET control, const char *folder, const char *pattern,
                           const char *destination, int type)
{
    int result = FtpCommand(control, "CWD %s", folder);
    if (result != 2)
        return result;
    snprintf(PatternFolder, sizeof PatternFolder, "%s", folder);
    ListedNames names;
    result = ListMatchingNames(control, pattern, pattern, &names);
    // A refusal is a reply of its own; a lost connection is not one.
    bool refused = result != 2 && LastReplyCode >= 400 && LastReplyCode != 421 &&
                   ControlSocket != NO_SOCKET && Connected;
    if (result != 2 && !refused)
        return 5;
    if (names.matches.empty()) {
        LogFormat(LoadText(IDS_PATTERN_LISTING_ALL), pattern);
        names = ListedNames();
        if (ListMatchingNames(control, nullptr, pattern, &names) != 2)
            return 5;
    }
    if (names.junk)
        LogFormat(LoadText(IDS_NAMES_WITH_CONTROLS), names.junk);
    LogFormat(LoadText(IDS_PATTERN_MATCHES), (unsigned)names.matches.size(), names.listed, pattern);
    if (names.matches.empty()) {
        LogFormat(LoadText(IDS_NO_FILE_MATCHES), pattern);
        return 2;
    }
    result = 2;
    for (const std::string &name : names.matches) {
        result = DownloadOneFile(control, name.c_str(), destination, type, TRUE);
        if (result != 2 || AbortFlag)
            break;
    }
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
    PatternFolder[0] = '\0';
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
