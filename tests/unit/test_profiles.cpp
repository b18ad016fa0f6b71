// Site profiles: the stored-password form and the MD5 digest under it (expected
// texts computed independently of this code base, a reference MD5 and the
// scramble rule applied by hand), loading and saving profiles and the FIREWALL
// section through an in-memory INI file, the folder history of the folder boxes,
// the list of profile names, and the session sheet's field rules: what a typed
// value becomes in the profile, through the pages' own field tables.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "fake_profile_file.h"
#include "resources/resource.h"
#include "sites/md5.h"
#include "sites/session_fields.h"
#include "sites/stored_password.h"

namespace {

using fake::Raw;

GlobalSettingValues StartOptions()
{
    GlobalSettingValues o{};
    snprintf(o.mailAddress, sizeof o.mailAddress, "veltrio@");
    return o;
}

// A record holding every default, as a new profile starts.
SiteProfile DefaultProfile(const char *name)
{
    SiteProfile p{};
    snprintf(p.name, sizeof p.name, "%s", name);
    snprintf(p.host, sizeof p.host, "%s", name);
    p.timeout = 65, p.hostType = 6000, p.port = 21, p.passive = 1;
    return p;
}

struct ProfileStore : ::testing::Test {
    void SetUp() override { fake::Reset(); }
    GlobalSettingValues options = StartOptions();

    SiteProfile Load(const char *name, bool *found = nullptr)
    {
        SiteProfile p{};
        snprintf(p.name, sizeof p.name, "%s", name);
        bool result = ReadSiteProfile(&fake::Access, &p, &options);
        return found ? (*found = result, p) : p;
    }
};

TEST_F(ProfileStore, EmptyHostCountsAsMissing)
{
    fake::Set("box", "HOST", "");
    fake::Set("box", "UID", "me");
    bool found = true;
    SiteProfile p = Load("box", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(std::string(p.host) + " " + p.userId, "box me") << "the host defaults to the name, other keys still load";
}

TEST_F(ProfileStore, SaveWritesKeysInOrder)
{
    // Every stored field differs from its default.
    SiteProfile p{"work", "ftp.example.org", "joe", "secret", "acct42", " /pub/with blanks ", "C:\\Data\\ftp",
                  "SITE UMASK 022;SITE IDLE 600", "*.txt", "*.zip", 120, 6042, 2121, 5, 3, 1, 0, 1, -3, 6};
    ASSERT_TRUE(WriteSiteProfile(&fake::Access, &p));
    EXPECT_EQ(Raw("work", "PWD"), "V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2");
    EXPECT_EQ(Raw("work", "ACT"), "V51688AD5507F731994A379402E48435D96959BAF7038");
    EXPECT_EQ(Raw("work", "DIR"), "\" /pub/with blanks \"");
    EXPECT_EQ(Raw("work", "TIMEOFFSET"), "-3");
    std::vector<std::string> keys;
    for (const fake::Entry &e : fake::FindSection("work")->entries)
        keys.push_back(e.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"HOST", "UID", "PWD", "ACT", "LMASK", "RMASK", "TYPE", "TIMEOUT",
                                              "LOCDIR", "DIR", "FIREWALL", "FIRETYPE", "RETRIES", "PORT", "INITCMD",
                                              "PASVMODE", "TIMEOFFSET"}));
}

// What a save of a default profile with one change writes to one key;
// "refused": the save is refused and nothing is written.
TEST_F(ProfileStore, SaveRules)
{
    const char *refused = "refused";
    const struct {
        const char *name;
        int firewallType, savePassword;
        const char *userId, *password, *key;
        std::optional<std::string> stored;
    } cases[] = {
        {"fw", 0, 0, "", "", "FIRETYPE", std::nullopt}, {"fw", 99, 0, "", "", "FIRETYPE", std::nullopt},
        {"fw", 7, 0, "", "", "FIRETYPE", "7"},          {"", 0, 0, "", "", "HOST", refused},
        {"_Config_", 0, 0, "", "", "HOST", refused},    {"_config_x", 0, 0, "", "", "HOST", "_config_x"},
        {"e", 0, 1, "joe", "", "PWD", "VD0BDB3040AA7735C2E4218F7AED596A6"},   // an empty password: the key only
        {"e", 0, 1, "joe", "", "ACT", std::nullopt},    {"e", 0, 0, "joe", "not kept", "PWD", std::nullopt},
    };
    for (const auto &c : cases) {
        fake::Reset();
        SiteProfile p = DefaultProfile(c.name);
        p.firewallType = c.firewallType, p.savePassword = c.savePassword;
        snprintf(p.userId, sizeof p.userId, "%s", c.userId);
        snprintf(p.password, sizeof p.password, "%s", c.password);
        bool written = WriteSiteProfile(&fake::Access, &p);
        EXPECT_EQ(written ? Raw(c.name, c.key) : refused, c.stored) << c.name << " " << c.key;
        EXPECT_TRUE(written || fake::File.empty()) << c.name;
    }
}

