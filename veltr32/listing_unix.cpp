// Unix "ls -l" lines and their relatives: NetWare, classic Macintosh
// servers (NetPresenz, WebSTAR) and Plan 9.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

bool IsPermission(char c) {
    switch (c) {
    case 'r': case 'w': case 'x': case '-': case 's': case 'S': case 't': case 'T':
    case 'l': case 'L':
        return true;
    default:
        return false;
    }
}

bool IsTypeLetter(char c) {
    // file, folder, link, block and character device, pipe, socket, door
    // (Solaris), network special (HP-UX), whiteout (BSD), unknown.
    return c == '-' || c == 'd' || c == 'l' || c == 'b' || c == 'c' || c == 'p' ||
           c == 's' || c == 'D' || c == 'n' || c == 'w' || c == '?';
}

// "drwxr-xr-x", with an ACL or attribute mark ("+", "@", ".", "*") after it,
// or Plan 9's "d-rwxr-xr-x" (a second letter for append-only or exclusive).
bool IsModeWord(Span s) {
    if (s.n < 10 || s.n > 11 || !IsTypeLetter(s.p[0])) return false;
    int first = 1;
    if (s.n == 11) {
        char last = s.p[10];
        if (last == '+' || last == '@' || last == '.' || last == '*') {
            first = 1;
        } else if (s.p[1] == '-' || s.p[1] == 'a' || s.p[1] == 'l') {
            first = 2;
        } else {
            return false;
        }
    }
    for (int i = first; i < first + 9; i++)
        if (!IsPermission(s.p[i])) return false;
    return true;
}

// "2024-01-31" or "01-31" (the short form of ls --time-style=iso).
bool ReadIsoDate(Span s, int &year, int &month, int &day) {
    if (s.n == 10 && s.p[4] == '-' && s.p[7] == '-') {
        return ReadDigits(s.p, 4, year) && ReadDigits(s.p + 5, 2, month) &&
               ReadDigits(s.p + 8, 2, day) && ValidDate(year, month, day);
    }
    if (s.n == 5 && s.p[2] == '-') {
        year = 0;
        return ReadDigits(s.p, 2, month) && ReadDigits(s.p + 3, 2, day) && ValidDate(2000, month, day);
    }
    return false;
}

bool IsZone(Span s) {
    return s.n == 5 && (s.p[0] == '+' || s.p[0] == '-') && AllDigits(Span{s.p + 1, 4});
}

bool ReadDay(Span s, int &day) {
    // "31", "31." and "31," appear in localised listings.
    int n = s.n;
    if (n > 1 && (s.p[n - 1] == '.' || s.p[n - 1] == ',')) n--;
    if (n < 1 || n > 2) return false;
    if (!ReadDigits(s.p, n, day)) return false;
    return day >= 1 && day <= 31;
}

// A year or a time: "2023" or "12:00" ("12:00:59" too).
bool ReadYearOrTime(Span s, Stamp &st, bool &hasYear) {
    if (s.n == 4 && AllDigits(s)) {
        ReadDigits(s.p, 4, st.year);
        hasYear = true;
        return st.year >= 1900;
    }
    hasYear = false;
    return ReadTime(s, st.hour, st.minute);
}

// Reads a date starting at token i; returns the number of tokens it took,
// 0 when there is no date there. Forms:
//   Jan 31 12:00 | Jan 31 2023 | Jan 31 12:00:00 2024 | 31 Jan 12:00 |
//   2024-01-31 [12:00[:00[.nnn]] [+0100]] | 01-31 12:00
int ReadUnixDate(const Line &line, int i, const Context &ctx, Stamp &st) {
    if (i >= line.count) return 0;
    st = Stamp{0, 0, 0, 0, 0};
    Span a = line.tok[i];
    int used = 0;
    bool hasYear = false;
    if (!IsDigit(a.p[0])) {
        if (i + 2 >= line.count) return 0;
        int month = MonthFromAnyName(a.p, a.n);
        if (month == 0 || !ReadDay(line.tok[i + 1], st.day)) return 0;
        st.month = month;
        if (!ReadYearOrTime(line.tok[i + 2], st, hasYear)) return 0;
        used = 3;
        // BSD's ls -T: "Jan 31 12:00:00 2024".
        if (!hasYear && i + 4 < line.count && line.tok[i + 3].n == 4 && AllDigits(line.tok[i + 3])) {
            ReadDigits(line.tok[i + 3].p, 4, st.year);
            hasYear = st.year >= 1900;
            if (hasYear) used = 4;
        }
    } else {
        if (ReadIsoDate(a, st.year, st.month, st.day)) {
            used = 1;
            hasYear = st.year != 0;
            if (i + 2 < line.count && ReadTime(line.tok[i + 1], st.hour, st.minute)) {
                used = 2;
                if (i + 3 < line.count && IsZone(line.tok[i + 2])) used = 3;
            } else if (!hasYear) {
                return 0;
            }
        } else if (i + 2 < line.count && ReadDay(a, st.day)) {
            Span m = line.tok[i + 1];
            st.month = MonthFromAnyName(m.p, m.n);
            if (st.month == 0 || !ReadYearOrTime(line.tok[i + 2], st, hasYear)) return 0;
            used = 3;
        } else {
            return 0;
        }
    }
    if (!hasYear) st.year = InferYear(st.month, st.day, st.hour, st.minute, ctx.now);
    return used;
}

