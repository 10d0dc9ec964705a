#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "gps/DecoderHost.h"
#include "gps/NmeaDecoder.h"

namespace kem::gps::test {

// What the decoder makes of a byte stream, as readable text: one line per host call, in call
// order, then the final state; texts in [...], bytes outside printable ASCII as \xHH. The receiver
// logs' expected files hold this text (nmea_golden writes them, ReceiverLogTest compares with
// them); tests/data/nmea/README.md describes the line forms.
//
// The settings are fixed so the text depends on the decoder and the square arithmetic only:
// Period 2 (a position step every second position sentence, a sky plot every second GSV cycle),
// decimal separator ',', MLog and MAutoMap ticked, the satellite window visible, squares from the
// real CalcKEM. The text window is visible too; what it is sent is kept apart (Echoed), because
// its batches follow the chunking.
class DecoderTrace : private DecoderHost {
public:
    DecoderTrace();

    void Feed(std::string_view chunk);
    std::string Text() const;
    const std::vector<std::string>& Echoed() const { return m_echoed; }

private:
    bool AutoMapChecked() override { return true; }
    bool LogChecked() override { return true; }
    bool MemoVisible() override { return true; }
    bool SatWindowVisible() override { return true; }
    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override;
    void Beep() override;
    void SaveMap(const std::string& square) override;
    void KEMSquare(const std::string& square) override;
    void ToLog(const GpsFix& fix) override;
    void ToMap(const std::string& latRaw, const std::string& longRaw) override;
    void SetClipboardText(const std::string& text) override;
    void EchoLines(std::span<const std::string> lines) override;
    void ScrollMemoToCaret() override {}
    void SetSatelliteCell(int row, SatColumn column, const std::string& text) override;
    void ShowSats() override;
    void FixChanged(const GpsFix& fix, FixFieldSet changed) override;

    // Starts a new line with the call's name; the texts follow as [...] items.
    std::string& Line(std::string_view name);

    NmeaDecoder m_decoder;
    std::string m_text;
    std::vector<std::string> m_echoed;
    // The satellite row whose cells the last line holds, and the column it expects next.
    int m_openRow = 0;
    int m_nextColumn = 0;
};

// Feeds a whole log one line (up to and including its carriage return) per chunk; the trace is
// then the content of the log's expected file.
void FeedByLine(DecoderTrace& trace, std::string_view log);

// The receiver logs (*.log) of a folder, sorted, and the expected file beside a log.
std::vector<std::filesystem::path> ReceiverLogs(const std::filesystem::path& folder);
std::filesystem::path ExpectedPath(const std::filesystem::path& log);

// A whole file as bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace kem::gps::test