TEST_F(ProfileStore, HostTypeOutsideTheLibraryRangeIsAutomatic)
{
    struct Case { const char *stored; int count, loaded; } cases[] = {
        {"5999", 60, 6000}, {"6001", 60, 6001}, {"6059", 60, 6059}, {"6060", 60, 6000},
        {"6010", 10, 6000}, {"junk", 60, 6000}, {"6001", 1, 6000},
    };
    for (const Case &c : cases) {
        fake::Reset();
        fake::HostTypes = c.count;
        fake::Set("t", "TYPE", c.stored);
        EXPECT_EQ(Load("t").hostType, c.loaded) << c.stored << " with " << c.count << " types";
    }
}

TEST_F(ProfileStore, StoredSecretsNeedAUserId)
{
    const char stored[] = "V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2";   // joe / secret
    struct Case { const char *name, *userId, *pwd, *password; int savePassword; } cases[] = {
        {"both present", "joe", stored, "secret", 1}, {"empty user id", "", stored, "", 0},
        {"no stored text", "joe", nullptr, "", 0}, {"older form", "joe", "6162", "aa", 1},
        {"key only", "joe", "VD0BDB3040AA7735C2E4218F7AED596A6", "", 1},
    };
    for (const Case &c : cases) {
        fake::Reset();
        fake::Set("s", "HOST", "h");
        fake::Set("s", "UID", c.userId);
        fake::Set("s", "PWD", c.pwd);
        fake::Set("s", "ACT", c.pwd);
        SiteProfile p = Load("s");
        EXPECT_STREQ(p.password, c.password) << c.name;
        EXPECT_STREQ(p.account, c.password) << c.name;
        EXPECT_EQ(p.savePassword, c.savePassword) << c.name;
    }
}

TEST_F(ProfileStore, StoredTextIsReadUpTo110Characters)
{
    // 38 characters need 33 + 76 = 109 stored characters; 39 need 111, the reader keeps 110: one pair is lost.
    const char secret38[] = "abcdefghijklmnopqrstuvwxyz0123456789AB";
    SiteProfile p = DefaultProfile("long");
    snprintf(p.userId, sizeof p.userId, "joe");
    snprintf(p.password, sizeof p.password, "%s", secret38);
    snprintf(p.account, sizeof p.account, "%sC", secret38);
    p.savePassword = 1;
    WriteSiteProfile(&fake::Access, &p);
    EXPECT_EQ(Raw("long", "PWD")->size(), 109u);
    EXPECT_EQ(Raw("long", "ACT")->size(), 111u);
    SiteProfile loaded = Load("long");
    EXPECT_STREQ(loaded.password, secret38);
    EXPECT_STREQ(loaded.account, secret38);
}

TEST_F(ProfileStore, TextLimitsOnLoad)
{
    std::string longText(400, 'x');
    for (const char *key : {"HOST", "UID", "DIR", "LOCDIR", "INITCMD", "LMASK", "RMASK"})
        fake::Set("big", key, longText.c_str());
    SiteProfile p = Load("big");
    EXPECT_EQ((std::vector<size_t>{strlen(p.host), strlen(p.userId), strlen(p.remoteFolder), strlen(p.localFolder),
                                   strlen(p.initCommands), strlen(p.localMask), strlen(p.remoteMask)}),
              (std::vector<size_t>{250, 79, 143, 143, 250, 19, 19}));
}

