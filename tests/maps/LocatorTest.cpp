#include "maps/Locator.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kem::maps {
namespace {

struct TypedCase {
    const char* latDeg;
    const char* latMin;
    const char* latSec;
    const char* lonDeg;
    const char* lonMin;
    const char* lonSec;
    const char* square;
    const char* locator;
};

// Positions on and near band boundaries, where single-precision storage and truncation decide.
TEST(Locator, TypedPositions) {
    const TypedCase cases[] = {
        {"54", "41", "07", "25", "19", "33", "K26", "KO24PQ"},
        // 54°40' is 54.666668 in single precision: north of the boundary, letter K not L.
        {"54", "40", "00", "25", "00", "00", "K25", "KO24MQ"},
        // 25°10' is 25.166666: west of the boundary, number 25 not 26.
        {"54", "40", "00", "25", "10", "00", "K25", "KO24OQ"},
        // Truncation toward zero widens the first band northwards and westwards.
        {"56", "35", "00", "20", "45", "00", "A00", "KO06JN"},
        {"56", "45", "00", "20", "35", "00", "@-1", "KO06GS"},
        // Blanks around typed numbers are ignored.
        {" 54 ", "41", "7", "25", "19", "33", "K26", "KO24PQ"},
    };
    for (const auto& c : cases) {
        const LatLong p =
            LatLongFromTyped(c.latDeg, c.latMin, c.latSec, c.lonDeg, c.lonMin, c.lonSec);
        EXPECT_EQ(SquareCode(p, BandNumber::Whole), c.square) << c.square;
        EXPECT_EQ(WwlLocator(p), c.locator) << c.locator;
    }
}

TEST(Locator, EmptyFieldsGiveTheOriginLocator) {
    const LatLong p = LatLongFromTyped("", "", "", "", "", "");
    EXPECT_EQ(WwlLocator(p), "JJ00AA");
    // Far outside the grid the letter runs past the alphabet and the number is negative.
    EXPECT_EQ(SquareCode(p, BandNumber::Whole), "\x94-125");
    EXPECT_EQ(WwlLocator(LatLongFromTyped("x", "y", "z", "1", "2", "3")), "JJ00MA");
}

TEST(CalcKEM, ReceiverTexts) {
    EXPECT_EQ(CalcKEM("5441.1234", "02519.5678", '.'), "K26");
    EXPECT_EQ(CalcKEM("5441,1234", "02519,5678", ','), "K26");
    EXPECT_EQ(CalcKEM("5400.0000", "02100.0000", '.'), "P01");
    EXPECT_EQ(CalcKEM("5630.0000", "02050.0000", '.'), "A00");
    // West of the grid the number keeps its low 8 bits: -1 is written 255.
    EXPECT_EQ(CalcKEM("5645.0000", "02035.0000", '.'), "@255");
}

TEST(CalcKEM, MalformedTextsCountAsZeroOrFail) {
    // Minutes that do not parse under the separator count as 0: 54°00', 25°00'.
    EXPECT_EQ(CalcKEM("5441.1234", "02519.5678", ','), "P25");
    // Degrees that are not a number count as 0; so does a missing field.
    EXPECT_EQ(CalcKEM("x441.1234", "02519.5678", '.'), CalcKEM("0041.1234", "02519.5678", '.'));
    EXPECT_EQ(CalcKEM("", "", '.'), CalcKEM("0000", "00000", '.'));
    EXPECT_EQ(CalcKEM("54", "025", '.'), "P25");
    // A garbled field too large for the arithmetic fails instead of giving a square.
    EXPECT_THROW(CalcKEM("541e30", "02519.5678", '.'), std::range_error);
    EXPECT_THROW(CalcKEM("5441.1234", "0251e300", '.'), std::range_error);
}

TEST(SquareCode, ControlCharactersAroundTheCodeAreTrimmed) {
    // Latitude 56.5 + 33/6 degrees gives letter index -33: code 32, a blank, which is trimmed.
    const LatLong p{62.0f, 25.0f};
    EXPECT_EQ(SquareCode(p, BandNumber::Whole), "25");
    EXPECT_THROW(SquareCode({1e30f, 0.0f}, BandNumber::LowByte), std::range_error);
}

}  // namespace
}  // namespace kem::maps
