// The session sheet's pages as data: each row binds one control of a page
// to one field of the SiteProfile record, with its kind and the rule that
// turns what the user typed into the stored value. The Win32 layer
// (session_sheet_win.cpp) walks these tables to fill and apply the pages;
// only the special controls (profile list, host type, comment, anonymous,
// the firewall section) have code of their own.
//
// Rules on apply:
//   retries  the typed number when at most 49, else 40
//   timeout  the typed number, 65 when it is 0
//   port     the typed number when 10 or more, else 21
//   firewall port (FIREWALL PORT)  the typed number, 21 when below 28
// Numbers are read like a dialog's integer field: leading blanks, an
// optional sign (signed fields only), digits; anything else reads as 0.
#pragma once
#include <stddef.h>

#include "sites/site_profile.h"

enum FieldKind { FIELD_TEXT, FIELD_NUMBER, FIELD_SIGNED, FIELD_CHECK };
enum FieldRule { RULE_NONE, RULE_RETRIES, RULE_TIMEOUT, RULE_PORT };

struct SheetField {
    int controlId;
    FieldKind kind;
    size_t offset;   // of the member in SiteProfile
    int limit;       // texts: characters kept
    FieldRule rule;
};

struct SheetPage {
    const SheetField *fields;
    int count;
};

extern const SheetPage GeneralPageFields;
extern const SheetPage StartupPageFields;
extern const SheetPage AdvancedPageFields;

// The text a control shows for the field (numbers as decimal; check boxes
// "1" or "0").
void FieldText(const SiteProfile *p, const SheetField &f, char *buffer, size_t size);
// Stores what a control holds into the field, applying the field's rule;
// check boxes take "1" for checked.
void StoreField(SiteProfile *p, const SheetField &f, const char *text);

long ParseFieldNumber(const char *text, bool allowSign);
unsigned ApplyFieldRule(FieldRule rule, unsigned typed);
unsigned FirewallPortRule(unsigned typed);

// The profile name stored on apply: the profile box text without leading
// blanks, or the host when that leaves nothing.
void ProfileNameOnApply(const char *boxText, const char *host, char *name, size_t size);
// "anonymous" in any case.
bool IsAnonymousUser(const char *userId);
// The password policy: hide "Save Pwd" and never store the password when
// the WIN.INI value (or, when that is below 1, the `_config_` one) is above 0.
bool PasswordStoreForbidden(int winIniValue, int configValue);
