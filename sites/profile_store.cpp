#include "sites/profile_store.h"

#include "sites/stored_password.h"

#include <stdio.h>
#include <string.h>
#include <strings.h>

const char GlobalSectionName[] = "_config_";
const char FirewallSectionName[] = "FIREWALL";

namespace {

enum {
    AutomaticHostType = 6000,
    DefaultTimeout = 65,
    DefaultPort = 21,
    StoredReadMax = 110,     // stored PWD/ACT texts are read up to this length
    FolderHistoryRead = 20,  // keys looked at when a box is filled
    FolderHistoryKept = 10,  // keys written or removed on save
    ProfileLineMax = 149
};

const char AnonymousUser[] = "anonymous";

// Per-site overrides of global options, in the order they are applied.
struct SiteOverride {
    const char *key;
    int GlobalSettingValues::*option;
};

const SiteOverride SiteOverrides[] = {
    {"AMODE", &GlobalSettingValues::autoMode},
    {"CONVEXT", &GlobalSettingValues::convertExt},
    {"DOUPDATE", &GlobalSettingValues::doUpdate},
    {"FORCLOW", &GlobalSettingValues::forceLower},
    {"PROMPT", &GlobalSettingValues::prompt},
    {"STOU", &GlobalSettingValues::storeUnique},
    {"RECU", &GlobalSettingValues::recvUnique},
    {"SORTLBX", &GlobalSettingValues::sortListBox},
    {"MODE", &GlobalSettingValues::mode},
    {"VLINK", &GlobalSettingValues::viewLink},
    {"RETAIN", &GlobalSettingValues::retain},
};

// Counted copy that cuts the text to the field.
template <size_t N>
void CopyText(char (&target)[N], const char *text)
{
    size_t length = strnlen(text, N - 1);
    memmove(target, text, length);
    target[length] = '\0';
}

// Reads a text key into a field, up to `limit` characters.
template <size_t N>
void ReadText(const ProfileAccess *io, const char *section, const char *key,
              char (&field)[N], int limit)
{
    static_assert(N > 0);
    int size = limit + 1 < static_cast<int>(N) ? limit + 1 : static_cast<int>(N);
    io->getString(section, key, "", field, size);
    field[size - 1] = '\0';
}

void PutTextUnlessEmpty(const ProfileAccess *io, const char *section, const char *key,
                        const char *text)
{
    io->putString(section, key, text[0] ? text : nullptr);
}

void PutIntUnlessDefault(const ProfileAccess *io, const char *section, const char *key,
                         unsigned value, unsigned def)
{
    if (value == def)
        io->putString(section, key, nullptr);
    else
        io->putInt(section, key, value);
}

// Reads a stored PWD/ACT text and decodes it when it and the user id are
// both present; otherwise the secret is empty. Returns whether it decoded.
template <size_t N>
bool ReadStoredSecret(const ProfileAccess *io, const char *section, const char *key,
                      const char *userId, char (&secret)[N])
{
    char stored[StoredReadMax + 1];
    io->getString(section, key, "", stored, sizeof stored);
    stored[StoredReadMax] = '\0';
    secret[0] = '\0';
    if (!userId[0] || !stored[0])
        return false;
    CopyText(secret, DecodeStoredPassword(stored));
    return true;
}

void ApplyAnonymousRule(const ProfileAccess *io, SiteProfile *p, GlobalSettingValues *options)
{
    if (strcasecmp(p->userId, AnonymousUser) != 0 || p->password[0])
        return;
    char address[sizeof options->mailAddress];
    io->getString(GlobalSectionName, "MAILADDR", "", address, sizeof address);
    address[sizeof address - 1] = '\0';
    if (!address[0]) {
        // Ask until an address is given or the user gives up.
        while (!address[0]) {
            if (!io->askMailAddress || !io->askMailAddress(address, sizeof address))
                break;
            address[sizeof address - 1] = '\0';
        }
        if (!address[0])
            return;
        io->putString(GlobalSectionName, "MAILADDR", address);
        CopyText(options->mailAddress, address);
    }
    CopyText(p->password, address);
}

int ValidHostType(const ProfileAccess *io, int type)
{
    int count = io->hostTypeCount ? io->hostTypeCount() : 1;
    if (type < AutomaticHostType || type > AutomaticHostType - 1 + count)
        return AutomaticHostType;
    return type;
}

const char *Trimmed(const char *begin, const char *end, size_t *length)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        begin++;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t'))
        end--;
    *length = static_cast<size_t>(end - begin);
    return begin;
}

} // namespace

