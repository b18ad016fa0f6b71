// The listing cases of listing_cases.txt (its format is described at its
// top), shared by the parser tests and the robustness sweep.
#pragma once
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

struct ListingCase {
    uint32_t hostType;   // the host type the line is read with
    bool anyShape;       // the automatic type must read it the same way
    std::string line, record;   // record empty: the line must be refused
    int lineNumber;
};

// Undoes the file's escapes: \r \n \t \\ and three octal digits.
inline std::string UnescapeCase(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c == '\\' && i + 3 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7') {
            out += (char)std::stoi(text.substr(i + 1, 3), nullptr, 8);
            i += 3;
        } else if (c == '\\' && i + 1 < text.size()) {
            c = text[++i];
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += c;
        }
    }
    return out;
}

// A row: "hostType anyShape |line|record|", the line between the first and
// the second-to-last bar.
inline const std::vector<ListingCase> &ListingCases()
{
    static const std::vector<ListingCase> cases = [] {
        std::vector<ListingCase> all;
        std::string path = __FILE__;
        FILE *f = fopen((path.substr(0, path.find_last_of('/') + 1) + "listing_cases.txt").c_str(), "rb");
        char buffer[1024];
        unsigned host;
        int any;
        for (int number = 1; f != nullptr && fgets(buffer, sizeof buffer, f) != nullptr; number++) {
            std::string row = buffer;
            size_t first = row.find('|'), last = row.rfind('|'), middle = row.rfind('|', last - 1);
            if (row[0] == '#' || middle == std::string::npos || first >= middle ||
                sscanf(buffer, "%u %d", &host, &any) != 2)
                continue;
            std::string record = UnescapeCase(row.substr(middle + 1, last - middle - 1));
            all.push_back({host, any != 0, UnescapeCase(row.substr(first + 1, middle - first - 1)),
                           record == "-" ? "" : record, number});
        }
        if (f != nullptr)
            fclose(f);
        return all;
    }();
    return cases;
}
