// IBM host listings: MVS datasets, partitioned-dataset members, load
// modules and JES jobs; OS/400; VM/CMS.
#include <string.h>

#include "veltr32/listing_grammar.h"

namespace listing {

namespace {

bool IsNational(char c) { return c == '#' || c == '$' || c == '@'; }

// A member name: 1-8 characters, a letter or national character first.
bool IsMemberName(Span s) {
    if (s.n < 1 || s.n > 8) return false;
    if (!IsAlpha(s.p[0]) && !IsNational(s.p[0])) return false;
    for (int i = 1; i < s.n; i++)
        if (!IsAlpha(s.p[i]) && !IsDigit(s.p[i]) && !IsNational(s.p[i]) && s.p[i] != '-') return false;
    return true;
}

// A dataset name: qualifiers of 1-8 characters joined by ".", possibly in
// apostrophes.
bool IsDatasetName(Span s) {
    if (s.n >= 2 && s.p[0] == '\'' && s.p[s.n - 1] == '\'') s = Span{s.p + 1, s.n - 2};
    if (s.n < 1 || s.n > 44) return false;
    int start = 0;
    for (int i = 0; i <= s.n; i++) {
        if (i == s.n || s.p[i] == '.') {
            if (!IsMemberName(Span{s.p + start, i - start})) return false;
            start = i + 1;
        }
    }
    return true;
}

bool IsHex(Span s) {
    if (s.n == 0) return false;
    for (int i = 0; i < s.n; i++) {
        char c = Upper(s.p[i]);
        if (!IsDigit(c) && !(c >= 'A' && c <= 'F')) return false;
    }
    return true;
}

// "2024/01/31", or "24/01/31" from older servers.
bool ReadSlashDate(Span s, Stamp &st) {
    int yearLen = s.n - 6;
    if ((yearLen != 4 && yearLen != 2) || s.p[yearLen] != '/' || s.p[yearLen + 3] != '/') return false;
    if (!ReadDigits(s.p, yearLen, st.year) || !ReadDigits(s.p + yearLen + 1, 2, st.month) ||
        !ReadDigits(s.p + yearLen + 4, 2, st.day))
        return false;
    st.year = FullYear(st.year);
    return ValidDate(st.year, st.month, st.day);
}

// Shows a dataset relative to the folder ('USER.' shows USER.JCL as JCL),
// or, without a folder, relative to the user id's own qualifier.
Span RelativeDataset(Span name, const Context &ctx) {
    if (name.n >= 2 && name.p[0] == '\'' && name.p[name.n - 1] == '\'') name = Span{name.p + 1, name.n - 2};
    const char *prefix = ctx.folder;
    int n = (int)strnlen(prefix, 300);
    if (n > 0 && prefix[0] == '\'') prefix++, n--;
    if (n > 0 && prefix[n - 1] == '\'') n--;
    bool addDot = n > 0 && prefix[n - 1] != '.';
    if (n == 0) {
        prefix = ctx.userId;
        n = (int)strnlen(prefix, 300);
        addDot = n > 0;
    }
    if (n == 0 || prefix[0] == '/') return name;
    int total = n + (addDot ? 1 : 0);
    if (name.n <= total) return name;
    for (int i = 0; i < n; i++)
        if (Upper(name.p[i]) != Upper(prefix[i])) return name;
    if (addDot && name.p[n] != '.') return name;
    return Span{name.p + total, name.n - total};
}

bool IsJobId(Span s) {
    // JOB01234, STC01234, TSU01234, or J0123456 for larger spools.
    if (s.n != 8) return false;
    int letters = 0;
    while (letters < 3 && IsAlpha(s.p[letters])) letters++;
    if (letters != 3 && letters != 1) return false;
    return AllDigits(Span{s.p + letters, 8 - letters});
}

}  // namespace

bool ParseMvs(const Line &line, const Context &ctx, ListingEntry *entry) {
    const Stamp none{0, 0, 0, 0, 0};
    Span t0 = line.tok[0];
    if (line.count == 1) {
        // A bare member name (a member list without statistics).
        if (!ctx.lenient || !IsMemberName(t0)) return false;
        Fill(entry, t0, none, 0, 0);
        return true;
    }
    Span last = line.tok[line.count - 1];
    // Migrated datasets ("Migrated  USER.OLD") and datasets on tape
    // ("ARC001 Tape  USER.SAVED") carry no details.
    bool migrated = EqualsNoCase(t0, "Migrated");
    bool tape = line.count >= 3 && t0.n <= 6 && EqualsNoCase(line.tok[1], "Tape");
    if ((migrated || tape) && IsDatasetName(last)) {
        Fill(entry, RelativeDataset(last, ctx), none, 0, 0);
        return true;
    }
    if (line.count >= 6 && Equals(line.tok[1], "Not") && Equals(line.tok[2], "Direct") &&
        IsDatasetName(last)) {
        Fill(entry, RelativeDataset(last, ctx), none, 0, 0);
        return true;
    }
    // JES: "USERJOB  JOB01234 USER     OUTPUT A        RC=0000 3 spool files".
    if (line.count >= 4 && IsMemberName(t0) && IsJobId(line.tok[1])) {
        Fill(entry, line.tok[1], none, 0, 0);
        return true;
    }
    // Dataset: "VOL001 3390   2024/01/31  1   15  FB   80  3120  PS  USER.JCL".
    if (line.count >= 4 && IsDatasetName(last) && t0.n <= 6) {
        Stamp st = none;
        if (ReadSlashDate(line.tok[2], st) || Equals(line.tok[2], "**NONE**")) {
            // The date of last reference; the server gives no time.
            Span dsorg = line.tok[line.count - 2];
            int kind = (dsorg.n >= 2 && dsorg.p[0] == 'P' && dsorg.p[1] == 'O') ? 4 : 0;
            Fill(entry, RelativeDataset(last, ctx), st, 0, kind);
            return true;
        }
    }
    if (!IsMemberName(t0)) return false;
    // Member: "MEMBER1   01.03 2002/09/12 2024/01/31 13:55    22    22     0 USER".
    Span vvmm = line.tok[1];
    if (line.count >= 5 && vvmm.n == 5 && vvmm.p[2] == '.' && AllDigits(Span{vvmm.p, 2}) &&
        AllDigits(Span{vvmm.p + 3, 2})) {
        Stamp created = none, st = none;
        if (!ReadSlashDate(line.tok[2], created) || !ReadSlashDate(line.tok[3], st) ||
            !ReadTime(line.tok[4], st.hour, st.minute))
            return false;
        Fill(entry, t0, st, 0, 0);
        return true;
    }
    // Load module: "MEMBER1   000A20   00000A   00  FO ..." (size in hex).
    if (line.count >= 3 && vvmm.n >= 6 && vvmm.n <= 8 && IsHex(vvmm) && line.tok[2].n == 6 &&
        IsHex(line.tok[2])) {
        uint64_t size = 0;
        for (int i = 0; i < vvmm.n; i++) {
            char c = Upper(vvmm.p[i]);
            size = size * 16 + (uint64_t)(IsDigit(c) ? c - '0' : c - 'A' + 10);
        }
        Fill(entry, t0, none, size, 0);
        return true;
    }
    return false;
}

// "QSYS            77824 02/23/00 15:09:55 *DIR       QOpenSys/"
// "QSYS                                    *MEM       LIB.FILE/MBR.MBR"
bool ParseOs400(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 3) return false;
    Stamp st{0, 0, 0, 0, 0};
    uint64_t size = 0;
    int typeAt;
    if (line.tok[1].p[0] == '*') {
        typeAt = 1;
    } else {
        if (line.count < 6 || !ReadNumber(line.tok[1], size)) return false;
        // The job's date format decides: MM/DD/YY, DD.MM.YY or YYYY-MM-DD.
        if (!ReadNumericDate(line.tok[2], st) || !ReadTime(line.tok[3], st.hour, st.minute))
            return false;
        typeAt = 4;
    }
    Span type = line.tok[typeAt];
    if (type.n < 2 || type.p[0] != '*' || !IsAlpha(type.p[1])) return false;
    Span name = TrimRight(AfterToken(line, typeAt, false));
    int kind = 0;
    if (Equals(type, "*DIR") || Equals(type, "*DDIR") || Equals(type, "*FLR") ||
        Equals(type, "*LIB") || Equals(type, "*FILE"))
        kind = 4;
    if (name.n > 1 && name.p[name.n - 1] == '/') name.n--;
    if (name.n == 0) return false;
    Fill(entry, name, st, size, kind);
    return true;
}

