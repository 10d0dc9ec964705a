#include <gtest/gtest.h>

#include "RecordingHost.h"

namespace kem::gps::test {
namespace {

class Satellites : public ::testing::Test {
protected:
    RecordingHost host;
    NmeaDecoder decoder{host};

    Satellites() { host.satVisible = true; }

    void Gsv(const std::string& body) { Feed(decoder, WithChecksum("GPGSV," + body) + "\r\n"); }
    std::string Nr(int row) const { return host.table.Cell(row, SatColumn::Nr); }
    int Plots() const {
        return static_cast<int>(std::count(host.calls.begin(), host.calls.end(), "ShowSats"));
    }
    // One full cycle of three messages.
    void Cycle() {
        Gsv("3,1,10,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");
        Gsv("3,2,10,15,40,083,46,16,17,308,41,17,07,344,39,18,22,228,45");
        Gsv("3,3,10,19,40,083,46,20,17,308,41");
    }
};

TEST_F(Satellites, MessagesFillTheirRowGroupAndLeaveTheRest) {
    for (int row = 1; row <= 12; ++row) {
        host.table.SetCell(row, SatColumn::Nr, "old");
    }
    Gsv("3,2,10,15,40,083,46,16,17,308,41,17,07,344,39,18,22,228,45");
    Gsv("3,3,10,19,40,083,46,20,,,");
    const char* const want[] = {"old", "old", "old", "old", "15",  "16",
                                "17",  "18",  "19",  "20",  "old", "old"};
    for (int row = 1; row <= 12; ++row) {
        EXPECT_EQ(Nr(row), want[row - 1]) << "row " << row;
    }
    // Blank fields get no unit.
    EXPECT_EQ(host.table.Cell(10, SatColumn::Elevation), "");
    EXPECT_EQ(host.table.Cell(10, SatColumn::Snr), "");
    EXPECT_EQ(host.table.Cell(9, SatColumn::Azimuth), "083\xB0");
}

TEST_F(Satellites, ACutShortBlockWritesOnlyTheCellsItHas) {
    host.table.SetCell(2, SatColumn::Azimuth, "old");
    Gsv("1,1,05,01,40,083,46,02,17");
    EXPECT_EQ(host.table.Cell(2, SatColumn::Elevation), "17\xB0");
    EXPECT_EQ(host.table.Cell(2, SatColumn::Azimuth), "old");
}

TEST_F(Satellites, MessagesWithoutRowsWriteNothing) {
    Gsv("4,4,14,30,12,070,25");  // a fourth message (more than 12 in view)
    Gsv("3,01,10,31,12,070,25");
    for (int row = 1; row <= 12; ++row) {
        EXPECT_EQ(Nr(row), "") << "row " << row;
    }
    EXPECT_EQ(decoder.SatCycleCounter(), 0);
}

TEST_F(Satellites, TrailingSignalIdIsNotASatellite) {
    // NMEA 4.10 adds a signal ID after the last block.
    host.table.SetCell(10, SatColumn::Nr, "old");
    Gsv("3,3,09,30,12,070,25,1");
    EXPECT_EQ(Nr(9), "30");
    EXPECT_EQ(Nr(10), "old");
    Gsv("1,1,04,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45,1");
    EXPECT_EQ(Nr(4), "14");
    EXPECT_EQ(host.table.Cell(4, SatColumn::Snr), "45 dB");
}

TEST_F(Satellites, ADualBandReceiverIsShownAndPacedByItsL1Cycle) {
    // NMEA 4.11: one cycle per signal, L1 C/A (1) and then L5 (7) with lower ratios.
    Gsv("1,1,02,01,40,083,46,02,17,308,41,1");
    Gsv("1,1,02,01,40,083,31,02,17,308,22,7");
    EXPECT_EQ(host.table.Cell(1, SatColumn::Snr), "46 dB");
    EXPECT_EQ(host.table.Cell(2, SatColumn::Snr), "41 dB");
    EXPECT_EQ(decoder.SatCycleCounter(), 1);
}

TEST_F(Satellites, SkyPlotOnTheSecondCycleThenEveryPeriod) {
    std::vector<int> plotted;
    for (int cycle = 1; cycle <= 33; ++cycle) {
        const int before = Plots();
        Cycle();
        if (Plots() > before) {
            plotted.push_back(cycle);
        }
    }
    EXPECT_EQ(plotted, (std::vector<int>{2, 17, 32}));
}

TEST_F(Satellites, SkyPlotSeesTheNewFirstMessageAndTheOldRest) {
    Cycle();
    Gsv("3,1,10,21,40,083,46,22,17,308,41,23,07,344,39,24,22,228,45");
    ASSERT_EQ(host.plotted.size(), 1u);
    EXPECT_EQ(host.plotted[0].Cell(4, SatColumn::Nr), "24");
    EXPECT_EQ(host.plotted[0].Cell(5, SatColumn::Nr), "15");
}

TEST_F(Satellites, NoSkyPlotWithPeriodOneOrAfterAReset) {
    decoder.SetPeriod(1);
    for (int i = 0; i < 5; ++i) {
        Cycle();
    }
    EXPECT_EQ(Plots(), 0);
    decoder.SetPeriod(15);
    Cycle();                  // counter 0 -> 1
    decoder.ResetSatCycle();  // the window was cleared
    Cycle();
    EXPECT_EQ(Plots(), 0);
    Cycle();
    EXPECT_EQ(Plots(), 1);
}

TEST_F(Satellites, HiddenWindowIgnoresGsvEntirely) {
    host.satVisible = false;
    Cycle();
    FeedLines(decoder, {WithChecksum("GPGSV,1,1,00"), WithChecksum("GPGSA,A,3,04")});
    EXPECT_EQ(Nr(1), "");
    EXPECT_EQ(decoder.SatCycleCounter(), 0);
    EXPECT_EQ(decoder.Fix().ModeText, "3D");  // a GSV with 0 in view did not end the batch
}

}  // namespace
}  // namespace kem::gps::test
