// Shared pieces of the listing grammars: the tokenised line, number and date
// readers, and filling the entry. Internal to the library.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include "veltr32/listing_parse.h"

namespace listing {

struct Span {
    const char *p;
    int n;
};

enum { kMaxTokens = 24 };

// A line cut at its CR/LF/NUL and split at blanks and tabs. Only the first
// kMaxTokens words are recorded; names reach to the end of the line, so
// nothing is lost past that.
struct Line {
    const char *p;
    int len;
    int count;
    Span tok[kMaxTokens];
};

struct Stamp {
    int year, month, day, hour, minute;  // month 0: no date
};

// What the grammars share: the clock, the folder and the user id.
struct Context {
    ListingClock now;
    const char *folder;
    const char *userId;
    bool lenient;  // the host type's own family: accept its bare forms
};

void SplitLine(Line &line, const char *text, int len);

inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }

bool Equals(Span s, const char *text);          // exact
bool EqualsNoCase(Span s, const char *text);    // ASCII case-insensitive
bool AllDigits(Span s);
// Decimal number that fits 64 bits, commas between groups allowed when
// `commas`; false on anything else.
bool ReadNumber(Span s, uint64_t &value, bool commas = false);
// Reads exactly `count` digits at p.
bool ReadDigits(const char *p, int count, int &value);
// Month from an English name or 3-letter abbreviation (any case); 0 if none.
int MonthFromName(const char *p, int n);
// The same, and the abbreviations of the languages servers print them in
// ("Okt", "März", "avr.", "déc.", "ago", "mei", "maj"; UTF-8 or Latin-1,
// any case, with or without a trailing dot).
int MonthFromAnyName(const char *p, int n);
// "H:MM", "HH:MM", "HH:MM:SS", "HH:MM:SS.fff", with "AM"/"PM" (or "a"/"p")
// attached when `ampm`.
bool ReadTime(Span s, int &hour, int &minute, bool ampm = false);
// "01-31-24", "01-31-2024", "01/31/24", "2024-01-31", "31.01.2024" (the
// dotted form is day first, and so is "31-01-19", whose first number cannot
// be a month); a 3-digit year counts from 1900 ("11-30-105" is 2005).
bool ReadNumericDate(Span s, Stamp &st);
// Expands a 2-digit year.
int FullYear(int year);
bool ValidDate(int year, int month, int day);
// Picks the year of a date given without one.
int InferYear(int month, int day, int hour, int minute, const ListingClock &now);

// The rest of the line from token i (its first character) to the end.
Span RestFrom(const Line &line, int i);
// Text between the end of token i and the end of the line, with the blanks
// after token i skipped: all of them, or only one when `oneBlank`.
Span AfterToken(const Line &line, int i, bool oneBlank);
Span TrimRight(Span s);

// Fills the whole record. Names are cut to 255 bytes.
void Fill(ListingEntry *entry, Span name, const Stamp &stamp, uint64_t size, int kind);

// The family grammars. Each returns true after filling the entry.
bool ParseUnix(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseNetWare(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseDos(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseOs2(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseVxWorks(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseNos(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseMlsd(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseEplf(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseVms(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseMvs(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseOs400(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseTandem(const Line &line, const Context &ctx, ListingEntry *entry);
bool ParseVmCms(const Line &line, const Context &ctx, ListingEntry *entry);

}  // namespace listing
