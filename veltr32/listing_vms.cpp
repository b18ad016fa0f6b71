// VMS and Tandem NonStop Guardian listings.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

// "NAME.EXT;12": a ";" followed by the version number ends the word. ODS-5
// names escape characters with "^" ("DATA^.2021.CSV;1", "A^_B.TXT;1").
bool IsVmsName(Span s) {
    int semi = -1;
    for (int i = 0; i < s.n; i++) {
        char c = s.p[i];
        if (c == '^') {
            i++;  // the escaped character, whatever it is
        } else if (c == ';') {
            if (semi >= 0) return false;
            semi = i;
        } else if (c == '[' || c == ']' || c == '<' || c == '>' || c == '/' || c == '"') {
            return false;
        }
    }
    return semi > 0 && semi + 1 < s.n && AllDigits(Span{s.p + semi + 1, s.n - semi - 1});
}

int HexValue(char c) {
    c = Upper(c);
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Undoes the ODS-5 escapes: "^" and two hex digits is that byte (the
// escape of a control character is kept as it stands), "^_" a blank, "^"
// and any other character that character. Returns the length.
int DecodeVmsName(Span s, char *out, int size) {
    int n = 0;
    for (int i = 0; i < s.n && n < size; i++) {
        char c = s.p[i];
        if (c == '^' && i + 1 < s.n) {
            int hi = HexValue(s.p[i + 1]), lo = i + 2 < s.n ? HexValue(s.p[i + 2]) : -1;
            if (hi >= 0 && lo >= 0) {
                if (hi * 16 + lo >= 0x20) {
                    c = (char)(hi * 16 + lo);
                    i += 2;
                }
            } else {
                c = s.p[++i];
                if (c == '_') c = ' ';
            }
        }
        out[n++] = c;
    }
    return n;
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
    uint64_t allocated;
    if (slash != nullptr && !ReadNumber(Span{slash + 1, (int)(s.p + s.n - slash - 1)}, allocated, true)) return false;
    bytes = blocks * 512;
    return true;
}

}  // namespace

// "NAME.EXT;1  12/24  31-JAN-2024 12:00:00 [GRP,OWN] (RWED,RWED,RE,)"; the
// wrapped form arrives joined ("NAME.EXT;1 \t  12/24 ..."). Some servers put
// the folder before the name ("[ARCHIVE]NOTES.TXT;3",
// "DISK$USER:[ARCHIVE]NOTES.TXT;3"); the name is what follows it. For VMS
// host types a name alone is accepted too (its details are missing or were
// refused: "%RMS-E-PRV, insufficient privilege"). A folder's size is its
// blocks, like a file's.
bool ParseVms(const Line &line, const Context &ctx, ListingEntry *entry) {
    Span name = line.tok[0];
    const char *close = nullptr;
    for (int i = 0; i < name.n && name.p[i] != ';'; i++) {
        if (name.p[i] == '^') i++;
        else if (name.p[i] == ']' || name.p[i] == '>') close = name.p + i;
    }
    if (close != nullptr) {
        const char *open = (const char *)memchr(name.p, *close == ']' ? '[' : '<', (size_t)(close - name.p));
        if (open == nullptr) return false;
        name = Span{close + 1, (int)(name.p + name.n - close - 1)};
    }
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
    char decoded[256];
    Span plain{decoded, DecodeVmsName(name, decoded, (int)sizeof decoded)};
    int kind = 0;
    int at = plain.n;
    while (at > 0 && plain.p[at - 1] != ';') at--;
    at = at > 0 ? at - 1 : plain.n;
    if (at >= 4 && EqualsNoCase(Span{plain.p + at - 4, 4}, ".DIR")) {
        kind = 4;
        plain.n = at - 4;
    }
    if (plain.n == 0) return false;
    Fill(entry, plain, st, size, kind);
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
