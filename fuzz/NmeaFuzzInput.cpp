#include "fuzz/NmeaFuzzInput.h"

#include <algorithm>
#include <stdexcept>

#include "gps/DecoderHost.h"
#include "gps/NmeaDecoder.h"

namespace kem::gps::fuzz {
namespace {

// Everything on; the position step's square is that of a fixed place, the rest is dropped.
class OpenHost : public DecoderHost {
public:
    bool AutoMapChecked() override { return true; }
    bool LogChecked() override { return true; }
    bool MemoVisible() override { return true; }
    bool SatWindowVisible() override { return true; }
    std::string CalcKEM(const std::string& latRaw, const std::string& longRaw) override {
        // A host may refuse a position it cannot place; the decoder must survive that.
        if (latRaw.empty() || longRaw.empty()) {
            throw std::runtime_error("no position");
        }
        return "A00";
    }
    void Beep() override {}
    void SaveMap(const std::string&) override {}
    void KEMSquare(const std::string&) override {}
    void ToLog(const GpsFix&) override {}
    void ToMap(const std::string&, const std::string&) override {}
    void SetClipboardText(const std::string&) override {}
    void EchoLines(std::span<const std::string>) override {}
    void ScrollMemoToCaret() override {}
    void SetSatelliteCell(int, SatColumn, const std::string&) override {}
    void ShowSats() override {}
    void FixChanged(const GpsFix&, FixFieldSet) override {}
};

}  // namespace

void DecodeInChunks(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    OpenHost host;
    NmeaDecoder decoder(host);
    decoder.SetPeriod(1 + data[0] % 3);
    // The first byte bounds the chunks; each chunk's size comes from the byte before it.
    const std::size_t most = 1 + data[0];
    std::size_t at = 1;
    while (at < size) {
        const std::size_t chunk = std::min<std::size_t>(size - at, 1 + data[at - 1] % most);
        decoder.Receive(data + at, chunk);
        at += chunk;
    }
}

}  // namespace kem::gps::fuzz
