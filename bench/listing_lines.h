// Generated listing lines for the parse benchmarks: realistic lines of
// every family with varying names, sizes and dates.
#pragma once
#include <stdio.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

inline std::string UnixLine(unsigned i) {
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char line[200];
    if (i % 3 == 0)
        snprintf(line, sizeof line, "drwxr-xr-x   %u user  group   4096 %s %2u  %u folder_%u", 2 + i % 7,
                 months[i % 12], 1 + i % 28, 1995 + i % 29, i);
    else if (i % 7 == 1)
        snprintf(line, sizeof line, "lrwxrwxrwx   1 user  group     %u %s %2u %02u:%02u link_%u -> target/%u", 5 + i % 50,
                 months[i % 12], 1 + i % 28, i % 24, i % 60, i, i);
    else
        snprintf(line, sizeof line, "-rw-r--r--   1 user%u  staff %10u %s %2u %02u:%02u file name %u.txt\r\n", i % 5,
                 i * 7919u, months[i % 12], 1 + i % 28, i % 24, i % 60, i);
    return line;
}

inline std::string MixedLine(unsigned i) {
    char line[200];
    switch (i % 8) {
    case 0:
    case 1:
    case 2:
        return UnixLine(i);
    case 3:
        snprintf(line, sizeof line, "%02u-%02u-%02u  %02u:%02u%s       %s %s_%u", 1 + i % 12, 1 + i % 28, i % 100,
                 1 + i % 12, i % 60, i % 2 ? "PM" : "AM", i % 4 == 3 ? "<DIR>         " : "      123456", "dos", i);
        return line;
    case 4:
        snprintf(line, sizeof line, "type=%s;size=%u;modify=2023%02u%02u120000; mlsd %u", i % 3 ? "file" : "dir", i,
                 1 + i % 12, 1 + i % 28, i);
        return line;
    case 5:
        snprintf(line, sizeof line, "NAME_%u.DAT;%u  %u/%u  %u-JAN-2024 12:00:00 [GRP,OWN] (RWED,RWED,RE,)", i,
                 1 + i % 9, i % 500, i % 500 + 3, 1 + i % 28);
        return line;
    case 6:
        snprintf(line, sizeof line, "+i8388621.%u,m%u,r,s%u,\teplf_%u", i, 800000000u + i, i % 100000, i);
        return line;
    default:
        snprintf(line, sizeof line, "VOL%03u 3390   2024/01/%02u  1   15  FB      80  3120  P%c  USER.DATA%u", i % 1000,
                 1 + i % 28, i % 2 ? 'S' : 'O', i % 10000);
        return line;
    }
}

inline std::vector<std::string> MakeLines(unsigned count, bool unixOnly) {
    std::vector<std::string> lines;
    lines.reserve(count);
    for (unsigned i = 0; i < count; i++) lines.push_back(unixOnly ? UnixLine(i) : MixedLine(i));
    return lines;
}

// Generates the lines, then parses them all in three passes with parse(line)
// (true when the line is accepted) and prints the best pass: the first also
// warms the caches.
template <typename Parse>
void RunParsePasses(const char *label, unsigned count, bool unixOnly, Parse parse) {
    std::vector<std::string> lines = MakeLines(count, unixOnly);
    double best = 0;
    unsigned accepted = 0;
    for (int pass = 0; pass < 3; pass++) {
        accepted = 0;
        auto start = std::chrono::steady_clock::now();
        for (const std::string &line : lines) accepted += parse(line.c_str()) ? 1u : 0u;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (best == 0 || seconds < best) best = seconds;
    }
    printf("%-6s %u lines, %u accepted, best of 3 passes %.3f s, %.0f lines/s\n", label, count, accepted, best,
           best > 0 ? count / best : 0.0);
}

}  // namespace bench
