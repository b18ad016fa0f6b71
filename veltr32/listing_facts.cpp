// Machine-readable listings: RFC 3659 MLSD/MLST facts and EPLF.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

bool StartsNoCase(const char *p, int n, const char *text) {
    int k = (int)strlen(text);
    if (n < k) return false;
    return EqualsNoCase(Span{p, k}, text);
}

// "YYYYMMDDHHMMSS" with an optional fraction ("." and digits).
bool ReadFactTime(Span v, Stamp &st) {
    if (v.n < 14) return false;
    int sec;
    if (!ReadDigits(v.p, 4, st.year) || !ReadDigits(v.p + 4, 2, st.month) ||
        !ReadDigits(v.p + 6, 2, st.day) || !ReadDigits(v.p + 8, 2, st.hour) ||
        !ReadDigits(v.p + 10, 2, st.minute) || !ReadDigits(v.p + 12, 2, sec))
        return false;
    if (v.n > 14) {
        if (v.p[14] != '.' || !AllDigits(Span{v.p + 15, v.n - 15})) return false;
    }
    if (!ValidDate(st.year, st.month, st.day) || st.hour > 23 || st.minute > 59) {
        st = Stamp{0, 0, 0, 0, 0};
        return false;
    }
    return true;
}

// Civil date and time (UTC) of a Unix time.
Stamp StampFromUnixTime(uint64_t t) {
    uint64_t days = t / 86400, rest = t % 86400;
    // Civil date from days since 1970-01-01.
    int64_t z = (int64_t)days + 719468;
    int64_t era = z / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int d = (int)(doy - (153 * mp + 2) / 5 + 1);
    int m = (int)(mp < 10 ? mp + 3 : mp - 9);
    if (m <= 2) y++;
    Stamp st{(int)y, m, d, (int)(rest / 3600), (int)(rest % 3600 / 60)};
    return st;
}

}  // namespace

// "type=file;size=1234;modify=20240131120000; name" (a leading blank, as in
// an MLST reply, is allowed). The facts end at the first blank; the name is
// everything after it, blanks and semicolons included.
bool ParseMlsd(const Line &line, const Context &, ListingEntry *entry) {
    const char *p = line.p;
    const char *end = line.p + line.len;
    if (p < end && *p == ' ') p++;
    int facts = 0, kind = 0;
    uint64_t size = 0;
    Stamp st{0, 0, 0, 0, 0};
    while (p < end && *p != ' ') {
        const char *semi = p;
        while (semi < end && *semi != ';' && *semi != ' ') semi++;
        if (semi >= end || *semi != ';') return false;
        const char *eq = (const char *)memchr(p, '=', (size_t)(semi - p));
        if (eq == nullptr || eq == p) return false;
        Span key{p, (int)(eq - p)};
        Span value{eq + 1, (int)(semi - eq - 1)};
        if (EqualsNoCase(key, "type")) {
            if (EqualsNoCase(value, "cdir") || EqualsNoCase(value, "pdir")) {
                kind = -1;
            } else if (EqualsNoCase(value, "dir")) {
                kind = 4;
            } else if (StartsNoCase(value.p, value.n, "OS.unix=slink") ||
                       StartsNoCase(value.p, value.n, "OS.unix=symlink")) {
                kind = 2;
            } else if (StartsNoCase(value.p, value.n, "OS.unix=")) {
                kind = 0;  // devices, pipes: shown as files
            } else {
                kind = 0;
            }
        } else if (EqualsNoCase(key, "size") || EqualsNoCase(key, "sizd")) {
            uint64_t v;
            if (ReadNumber(value, v)) size = v;
        } else if (EqualsNoCase(key, "modify")) {
            ReadFactTime(value, st);
        }
        facts++;
        p = semi + 1;
    }
    if (facts == 0 || p >= end || *p != ' ') return false;
    if (kind < 0) return false;  // the listed folder itself or its parent
    Span name{p + 1, (int)(end - p - 1)};
    if (name.n == 0) return false;
    Fill(entry, name, st, kind == 4 ? 0 : size, kind);
    return true;
}

// "+i8388621.48594,m825718503,r,s280,\tname": "/" marks a folder (other
// entries are files, "r" or not), "s" the size, "m" the modification time in
// seconds since 1970 (UTC).
bool ParseEplf(const Line &line, const Context &, ListingEntry *entry) {
    const char *p = line.p;
    const char *end = line.p + line.len;
    while (p < end && *p == ' ') p++;
    if (p >= end || *p != '+') return false;
    const char *tab = (const char *)memchr(p, '\t', (size_t)(end - p));
    if (tab == nullptr || tab + 1 >= end) return false;
    int kind = 0;
    uint64_t size = 0;
    Stamp st{0, 0, 0, 0, 0};
    const char *f = p + 1;
    while (f < tab) {
        const char *comma = f;
        while (comma < tab && *comma != ',') comma++;
        Span fact{f, (int)(comma - f)};
        if (fact.n > 0) {
            switch (fact.p[0]) {
            case '/': kind = 4; break;
            case 's': {
                uint64_t v;
                if (ReadNumber(Span{fact.p + 1, fact.n - 1}, v)) size = v;
                break;
            }
            case 'm': {
                uint64_t v;
                // Up to the year 9999.
                if (ReadNumber(Span{fact.p + 1, fact.n - 1}, v) && v < 253402300800ull)
                    st = StampFromUnixTime(v);
                break;
            }
            default: break;
            }
        }
        f = comma + 1;
    }
    Span name{tab + 1, (int)(end - tab - 1)};
    Fill(entry, name, st, kind == 4 ? 0 : size, kind);
    return true;
}

}  // namespace listing
