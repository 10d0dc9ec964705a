// What every window shares: the display code page and the standard error box's text.
#include <gtest/gtest.h>

#include "base/ui/Cp1257.h"
#include "base/ui/ErrorBox.h"

namespace kem {
namespace {

TEST(Cp1257, BalticLettersAndTheDegreeSign) {
    EXPECT_EQ(fromCp1257("48\xB0"
                         "07'"),
              QString::fromUtf8("48°07'"));
    EXPECT_EQ(fromCp1257("\xC0\xE0\xC8\xE8\xD0\xF0\xDE\xFE\xEB\xFB"),
              QString::fromUtf8("ĄąČčŠšŽžėū"));
    EXPECT_EQ(fromCp1257("\x81"), QString(QChar(0xFFFD)));
    EXPECT_EQ(fromCp1257(std::string_view("a\0b", 3)).size(), 3);

    std::string all;
    for (int b = 0x20; b < 0x100; ++b) {
        if (fromCp1257(std::string(1, static_cast<char>(b))) != QString(QChar(0xFFFD))) {
            all.push_back(static_cast<char>(b));
        }
    }
    EXPECT_EQ(toCp1257(fromCp1257(all)), all);
    EXPECT_EQ(toCp1257(QString::fromUtf8("Ω")), "?");
}

TEST(ErrorBox, FullStopOnlyAfterALetterOrDigit) {
    EXPECT_EQ(errorBoxText("Unable to write to /x/KEMGPS.ini"),
              "Unable to write to /x/KEMGPS.ini.");
    EXPECT_EQ(errorBoxText("Disk full 3"), "Disk full 3.");
    EXPECT_EQ(errorBoxText("Already said."), "Already said.");
    EXPECT_EQ(errorBoxText("What?"), "What?");
    EXPECT_EQ(errorBoxText("Įrašyti ž"), QString::fromUtf8("Įrašyti ž."));
    EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace kem
