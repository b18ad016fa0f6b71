// The listing-line dispatcher and the helpers every grammar shares.
#include "veltr32/listing_parse.h"

#include <string.h>

#include "veltr32/host_types.h"
#include "veltr32/listing_grammar.h"

namespace listing {

void SplitLine(Line &line, const char *text, int len) {
    line.p = text;
    line.len = len;
    line.count = 0;
    int i = 0;
    while (i < len && line.count < kMaxTokens) {
        while (i < len && IsBlank(text[i])) i++;
        if (i >= len) break;
        int start = i;
        while (i < len && !IsBlank(text[i])) i++;
        line.tok[line.count].p = text + start;
        line.tok[line.count].n = i - start;
        line.count++;
    }
}

bool Equals(Span s, const char *text) {
    size_t n = strlen(text);
    return (size_t)s.n == n && memcmp(s.p, text, n) == 0;
}

bool EqualsNoCase(Span s, const char *text) {
    int i = 0;
    for (; i < s.n; i++) {
        if (text[i] == 0 || Upper(s.p[i]) != Upper(text[i])) return false;
    }
    return text[i] == 0;
}

bool AllDigits(Span s) {
    if (s.n == 0) return false;
    for (int i = 0; i < s.n; i++)
        if (!IsDigit(s.p[i])) return false;
    return true;
}

bool ReadNumber(Span s, uint64_t &value, bool commas) {
    if (s.n == 0 || !IsDigit(s.p[0])) return false;
    uint64_t v = 0;
    int digits = 0;
    for (int i = 0; i < s.n; i++) {
        char c = s.p[i];
        if (IsDigit(c)) {
            uint64_t d = (uint64_t)(c - '0');
            if (++digits > 20 || v > (UINT64_MAX - d) / 10) return false;
            v = v * 10 + d;
        } else if (c == ',' && commas && i + 1 < s.n && IsDigit(s.p[i + 1])) {
            continue;
        } else {
            return false;
        }
    }
    value = v;
    return true;
}

bool ReadDigits(const char *p, int count, int &value) {
    int v = 0;
    for (int i = 0; i < count; i++) {
        if (!IsDigit(p[i])) return false;
        v = v * 10 + (p[i] - '0');
    }
    value = v;
    return true;
}

namespace {

// Folds one letter of a month name to lower-case ASCII: accented letters
// (UTF-8 or Latin-1, either case) become their base letter. Returns the
// bytes used, 0 when the byte cannot be part of a month name.
int FoldMonthLetter(const char *p, int n, char &out) {
    unsigned char c = (unsigned char)p[0];
    if (c < 0x80) {
        if (!IsAlpha((char)c)) return 0;
        out = (char)(c | 0x20);
        return 1;
    }
    int used = 1;
    if (c == 0xC3) {
        if (n < 2) return 0;
        c = (unsigned char)(((unsigned char)p[1] & 0x3F) | 0xC0);  // the Latin-1 letter
        used = 2;
    }
    switch (c | 0x20) {  // lower case of the Latin-1 range C0-DE
    case 0xE4: case 0xE2: case 0xE0: out = 'a'; return used;   // ä â à
    case 0xE9: case 0xE8: case 0xEA: out = 'e'; return used;   // é è ê
    case 0xFB: case 0xFC: case 0xF9: out = 'u'; return used;   // û ü ù
    default: return 0;
    }
}

// Up to five folded letters packed into one number, for quick comparison.
constexpr uint64_t PackMonth(const char *text) {
    uint64_t key = 0;
    for (int i = 0; i < 5 && text[i] != 0; i++) key = key << 8 | (unsigned char)text[i];
    return key;
}

// Month abbreviations and short names of the languages servers print them
// in, folded as above: English, German, French, Spanish, Italian, Dutch,
// Portuguese, Swedish, Norwegian and Danish. Longer names are English.
struct MonthAlias {
    uint64_t key;
    int month;
};
#define M(text, month) {PackMonth(text), month}
constexpr MonthAlias kMonthAliases[] = {
    M("jan", 1),  M("janv", 1), M("ene", 1),  M("gen", 1),                                  // jän, janv.
    M("feb", 2),  M("fevr", 2), M("fev", 2),  M("febr", 2),                                 // févr.
    M("mar", 3),  M("mars", 3), M("marz", 3), M("mrz", 3),  M("mrt", 3),  M("march", 3),    // mär, märz
    M("apr", 4),  M("avr", 4),  M("avril", 4), M("abr", 4), M("april", 4),
    M("may", 5),  M("mai", 5),  M("mag", 5),  M("mei", 5),  M("maj", 5),
    M("jun", 6),  M("juin", 6), M("juni", 6), M("giu", 6),  M("june", 6),
    M("jul", 7),  M("juil", 7), M("juli", 7), M("lug", 7),  M("july", 7),
    M("aug", 8),  M("aout", 8), M("ago", 8),                                                // août
    M("sep", 9),  M("sept", 9), M("set", 9),
    M("oct", 10), M("okt", 10), M("ott", 10), M("out", 10),
    M("nov", 11),
    M("dec", 12), M("dez", 12), M("dic", 12), M("des", 12),                                 // déc.
};
#undef M

}  // namespace

int MonthFromName(const char *p, int n) {
    static const char *const kNames[12] = {"january", "february", "march",     "april",
                                           "may",     "june",     "july",      "august",
                                           "september", "october", "november", "december"};
    if (n < 3 || n > 9) return 0;
    for (int m = 0; m < 12; m++) {
        const char *name = kNames[m];
        int i = 0;
        for (; i < n; i++) {
            char c = p[i];
            if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
            if (name[i] == 0 || c != name[i]) break;
        }
        // Either the 3-letter abbreviation or the whole name.
        if (i == n && (n == 3 || name[n] == 0)) return m + 1;
    }
    return 0;
}

int MonthFromAnyName(const char *p, int n) {
    if (n > 0 && p[n - 1] == '.') n--;
    if (n < 3) return 0;
    if (n > 5) return MonthFromName(p, n);  // only English names are longer
    uint64_t key = 0;
    for (int i = 0, k = 0; i < n; k++) {
        char c;
        int used = FoldMonthLetter(p + i, n - i, c);
        if (used == 0 || k == 5) return 0;
        i += used;
        key = key << 8 | (unsigned char)c;
    }
    for (const MonthAlias &alias : kMonthAliases)
        if (alias.key == key) return alias.month;
    return 0;
}

bool ReadTime(Span s, int &hour, int &minute, bool ampm) {
    const char *p = s.p;
    int n = s.n;
    int h = 0, i = 0;
    if (n >= 1 && IsDigit(p[0])) {
        h = p[0] - '0';
        i = 1;
        if (n >= 2 && IsDigit(p[1])) {
            h = h * 10 + (p[1] - '0');
            i = 2;
        }
    } else {
        return false;
    }
    int m;
    if (i + 3 > n || p[i] != ':' || !ReadDigits(p + i + 1, 2, m)) return false;
    i += 3;
    if (i + 3 <= n && p[i] == ':') {
        int sec;
        if (!ReadDigits(p + i + 1, 2, sec) || sec > 60) return false;
        i += 3;
        if (i < n && (p[i] == '.' || p[i] == ',')) {
            i++;
            while (i < n && IsDigit(p[i])) i++;
        }
    }
    if (ampm && i < n) {
        char c = Upper(p[i]);
        if ((c != 'A' && c != 'P') || h < 1 || h > 12) return false;
        i++;
        if (i < n && Upper(p[i]) == 'M') i++;
        if (c == 'A' && h == 12) h = 0;
        if (c == 'P' && h != 12) h += 12;
    }
    if (i != n || h > 23 || m > 59) return false;
    hour = h;
    minute = m;
    return true;
}

int FullYear(int year) {
    if (year >= 100) return year;
    return year < 70 ? 2000 + year : 1900 + year;
}

bool ValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// "01-31-24", "01-31-2024", "01/31/24", "2024-01-31", "31.01.2024",
// "31-01-19", "11-30-105". Returns false for anything else.
bool ReadNumericDate(Span s, Stamp &st) {
    const char *p = s.p;
    int a = 0, b = 0, c = 0;
    if (s.n == 10 && IsDigit(p[0]) && p[4] == '-' && p[7] == '-') {
        if (!ReadDigits(p, 4, a) || !ReadDigits(p + 5, 2, b) || !ReadDigits(p + 8, 2, c)) return false;
        st.year = a;
        st.month = b;
        st.day = c;
        return ValidDate(a, b, c);
    }
    // One or two digits, a separator, one or two digits, the same separator,
    // two or four digits.
    int i = 0;
    int n1 = 0;
    while (i < s.n && IsDigit(p[i]) && n1 < 3) i++, n1++;
    if (n1 < 1 || n1 > 2 || i >= s.n) return false;
    char sep = p[i];
    if (sep != '-' && sep != '/' && sep != '.') return false;
    ReadDigits(p, n1, a);
    int j = ++i, n2 = 0;
    while (i < s.n && IsDigit(p[i]) && n2 < 3) i++, n2++;
    if (n2 < 1 || n2 > 2 || i >= s.n || p[i] != sep) return false;
    ReadDigits(p + j, n2, b);
    int k = ++i, n3 = s.n - k;
    if (n3 < 2 || n3 > 4 || !ReadDigits(p + k, n3, c)) return false;
    // Dotted dates, and dates whose first number cannot be a month, are day
    // first.
    if (sep == '.' || (a > 12 && b <= 12)) {
        st.day = a;
        st.month = b;
    } else {
        st.month = a;
        st.day = b;
    }
    // A 3-digit year counts from 1900 ("105" is 2005).
    st.year = n3 == 3 ? 1900 + c : FullYear(c);
    return ValidDate(st.year, st.month, st.day);
}

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t MinutesOf(int year, int month, int day, int hour, int minute) {
    return DaysFromCivil(year, month, day) * 1440 + hour * 60 + minute;
}

}  // namespace

