#include "transfer/local_name.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

static void LowerCase(char *text)
{
    for (; *text; text++)
        *text = (char)tolower((unsigned char)*text);
}

// One table line split into source and destination; 0 for lines to ignore.
static int SplitTableLine(char *line, char **source, char **destination)
{
    line[strcspn(line, "\r\n")] = '\0';
    if (strlen(line) < 2)
        return 0;
    char *eq = strchr(line, '=');
    if (eq == nullptr)
        return 0;
    *eq = '\0';
    *source = line;
    *destination = eq + 1;
    if (strlen(*source) < 2 || (*destination)[0] == '\0')
        return 0;
    if (strlen(*destination) > CONVERT_DEST_MAX)
        (*destination)[CONVERT_DEST_MAX] = '\0';
    return 1;
}

static int ApplyTable(char *name, int size, const char *tablePath)
{
    if (tablePath == nullptr || tablePath[0] == '\0')
        return 0;
    FILE *f = fopen(tablePath, "r");
    if (f == nullptr)
        return 0;
    int applied = 0;
    char line[80];
    while (!applied && fgets(line, sizeof line, f) != nullptr) {
        char *source, *destination;
        if (!SplitTableLine(line, &source, &destination))
            continue;
        size_t length = strlen(name);
        size_t sourceLength = strlen(source);
        if (sourceLength == length && strcasecmp(source, name) == 0) {
            snprintf(name, (size_t)size, "%s", destination);
            applied = 1;
        } else if (sourceLength < length && strcasecmp(name + length - sourceLength, source) == 0) {
            name[length - sourceLength] = '\0';
            size_t kept = strlen(name);
            snprintf(name + kept, (size_t)size - kept, "%s", destination);
            applied = 1;
        }
    }
    fclose(f);
    return applied;
}

int ConvertNameWith(char *name, int size, int direction, const ConvertRules *rules)
{
    if (size <= 0)
        return 0;
    if (direction == CONVERT_TO_REMOTE && rules->forceLower)
        LowerCase(name);
    if (!rules->convertExt)
        return 0;
    char suffix[LOCAL_NAME_SIZE] = "";
    char *semicolon = strchr(name, ';');
    if (semicolon != nullptr) {
        snprintf(suffix, sizeof suffix, "%s", semicolon);
        *semicolon = '\0';
    }
    int applied = ApplyTable(name, size, rules->tablePath);
    if (!applied && direction == CONVERT_TO_REMOTE && suffix[0]) {
        size_t kept = strlen(name);
        snprintf(name + kept, (size_t)size - kept, "%s", suffix);
    }
    return applied;
}

const char *LastPathPart(const char *path)
{
    const char *part = path;
    for (const char *p = path; *p; p++) {
        if (*p == '/' || *p == '\\')
            part = p + 1;
    }
    return part;
}

int HasWildcard(const char *name)
{
    return strpbrk(name, "*?") != nullptr;
}

int MatchWildcard(const char *pattern, const char *name)
{
    const char *star = nullptr;   // the last "*" seen in the pattern
    const char *resume = nullptr; // where the name resumes after it
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' ||
                   (*pattern && tolower((unsigned char)*pattern) == tolower((unsigned char)*name))) {
            pattern++;
            name++;
        } else if (star != nullptr) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return 0;
        }
    }
    while (*pattern == '*')
        pattern++;
    return *pattern == '\0';
}

