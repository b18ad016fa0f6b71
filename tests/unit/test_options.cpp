// The command-line option grammar.
#include <gtest/gtest.h>

#include <string>

#include "cmdline/options.h"

namespace {

// The options of a line as "kind[=value] ...", then "| rest" or "? rest"
// for an unknown option; kinds are named by their letters in "eAabcdilpqsuw?".
std::string ParseAll(const char *text)
{
    std::string out;
    const char *p = text;
    for (int i = 0; i < 64; i++) {
        OptionToken t;
        const char *next = NextOption(p, &t);
        if (t.kind == OPT_END || t.kind == OPT_UNKNOWN)
            return out + (t.kind == OPT_END ? "| " : "? ") + t.rest;
        out += std::string(1, "eAabcdilpqsuw?"[t.kind]) + (t.value[0] ? std::string("=") + t.value : "") + " ";
        p = next;
    }
    ADD_FAILURE() << "no end of options";
    return out;
}

TEST(Options, Grammar)
{
    const struct { const char *line, *parsed; } cases[] = {
        {"-quiet -binary -lower -ascii host:/a.txt", "q b l a | host:/a.txt"},   // by the second character
        {"-ask -ak -asc -aXkz", "A a a A | "},                                   // ask needs its fourth
        {"-p mysite -u joe -w \"pass word\" -c acct -i other.ini -s //h/f -d local:C:/x rest of line",
         "p=mysite u=joe w=pass word c=acct i=other.ini s=//h/f d=local:C:/x | rest of line"},
        {"-q -xyz more words", "q ? -xyz more words"},
        {"-p", "p | "},                                                          // value missing at the end
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseAll(c.line), c.parsed) << c.line;
}

TEST(Options, LongValuesAreCut)
{
    std::string line = "-u " + std::string(1000, 'u') + " tail";
    EXPECT_EQ(ParseAll(line.c_str()), "u=" + std::string(OPTION_VALUE_SIZE - 1, 'u') + " | tail");
}

}  // namespace