int InferYear(int month, int day, int hour, int minute, const ListingClock &now) {
    int64_t nowMinutes = MinutesOf(now.year, now.month, now.day, now.hour, now.minute);
    int64_t then = MinutesOf(now.year, month, day, hour, minute);
    return then > nowMinutes + 1440 ? now.year - 1 : now.year;
}

Span RestFrom(const Line &line, int i) {
    const char *start = line.tok[i].p;
    return Span{start, (int)(line.p + line.len - start)};
}

Span AfterToken(const Line &line, int i, bool oneBlank) {
    const char *p = line.tok[i].p + line.tok[i].n;
    const char *end = line.p + line.len;
    if (oneBlank) {
        if (p < end) p++;
    } else {
        while (p < end && IsBlank(*p)) p++;
    }
    return Span{p, (int)(end - p)};
}

Span TrimRight(Span s) {
    while (s.n > 0 && IsBlank(s.p[s.n - 1])) s.n--;
    return s;
}

void Fill(ListingEntry *entry, Span name, const Stamp &stamp, uint64_t size, int kind) {
    memset(entry, 0, sizeof *entry);
    int n = name.n < 255 ? name.n : 255;
    if (n > 0) memcpy(entry->name, name.p, (size_t)n);
    entry->name[n] = 0;
    if (stamp.month >= 1 && stamp.month <= 12 && stamp.year > 0 && stamp.year < 65536) {
        entry->year = (uint16_t)stamp.year;
        entry->month = (uint8_t)stamp.month;
        entry->day = (uint8_t)stamp.day;
        entry->hour = (uint8_t)stamp.hour;
        entry->minute = (uint8_t)stamp.minute;
    }
    entry->size = (uint32_t)(size & 0xFFFFFFFFu);
    entry->sizeHigh = (uint32_t)(size >> 32);
    entry->kind = (uint8_t)kind;
}