// "812K", "3.1G", "20M", "1,5k" (ls -h: powers of 1024), rounded to the
// nearest byte.
bool ReadHumanSize(Span s, uint64_t &value) {
    if (s.n < 2 || s.n > 12) return false;
    int shift;
    switch (Upper(s.p[s.n - 1])) {
    case 'K': shift = 10; break;
    case 'M': shift = 20; break;
    case 'G': shift = 30; break;
    case 'T': shift = 40; break;
    case 'P': shift = 50; break;
    default: return false;
    }
    uint64_t whole = 0, fraction = 0, scale = 1;
    int i = 0;
    for (; i < s.n - 1 && IsDigit(s.p[i]); i++) whole = whole * 10 + (uint64_t)(s.p[i] - '0');
    if (i == 0 || i > 6 || whole >= (1ull << (62 - shift))) return false;
    if (i < s.n - 1) {
        if (s.p[i] != '.' && s.p[i] != ',') return false;
        int digits = 0;
        for (i++; i < s.n - 1; i++, digits++) {
            if (!IsDigit(s.p[i]) || digits == 3) return false;
            fraction = fraction * 10 + (uint64_t)(s.p[i] - '0');
            scale *= 10;
        }
        if (digits == 0) return false;
    }
    value = (whole << shift) + ((fraction << shift) + scale / 2) / scale;
    return true;
}

// Where the date begins and what the size is: the first token from `from`
// on that starts a date and follows a number (or a device's "major, minor").
bool FindSizeAndDate(const Line &line, int from, const Context &ctx, int &dateAt, int &dateLen,
                     uint64_t &size, Stamp &st) {
    for (int i = from + 1; i < line.count - 1; i++) {
        char c = line.tok[i].p[0];
        if (!IsAlpha(c) && !IsDigit(c)) continue;
        Span prev = line.tok[i - 1];
        uint64_t value = 0;
        bool number = ReadNumber(prev, value) || ReadHumanSize(prev, value);
        bool device = false;
        if (!number && prev.n >= 3) {
            // "4,64" in one word.
            const char *comma = (const char *)memchr(prev.p, ',', (size_t)prev.n);
            if (comma != nullptr && comma > prev.p && AllDigits(Span{prev.p, (int)(comma - prev.p)}) &&
                AllDigits(Span{comma + 1, (int)(prev.p + prev.n - comma - 1)})) {
                device = true;
            }
        }
        if (!number && !device) continue;
        if (number && i - 2 >= from) {
            Span major = line.tok[i - 2];
            if (major.n >= 2 && major.p[major.n - 1] == ',' && AllDigits(Span{major.p, major.n - 1}))
                device = true;
        }
        int n = ReadUnixDate(line, i, ctx, st);
        if (n == 0) continue;
        if (i + n >= line.count) continue;  // a name must follow
        dateAt = i;
        dateLen = n;
        size = device ? 0 : value;
        return true;
    }
    return false;
}

// The name after the date: exactly one blank (or tab) separates them in ls
// output, so a name may itself begin or end with blanks. A link is named by
// the part before " -> ". The "/" some servers append to folder names is not
// part of the name.
bool TakeName(const Line &line, int last, bool link, Span &name) {
    name = AfterToken(line, last, true);
    if (name.n > 0 && name.p[0] == '\t') {
        name.p++;
        name.n--;
    }
    if (link) {
        for (int i = 0; i + 4 <= name.n; i++) {
            if (memcmp(name.p + i, " -> ", 4) == 0) {
                name.n = i;
                break;
            }
        }
    }
    if (name.n > 1 && name.p[name.n - 1] == '/') name.n--;
    return name.n > 0;
}

int KindOf(char type) {
    if (type == 'd') return 4;
    if (type == 'l') return 2;
    return 0;
}

}  // namespace

bool ParseUnix(const Line &line, const Context &ctx, ListingEntry *entry) {
    if (line.count < 4 || !IsModeWord(line.tok[0])) return false;
    int dateAt, dateLen;
    uint64_t size;
    Stamp st;
    if (!FindSizeAndDate(line, 1, ctx, dateAt, dateLen, size, st)) return false;
    char type = line.tok[0].p[0];
    Span name;
    if (!TakeName(line, dateAt + dateLen - 1, type == 'l', name)) return false;
    Fill(entry, name, st, size, KindOf(type));
    return true;
}

// "d [RWCEAFMS] owner   512       Jan 31 12:00    name" ("- [-WCE---S] ..."
// for files, "d[RWCEAFMS]" in one word on some servers). The name stands in
// a column after the time, so the blanks before it are padding; blanks
// inside it belong to it.
bool ParseNetWare(const Line &line, const Context &ctx, ListingEntry *entry) {
    if (line.count < 5) return false;
    Span type = line.tok[0], rights = line.tok[1];
    int from = 2;
    if (type.n > 1) {
        rights = Span{type.p + 1, type.n - 1};
        type.n = 1;
        from = 1;
    }
    if (type.p[0] != 'd' && type.p[0] != '-') return false;
    if (rights.n < 3 || rights.p[0] != '[' || rights.p[rights.n - 1] != ']') return false;
    if (line.count < from + 4) return false;
    int dateAt, dateLen;
    uint64_t size;
    Stamp st;
    if (!FindSizeAndDate(line, from, ctx, dateAt, dateLen, size, st)) return false;
    Span name = TrimRight(AfterToken(line, dateAt + dateLen - 1, false));
    if (name.n == 0) return false;
    Fill(entry, name, st, size, type.p[0] == 'd' ? 4 : 0);
    return true;
}

}  // namespace listing
