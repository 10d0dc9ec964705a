#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gps/NmeaFields.h"
#include "gps/TextConvert.h"

namespace kem::gps {
namespace {

TEST(TextConvert, FloatFollowsTheLocaleSeparatorAndRejectsEverythingElse) {
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

TEST(TextConvert, IntegerIsDecimalWithSignOrZero) {
    EXPECT_EQ(TextToInt("08"), 8);
    EXPECT_EQ(TextToInt("-5"), -5);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt("5x"), 0);
    EXPECT_EQ(TextToInt("2147483648"), 0);
    EXPECT_EQ(TextToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(TextConvert, OneDecimalRoundsHalvesAwayFromZero) {
    EXPECT_EQ(FormatOneDecimal(41.4848f, ','), "41,5");
    EXPECT_EQ(FormatOneDecimal(18.52f, '.'), "18.5");
    EXPECT_EQ(FormatOneDecimal(0.25f, ','), "0,3");  // an exact half
    EXPECT_EQ(FormatOneDecimal(-0.25f, ','), "-0,3");
    EXPECT_EQ(FormatOneDecimal(0.0f, ','), "0,0");
    EXPECT_EQ(FormatOneDecimal(1e20f, ','), "100000002004087734272,0");
    EXPECT_EQ(FormatOneDecimal(std::numeric_limits<float>::infinity(), ','), "0,0");
}

TEST(TextConvert, SeparatorReplacesOnlyTheFirstPoint) {
    std::string s = "1.2.3";
    SubstituteSeparator(s, ',');
    EXPECT_EQ(s, "1,2.3");
    EXPECT_EQ(Trim(" \t\x01 K25 \r"), "K25");
}

TEST(NmeaFields, SplitsAsCommaText) {
    struct Case {
        const char* text;
        std::vector<std::string> want;
    } const cases[] = {
        {"$GPGSA,A,3", {"$GPGSA", "A", "3"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},       // a trailing comma gives one empty field
        {"a,,", {"a", "", ""}},  //
        {"a, ", {"a"}},          // but not when a blank follows it
        {",a", {"", "a"}},       //
        {"  \x01"
         "a , b",
         {"a", "b"}},                    // blanks before a field are skipped
        {"ab cd,e", {"ab", "cd", "e"}},  // a blank ends a field
        {"a\x7f\xb0,b", {"a\x7f\xb0", "b"}},
        {"\"x,y\",z", {"x,y", "z"}},             // quoted
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},  // doubled quotes
        {"\"open,end", {"open,end"}},            // no closing quote
        {"\"ab\"cd", {"ab", "cd"}},
        {"", {}},
        {"   ", {}},
    };
    NmeaFields fields;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        fields.Split(c.text);
        std::vector<std::string> got;
        for (std::size_t i = 0; i < fields.Count(); ++i) {
            got.push_back(fields.At(i));
        }
        EXPECT_EQ(got, c.want);
    }
}

TEST(NmeaFields, ReadingPastTheLastFieldThrows) {
    NmeaFields fields;
    fields.Split("a,b,c,d,e");
    fields.Split("x,y");  // reused storage must not leak the longer sentence's fields
    EXPECT_EQ(fields.Count(), 2u);
    EXPECT_EQ(fields.At(1), "y");
    EXPECT_THROW(fields.At(2), MissingField);
}

}  // namespace
}  // namespace kem::gps
