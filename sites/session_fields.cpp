// The session sheet's field tables and rules.
#include "sites/session_fields.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "resources/resource.h"

namespace {

#define TEXT_FIELD(id, member, limit) \
    {id, FIELD_TEXT, offsetof(SiteProfile, member), limit, RULE_NONE}
#define NUMBER_FIELD(id, member, rule) \
    {id, FIELD_NUMBER, offsetof(SiteProfile, member), 0, rule}

const SheetField General[] = {
    TEXT_FIELD(IDC_SITE_HOST, host, 250),
    TEXT_FIELD(IDC_SITE_USER, userId, 79),
    TEXT_FIELD(IDC_SITE_PASSWORD, password, 79),
    TEXT_FIELD(IDC_SITE_ACCOUNT, account, 79),
    {IDC_SITE_SAVE_PASSWORD, FIELD_CHECK, offsetof(SiteProfile, savePassword), 0, RULE_NONE},
};

const SheetField Startup[] = {
    TEXT_FIELD(IDC_SITE_REMOTE_FOLDER, remoteFolder, 143),
    TEXT_FIELD(IDC_SITE_LOCAL_FOLDER, localFolder, 143),
    TEXT_FIELD(IDC_SITE_INIT_COMMANDS, initCommands, 250),
    TEXT_FIELD(IDC_SITE_LOCAL_MASK, localMask, 19),
    TEXT_FIELD(IDC_SITE_REMOTE_MASK, remoteMask, 19),
    {IDC_SITE_TIME_OFFSET, FIELD_SIGNED, offsetof(SiteProfile, timeOffset), 0, RULE_NONE},
};

const SheetField Advanced[] = {
    NUMBER_FIELD(IDC_SITE_RETRIES, retries, RULE_RETRIES),
    NUMBER_FIELD(IDC_SITE_TIMEOUT, timeout, RULE_TIMEOUT),
    NUMBER_FIELD(IDC_SITE_PORT, port, RULE_PORT),
    {IDC_SITE_PASSIVE, FIELD_CHECK, offsetof(SiteProfile, passive), 0, RULE_NONE},
};

template <size_t N> constexpr SheetPage PageOf(const SheetField (&fields)[N])
{
    return {fields, static_cast<int>(N)};
}

char *Member(SiteProfile *p, const SheetField &f)
{
    return reinterpret_cast<char *>(p) + f.offset;
}

const char *Member(const SiteProfile *p, const SheetField &f)
{
    return reinterpret_cast<const char *>(p) + f.offset;
}

} // namespace

const SheetPage GeneralPageFields = PageOf(General);
const SheetPage StartupPageFields = PageOf(Startup);
const SheetPage AdvancedPageFields = PageOf(Advanced);

long ParseFieldNumber(const char *text, bool allowSign)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        text++;
    bool negative = false;
    if (allowSign && (*text == '-' || *text == '+')) {
        negative = *text == '-';
        text++;
    }
    if (!isdigit(static_cast<unsigned char>(*text)))
        return 0;
    long value = 0;
    for (; isdigit(static_cast<unsigned char>(*text)); text++) {
        value = value * 10 + (*text - '0');
        if (value > 2147483647L)
            return 0;   // out of range reads as no number
    }
    while (*text == ' ' || *text == '\t')
        text++;
    if (*text)
        return 0;
    return negative ? -value : value;
}

unsigned ApplyFieldRule(FieldRule rule, unsigned typed)
{
    switch (rule) {
    case RULE_RETRIES: return typed <= 49 ? typed : 40;
    case RULE_TIMEOUT: return typed == 0 ? 65 : typed;
    case RULE_PORT: return typed >= 10 ? typed : 21;
    case RULE_NONE: break;
    }
    return typed;
}

unsigned FirewallPortRule(unsigned typed)
{
    return typed < 28 ? 21 : typed;
}

void FieldText(const SiteProfile *p, const SheetField &f, char *buffer, size_t size)
{
    const char *member = Member(p, f);
    int32_t value;
    switch (f.kind) {
    case FIELD_TEXT:
        snprintf(buffer, size, "%s", member);
        return;
    case FIELD_NUMBER:
        memcpy(&value, member, sizeof value);
        snprintf(buffer, size, "%u", static_cast<unsigned>(value));
        return;
    case FIELD_SIGNED:
        memcpy(&value, member, sizeof value);
        snprintf(buffer, size, "%d", static_cast<int>(value));
        return;
    case FIELD_CHECK:
        memcpy(&value, member, sizeof value);
        snprintf(buffer, size, "%d", value ? 1 : 0);
        return;
    }
}

void StoreField(SiteProfile *p, const SheetField &f, const char *text)
{
    char *member = Member(p, f);
    int32_t value = 0;
    switch (f.kind) {
    case FIELD_TEXT: {
        size_t length = strnlen(text ? text : "", static_cast<size_t>(f.limit));
        memcpy(member, text ? text : "", length);
        member[length] = '\0';
        return;
    }
    case FIELD_NUMBER:
        value = static_cast<int32_t>(ApplyFieldRule(f.rule, static_cast<unsigned>(ParseFieldNumber(text, false))));
        break;
    case FIELD_SIGNED:
        value = static_cast<int32_t>(ParseFieldNumber(text, true));
        break;
    case FIELD_CHECK:
        value = text && strcmp(text, "1") == 0 ? 1 : 0;
        break;
    }
    memcpy(member, &value, sizeof value);
}

void ProfileNameOnApply(const char *boxText, const char *host, char *name, size_t size)
{
    const char *text = boxText ? boxText : "";
    if (!*text)
        text = host ? host : "";
    while (*text == ' ')
        text++;
    snprintf(name, size, "%s", text);
}

bool IsAnonymousUser(const char *userId)
{
    return userId && strcasecmp(userId, "anonymous") == 0;
}

bool PasswordStoreForbidden(int winIniValue, int configValue)
{
    return (winIniValue >= 1 ? winIniValue : configValue) > 0;
}