TEST_F(ProfileStore, SiteKeysFallBackToGlobalThenToDefault)
{
    struct Case { const char *name, *site, *global; int passive, firewall; } cases[] = {
        {"neither", nullptr, nullptr, 1, 0}, {"global only", nullptr, "0", 0, 0}, {"site wins", "0", "1", 0, 0},
        {"site set", "1", nullptr, 1, 1},
    };
    for (const Case &c : cases) {
        fake::Reset();
        for (const char *key : {"PASVMODE", "FIREWALL"}) {
            fake::Set("g", key, c.site);
            fake::Set(GlobalSectionName, key, c.global);
        }
        SiteProfile p = Load("g");
        EXPECT_EQ(p.passive, c.passive) << c.name;
        EXPECT_EQ(p.useFirewall, c.firewall) << c.name;
    }
}

TEST_F(ProfileStore, PerSiteOverridesOfGlobalOptions)
{
    struct Case { const char *key; int GlobalSettingValues::*option; } cases[] = {
        {"AMODE", &GlobalSettingValues::autoMode}, {"MODE", &GlobalSettingValues::mode},
        {"RETAIN", &GlobalSettingValues::retain},
    };
    for (const Case &c : cases) {
        fake::Reset();
        options = StartOptions();
        options.*c.option = 41;
        // Neither key keeps the value; the global key sets it, the site key wins; another site takes the global.
        const struct { const char *section, *value, *site; int expected; } steps[] = {
            {nullptr, nullptr, "o", 41}, {GlobalSectionName, "65", "o", 65}, {"o", "76", "o", 76},
            {nullptr, nullptr, "other", 65}};
        for (const auto &step : steps) {
            if (step.section)
                fake::Set(step.section, c.key, step.value);
            Load(step.site);
            EXPECT_EQ(options.*c.option, step.expected) << c.key << " loading " << step.site;
        }
    }
}

TEST_F(ProfileStore, AnonymousTakesTheMailAddress)
{
    // pwd: the stored PWD; mail: _config_ MAILADDR; answers: typed at the prompts before a cancel.
    struct Case { const char *name, *userId, *pwd, *mail; std::vector<std::string> answers; const char *password;
                  int prompts; std::optional<std::string> savedMail; } cases[] = {
        {"any case", "Anonymous", nullptr, "me@example.org", {}, "me@example.org", 0, "me@example.org"},
        {"stored password wins", "anonymous", "6162", "me@x", {}, "aa", 0, "me@x"},
        {"not anonymous", "anonymou", nullptr, "me@x", {}, "", 0, "me@x"},
        {"asked until given", "anonymous", nullptr, "", {"", "", "typed@host"}, "typed@host", 3, "typed@host"},
        {"cancelled", "anonymous", nullptr, "", {}, "", 1, ""},
        {"blank then cancelled", "anonymous", nullptr, nullptr, {""}, "", 2, std::nullopt},
    };
    for (const Case &c : cases) {
        fake::Reset();
        options = StartOptions();
        fake::Set("a", "UID", c.userId);
        fake::Set("a", "PWD", c.pwd);
        fake::Set(GlobalSectionName, "MAILADDR", c.mail);
        fake::MailAnswers = c.answers;
        SiteProfile p = Load("a");
        EXPECT_STREQ(p.password, c.password) << c.name;
        EXPECT_EQ(fake::MailPrompts, c.prompts) << c.name;
        EXPECT_EQ(Raw(GlobalSectionName, "MAILADDR"), c.savedMail) << c.name;
        EXPECT_TRUE(c.prompts == 0 || !c.password[0] || strcmp(options.mailAddress, c.password) == 0) << c.name;
    }
}

TEST(FirewallStore, MissingSectionDefaultsAndStoredPasswordDecodes)
{
    fake::Reset();
    FirewallSettings f{};
    snprintf(f.password, sizeof f.password, "typed");
    ReadFirewallSettings(&fake::Access, &f);
    EXPECT_TRUE(f.host[0] == 0 && f.userId[0] == 0 && f.type == 1 && f.port == 21u && f.savePassword == 0);
    EXPECT_STREQ(f.password, "typed") << "a password typed earlier in the run stays when none is stored";
    fake::Set("FIREWALL", "PWD", "6162");
    ReadFirewallSettings(&fake::Access, &f);
    EXPECT_STREQ(f.password, "aa");
    EXPECT_EQ(f.savePassword, 1);
}

