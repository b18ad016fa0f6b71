#include "ftp/remote_rules.h"

#include <stdio.h>
#include <string.h>

bool WantsXCommand(int replyClass, int replyCode)
{
    return replyClass == 5 && replyCode == 500;
}

bool CwdFallbackCommand(int hostType, const char *folder, char *command, size_t size)
{
    int n;
    if (hostType == HOSTTYPE_VMS_DIR_BRACKETS && folder[0] != '[')
        n = snprintf(command, size, "CWD [.%s]", folder);
    else
        n = snprintf(command, size, "XCWD %s", folder);
    return n >= 0 && (size_t)n < size;
}

static bool EndsWith(const char *text, char c)
{
    size_t n = strlen(text);
    return n > 0 && text[n - 1] == c;
}

char *BuildRemotePath(int hostType, const char *folder, const char *name, char *output,
                      size_t size)
{
    if (size == 0)
        return output;
    const char *separator;
    if (hostType == HOSTTYPE_DOTTED_JOIN)
        separator = ".";
    else if (hostType == HOSTTYPE_DOTTED_FOLDERS)
        separator = EndsWith(folder, '.') ? "" : ".";
    else if (!strchr(folder, '/') && (strchr(folder, '>') || folder[0] == '^'))
        separator = EndsWith(folder, '>') ? "" : ">";
    else if (EndsWith(folder, '/') || EndsWith(folder, '\\'))
        separator = "";
    else
        separator = strchr(folder, '\\') ? "\\" : "/";
    snprintf(output, size, "%s%s%s", folder, separator, name);
    return output;
}

CapabilityPlan CapabilitiesForHostType(int hostType, ServerCapabilities *caps)
{
    caps->canMakeFolder = caps->canRename = caps->canDelete = 0;
    switch (hostType) {
    case HOSTTYPE_LOGON_DELETE_ONLY:
        caps->canDelete = 1;
        return CAPS_NO_BUTTONS;
    case 6005:
        caps->canMakeFolder = caps->canDelete = 1;
        caps->useCdup = 0;
        return CAPS_SET;
    case 6026:
        caps->canDelete = 1;
        caps->useCdup = 0;
        return CAPS_SET;
    case 6027:
    case 6028:
        caps->canDelete = 1;
        return CAPS_SET;
    case HOSTTYPE_AUTO:
        return CAPS_ASK_HELP;
    default:  // 6020, 6045 and every other known type
        caps->canMakeFolder = caps->canRename = caps->canDelete = 1;
        return CAPS_SET;
    }
}

int HostTypeFromHelpLine(const char *line)
{
    if (strstr(line, "NCSA") || strstr(line, "CUTCP"))
        return 6006;
    if (strstr(line, "MACB"))
        return 6014;
    if (strstr(line, "HellSoft"))
        return 6041;
    if (strncmp(line, "214-PC FTP server", 17) == 0 || strstr(line, "QVT"))
        return 6013;
    return 6010;
}

bool HelpScanStops(const char *line, int code, int firstCode)
{
    if (code == 421)
        return true;
    bool final = !(strlen(line) > 3 && line[3] == '-');
    if (final && firstCode >= 100 && firstCode <= 599 && code == firstCode)
        return true;
    return code / 100 == 2 && final;
}

void ScanHelpLine(const char *line, ServerCapabilities *caps)
{
    if (strstr(line, "MKD"))
        caps->canMakeFolder = 1;
    if (strstr(line, "RNFR"))
        caps->canRename = 1;
    if (strstr(line, "DELE"))
        caps->canDelete = 1;
}

unsigned ChmodModeFromBoxes(const int boxes[9])
{
    unsigned mode = 0;
    for (int who = 0; who < 3; who++) {
        unsigned digit = (boxes[3 * who] ? 4u : 0u) | (boxes[3 * who + 1] ? 2u : 0u) |
                         (boxes[3 * who + 2] ? 1u : 0u);
        mode = mode * 10 + digit;
    }
    return mode;
}

void ChmodBoxesFromMode(unsigned mode, int boxes[9])
{
    unsigned digits[3] = {mode / 100 % 10, mode / 10 % 10, mode % 10};
    for (int who = 0; who < 3; who++) {
        boxes[3 * who] = (digits[who] & 4) != 0;
        boxes[3 * who + 1] = (digits[who] & 2) != 0;
        boxes[3 * who + 2] = (digits[who] & 1) != 0;
    }
}

void RowNameFromText(const char *text, size_t nameLength, bool folder, char *name, size_t size)
{
    if (size == 0)
        return;
    size_t n = 0;
    while (n < nameLength && text[n] && text[n] != '\t')
        n++;
    if (folder)
        while (n > 0 && text[n - 1] == ' ')
            n--;
    if (n >= size)
        n = size - 1;
    memcpy(name, text, n);
    name[n] = '\0';
}