// "PROFILE  EXEC     A1 V         80         50          1 2024-01-31 12:00:00 A1"
// "SUBDIR   DIR         -          -          -          - 2024-01-31 12:00:00 -"
// Sizes are estimates: records times record length for fixed records,
// 4 KiB blocks for variable ones.
bool ParseVmCms(const Line &line, const Context &, ListingEntry *entry) {
    if (line.count < 8) return false;
    Span fname = line.tok[0], ftype = line.tok[1];
    if (fname.n > 8 || ftype.n > 8) return false;
    int i = 2;
    Span fm = line.tok[2];
    if ((fm.n == 2 && IsAlpha(fm.p[0]) && IsDigit(fm.p[1])) ||
        (fm.n == 1 && IsAlpha(fm.p[0]) && fm.p[0] != 'F' && fm.p[0] != 'V'))
        i = 3;
    if (i + 5 >= line.count) return false;
    Span recfm = line.tok[i];
    bool dir = Equals(recfm, "DIR") || Equals(ftype, "DIR");
    if (!dir && !Equals(recfm, "F") && !Equals(recfm, "V")) return false;
    uint64_t lrecl = 0, records = 0, blocks = 0;
    for (int k = 1; k <= 3; k++) {
        Span s = line.tok[i + k];
        uint64_t v = 0;
        if (!Equals(s, "-") && !ReadNumber(s, v, true)) return false;
        if (k == 1) lrecl = v;
        if (k == 2) records = v;
        if (k == 3) blocks = v;
    }
    Stamp st{0, 0, 0, 0, 0};
    if (!ReadNumericDate(line.tok[i + 4], st) || !ReadTime(line.tok[i + 5], st.hour, st.minute))
        return false;
    char name[20];
    int n;
    if (dir) {
        n = fname.n;
        memcpy(name, fname.p, (size_t)n);
    } else {
        memcpy(name, fname.p, (size_t)fname.n);
        name[fname.n] = '.';
        memcpy(name + fname.n + 1, ftype.p, (size_t)ftype.n);
        n = fname.n + 1 + ftype.n;
    }
    uint64_t size = 0;
    if (!dir) {
        if (Equals(recfm, "F"))
            size = (records > 0 && lrecl > UINT64_MAX / records) ? 0 : records * lrecl;
        else
            size = blocks > UINT64_MAX / 4096 ? 0 : blocks * 4096;
    }
    Fill(entry, Span{name, n}, st, size, dir ? 4 : 0);
    return true;
}

}  // namespace listing