bool IsReservedProfileName(const char *name)
{
    return !name || !name[0] || strcasecmp(name, GlobalSectionName) == 0;
}

bool ReadSiteProfile(const ProfileAccess *io, SiteProfile *p, GlobalSettingValues *options)
{
    const char *section = p->name;

    // 1. A section without HOST names its own host.
    ReadText(io, section, "HOST", p->host, 250);
    bool found = p->host[0] != '\0';
    if (!found)
        CopyText(p->host, p->name);

    // 2. User id and the stored password.
    ReadText(io, section, "UID", p->userId, 79);
    p->savePassword = ReadStoredSecret(io, section, "PWD", p->userId, p->password) ? 1 : 0;

    // 3. Anonymous logons use the e-mail address as password.
    ApplyAnonymousRule(io, p, options);

    // 4. Host type, automatic when out of range.
    p->hostType = ValidHostType(io, io->getInt(section, "TYPE", AutomaticHostType));

    // 5. Remote folder (the reader drops the quotes) and account.
    ReadText(io, section, "DIR", p->remoteFolder, 143);
    ReadStoredSecret(io, section, "ACT", p->userId, p->account);

    // 6. The rest of the record.
    p->timeOffset = io->getInt(section, "TIMEOFFSET", 0);
    p->useFirewall = io->getIntOrGlobal(section, "FIREWALL", 0);
    p->timeout = static_cast<uint32_t>(io->getInt(section, "TIMEOUT", DefaultTimeout));
    ReadText(io, section, "LMASK", p->localMask, 19);
    ReadText(io, section, "RMASK", p->remoteMask, 19);
    ReadText(io, section, "LOCDIR", p->localFolder, 143);
    ReadText(io, section, "INITCMD", p->initCommands, 250);
    p->port = static_cast<uint32_t>(io->getInt(section, "PORT", DefaultPort));
    p->passive = io->getIntOrGlobal(section, "PASVMODE", 1);
    p->retries = static_cast<uint32_t>(io->getInt(section, "RETRIES", 0));

    // 7. Per-site overrides of the global options.
    for (const SiteOverride &o : SiteOverrides)
        options->*o.option = io->getIntOrGlobal(section, o.key, options->*o.option);
    return found;
}

bool WriteSiteProfile(const ProfileAccess *io, const SiteProfile *p)
{
    if (IsReservedProfileName(p->name))
        return false;
    const char *section = p->name;
    char text[StoredTextMax + 3];

    io->putString(section, "HOST", p->host);
    io->putString(section, "UID", p->userId);
    io->putString(section, "PWD",
                  p->savePassword ? EncodeStoredPassword(p->userId, p->password) : nullptr);
    io->putString(section, "ACT",
                  p->account[0] ? EncodeStoredPassword(p->userId, p->account) : nullptr);
    PutTextUnlessEmpty(io, section, "LMASK", p->localMask);
    PutTextUnlessEmpty(io, section, "RMASK", p->remoteMask);
    PutIntUnlessDefault(io, section, "TYPE", static_cast<unsigned>(p->hostType), AutomaticHostType);
    PutIntUnlessDefault(io, section, "TIMEOUT", p->timeout, DefaultTimeout);
    PutTextUnlessEmpty(io, section, "LOCDIR", p->localFolder);
    if (p->remoteFolder[0]) {
        // Quoted so that leading or trailing blanks of the folder survive.
        snprintf(text, sizeof text, "\"%s\"", p->remoteFolder);
        io->putString(section, "DIR", text);
    } else {
        io->putString(section, "DIR", nullptr);
    }
    io->putString(section, "FIREWALL", p->useFirewall ? "1" : nullptr);
    if (p->firewallType == 0 || p->firewallType == 99)
        io->putString(section, "FIRETYPE", nullptr);
    else
        io->putInt(section, "FIRETYPE", static_cast<unsigned>(p->firewallType));
    PutIntUnlessDefault(io, section, "RETRIES", p->retries, 0);
    PutIntUnlessDefault(io, section, "PORT", p->port, DefaultPort);
    PutTextUnlessEmpty(io, section, "INITCMD", p->initCommands);
    io->putIntUnlessGlobal(section, "PASVMODE", static_cast<unsigned>(p->passive));
    snprintf(text, sizeof text, "%d", p->timeOffset);
    io->putString(section, "TIMEOFFSET", text);
    return true;
}

