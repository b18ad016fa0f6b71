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

struct Entry { std::string key, value; };
struct Section { std::string name; std::vector<Entry> entries; };

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
    if (Section *s = FindSection(section))
        for (Entry &e : s->entries)
            if (strcasecmp(e.key.c_str(), key) == 0)
                return &e;
    return nullptr;
}

// Raw stored text, as a test sees the file (quotes kept).
inline std::optional<std::string> Raw(const char *section, const char *key)
{
    Entry *e = FindEntry(section, key);
    return e ? std::optional<std::string>(e->value) : std::nullopt;
}

inline void Set(const char *section, const char *key, const char *value)
{
    Section *s = FindSection(section);
    if (!value) {
        if (s)
            std::erase_if(s->entries, [key](const Entry &e) { return strcasecmp(e.key.c_str(), key) == 0; });
    } else if (Entry *e = FindEntry(section, key)) {
        e->value = value;
    } else {
        if (!s)
            s = &File.emplace_back(Section{section, {}});
        s->entries.push_back({key, value});
    }
}

inline void GetString(const char *section, const char *key, const char *def, char *buffer, int size)
{
    std::string value = def;
    if (Entry *e = FindEntry(section, key)) {
        value = e->value;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
    }
    snprintf(buffer, static_cast<size_t>(size), "%s", value.c_str());
}

inline int GetInt(const char *section, const char *key, int def)
{
    Entry *e = FindEntry(section, key);
    return e ? static_cast<int>(strtol(e->value.c_str(), nullptr, 10)) : def;
}

inline void PutInt(const char *s, const char *key, unsigned value) { Set(s, key, std::to_string(value).c_str()); }

inline void PutIntUnlessGlobal(const char *section, const char *key, unsigned value)
{
    int global = GetInt(GlobalSectionName, key, 99);
    if (global != 99 && static_cast<unsigned>(global) == value)
        Set(section, key, nullptr);
    else
        PutInt(section, key, value);
}

inline int GetIntOrGlobal(const char *section, const char *key, int def)
{
    return GetInt(section, key, GetInt(GlobalSectionName, key, def));
}
inline int HostTypeCount() { return HostTypes; }

inline bool AskMailAddress(char *buffer, int size)
{
    int answer = MailPrompts++;
    if (answer >= static_cast<int>(MailAnswers.size()))
        return false;   // the user cancels
    snprintf(buffer, static_cast<size_t>(size), "%s", MailAnswers[answer].c_str());
    return true;
}

inline const ProfileAccess Access = {GetString, Set, GetInt, PutInt, PutIntUnlessGlobal,
                                     GetIntOrGlobal, HostTypeCount, AskMailAddress};

} // namespace fake
