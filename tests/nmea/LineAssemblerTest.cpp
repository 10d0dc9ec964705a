#include "gps/LineAssembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kem::gps {
namespace {

std::vector<std::string> AddText(LineAssembler& a, const std::string& text) {
    const auto n = a.Add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    const auto lines = a.Lines();
    EXPECT_EQ(lines.size(), n);
    return {lines.begin(), lines.end()};
}

using Lines = std::vector<std::string>;

TEST(LineAssembler, LineEndsAndNulBytesGiveTheSameLines) {
    for (const std::string& input :
         {std::string("$A,1\r\n$B,2\r\ntail"), std::string("$A,1\n\r$B,2\n\rtail"),
          std::string("$A,1\r$B,2\rtail"), std::string("$A\0,1\r\0\n$B,2\r\0tail\0", 20)}) {
        LineAssembler a;
        EXPECT_EQ(AddText(a, input), (Lines{"$A,1", "$B,2"}));
        EXPECT_EQ(a.PendingLine(), "tail");
    }
}

TEST(LineAssembler, OnlyCarriageReturnEndsALine) {
    LineAssembler a;
    EXPECT_EQ(AddText(a, "$A,1\n$B,2\n"), Lines{});
    EXPECT_EQ(AddText(a, "\r\r"), (Lines{"$A,1$B,2", ""}));  // two CRs: an empty line
    EXPECT_EQ(a.PendingLine(), "");
}

TEST(LineAssembler, ASentenceSplitOverChunksIsCompletedOnce) {
    LineAssembler a;
    EXPECT_EQ(AddText(a, "$GP"), Lines{});
    EXPECT_EQ(AddText(a, std::string("\0\0", 2)), Lines{});
    EXPECT_EQ(AddText(a, "GGA,1"), Lines{});
    EXPECT_EQ(AddText(a, "\r\n$GPR"), Lines{"$GPGGA,1"});
    EXPECT_EQ(AddText(a, "MC\r"), Lines{"$GPRMC"});
    a.ClearPending();
    EXPECT_EQ(AddText(a, "x"), Lines{});
    EXPECT_EQ(a.PendingLine(), "x");
}

TEST(LineAssembler, TextRunningPastTwiceTheLongestSentenceIsCutIntoPieces) {
    LineAssembler a;
    const std::string piece(164, 'j');  // twice NMEA's 82 characters
    EXPECT_EQ(AddText(a, piece), Lines{});
    EXPECT_EQ(AddText(a, "\n" + piece + "jjj$GPGGA,1\r"), (Lines{piece, piece, "jjj$GPGGA,1"}));
    EXPECT_TRUE(a.IsCutPiece(0));
    EXPECT_TRUE(a.IsCutPiece(1));
    EXPECT_FALSE(a.IsCutPiece(2));
    EXPECT_EQ(AddText(a, std::string(164, 'x') + "\r"), Lines{std::string(164, 'x')});
    EXPECT_FALSE(a.IsCutPiece(0));
}

}  // namespace
}  // namespace kem::gps
