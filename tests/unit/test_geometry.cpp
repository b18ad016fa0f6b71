// Saved window geometry and dialog placement.
#include <gtest/gtest.h>

#include "app/geometry.h"

namespace {

struct LocCase { const char *name, *text; int expected[GEO_COUNT]; };

TEST(MainGeometry, SavedValueIsReadFieldByField)
{
    // Defaults for a 1024-pixel desktop: 10,10,853,440,426,0.
    const LocCase cases[] = {
        {"empty keeps defaults", "", {10, 10, 853, 440, 426, 0}},
        {"four fields set every size", "20,30,700,500", {20, 30, 700, 500, 426, 0}},
        {"six fields set both dividers", "20,30,700,500,350,90", {20, 30, 700, 500, 350, 90}},
        {"wrapped negative left edge", "4294967288,30,700,500", {-8, 30, 700, 500, 426, 0}},
        {"three fields stop before the width", "20,30,700", {20, 30, 853, 440, 426, 0}},
        {"garbage reads as zero", "x,y,z,w", {0, 0, 0, 0, 426, 0}},
    };
    for (const LocCase &c : cases) {
        int g[GEO_COUNT];
        DefaultMainGeometry(1024, g);
        ParseMainGeometry(c.text, g);
        for (int i = 0; i < GEO_COUNT; i++)
            EXPECT_EQ(g[i], c.expected[i]) << c.name << " field " << i;
    }
}

TEST(MainGeometry, WrappedIntegersRoundTripNegativeCoordinates)
{
    EXPECT_EQ(ParseWrappedInt("2147483648"), INT32_MIN);
    EXPECT_EQ(ParseWrappedInt("-12"), -12);
    EXPECT_EQ(ParseWrappedInt("abc"), 0);
}

TEST(LogWindowRect, FieldsNeedTheirCommas)
{
    struct { const char *text; int expected[4]; } cases[] = {
        {"5,6,300,200", {5, 6, 300, 200}}, {"5,6,300", {5, 6, 1, 1}},
        {"77", {1, 1, 1, 1}},           // no comma: nothing changes
        {"4294967291,10,100,100", {-5, 10, 100, 100}},
    };
    for (auto &c : cases) {
        int v[4] = {1, 1, 1, 1};
        ParseFourFields(c.text, v);
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(v[i], c.expected[i]) << c.text << " field " << i;
    }
}

TEST(ColumnList, SignedDecimalsUntilTheFirstMissingComma)
{
    int v[4] = {9, 9, 9, 9};
    EXPECT_EQ(ParseIntList("", v, 4), 0);
    EXPECT_EQ(ParseIntList("-4,17", v, 4), 2);
    EXPECT_TRUE(v[0] == -4 && v[1] == 17 && v[2] == 9) << v[0] << "," << v[1] << "," << v[2];
    EXPECT_EQ(ParseIntList("20,140,260,330", v, 4), 4);
    EXPECT_EQ(v[3], 330);
}

TEST(Centring, StaysOnTheDesktop)
{
    PlaceRect desktop = {0, 0, 1024, 768};
    int left, top;
    const struct { int width, height; PlaceRect reference; int offset, left, top; } cases[] = {
        {200, 100, desktop, 40, 412, 374},          // centred, moved down by the offset
        {400, 100, {800, 100, 200, 200}, 0, 624, 150}, // pushed back inside from the right edge
        {2000, 1000, desktop, 0, 0, 0},             // never negative
    };
    for (const auto &c : cases) {
        CenterInRect(c.width, c.height, c.reference, desktop, c.offset, &left, &top);
        EXPECT_TRUE(left == c.left && top == c.top) << c.width << ": " << left << "," << top;
    }
}

}  // namespace