const SheetField *FieldOf(const SheetPage &page, int controlId)
{
    for (int i = 0; i < page.count; i++) if (page.fields[i].controlId == controlId) return &page.fields[i];
    return nullptr;
}

TEST(SessionFields, TypedValuesBecomeProfileValues)
{
    struct Case { const SheetPage *page; int control; const char *typed, *shown; } cases[] = {
        {&AdvancedPageFields, IDC_SITE_RETRIES, "49", "49"},  {&AdvancedPageFields, IDC_SITE_RETRIES, "50", "40"},
        {&AdvancedPageFields, IDC_SITE_RETRIES, "x", "0"},    {&AdvancedPageFields, IDC_SITE_TIMEOUT, "0", "65"},
        {&AdvancedPageFields, IDC_SITE_TIMEOUT, "120", "120"}, {&AdvancedPageFields, IDC_SITE_PORT, "9", "21"},
        {&AdvancedPageFields, IDC_SITE_PORT, "10", "10"},     {&AdvancedPageFields, IDC_SITE_PORT, "-5", "21"},
        {&AdvancedPageFields, IDC_SITE_PASSIVE, "0", "0"},    {&StartupPageFields, IDC_SITE_TIME_OFFSET, "-5", "-5"},
        {&StartupPageFields, IDC_SITE_TIME_OFFSET, " +3", "3"}, {&StartupPageFields, IDC_SITE_TIME_OFFSET, "3h", "0"},
        {&StartupPageFields, IDC_SITE_LOCAL_MASK, "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrs"},
        {&StartupPageFields, IDC_SITE_REMOTE_FOLDER, "/pub/x y", "/pub/x y"},
        {&GeneralPageFields, IDC_SITE_SAVE_PASSWORD, "1", "1"},
    };
    for (const Case &c : cases) {
        SiteProfile p;
        memset(&p, 0x55, sizeof p);   // stale contents must not show through
        const SheetField *f = FieldOf(*c.page, c.control);
        ASSERT_NE(f, nullptr) << c.control;
        StoreField(&p, *f, c.typed);
        char shown[300];
        FieldText(&p, *f, shown, sizeof shown);
        EXPECT_STREQ(shown, c.shown) << "control " << c.control << " typed \"" << c.typed << "\"";
    }
}

TEST(SessionFields, FirewallPortAndPolicyAndNames)
{
    const unsigned ports[][2] = {{0, 21}, {27, 21}, {28, 28}, {1080, 1080}};
    for (const auto &p : ports) EXPECT_EQ(FirewallPortRule(p[0]), p[1]) << p[0];
    // {WIN.INI value, _config_ value, forbidden}
    const int policies[][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {-1, 2, 1}, {2, -1, 1}, {0, -3, 0}};
    for (const auto &p : policies) EXPECT_EQ(PasswordStoreForbidden(p[0], p[1]), p[2] != 0) << p[0] << "/" << p[1];
    // {profile box, host, stored name}
    const char *names[][3] = {{"", "ftp.host", "ftp.host"}, {"  site", "h", "site"}, {"my site", "h", "my site"}, {"", "", ""}};
    for (const auto &n : names) {
        char name[80];
        ProfileNameOnApply(n[0], n[1], name, sizeof name);
        EXPECT_STREQ(name, n[2]) << "box \"" << n[0] << "\"";
    }
    EXPECT_TRUE(IsAnonymousUser("AnonyMous") && !IsAnonymousUser("anonymous2"));
}

// RFC 1321, appendix A.5.
TEST(Md5Digest, Rfc1321TestSuite)
{
    struct Case { const char *input, *digest; } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"}, {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case &c : cases) {
        unsigned char digest[16];
        Md5Digest(c.input, strlen(c.input), digest);
        char hex[33];
        for (int n = 0; n < 16; n++)
            snprintf(hex + 2 * n, 3, "%02x", digest[n]);
        EXPECT_STREQ(hex, c.digest) << "input \"" << c.input << "\"";
    }
}

struct KnownForm { const char *name, *userId, *secret, *stored; };