namespace {

// A bare name per line. `singleWord` accepts only lines without blanks
// (the name part after a long listing).
bool ParseNameOnly(const Line &line, bool singleWord, ListingEntry *entry) {
    if (line.count == 0) return false;
    if (singleWord && line.count != 1) return false;
    Span name = singleWord ? line.tok[0] : TrimRight(RestFrom(line, 0));
    for (int i = 0; i < name.n; i++) {
        unsigned char c = (unsigned char)name.p[i];
        if (c < 0x20 && c != '\t') return false;
    }
    bool dots = Equals(name, ".") || Equals(name, "..");
    Fill(entry, name, Stamp{0, 0, 0, 0, 0}, 0, dots ? 4 : 0);
    return true;
}

bool ParseFamily(ListingFamily family, const Line &line, const Context &ctx, ListingEntry *entry) {
    switch (family) {
    case FAMILY_UNIX: return ParseUnix(line, ctx, entry);
    case FAMILY_DOS: return ParseDos(line, ctx, entry);
    case FAMILY_MLSD: return ParseMlsd(line, ctx, entry);
    case FAMILY_EPLF: return ParseEplf(line, ctx, entry);
    case FAMILY_VMS: return ParseVms(line, ctx, entry);
    case FAMILY_MVS: return ParseMvs(line, ctx, entry);
    case FAMILY_OS400: return ParseOs400(line, ctx, entry);
    case FAMILY_NETWARE: return ParseNetWare(line, ctx, entry);
    case FAMILY_OS2: return ParseOs2(line, ctx, entry);
    case FAMILY_VXWORKS: return ParseVxWorks(line, ctx, entry);
    case FAMILY_TANDEM: return ParseTandem(line, ctx, entry);
    case FAMILY_VMCMS: return ParseVmCms(line, ctx, entry);
    case FAMILY_NOS: return ParseNos(line, ctx, entry);
    case FAMILY_NAMES: return ParseNameOnly(line, false, entry);
    case FAMILY_NAMES_AFTER_LIST: return ParseNameOnly(line, true, entry);
    case FAMILY_AUTO:
    case FAMILY_COUNT: break;
    }
    return false;
}

// Every shape in turn, the cheap and common ones first. Each grammar
// rejects a foreign line within its first few characters.
bool ParseAnyShape(const Line &line, const Context &ctx, ListingEntry *entry) {
    char c = line.tok[0].p[0];
    if (c == '+') return ParseEplf(line, ctx, entry);
    if (ParseUnix(line, ctx, entry)) return true;
    if (ParseMlsd(line, ctx, entry)) return true;
    if (IsDigit(c)) {
        return ParseDos(line, ctx, entry) || ParseOs2(line, ctx, entry) ||
               ParseVxWorks(line, ctx, entry) || ParseNos(line, ctx, entry) ||
               ParseVmCms(line, ctx, entry);
    }
    return ParseNetWare(line, ctx, entry) || ParseVms(line, ctx, entry) ||
           ParseOs400(line, ctx, entry) || ParseMvs(line, ctx, entry) ||
           ParseTandem(line, ctx, entry) || ParseVmCms(line, ctx, entry) ||
           ParseNos(line, ctx, entry);
}

}  // namespace

}  // namespace listing

int ParseListingLineAt(ListingEntry *entry, const char *line, uint32_t hostType,
                       const char *folder, const char *userId, const ListingClock &now) {
    using namespace listing;
    if (entry == nullptr) return 0;
    memset(entry, 0, sizeof *entry);
    if (line == nullptr) return 0;
    int len = 0;
    while (line[len] != 0 && line[len] != '\r' && line[len] != '\n') {
        if (len == 0x7FFFFFF0) break;
        len++;
    }
    Line split;
    SplitLine(split, line, len);
    if (split.count == 0) return 0;

    Context ctx{now, folder ? folder : "", userId ? userId : "", true};
    ListingFamily family = HostTypeFamily(hostType);
    if (family != FAMILY_AUTO) {
        if (ParseFamily(family, split, ctx, entry)) return 1;
        // A name list only holds names; anything else falls back to shapes.
        if (family == FAMILY_NAMES || family == FAMILY_NAMES_AFTER_LIST) return 0;
    }
    ctx.lenient = false;
    if (ParseAnyShape(split, ctx, entry)) return 1;
    memset(entry, 0, sizeof *entry);
    return 0;
}
