#pragma once

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "gps/DecoderHost.h"
#include "gps/NmeaDecoder.h"
#include "gps/SatelliteTable.h"

namespace kem::gps::test {

// A main window stand-in: records every call of the position step, the echo and the sky plot as
// one text per call, keeps the satellite table, and can be told to throw from one call.
class RecordingHost : public DecoderHost {
public:
    bool autoMap = false;
    bool log = false;
    bool memoVisible = false;
    bool satVisible = false;
    std::string square = "K25";  // what CalcKEM returns
    std::string throwIn;         // name of the call that throws (e.g. "ToLog"), empty for none
    std::function<void()> onToMap;

    std::vector<std::string> calls;  // "CalcKEM 4807,038 01131,000", "Beep", ...
    std::vector<std::string> memo;   // echoed lines
    SatelliteTable table;
    std::vector<SatelliteTable> plotted;  // the table as each ShowSats saw it
    GpsFix shown;                         // the fix as the panels show it, updated from FixChanged
    std::vector<FixFieldSet> changes;

    bool AutoMapChecked() override { return autoMap; }
    bool LogChecked() override { return log; }
    bool MemoVisible() override { return memoVisible; }
    bool SatWindowVisible() override { return satVisible; }

    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override {
        Record("CalcKEM " + latRaw + " " + longRaw);
        return square;
    }
    void Beep() override { Record("Beep"); }
    void SaveMap(const std::string& s) override { Record("SaveMap " + s); }
    void KEMSquare(const std::string& s) override { Record("KEMSquare " + s); }
    void ToLog(const GpsFix& fix) override {
        Record("ToLog " + fix.TimeText + " " + fix.AltitudeText);
    }
    void ToMap(const std::string& latRaw, const std::string& longRaw) override {
        Record("ToMap " + latRaw + " " + longRaw);
        if (onToMap) {
            onToMap();
        }
    }
    void SetClipboardText(const std::string& text) override { Record("Clipboard " + text); }
    void EchoLines(std::span<const std::string> lines) override {
        memo.insert(memo.end(), lines.begin(), lines.end());
    }
    void ScrollMemoToCaret() override { calls.push_back("Scroll"); }
    void SetSatelliteCell(int row, SatColumn column, const std::string& text) override {
        table.SetCell(row, column, text);
    }
    void ShowSats() override {
        plotted.push_back(table);
        Record("ShowSats");
    }
    void FixChanged(const GpsFix& fix, FixFieldSet changed) override {
        shown = fix;
        changes.push_back(changed);
    }

    // Calls of the position step and the sky plot only (no echo scrolling).
    std::vector<std::string> StepCalls() const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c != "Scroll") {
                out.push_back(c);
            }
        }
        return out;
    }

private:
    void Record(const std::string& call) {
        calls.push_back(call);
        if (!throwIn.empty() && call.starts_with(throwIn)) {
            throw std::runtime_error("Unable to write to Log.txt");
        }
    }
};

// "GPGGA,..." -> "$GPGGA,...*hh" with the NMEA checksum (XOR of the bytes between "$" and "*").
inline std::string WithChecksum(const std::string& body) {
    unsigned sum = 0;
    for (unsigned char c : body) {
        sum ^= c;
    }
    static const char kHex[] = "0123456789ABCDEF";
    return "$" + body + "*" + kHex[(sum >> 4) & 0xF] + kHex[sum & 0xF];
}

inline void Feed(NmeaDecoder& decoder, const std::string& bytes) {
    decoder.Receive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Each line ended by CR LF, all in one chunk.
inline void FeedLines(NmeaDecoder& decoder, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& l : lines) {
        bytes += l + "\r\n";
    }
    Feed(decoder, bytes);
}

}  // namespace kem::gps::test
