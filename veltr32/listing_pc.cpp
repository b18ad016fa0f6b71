// Listings of PC and embedded servers: Windows/IIS DOS style, OS/2,
// VxWorks and KA9Q NOS.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

// "MON-DD-YYYY" as VxWorks writes it.
bool ReadMonthFirstDate(Span s, Stamp &st) {
    if (s.n != 11 || s.p[3] != '-' || s.p[6] != '-') return false;
    st.month = MonthFromName(s.p, 3);
    return st.month != 0 && ReadDigits(s.p + 4, 2, st.day) && ReadDigits(s.p + 7, 4, st.year) &&
           ValidDate(st.year, st.month, st.day);
}

bool IsOs2Attribute(Span s) {
    if (Equals(s, "DIR")) return true;
    if (s.n > 4) return false;
    for (int i = 0; i < s.n; i++)
        if (strchr("ARHS", s.p[i]) == nullptr) return false;
    return true;
}

// The name after the size or type field. A size is followed by one blank,
// and the name begins right after it, blanks and all. A "<DIR>" or other
// bracketed type is padded to 15 columns ("<DIR>" and ten blanks), so the
// name begins after the padding; where the server pads less, after all
// the blanks. Blanks at the end belong to the name as well.
Span DosName(const Line &line, int field) {
    Span what = line.tok[field];
    bool bracketed = what.p[0] == '<';
    if (!bracketed) return AfterToken(line, field, true);
    int pad = 15 - what.n, blanks = 0;
    const char *after = what.p + what.n;
    while (after + blanks < line.p + line.len && after[blanks] == ' ') blanks++;
    if (pad < 1 || blanks < pad) return AfterToken(line, field, false);
    return Span{after + pad, (int)(line.p + line.len - after - pad)};
}

}  // namespace

// "01-31-24  02:15PM       <DIR>          name"
// "01-31-2024  14:15             12,345 name"
bool ParseDos(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 4) return false;
    Stamp st{0, 0, 0, 0, 0};
    if (!ReadNumericDate(line.tok[0], st)) return false;
    int i = 1;
    if (!ReadTime(line.tok[1], st.hour, st.minute, true)) return false;
    // "02:15 PM" with the suffix as its own word.
    Span next = line.tok[2];
    if (EqualsNoCase(next, "AM") || EqualsNoCase(next, "PM")) {
        if (st.hour < 1 || st.hour > 12) return false;
        if (Upper(next.p[0]) == 'A' && st.hour == 12) st.hour = 0;
        if (Upper(next.p[0]) == 'P' && st.hour != 12) st.hour += 12;
        i = 2;
    }
    if (i + 2 >= line.count) return false;
    Span what = line.tok[i + 1];
    int kind = 0;
    uint64_t size = 0;
    if (EqualsNoCase(what, "<DIR>")) {
        kind = 4;
    } else if (EqualsNoCase(what, "<JUNCTION>") || EqualsNoCase(what, "<SYMLINKD>")) {
        kind = 4;
    } else if (EqualsNoCase(what, "<SYMLINK>")) {
        kind = 2;
    } else if (!ReadNumber(what, size, true)) {
        return false;
    }
    Span name = DosName(line, i + 1);
    // dir shows a junction's or link's target in brackets after the name.
    if (kind != 0 && !EqualsNoCase(what, "<DIR>") && name.n > 2 && name.p[name.n - 1] == ']') {
        for (int k = name.n - 2; k > 0; k--) {
            if (name.p[k] == '[' && name.p[k - 1] == ' ') {
                name.n = k - 1;
                break;
            }
        }
    }
    if (name.n == 0) return false;
    Fill(entry, name, st, size, kind);
    return true;
}

// "       345      A          01-31-24   12:00  name"
// "         0           DIR   01-31-24   12:00  folder"
bool ParseOs2(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 4) return false;
    uint64_t size;
    if (!ReadNumber(line.tok[0], size)) return false;
    int i = 1, kind = 0;
    while (i < line.count && i < 4 && IsOs2Attribute(line.tok[i])) {
        if (Equals(line.tok[i], "DIR")) kind = 4;
        i++;
    }
    if (i + 2 >= line.count) return false;
    Stamp st{0, 0, 0, 0, 0};
    if (!ReadNumericDate(line.tok[i], st) || line.tok[i].n == 10) return false;
    if (!ReadTime(line.tok[i + 1], st.hour, st.minute)) return false;
    Span name = TrimRight(AfterToken(line, i + 1, false));
    if (name.n == 0) return false;
    Fill(entry, name, st, size, kind);
    return true;
}

// "    1024    JAN-31-2024  12:00:00   name          <DIR>"
bool ParseVxWorks(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 4) return false;
    uint64_t size;
    Stamp st{0, 0, 0, 0, 0};
    if (!ReadNumber(line.tok[0], size) || !ReadMonthFirstDate(line.tok[1], st) ||
        !ReadTime(line.tok[2], st.hour, st.minute))
        return false;
    Span name = TrimRight(AfterToken(line, 2, false));
    int kind = 0;
    if (name.n > 5 && memcmp(name.p + name.n - 5, "<DIR>", 5) == 0) {
        kind = 4;
        name.n -= 5;
        name = TrimRight(name);
    }
    if (name.n == 0) return false;
    Fill(entry, name, st, size, kind);
    return true;
}

// KA9Q NOS: "autoexec.bat      512  9:02  9/20/93", folders end in "/".
bool ParseNos(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count != 4) return false;
    uint64_t size;
    Stamp st{0, 0, 0, 0, 0};
    if (!ReadNumber(line.tok[1], size, true) || !ReadTime(line.tok[2], st.hour, st.minute) ||
        !ReadNumericDate(line.tok[3], st) || line.tok[3].n == 10)
        return false;
    Span name = line.tok[0];
    int kind = 0;
    if (name.n > 1 && name.p[name.n - 1] == '/') {
        kind = 4;
        name.n--;
    }
    Fill(entry, name, st, size, kind);
    return true;
}

}  // namespace listing