const KnownForm KnownForms[] = {
    {"plain", "joe", "secret", "V4D57E9A9D9D9F3822EF3CE79695404DAA76A9AAC6EB2"},
    {"empty secret is key only", "joe", "", "VD0BDB3040AA7735C2E4218F7AED596A6"},
    {"empty user id", "", "x", "V200DFACF764EB75CC366F5CA724A9365AA"},
    {"high bytes and blanks", "joe", "p\xe9ss w0rd!",
     "V32422AA569BCF45ADDD60F5B80CBEC6AA31CA9A8567D37AEA263"},
    {"same secret, user bob", "bob", "pass", "V1D667370D60D30C1ED09CB1A1B6E931BA166ABAC"},
    {"38 characters", "joe", "abcdefghijklmnopqrstuvwxyz0123456789AB",
     "VD3BDE1A2143295092C77B4F5D2988B486596676B6E9C6EA1A2A7A8A9B2B0ADB8B386BCBE8BBF93C495C583848652868C5A8B5C606A98"},
};

// Decoding needs no user id; that every form decodes is the round trip below.
TEST(StoredPassword, EncodesKnownForms)
{
    for (const KnownForm &f : KnownForms)
        EXPECT_STREQ(EncodeStoredPassword(f.userId, f.secret), f.stored) << f.name;
}

TEST(StoredPassword, OlderFormWithoutLeadingV)
{
    struct Case { const char *stored, *secret; } cases[] = {
        {"414", "A"},            // a lone trailing digit is no pair
        {"FF01", "\xff"},        // 0x01 - 1 = 0 ends after one byte
        {"6a", "\x8a"},          // 'a' counts as 97 - 55 = 42: 6 * 16 + 42 = 138
        {"ZZ", "\x53"},          // (35 * 16 + 35) & 255: malformed digits still give a byte
    };
    for (const Case &c : cases)
        EXPECT_STREQ(DecodeStoredPassword(c.stored), c.secret) << "stored " << c.stored;
}

TEST(StoredPassword, RoundTripsEveryByteAtEveryKeyPosition)
{
    // Each byte value 1..255 at a position that walks through all 32 key
    // characters and the index wrap-around of the + i term.
    for (int value = 1; value < 256; value++) {
        std::string secret;
        for (int i = 0; i < 70; i++)
            secret += static_cast<char>((i + value) % 255 + 1);
        std::string stored = EncodeStoredPassword("user", secret.c_str());
        ASSERT_EQ(DecodeStoredPassword(stored.c_str()), secret) << "value " << value;
    }
}

TEST(StoredPassword, LongSecretIsCutNotOverrun)
{
    std::string secret(StoredSecretMax + 50, 'q');
    std::string stored = EncodeStoredPassword("joe", secret.c_str());
    EXPECT_EQ(stored.size(), static_cast<size_t>(StoredTextMax));
    EXPECT_EQ(DecodeStoredPassword(stored.c_str()), secret.substr(0, StoredSecretMax));
    std::string longUser(1000, 'u');
    EXPECT_EQ(strlen(EncodeStoredPassword(longUser.c_str(), "pw")), 37u);
    EXPECT_STREQ(EncodeStoredPassword(nullptr, nullptr), EncodeStoredPassword("", ""));
}

struct Box {
    std::vector<std::string> items;
    static int Count(void *c) { return static_cast<int>(static_cast<Box *>(c)->items.size()); }
    static void Get(void *c, int i, char *buffer, int size)
    {
        snprintf(buffer, static_cast<size_t>(size), "%s", static_cast<Box *>(c)->items.at((size_t)i).c_str());
    }
    static void Append(void *c, const char *text) { static_cast<Box *>(c)->items.push_back(text); }
    static void Clear(void *c) { static_cast<Box *>(c)->items.clear(); }
    FolderList List() { return {this, Count, Get, Append, Clear}; }
};

class FolderHistory : public ProfileStore {};

