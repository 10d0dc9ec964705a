// The satellite window's plot from its table, and the decoder's cadence into the real window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <cstdio>

#include "base/ui/Cp1257.h"
#include "gps/NmeaDecoder.h"
#include "sats/TFormSat.h"

namespace kem {
namespace {

struct Application {
    Application() {
        static int argc = 1;
        static char name[] = "sats-test";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
};

// The main window's side of the decoder, reduced to the satellite window.
class SatelliteHost : public gps::DecoderHost {
public:
    explicit SatelliteHost(TFormSat& window) : m_window(window) {}

    bool SatWindowVisible() override { return m_window.isVisible(); }
    void SetSatelliteCell(int row, gps::SatColumn column, const std::string& text) override {
        m_window.setCell(row, static_cast<int>(column), fromCp1257(text));
    }
    void ShowSats() override { m_window.ShowSats(); }

    bool AutoMapChecked() override { return false; }
    bool LogChecked() override { return false; }
    bool MemoVisible() override { return false; }
    std::string CalcKEM(const std::string&, const std::string&) override { return "K25"; }
    void Beep() override {}
    void SaveMap(const std::string&) override {}
    void KEMSquare(const std::string&) override {}
    void ToLog(const gps::GpsFix&) override {}
    void ToMap(const std::string&, const std::string&) override {}
    void SetClipboardText(const std::string&) override {}
    void EchoLines(std::span<const std::string>) override {}
    void ScrollMemoToCaret() override {}
    void FixChanged(const gps::GpsFix&, gps::FixFieldSet) override {}

private:
    TFormSat& m_window;
};

class SatWindow : public ::testing::Test, Application {
protected:
    TFormSat window;
    QImage grid;

    SatWindow() {
        window.show();
        grid = plot();
    }

