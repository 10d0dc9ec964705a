#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/TextRules.h"

namespace kem {
namespace {

TEST(TextRules, FloatFollowsTheLocaleSeparatorAndRejectsEverythingElse) {
    struct Case {
        const char* text;
        char separator;
        long double want;
    } const cases[] = {
        {"022,4", ',', 22.4L},  {"022.4", '.', 22.4L}, {"-9,1", ',', -9.1L},   {"+3", ',', 3.0L},
        {"1,5e2", ',', 150.0L}, {",5", ',', 0.5L},     {"", ',', 0.0L},        {"1.5", ',', 0.0L},
        {"1,5,0", ',', 0.0L},   {"inf", '.', 0.0L},    {"nan", '.', 0.0L},     {"0x10", '.', 0.0L},
        {"12a", '.', 0.0L},     {"--1", '.', 0.0L},    {"1e99999", '.', 0.0L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NEAR(static_cast<double>(TextToFloat(c.text, c.separator)),
                    static_cast<double>(c.want), 1e-12);
    }
}

TEST(TextRules, IntegerIsDecimalWithSignOrZero) {
    EXPECT_EQ(TextToInt("08"), 8);
    EXPECT_EQ(TextToInt("-5"), -5);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt("5x"), 0);
    EXPECT_EQ(TextToInt("2147483648"), 0);
    EXPECT_EQ(TextToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(TextRules, OneDecimalRoundsHalvesAwayFromZero) {
    EXPECT_EQ(FormatOneDecimal(41.4848f, ','), "41,5");
    EXPECT_EQ(FormatOneDecimal(18.52f, '.'), "18.5");
    EXPECT_EQ(FormatOneDecimal(0.25f, ','), "0,3");  // an exact half
    EXPECT_EQ(FormatOneDecimal(-0.25f, ','), "-0,3");
    EXPECT_EQ(FormatOneDecimal(0.0f, ','), "0,0");
    EXPECT_EQ(FormatOneDecimal(1e20f, ','), "100000002004087734272,0");
    EXPECT_EQ(FormatOneDecimal(std::numeric_limits<float>::infinity(), ','), "0,0");
}

TEST(TextRules, SeparatorReplacesOnlyTheFirstPoint) {
    std::string s = "1.2.3";
    SubstituteSeparator(s, ',');
    EXPECT_EQ(s, "1,2.3");
}

TEST(TextRules, TrimRemovesBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t\x01 K25 \r"), "K25");
    EXPECT_EQ(Trim("\t pts/3\r\n"), "pts/3");
    EXPECT_EQ(Trim("a b"), "a b");
    EXPECT_EQ(Trim("  "), "");
}

TEST(TextRules, BoxTextsAsIntegers) {
    struct Case {
        const char* text;
        int want;
    };
    const Case cases[] = {
        {" 15", 15}, {"  5", 5},  {"10", 10}, {"-3", -3},          {"0x1E", 30},
        {"$10", 16}, {"abc", -1}, {"", -1},   {"   ", -1},         {"15 ", -1},
        {"1.5", -1}, {"- 5", -1}, {"0x", -1}, {"99999999999", -1}, {"+7", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TextToIntDef(c.text, -1), c.want);
    }
}

TEST(TextRules, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_TRUE(EqualsNoCase("KemWwl.DAT", "kemwwl.dat"));
    EXPECT_FALSE(EqualsNoCase("\xC0", "\xE0"));  // Baltic letters keep their case
    EXPECT_FALSE(EqualsNoCase("K26.z", "K26.zz"));
}

}  // namespace
}  // namespace kem