TEST_F(FolderHistory, LoadSkipsBlanksAndExactDuplicatesUpToKey19)
{
    const char *keys[][2] = {{"rdir0", "\"/a\""},       {"rdir1", "\"/A\""},   // differs in case: kept
                             {"rdir2", ""},               {"rdir3", "\"/a\""},   // a repeat: skipped
                             {"rdir4", "\"/current\""},  {"rdir7", "\"/b\""},   // already in the box: skipped
                             {"rdir19", "\"/last\""},    {"rdir20", "\"/beyond\""}};
    for (const auto &k : keys)
        fake::Set("site", k[0], k[1]);
    Box remote{{"/current"}};
    FolderList list = remote.List();
    ReadFolderHistory(&fake::Access, "site", true, &list);
    EXPECT_EQ(remote.items, (std::vector<std::string>{"/current", "/a", "/A", "/b", "/last"}));

    std::string longFolder(300, 'f');
    fake::Set("site", "ldir0", longFolder.c_str());
    Box local;
    list = local.List();
    ReadFolderHistory(&fake::Access, "site", false, &list);
    EXPECT_EQ(local.items, std::vector<std::string>{longFolder.substr(0, 255)});
}

TEST_F(FolderHistory, RetainWritesAtMostTenEntries)
{
    Box remote, local;
    for (int n = 0; n < 15; n++) {
        remote.items.push_back("/r" + std::to_string(n));
        local.items.push_back("L" + std::to_string(n));
    }
    FolderList remoteList = remote.List(), localList = local.List();
    WriteFolderHistory(&fake::Access, "site", true, &remoteList, &localList);
    EXPECT_TRUE(Raw("site", "rdir9") == "\"/r9\"" && Raw("site", "ldir9") == "L9");

    Box remoteBack, localBack;
    FolderList remoteBackList = remoteBack.List(), localBackList = localBack.List();
    ReadFolderHistory(&fake::Access, "site", true, &remoteBackList);
    ReadFolderHistory(&fake::Access, "site", false, &localBackList);
    EXPECT_EQ(remoteBack.items, std::vector<std::string>(remote.items.begin(), remote.items.begin() + 10));
    EXPECT_EQ(localBack.items, std::vector<std::string>(local.items.begin(), local.items.begin() + 10));
}

// name: "-" when the line names no profile.
TEST(ProfileNames, SectionLines)
{
    const struct { std::string line, name; } cases[] = {
        {"[work]\n", "work"}, {"  [indented]\n", "indented"}, {"[ blanks inside ]\n", "blanks inside"},
        {"[with ] trailing text\n", "with"}, {"[_Config_]\r\n", "-"}, {"[ _config_ ]\n", "-"},
        {"[_config_x]\n", "_config_x"}, {"[]\n", "-"}, {"[unclosed\n", "-"}, {"HOST=[x]\n", "-"}, {"", "-"},
        {"[" + std::string(120, 'n') + "]", std::string(79, 'n')},   // cut to the buffer
    };
    for (const auto &c : cases) {
        char name[80] = "unchanged";
        EXPECT_EQ(ProfileNameFromLine(c.line.c_str(), name, sizeof name) ? name : "-", c.name) << c.line;
    }
}

void Collect(void *context, const char *name) { static_cast<std::vector<std::string> *>(context)->push_back(name); }

// Lines are read up to 149 characters: a value line whose 150th character
// starts a bracketed text is one line, a longer section line loses its "]".
TEST(ProfileNames, WholeFileInOrder)
{
    const struct { std::string text; std::vector<std::string> names; } cases[] = {
        {"[_config_]\r\nSESSION=work\r\n[work]\r\nHOST=h\r\n[FIREWALL]\r\n[_CONFIG_]\r\n[home]\r\nUID=joe\r\n[last]",
         {"work", "FIREWALL", "home", "last"}},
        {"", {}},
        {"[a]\nINITCMD=" + std::string(141, 'c') + "[fake]\n[b]\n", {"a", "b"}},
        {"[" + std::string(150, 's') + "]\n[c]\n", {"c"}},
        {"[" + std::string(147, 'f') + "]\n", {std::string(79, 'f')}},   // 149 characters still count
    };
    for (const auto &c : cases) {
        FILE *file = fmemopen(const_cast<char *>(c.text.data()), c.text.size(), "r");
        ASSERT_NE(file, nullptr);
        std::vector<std::string> names;
        ReadProfileNames(file, Collect, &names);
        fclose(file);
        EXPECT_EQ(names, c.names) << c.text;
    }
}

}  // namespace
