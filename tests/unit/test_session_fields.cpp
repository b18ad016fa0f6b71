// The session sheet's field rules: what a typed value becomes in the
// profile, through the pages' own field tables.
#include <gtest/gtest.h>

#include <string.h>

#include "resources/resource.h"
#include "sites/session_fields.h"

static const SheetField *FieldOf(const SheetPage &page, int controlId)
{
    for (int i = 0; i < page.count; i++) if (page.fields[i].controlId == controlId) return &page.fields[i];
    return nullptr;
}

TEST(SessionFields, TypedValuesBecomeProfileValues)
{
    // shown: FieldText after StoreField
    struct Case { const SheetPage *page; int control; const char *typed, *shown; } cases[] = {
        {&AdvancedPageFields, IDC_SITE_RETRIES, "49", "49"},  {&AdvancedPageFields, IDC_SITE_RETRIES, "50", "40"},
        {&AdvancedPageFields, IDC_SITE_RETRIES, "0", "0"},    {&AdvancedPageFields, IDC_SITE_RETRIES, "x", "0"},
        {&AdvancedPageFields, IDC_SITE_TIMEOUT, "0", "65"},   {&AdvancedPageFields, IDC_SITE_TIMEOUT, "", "65"},
        {&AdvancedPageFields, IDC_SITE_TIMEOUT, "120", "120"}, {&AdvancedPageFields, IDC_SITE_PORT, "9", "21"},
        {&AdvancedPageFields, IDC_SITE_PORT, "10", "10"},     {&AdvancedPageFields, IDC_SITE_PORT, "2121", "2121"},
        {&AdvancedPageFields, IDC_SITE_PORT, "-5", "21"},     {&AdvancedPageFields, IDC_SITE_PASSIVE, "1", "1"},
        {&AdvancedPageFields, IDC_SITE_PASSIVE, "0", "0"},    {&StartupPageFields, IDC_SITE_TIME_OFFSET, "-5", "-5"},
        {&StartupPageFields, IDC_SITE_TIME_OFFSET, " +3", "3"}, {&StartupPageFields, IDC_SITE_TIME_OFFSET, "3h", "0"},
        {&StartupPageFields, IDC_SITE_LOCAL_MASK, "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrs"},
        {&StartupPageFields, IDC_SITE_REMOTE_FOLDER, "/pub/x y", "/pub/x y"}, {&GeneralPageFields, IDC_SITE_SAVE_PASSWORD, "1", "1"},
        {&GeneralPageFields, IDC_SITE_HOST, "ftp.example.org", "ftp.example.org"},
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