static int IsBlankOrEnd(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Trims leading and trailing white space and reduces inner runs of blanks
// to one blank (names of hosts that pad their listings).
static void SqueezeBlanks(char *name)
{
    char *out = name;
    const char *p = name;
    while (IsBlankOrEnd(*p))
        p++;
    int pendingBlank = 0;
    for (; *p; p++) {
        if (IsBlankOrEnd(*p)) {
            pendingBlank = 1;
            continue;
        }
        if (pendingBlank && out != name)
            *out++ = ' ';
        pendingBlank = 0;
        *out++ = *p;
    }
    *out = '\0';
}

// An 8.3 name: base up to 8 characters, extension up to 3 (or converted).
static void ShortName(char *destination, const char *remoteName, const FitRules *rules)
{
    char work[LOCAL_NAME_SIZE];
    snprintf(work, sizeof work, "%s", remoteName);
    if (rules->hostType == 6029)
        SqueezeBlanks(work);
    const char *p = LastPathPart(work);
    while (*p == '.')
        p++;
    char base[9];
    int n = 0;
    while (n < 8 && *p && *p != '.' && *p != ' ') {
        base[n++] = *p == ':' ? '_' : *p;
        p++;
    }
    base[n] = '\0';

    char extension[32] = "";
    const char *start = strchr(p, '.');
    if (start == nullptr)
        start = strchr(p, ' ');
    if (start != nullptr) {
        while (*start == '.' || *start == ' ')
            start++;
        int e = 0;
        while (e < 10 && start[e] && start[e] != '.' && start[e] != ' ' && start[e] != ';') {
            extension[e] = start[e];
            e++;
        }
        extension[e] = '\0';
        if (!ConvertNameWith(extension, sizeof extension, CONVERT_TO_LOCAL, &rules->convert) &&
            strlen(extension) > 3)
            extension[3] = '\0';
    }
    if (extension[0])
        snprintf(destination, LOCAL_NAME_SIZE, "%s.%s", base, extension);
    else
        snprintf(destination, LOCAL_NAME_SIZE, "%s", base);
}

static void ReplaceReserved(char *name)
{
    static const char from[] = "*<>?|";
    static const char to[] = "@{}$+";
    for (; *name; name++) {
        const char *hit = strchr(from, *name);
        if (hit != nullptr)
            *name = to[hit - from];
    }
}

static void MakeUnique(char *name, const FitRules *rules)
{
    if (!rules->recvUnique || rules->exists == nullptr || !rules->exists(name))
        return;
    char original[LOCAL_NAME_SIZE];
    snprintf(original, sizeof original, "%s", name);
    const char *dot = strrchr(original, '.');
    // Room for the number beyond a name of full length; cut back below.
    char candidate[LOCAL_NAME_SIZE + 16];
    for (unsigned n = 0; n <= 998; n++) {
        if (dot == nullptr) {
            snprintf(candidate, sizeof candidate, "%s.%03u", original, n);
        } else {
            int baseLength = (int)(dot - original);
            if (baseLength <= 5)
                snprintf(candidate, sizeof candidate, "%.*s%03u.%s", baseLength, original, n, dot + 1);
            else
                snprintf(candidate, sizeof candidate, "%-5.5s%03u.%s", original, n, dot + 1);
        }
        candidate[LOCAL_NAME_SIZE - 1] = '\0';
        memcpy(name, candidate, strlen(candidate) + 1);
        if (!rules->exists(name))
            return;
    }
}

// Device names that Windows opens in every folder, whatever the extension.
static int IsDeviceName(const char *name)
{
    static const char *const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    size_t length = strcspn(name, ".");
    while (length > 0 && name[length - 1] == ' ')
        length--;
    for (const char *device : devices) {
        if (length == strlen(device) && strncasecmp(name, device, length) == 0)
            return 1;
    }
    return length == 4 && (strncasecmp(name, "COM", 3) == 0 || strncasecmp(name, "LPT", 3) == 0) &&
           isdigit((unsigned char)name[3]);
}

int MakeLocalNameSafe(char *name, int size)
{
    int changed = 0;
    for (char *p = name; *p; p++) {
        if (*p == '/' || *p == '\\' || *p == ':' || *p == '"' || (unsigned char)*p < 0x20) {
            *p = '_';
            changed = 1;
        }
    }
    // Windows drops trailing dots and blanks: "..", "x." and "x " would
    // name the parent folder or another file.
    size_t length = strlen(name);
    while (length > 0 && (name[length - 1] == '.' || name[length - 1] == ' ')) {
        name[--length] = '\0';
        changed = 1;
    }
    if (length == 0) {
        snprintf(name, (size_t)size, "%s", "aaremote");
        return 1;
    }
    if (IsDeviceName(name)) {
        if ((int)length + 1 < size)
            memmove(name + 1, name, length + 1);
        name[0] = '_';
        changed = 1;
    }
    return changed;
}

int FitLocalNameWith(char *destination, const char *remoteName, const FitRules *rules)
{
    size_t length = strlen(remoteName);
    if (rules->hostType == 6044) {
        snprintf(destination, LOCAL_NAME_SIZE, "%s", remoteName);
        for (char *p = destination; *p; p++) {
            if (*p == '/' || *p == '\\')
                *p = '.';
        }
        ConvertNameWith(destination, LOCAL_NAME_SIZE, CONVERT_TO_LOCAL, &rules->convert);
    } else if (rules->maxComponent > 12 && length < (size_t)rules->maxComponent && length < 150) {
        snprintf(destination, LOCAL_NAME_SIZE, "%s", LastPathPart(remoteName));
        if (rules->hostType == 6011 || rules->hostType == 6012) {
            char *version = strrchr(destination, ';');
            if (version != nullptr)
                *version = '\0';
        }
        ConvertNameWith(destination, LOCAL_NAME_SIZE, CONVERT_TO_LOCAL, &rules->convert);
    } else {
        ShortName(destination, remoteName, rules);
    }
    if (destination[0] == '\0')
        snprintf(destination, LOCAL_NAME_SIZE, "%s", "aaremote");
    else
        ReplaceReserved(destination);
    int madeSafe = MakeLocalNameSafe(destination, LOCAL_NAME_SIZE);
    MakeUnique(destination, rules);
    return madeSafe;
}
