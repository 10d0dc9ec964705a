#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "gps/NmeaDecoder.h"
#include "gps/SatelliteTable.h"

namespace {

using namespace kem::gps;

// The main window with its expensive work stubbed: the satellite window is open (its cells are
// stored), the text window is closed, the position step does nothing.
class StubHost : public DecoderHost {
public:
    bool AutoMapChecked() override { return false; }
    bool LogChecked() override { return false; }
    bool MemoVisible() override { return false; }
    bool SatWindowVisible() override { return true; }
    std::string CalcKEM(const std::string&, const std::string&) override { return "K25"; }
    void Beep() override {}
    void SaveMap(const std::string&) override {}
    void KEMSquare(const std::string&) override {}
    void ToLog(const GpsFix&) override {}
    void ToMap(const std::string&, const std::string&) override {}
    void SetClipboardText(const std::string&) override {}
    void EchoLines(std::span<const std::string>) override {}
    void ScrollMemoToCaret() override {}
    void SetSatelliteCell(int row, SatColumn column, const std::string& text) override {
        table.SetCell(row, column, text);
    }
    void ShowSats() override {}
    void FixChanged(const GpsFix& fix, FixFieldSet) override { benchmark::DoNotOptimize(&fix); }

    SatelliteTable table;
};

[[gnu::format(printf, 1, 2)]] std::string Sentence(const char* format, ...) {
    char body[128];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(body, sizeof body, format, args);
    va_end(args);
    unsigned sum = 0;
    for (const char* p = body; *p != '\0'; ++p) {
        sum ^= static_cast<unsigned char>(*p);
    }
    char line[160];
    std::snprintf(line, sizeof line, "$%s*%02X\r\n", body, sum);
    return line;
}

// One receiver second after another: RMC, GGA, GSA and a three-message GSV cycle.
std::string Stream(int seconds) {
    std::string out;
    for (int s = 0; s < seconds; ++s) {
        const int hh = 12 + s / 3600 % 12, mm = s / 60 % 60, ss = s % 60;
        const double lat = 4807.038 + s * 0.001, lon = 1131.0 + s * 0.002;
        out += Sentence("GPRMC,%02d%02d%02d,A,%.3f,N,%09.3f,E,%05.1f,084.4,230394,003.1,W", hh, mm,
                        ss, lat, lon, 22.4 + s % 7);
        out += Sentence("GPGGA,%02d%02d%02d,%.3f,N,%09.3f,E,1,08,0.9,%.1f,M,46.9,M,,", hh, mm, ss,
                        lat, lon, 545.4 + s % 10);
        out += Sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");
        out += Sentence("GPGSV,3,1,11,01,40,083,%02d,02,17,308,41,12,07,344,39,14,22,228,45",
                        40 + s % 9);
        out += Sentence("GPGSV,3,2,11,15,40,083,46,16,17,308,41,17,07,344,39,18,22,228,45");
        out += Sentence("GPGSV,3,3,11,19,40,083,46,20,17,308,41,21,07,344,39");
    }
    return out;
}

void BM_DecodeStream(benchmark::State& state) {
    const std::string stream = Stream(600);
    const auto chunk = static_cast<std::size_t>(state.range(0));
    StubHost host;
    NmeaDecoder decoder(host);
    decoder.SetDecimalSeparator(',');
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.data());
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
            decoder.Receive(bytes + pos, std::min(chunk, stream.size() - pos));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
// 24 bytes is one 50 ms poll at 4800 baud; 4096 a backlog read at once.
BENCHMARK(BM_DecodeStream)->Arg(24)->Arg(4096);

}  // namespace