    QImage plot() const {
        return window.findChild<QLabel*>(QStringLiteral("Image1"))
            ->pixmap()
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    void fillRow(int row, const char* nr, const char* elevation, const char* azimuth,
                 const char* snr) {
        const char* cells[] = {nr, elevation, azimuth, snr};
        for (int column = 0; column < 4; ++column) {
            window.setCell(row, column, QString::fromUtf8(cells[column]));
        }
    }

    // Along the dot's middle row and column: the first pixel outside as on the empty grid, the
    // outline, four pixels of fill, the outline, the first pixel outside. Pixels off the picture
    // (a dot on the rim is cut) are skipped.
    void expectDot(const QImage& picture, sats::PlotPoint at, QRgb brush, QRgb pen) const {
        for (int d = -4; d <= 3; ++d) {
            for (const auto& [x, y] : {std::pair{at.x + d, at.y}, std::pair{at.x, at.y + d}}) {
                if (!picture.valid(x, y)) {
                    continue;
                }
                const QRgb want = d == -4 || d == 3   ? grid.pixel(x, y)
                                  : d == -3 || d == 2 ? pen
                                                      : brush;
                EXPECT_EQ(picture.pixel(x, y), want) << "at " << x << ", " << y;
            }
        }
    }
};

constexpr QRgb kNavy = 0xFF000080;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST_F(SatWindow, PlotsRowsUpToAnIncompleteOneAndKeepsTheTable) {
    struct Row {
        const char* nr;
        const char* elevation;
        const char* azimuth;
        const char* snr;
        sats::PlotPoint at;
        QRgb brush;
        QRgb pen;
    };
    const Row rows[] = {
        {"01", "90°", "123°", "09 dB", {135, 135}, kNavy, kSilver},
        {"02", "00°", "090°", "10 dB", {270, 135}, 0xFF800080, kWhite},
        {"03", "45°", "045°", "29 dB", {182, 88}, 0xFF00FF00, kWhite},
        {"04", "60°", "180°", "40 dB", {135, 180}, 0xFFFFFF00, kWhite},
        {"05", "30°", "270°", "41 dB", {45, 135}, 0xFFFF0000, kWhite},
        {"06", "5°", "45°", "", {135, 0}, kNavy, kSilver},  // read as elevation 0, azimuth 0
    };
    int row = 0;
    for (const Row& r : rows) {
        fillRow(++row, r.nr, r.elevation, r.azimuth, r.snr);
    }
    fillRow(7, "07", "20°", "", "33 dB");
    fillRow(8, "08", "20°", "300°", "33 dB");

    window.ShowSats();
    const QImage picture = plot();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.nr);
        expectDot(picture, r.at, r.brush, r.pen);
    }
    const sats::PlotPoint row8 = sats::skyPoint(20, 300);
    EXPECT_EQ(picture.pixel(row8.x, row8.y), grid.pixel(row8.x, row8.y)) << "row 8 is not plotted";
    EXPECT_EQ(window.cell(1, 3), "09 dB");
    EXPECT_EQ(window.cell(8, 2), "300°");
}

TEST_F(SatWindow, TwelveCompleteRowsArePlottedThenEmptied) {
    for (int row = 1; row <= 12; ++row) {
        char azimuth[8];
        std::snprintf(azimuth, sizeof azimuth, "%03d°", 30 * (row - 1));
        fillRow(row, "10", "45°", azimuth, "35 dB");
    }
    window.ShowSats();
    const QImage picture = plot();
    for (int row = 1; row <= 12; ++row) {
        const sats::PlotPoint at = sats::skyPoint(45, 30 * (row - 1));
        EXPECT_EQ(picture.pixel(at.x, at.y), 0xFFFFFF00) << "row " << row;
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(window.cell(row, column), "") << row << ", " << column;
        }
    }
    EXPECT_EQ(window.cell(0, 2), "Azimutas");
}

// One GSV cycle of ten satellites; their azimuths turn 10 degrees a cycle so every plot adds new
// dots.
void feedCycle(gps::NmeaDecoder& decoder, int cycle) {
    std::string bytes;
    int satellite = 0;
    for (int message = 1; message <= 3; ++message) {
        bytes += "$GPGSV,3," + std::to_string(message) + ",10";
        for (int k = 0; k < 4 && satellite < 10; ++k, ++satellite) {
            char block[32];
            std::snprintf(block, sizeof block, ",%02d,40,%03d,35", satellite + 1,
                          (cycle * 10 + satellite * 36) % 360);
            bytes += block;
        }
        bytes += "*00\r\n";
    }
    decoder.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

TEST_F(SatWindow, DecoderPlotsOnTheSecondCycleThenEveryPeriodWhileVisible) {
    SatelliteHost host(window);
    gps::NmeaDecoder decoder(host);
    QObject::connect(&window, &TFormSat::cleared, [&decoder] { decoder.ResetSatCycle(); });
    int cycle = 0;
    auto cyclesWithDots = [&](int count) {
        std::vector<int> plotted;
        for (int n = 1; n <= count; ++n) {
            const QImage before = plot();
            feedCycle(decoder, ++cycle);
            if (plot() != before) {
                plotted.push_back(n);
            }
        }
        return plotted;
    };

    EXPECT_EQ(cyclesWithDots(33), (std::vector<int>{2, 17, 32}));
    window.findChild<QToolButton*>(QStringLiteral("btClear"))->click();
    EXPECT_EQ(plot(), grid);
    EXPECT_EQ(cyclesWithDots(3), (std::vector<int>{2}));

    decoder.SetPeriod(1);
    EXPECT_EQ(cyclesWithDots(5), (std::vector<int>{}));

    decoder.SetPeriod(15);
    window.hide();
    window.findChild<QToolButton*>(QStringLiteral("btClear"))->click();
    EXPECT_EQ(cyclesWithDots(3), (std::vector<int>{}));
    EXPECT_EQ(window.cell(1, 0), "") << "hidden: the table stays as it was";
    EXPECT_EQ(decoder.SatCycleCounter(), 0);
}

}  // namespace
}  // namespace kem
