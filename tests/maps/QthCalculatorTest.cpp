// The QTH calculator's checks of typed coordinates, square codes and locators.
#include "maps/QthCalculator.h"

#include <gtest/gtest.h>

namespace kem::maps {
namespace {

TEST(QthCalculator, RangeCheckOfEachField) {
    struct Case {
        const char* name;
        TypedCoordinates fields;
        std::array<bool, 6> out;
    };
    const Case cases[] = {
        {"in range", {"54", "41", "07", "25", "19", "33"}, {}},
        {"upper bounds", {"90", "59", "59", "180", "59", "59"}, {}},
        {"one past them, all tested",
         {"91", "60", "60", "181", "60", "60"},
         {true, true, true, true, true, true}},
        {"negative", {"-1", "0", "0", "0", "-1", "0"}, {true, false, false, false, true, false}},
        {"letters and empty fields count as 0", {"ab", "", "4x", "", "", ""}, {}},
        // Read as the computation reads it, so blanks do not let a value past the check.
        {"blanks around",
         {"91 ", " 41", "07", " 181 ", "19", "33"},
         {true, false, false, true, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outOfRange(c.fields), c.out);
    }
}

TEST(QthCalculator, AcceptedSquareCodesAndLocators) {
    for (const char* code : {"A00", "K26", "P39"}) {
        EXPECT_TRUE(isSquareCode(code)) << code;
    }
    for (const char* code : {"Q10", "K45", "K2", "K26 ", " K26", "k26", "K2A", "@00"}) {
        EXPECT_FALSE(isSquareCode(code)) << code;
    }
    for (const char* locator : {"KO24PQ", "AA00AA", "RR99XX"}) {
        EXPECT_TRUE(isWwlLocator(locator)) << locator;
    }
    for (const char* locator : {"SO24PQ", "KS24PQ", "KOA4PQ", "KO24YQ", "KO24PY", "ko24pq", "KO24P",
                                "KO24PQ ", "KO24PQA"}) {
        EXPECT_FALSE(isWwlLocator(locator)) << locator;
    }
}

}  // namespace
}  // namespace kem::maps
