// An in-memory INI file behind the ProfileAccess hooks, following the
// configuration store's contract: sections and keys match without regard
// to case, keys keep their order, a null write removes the key, surrounding
// double quotes are dropped on read, integers read like the platform's
// profile reader (leading sign and digits, anything else 0).
// A new key goes to the end of its section, so a fresh file shows the
// order of the writes.
#pragma once
#include "sites/profile_store.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <optional>
#include <string>
#include <vector>

namespace fake {

struct Entry {
    std::string key;
    std::string value;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
};

inline std::vector<Section> File;
inline int HostTypes = 60;
inline std::vector<std::string> MailAnswers;   // answers to the address prompt, then cancel
inline int MailPrompts = 0;                     // prompts shown, the cancelled one included

inline void Reset()
{
    File.clear();
    HostTypes = 60;
    MailAnswers.clear();
    MailPrompts = 0;
}

inline Section *FindSection(const char *name)
{
    for (Section &s : File)
        if (strcasecmp(s.name.c_str(), name) == 0)
            return &s;
    return nullptr;
}

inline Entry *FindEntry(const char *section, const char *key)
{
    Section *s = FindSection(section);
    if (!s)
        return nullptr;
    for (Entry &e : s->entries)
        if (strcasecmp(e.key.c_str(), key) == 0)
            return &e;
    return nullptr;
}

// Raw stored text, as a test sees the file (quotes kept).
inline std::optional<std::string> Raw(const char *section, const char *key)
{
    Entry *e = FindEntry(section, key);
    if (!e)
        return std::nullopt;
    return e->value;
}

inline void Set(const char *section, const char *key, const char *value)
{
    if (!value) {
        if (Section *s = FindSection(section))
            for (size_t i = 0; i < s->entries.size(); i++)
                if (strcasecmp(s->entries[i].key.c_str(), key) == 0) {
                    s->entries.erase(s->entries.begin() + static_cast<long>(i));
                    break;
                }
        return;
    }
    if (Entry *e = FindEntry(section, key)) {
        e->value = value;
        return;
    }
    Section *s = FindSection(section);
    if (!s) {
        File.push_back({section, {}});
        s = &File.back();
    }
    s->entries.push_back({key, value});
}

inline std::vector<std::string> Keys(const char *section)
{
    std::vector<std::string> keys;
    if (Section *s = FindSection(section))
        for (const Entry &e : s->entries)
            keys.push_back(e.key);
    return keys;
}

inline void GetString(const char *section, const char *key, const char *def, char *buffer,
                      int size)
{
    std::string value = def;
    if (Entry *e = FindEntry(section, key)) {
        value = e->value;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
    }
    snprintf(buffer, static_cast<size_t>(size), "%s", value.c_str());
}

inline void PutString(const char *section, const char *key, const char *text)
{
    Set(section, key, text);
}

inline int GetInt(const char *section, const char *key, int def)
{
    Entry *e = FindEntry(section, key);
    if (!e)
        return def;
    return static_cast<int>(strtol(e->value.c_str(), nullptr, 10));
}

inline void PutInt(const char *section, const char *key, unsigned value)
{
    char text[16];
    snprintf(text, sizeof text, "%u", value);
    PutString(section, key, text);
}

inline void PutIntUnlessGlobal(const char *section, const char *key, unsigned value)
{
    int global = GetInt(GlobalSectionName, key, 99);
    if (global != 99 && static_cast<unsigned>(global) == value)
        PutString(section, key, nullptr);
    else
        PutInt(section, key, value);
}

inline int GetIntOrGlobal(const char *section, const char *key, int def)
{
    return GetInt(section, key, GetInt(GlobalSectionName, key, def));
}

inline int HostTypeCount()
{
    return HostTypes;
}

inline bool AskMailAddress(char *buffer, int size)
{
    int answer = MailPrompts++;
    if (answer >= static_cast<int>(MailAnswers.size()))
        return false;   // the user cancels
    snprintf(buffer, static_cast<size_t>(size), "%s", MailAnswers[answer].c_str());
    return true;
}

inline const ProfileAccess Access = {GetString, PutString, GetInt, PutInt, PutIntUnlessGlobal,
                                     GetIntOrGlobal, HostTypeCount, AskMailAddress};

} // namespace fake
