// VMS and Tandem NonStop Guardian listings.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

// "NAME.EXT;12": a ";" followed by the version number ends the word.
bool IsVmsName(Span s) {
    int semi = -1;
    for (int i = 0; i < s.n; i++) {
        char c = s.p[i];
        if (c == ';') {
            if (semi >= 0) return false;
            semi = i;
        } else if (c == '[' || c == ']' || c == '<' || c == '>' || c == '/' || c == '"') {
            return false;
        }
    }
    return semi > 0 && semi + 1 < s.n && AllDigits(Span{s.p + semi + 1, s.n - semi - 1});
}

// "31-JAN-2024" (also a 1-digit day or a 2-digit year).
bool ReadVmsDate(Span s, Stamp &st) {
    const char *dash = (const char *)memchr(s.p, '-', (size_t)s.n);
    if (dash == nullptr) return false;
    int dayLen = (int)(dash - s.p);
    if (dayLen < 1 || dayLen > 2 || !ReadDigits(s.p, dayLen, st.day)) return false;
    int rest = s.n - dayLen - 1;
    if (rest != 6 && rest != 8) return false;
    const char *m = dash + 1;
    if (m[3] != '-') return false;
    st.month = MonthFromName(m, 3);
    int yearLen = rest - 4;
    if (st.month == 0 || !ReadDigits(m + 4, yearLen, st.year)) return false;
    st.year = FullYear(st.year);
    return ValidDate(st.year, st.month, st.day);
}

// "12", "12/24": blocks used (and allocated), 512 bytes each.
bool ReadBlocks(Span s, uint64_t &bytes) {
    const char *slash = (const char *)memchr(s.p, '/', (size_t)s.n);
    Span used{s.p, slash ? (int)(slash - s.p) : s.n};
    uint64_t blocks;
    if (used.n > 12 || !ReadNumber(used, blocks, true)) return false;
    if (slash != nullptr && !AllDigits(Span{slash + 1, (int)(s.p + s.n - slash - 1)})) return false;
    bytes = blocks * 512;
    return true;
}

}  // namespace

// "NAME.EXT;1  12/24  31-JAN-2024 12:00:00 [GRP,OWN] (RWED,RWED,RE,)"; the
// wrapped form arrives joined ("NAME.EXT;1 \t  12/24 ..."). For VMS host
// types a name alone is accepted too (its details are missing or were
// refused: "%RMS-E-PRV, insufficient privilege").
bool ParseVms(const Line &line, const Context &ctx, ListingEntry *entry) {
    Span name = line.tok[0];
    if (!IsVmsName(name)) return false;
    Stamp st{0, 0, 0, 0, 0};
    uint64_t size = 0;
    bool dated = false;
    for (int i = 1; i < line.count && i <= 3; i++) {
        if (ReadVmsDate(line.tok[i], st)) {
            if (i + 1 < line.count && !ReadTime(line.tok[i + 1], st.hour, st.minute)) return false;
            if (i >= 2 && !ReadBlocks(line.tok[i - 1], size)) return false;
            dated = true;
            break;
        }
        st = Stamp{0, 0, 0, 0, 0};
    }
    if (!dated && !(ctx.lenient && (line.count == 1 || line.tok[1].p[0] == '%'))) return false;
    int kind = 0;
    int semi = (int)((const char *)memchr(name.p, ';', (size_t)name.n) - name.p);
    if (semi >= 4 && EqualsNoCase(Span{name.p + semi - 4, 4}, ".DIR")) {
        kind = 4;
        name.n = semi - 4;
        size = 0;
    }
    Fill(entry, name, st, size, kind);
    return true;
}

// Guardian FILEINFO: "ALTERNAT      101       156  18-Mar-02 09:23:58 100,1 \"oooo\"".
// The header ("File  Code  EOF  Last Modification  Owner  RWEP") fails the
// number tests.
bool ParseTandem(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 5) return false;
    Span name = line.tok[0];
    if (name.n > 8 || !IsAlpha(name.p[0])) return false;
    for (int i = 0; i < name.n; i++)
        if (!IsAlpha(name.p[i]) && !IsDigit(name.p[i])) return false;
    Span code = line.tok[1];
    // A code may carry a letter ("101O" for an open file).
    if (code.n > 1 && IsAlpha(code.p[code.n - 1])) code.n--;
    uint64_t eof;
    Stamp st{0, 0, 0, 0, 0};
    if (!AllDigits(code) || !ReadNumber(line.tok[2], eof) || !ReadVmsDate(line.tok[3], st) ||
        !ReadTime(line.tok[4], st.hour, st.minute))
        return false;
    Fill(entry, name, st, eof, 0);
    return true;
}

}  // namespace listing
