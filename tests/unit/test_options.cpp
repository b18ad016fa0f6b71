// The command-line option grammar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmdline/options.h"

namespace {

struct Parsed {
    std::vector<std::pair<OptionKind, std::string>> options;
    OptionKind last;
    std::string rest;
};

Parsed ParseAll(const char *text)
{
    Parsed out;
    const char *p = text;
    for (int i = 0; i < 64; i++) {
        OptionToken t;
        const char *next = NextOption(p, &t);
        if (t.kind == OPT_END || t.kind == OPT_UNKNOWN) {
            out.last = t.kind;
            out.rest = t.rest;
            return out;
        }
        out.options.push_back({t.kind, t.value});
        p = next;
    }
    ADD_FAILURE() << "no end of options";
    return out;
}

TEST(Options, RecognisedBySecondCharacter)
{
    Parsed r = ParseAll("-quiet -binary -lower -ascii host:/a.txt");
    ASSERT_EQ(r.options.size(), 4u);
    EXPECT_EQ(r.options[0].first, OPT_QUIET);
    EXPECT_EQ(r.options[1].first, OPT_BINARY);
    EXPECT_EQ(r.options[2].first, OPT_LOWER);
    EXPECT_EQ(r.options[3].first, OPT_ASCII);
    EXPECT_EQ(r.last, OPT_END);
    EXPECT_EQ(r.rest, "host:/a.txt");
}

TEST(Options, AskNeedsItsFourthCharacter)
{
    EXPECT_EQ(ParseAll("-ask").options.at(0).first, OPT_ASK);
    EXPECT_EQ(ParseAll("-ak").options.at(0).first, OPT_ASCII);
    EXPECT_EQ(ParseAll("-asc").options.at(0).first, OPT_ASCII);
    EXPECT_EQ(ParseAll("-aXkz").options.at(0).first, OPT_ASK);
}

TEST(Options, ValuesComeFromTheNextWord)
{
    Parsed r = ParseAll("-p mysite -u joe -w \"pass word\" -c acct -i other.ini -s //h/f -d local:C:/x rest of line");
    ASSERT_EQ(r.options.size(), 7u);
    EXPECT_EQ(r.options[0], std::make_pair(OPT_PROFILE, std::string("mysite")));
    EXPECT_EQ(r.options[1], std::make_pair(OPT_USER, std::string("joe")));
    EXPECT_EQ(r.options[2], std::make_pair(OPT_PASSWORD, std::string("pass word")));
    EXPECT_EQ(r.options[3], std::make_pair(OPT_ACCOUNT, std::string("acct")));
    EXPECT_EQ(r.options[4], std::make_pair(OPT_INI, std::string("other.ini")));
    EXPECT_EQ(r.options[5], std::make_pair(OPT_SOURCE, std::string("//h/f")));
    EXPECT_EQ(r.options[6], std::make_pair(OPT_DEST, std::string("local:C:/x")));
    EXPECT_EQ(r.rest, "rest of line");
}

TEST(Options, UnknownOptionKeepsTheRestOfTheLine)
{
    Parsed r = ParseAll("-q -xyz more words");
    ASSERT_EQ(r.options.size(), 1u);
    EXPECT_EQ(r.last, OPT_UNKNOWN);
    EXPECT_EQ(r.rest, "-xyz more words");
}

TEST(Options, ValueMissingAtTheEnd)
{
    Parsed r = ParseAll("-p");
    ASSERT_EQ(r.options.size(), 1u);
    EXPECT_EQ(r.options[0].second, "");
    EXPECT_EQ(r.last, OPT_END);
    EXPECT_EQ(r.rest, "");
}

TEST(Options, LongValuesAreCut)
{
    std::string line = "-u " + std::string(1000, 'u') + " tail";
    Parsed r = ParseAll(line.c_str());
    ASSERT_EQ(r.options.size(), 1u);
    EXPECT_EQ(r.options[0].second.size(), OPTION_VALUE_SIZE - 1u);
    EXPECT_EQ(r.rest, "tail");
}

}  // namespace
