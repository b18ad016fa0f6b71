// The options pages' field tables and the edits of their text tables.
#include "sites/option_fields.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "app/settings.h"
#include "resources/resource.h"
#include "sites/session_fields.h"
#include "sites/site_profile.h"

#define G(member) TARGET_GLOBAL, offsetof(GlobalSettingValues, member)
#define S(member) TARGET_SESSION, offsetof(SiteProfile, member)
#define NONE TARGET_NONE, 0
#define CHECK(id, key, def, target) {id, key, OPTION_CHECK, def, nullptr, 0, 1, STORE_CONFIG, target}
#define SESSION_CHECK(id, key, def, target) {id, key, OPTION_CHECK, def, nullptr, 0, 1, STORE_SESSION, target}

namespace {

const OptionField General[] = {
    {IDC_OPT_MAILADDR, "MAILADDR", OPTION_TEXT, 0, "veltrio@", 0, 127, STORE_CONFIG, NONE},
    {IDC_OPT_VIEWER, "VIEWER", OPTION_TEXT, 0, "notepad", 0, 119, STORE_CONFIG, NONE},
    {IDC_OPT_LOGFILE, "logfile", OPTION_TEXT, 0, "VELTRO.LOG", 0, 155, STORE_CONFIG, NONE},
    CHECK(IDC_OPT_DOLOG, "dolog", 1, NONE),
    CHECK(IDC_OPT_VRFYDEL, "VRFYDEL", 1, G(verifyDelete)),
    CHECK(IDC_OPT_FINDEXEC, "UseFindExec", 0, G(useFindExec)),
    CHECK(IDC_OPT_VERBOSE, "VERBOSE", 0, G(verbose)),
};

const OptionField Advanced[] = {
    CHECK(IDC_OPT_LONGDIR, "LONGDIR", 1, G(longDir)),
    CHECK(IDC_OPT_AUTOSAVE, "AUTOSAVE", 0, G(autoSave)),
    CHECK(IDC_OPT_AUTOSTART, "AUTOSTART", 1, G(autoStart)),
    {IDC_OPT_TRANRATE0, "tranrate", OPTION_RADIO, 0, nullptr, 0, 2, STORE_CONFIG, G(tranRate)},
    {IDC_OPT_DBLCLK0, "DBLCLK", OPTION_RADIO, 0, nullptr, 0, 3, STORE_CONFIG, G(doubleClick)},
    {IDC_OPT_RBP, "RBP", OPTION_NUMBER, 4096, nullptr, 80, 4096, STORE_CONFIG, G(recvBlock)},
    {IDC_OPT_SBP, "SBP", OPTION_NUMBER, 512, nullptr, 80, 4096, STORE_CONFIG, G(sendBlock)},
};

const OptionField Display[] = {
    CHECK(IDC_OPT_LAYOUT, "LAYOUT", 0, G(layout)),
    CHECK(IDC_OPT_BONTOP, "BONTOP", 0, G(buttonsOnTop)),
    CHECK(IDC_OPT_HIDBTN, "HIDBTN", 0, G(hideButtons)),
    CHECK(IDC_OPT_SCALE, "SCALE", 0, G(scale)),
    CHECK(IDC_OPT_BALLOON, "balloon", 0, G(balloon)),
    CHECK(IDC_OPT_LONGDATE, "LONGDATE", 1, G(longDate)),
    {IDC_OPT_DATEFMT0, "DateFmt", OPTION_RADIO, 0, nullptr, 0, 3, STORE_CONFIG, G(dateFormat)},
    {IDC_OPT_FONT0, "FONT", OPTION_RADIO, 3, nullptr, 0, 5, STORE_CONFIG, G(font)},
};

// The event check boxes are bits of "soundflags"; the wave files texts.
const OptionField Sounds[] = {
    {IDC_OPT_SND_CHECK0 + 0, "soundflags", OPTION_BIT, 2, nullptr, 0, 30, STORE_CONFIG, NONE},
    {IDC_OPT_SND_CHECK0 + 1, "soundflags", OPTION_BIT, 4, nullptr, 0, 30, STORE_CONFIG, NONE},
    {IDC_OPT_SND_CHECK0 + 2, "soundflags", OPTION_BIT, 8, nullptr, 0, 30, STORE_CONFIG, NONE},
    {IDC_OPT_SND_CHECK0 + 3, "soundflags", OPTION_BIT, 16, nullptr, 0, 30, STORE_CONFIG, NONE},
    {IDC_OPT_SND_CHECK0 + 4, "soundflags", OPTION_BIT, 1, nullptr, 0, 30, STORE_CONFIG, NONE},
    {IDC_OPT_SND_FILE0 + 0, "sndcs", OPTION_TEXT, 0, "connect.wav", 0, 255, STORE_CONFIG, NONE},
    {IDC_OPT_SND_FILE0 + 1, "sndcf", OPTION_TEXT, 0, "error.wav", 0, 255, STORE_CONFIG, NONE},
    {IDC_OPT_SND_FILE0 + 2, "sndts", OPTION_TEXT, 0, "complete.wav", 0, 255, STORE_CONFIG, NONE},
    {IDC_OPT_SND_FILE0 + 3, "sndtf", OPTION_TEXT, 0, "error.wav", 0, 255, STORE_CONFIG, NONE},
    {IDC_OPT_SND_FILE0 + 4, "sndaf", OPTION_TEXT, 0, "error.wav", 0, 255, STORE_CONFIG, NONE},
};

const OptionField Switches[] = {
    CHECK(IDC_OPT_KEPREGET, "KEPREGET", 1, G(keepReget)),
    CHECK(IDC_OPT_KEPTIMES, "KEPTIMES", 1, G(keepTimes)),
    CHECK(IDC_OPT_KEPOVERW, "KEPOVERW", 1, G(keepOverwrite)),
    CHECK(IDC_OPT_KEPDIROW, "KEPDIROW", 1, G(keepDirOverwrite)),
};

const OptionField Session[] = {
    SESSION_CHECK(IDC_OPT_DOUPDATE, "DOUPDATE", 1, G(doUpdate)),
    SESSION_CHECK(IDC_OPT_HASH, "HASH", 1, G(hash)),
    SESSION_CHECK(IDC_OPT_PASV, "PASVMODE", 1, S(passive)),
    SESSION_CHECK(IDC_OPT_FIREWALL, "FIREWALL", 0, S(useFirewall)),
    SESSION_CHECK(IDC_OPT_FORCLOW, "FORCLOW", 0, G(forceLower)),
    SESSION_CHECK(IDC_OPT_CONVEXT, "CONVEXT", 0, G(convertExt)),
    SESSION_CHECK(IDC_OPT_RETAIN, "RETAIN", 1, G(retain)),
};

const OptionField SessionMore[] = {
    SESSION_CHECK(IDC_OPT_STOU, "STOU", 0, G(storeUnique)),
    SESSION_CHECK(IDC_OPT_RECU, "RECU", 0, G(recvUnique)),
    SESSION_CHECK(IDC_OPT_PROMPT, "PROMPT", 0, G(prompt)),
};

template <size_t N> constexpr OptionPage PageOf(const OptionField (&fields)[N])
{
    return {fields, (int)N};
}

bool StartsWithEntry(const std::string &line, const std::string &source)
{
    return line.size() > source.size() && line.compare(0, source.size(), source) == 0 &&
           line[source.size()] == '=';
}

std::string Cut(const char *text, size_t limit)
{
    std::string s = text ? text : "";
    return s.size() > limit ? s.substr(0, limit) : s;
}

std::string Trimmed(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

} // namespace

const OptionPage GeneralOptionFields = PageOf(General);
const OptionPage AdvancedOptionFields = PageOf(Advanced);
const OptionPage DisplayOptionFields = PageOf(Display);
const OptionPage SoundOptionFields = PageOf(Sounds);
const OptionPage TransferSwitchFields = PageOf(Switches);
const OptionPage SessionOptionFields = PageOf(Session);
const OptionPage SessionMoreOptionFields = PageOf(SessionMore);

int StoredOptionValue(const OptionField &f, const char *shown)
{
    long typed = ParseFieldNumber(shown, false);
    switch (f.kind) {
    case OPTION_CHECK:
    case OPTION_BIT:
        return typed == 1 ? 1 : 0;
    case OPTION_RADIO:
        return typed >= 0 && typed < f.high ? f.low + (int)typed : f.def;
    case OPTION_NUMBER:
        if (typed < f.low)
            return f.low;
        return typed > f.high ? f.high : (int)typed;
    case OPTION_TEXT:
        break;
    }
    return 0;
}

int RadioIndexFor(const OptionField &f, int value)
{
    int index = value - f.low;
    return index >= 0 && index < f.high ? index : -1;
}

const OptionField *FindOptionField(const OptionPage &page, const char *key)
{
    for (int i = 0; i < page.count; i++)
        if (strcmp(page.fields[i].key, key) == 0)
            return &page.fields[i];
    return nullptr;
}

int TransferModeButton(int autoMode, int mode)
{
    if (autoMode)
        return 3;
    return mode == 'A' ? 0 : (mode == 'L' ? 2 : 1);
}

void TransferModeValues(int button, int *autoMode, int *mode)
{
    static const int modes[] = {'A', 'I', 'L'};
    *autoMode = button == 3 ? 1 : 0;
    *mode = button >= 0 && button < 3 ? modes[button] : -1;
}

int DefaultModeFor(int button)
{
    return button == 0 ? 'A' : (button == 2 ? 'L' : 'I');
}

int SoundChoice(int bell, int useWave)
{
    return bell ? (useWave ? 2 : 1) : 0;
}

void SoundChoiceValues(int choice, int *bell, int *useWave)
{
    *bell = choice == 0 ? 0 : 1;
    *useWave = choice == 2 ? 1 : 0;
}

// ---------------------------------------------------------------------

bool AddConversionEntry(TextLines *lines, const char *source, const char *destination)
{
    std::string from = Cut(source, 19), to = Cut(destination, 19);
    if (from.empty())
        return false;
    DeleteConversionEntry(lines, from.c_str());
    lines->push_back(from + "=" + to);
    return true;
}

bool DeleteConversionEntry(TextLines *lines, const char *source)
{
    std::string from = Cut(source, 19);
    if (from.empty())
        return false;
    for (size_t i = 0; i < lines->size(); i++)
        if (StartsWithEntry((*lines)[i], from)) {
            lines->erase(lines->begin() + (long)i);
            return true;
        }
    return false;
}

void SplitConversionEntry(const char *entry, std::string *source, std::string *destination)
{
    std::string e = entry ? entry : "";
    size_t equals = e.find('=');
    *source = equals == std::string::npos ? e : e.substr(0, equals);
    *destination = equals == std::string::npos ? std::string() : e.substr(equals + 1);
}

bool KeepConversionLine(const std::string &line)
{
    return line.size() >= 2 && line.find('=') != std::string::npos;
}

bool KeepExtensionLine(const std::string &line)
{
    return line.size() >= 2;
}

bool AddExtensionEntry(TextLines *lines, const char *text)
{
    std::string entry = Cut(text, 9);
    if (entry.size() < 2)
        return false;
    for (const std::string &line : *lines)
        if (line == entry)
            return false;
    lines->push_back(entry);
    return true;
}

bool DeleteExtensionEntry(TextLines *lines, const char *text)
{
    for (size_t i = 0; i < lines->size(); i++)
        if ((*lines)[i] == (text ? text : "")) {
            lines->erase(lines->begin() + (long)i);
            return true;
        }
    return false;
}

std::string AssociationProgram(const char *value)
{
    std::string v = value ? value : "";
    return Trimmed(v.substr(0, v.find('^')));
}

std::string AssociationValue(const char *extension, const char *command)
{
    std::string ext = Trimmed(extension ? extension : ""), cmd = Trimmed(command ? command : "");
    if (ext.empty() || cmd.empty() || ext.size() > 3)
        return std::string();
    size_t caret = cmd.find('^');
    if (caret == std::string::npos)
        return cmd + " ^." + ext;
    std::string tail = cmd.substr(caret);
    bool holds = false;
    for (size_t i = 0; i + ext.size() <= tail.size() && !holds; i++)
        holds = strncasecmp(tail.c_str() + i, ext.c_str(), ext.size()) == 0;
    return holds ? cmd : cmd.substr(0, caret) + "^." + ext;
}