void ReadFirewallSettings(const ProfileAccess *io, FirewallSettings *firewall)
{
    const char *section = FirewallSectionName;
    ReadText(io, section, "HOST", firewall->host, 79);
    ReadText(io, section, "UID", firewall->userId, 79);
    char stored[StoredReadMax + 1];
    io->getString(section, "PWD", "", stored, sizeof stored);
    stored[StoredReadMax] = '\0';
    firewall->savePassword = stored[0] ? 1 : 0;
    if (stored[0])
        CopyText(firewall->password, DecodeStoredPassword(stored));
    firewall->type = io->getInt(section, "FIRETYPE", 1);
    firewall->port = static_cast<uint32_t>(io->getInt(section, "PORT", DefaultPort));
}

void WriteFirewallSettings(const ProfileAccess *io, const FirewallSettings *firewall)
{
    const char *section = FirewallSectionName;
    io->putString(section, "HOST", firewall->host);
    io->putString(section, "UID", firewall->userId);
    io->putString(section, "PWD",
                  firewall->savePassword
                      ? EncodeStoredPassword(firewall->userId, firewall->password)
                      : nullptr);
    io->putInt(section, "FIRETYPE", static_cast<unsigned>(firewall->type));
    io->putInt(section, "PORT", firewall->port);
}

void ReadFolderHistory(const ProfileAccess *io, const char *section, bool remote,
                       const FolderList *box)
{
    if (!remote)
        box->clear(box->context);
    for (unsigned n = 0; n < FolderHistoryRead; n++) {
        char key[16];
        snprintf(key, sizeof key, remote ? "rdir%u" : "ldir%u", n);
        char folder[256];
        io->getString(section, key, "", folder, sizeof folder);
        folder[sizeof folder - 1] = '\0';
        if (!folder[0])
            continue;
        bool held = false;
        int count = box->count(box->context);
        for (int i = 0; i < count && !held; i++) {
            char entry[256];
            box->get(box->context, i, entry, sizeof entry);
            held = strcmp(entry, folder) == 0;
        }
        if (!held)
            box->append(box->context, folder);
    }
}

void WriteFolderHistory(const ProfileAccess *io, const char *section, bool retain,
                        const FolderList *remoteBox, const FolderList *localBox)
{
    char key[16];
    if (!retain) {
        for (unsigned n = 0; n < FolderHistoryKept; n++) {
            snprintf(key, sizeof key, "rdir%u", n);
            io->putString(section, key, nullptr);
            snprintf(key, sizeof key, "ldir%u", n);
            io->putString(section, key, nullptr);
        }
        return;
    }
    char entry[256];
    char quoted[sizeof entry + 2];
    int remoteCount = remoteBox->count(remoteBox->context);
    for (unsigned n = 0; n < FolderHistoryKept && static_cast<int>(n) < remoteCount; n++) {
        remoteBox->get(remoteBox->context, static_cast<int>(n), entry, sizeof entry);
        snprintf(quoted, sizeof quoted, "\"%s\"", entry);
        snprintf(key, sizeof key, "rdir%u", n);
        io->putString(section, key, quoted);
    }
    int localCount = localBox->count(localBox->context);
    for (unsigned n = 0; n < FolderHistoryKept && static_cast<int>(n) < localCount; n++) {
        localBox->get(localBox->context, static_cast<int>(n), entry, sizeof entry);
        snprintf(key, sizeof key, "ldir%u", n);
        io->putString(section, key, entry);
    }
}

bool ProfileNameFromLine(const char *line, char *name, size_t size)
{
    while (*line == ' ' || *line == '\t')
        line++;
    if (*line != '[')
        return false;
    const char *close = strchr(line + 1, ']');
    if (!close)
        return false;
    size_t length;
    const char *begin = Trimmed(line + 1, close, &length);
    if (length == 0 || size == 0)
        return false;
    if (length == sizeof GlobalSectionName - 1 &&
        strncasecmp(begin, GlobalSectionName, length) == 0)
        return false;
    snprintf(name, size, "%.*s", static_cast<int>(length), begin);
    return true;
}

void ReadProfileNames(FILE *file, void (*add)(void *context, const char *name), void *context)
{
    char line[ProfileLineMax + 1];
    bool continuation = false;   // inside the skipped rest of a long line
    while (fgets(line, sizeof line, file)) {
        bool complete = strchr(line, '\n') != nullptr || feof(file);
        bool skip = continuation;
        continuation = !complete;
        if (skip)
            continue;
        char name[80];
        if (ProfileNameFromLine(line, name, sizeof name))
            add(context, name);
    }
}
