#include "DecoderTrace.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "maps/Locator.h"

namespace kem::gps::test {

namespace {

constexpr std::int32_t kPeriod = 2;
constexpr char kSeparator = ',';

// Keeps the files readable and diffable: the Windows-1257 degree sign becomes \xB0.
void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
}

void AppendItem(std::string& line, std::string_view text) {
    line += " [";
    AppendEscaped(line, text);
    line += ']';
}

// The fix members in GpsFix order, with their names in the trace (NoFix is the one flag).
struct FixMember {
    FixField field;
    std::string_view name;
    std::string GpsFix::*text;
};
const FixMember kFixMembers[] = {
    {FixField::DateTime, "DateTime", &GpsFix::DateTimeText},
    {FixField::Speed, "Speed", &GpsFix::SpeedText},
    {FixField::Time, "Time", &GpsFix::TimeText},
    {FixField::Lat, "Lat", &GpsFix::LatText},
    {FixField::Long, "Long", &GpsFix::LongText},
    {FixField::Altitude, "Altitude", &GpsFix::AltitudeText},
    {FixField::Geoid, "Geoid", &GpsFix::GeoidText},
    {FixField::Sats, "Sats", &GpsFix::SatsText},
    {FixField::Mode, "Mode", &GpsFix::ModeText},
    {FixField::NoFix, "NoFix", nullptr},
    {FixField::LatRaw, "LatRaw", &GpsFix::LatRaw},
    {FixField::LongRaw, "LongRaw", &GpsFix::LongRaw},
};

void AppendFields(std::string& line, const GpsFix& fix, const FixFieldSet* only) {
    for (const FixMember& member : kFixMembers) {
        if (only == nullptr || only->Contains(member.field)) {
            line += ' ';
            line += member.name;
            AppendItem(line, member.text ? fix.*member.text : fix.NoFix ? "true" : "false");
        }
    }
}

}  // namespace

DecoderTrace::DecoderTrace() : m_decoder(*this) {
    m_text = "# Period " + std::to_string(kPeriod) + ", decimal separator '" + kSeparator +
             "', MLog and MAutoMap ticked, satellite window visible\n";
    m_decoder.SetPeriod(kPeriod);
    m_decoder.SetDecimalSeparator(kSeparator);
}

void DecoderTrace::Feed(std::string_view chunk) {
    m_decoder.Receive(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size());
}

std::string DecoderTrace::Text() const {
    std::string text = m_text;
    if (text.back() != '\n') {
        text += '\n';
    }
    text += "end";
    AppendFields(text, m_decoder.Fix(), nullptr);
    text += " CurrentSquare";
    AppendItem(text, m_decoder.CurrentSquare());
    text += " PendingLine";
    AppendItem(text, m_decoder.PendingLine());
    text += '\n';
    return text;
}

std::string& DecoderTrace::Line(std::string_view name) {
    m_openRow = 0;
    if (m_text.back() != '\n') {
        m_text += '\n';
    }
    m_text += name;
    return m_text;
}

std::string DecoderTrace::CalcKEM(const std::string& latRaw, const std::string& longRaw) {
    std::string& line = Line("CalcKEM");
    AppendItem(line, latRaw);
    AppendItem(line, longRaw);
    std::string code = maps::CalcKEM(latRaw, longRaw, kSeparator);
    line += " ->";
    AppendItem(line, code);
    return code;
}

void DecoderTrace::Beep() {
    Line("Beep");
}

void DecoderTrace::SaveMap(const std::string& square) {
    AppendItem(Line("SaveMap"), square);
}

void DecoderTrace::KEMSquare(const std::string& square) {
    AppendItem(Line("KEMSquare"), square);
}

void DecoderTrace::ToLog(const GpsFix& fix) {
    std::string& line = Line("ToLog");
    for (const std::string* text :
         {&fix.DateTimeText, &fix.LatText, &fix.LongText, &fix.AltitudeText, &fix.GeoidText}) {
        AppendItem(line, *text);
    }
}

void DecoderTrace::ToMap(const std::string& latRaw, const std::string& longRaw) {
    std::string& line = Line("ToMap");
    AppendItem(line, latRaw);
    AppendItem(line, longRaw);
}

void DecoderTrace::SetClipboardText(const std::string& text) {
    AppendItem(Line("SetClipboardText"), text);
}

void DecoderTrace::EchoLines(std::span<const std::string> lines) {
    m_echoed.insert(m_echoed.end(), lines.begin(), lines.end());
}

// The cells of a GSV block arrive one call each, Nr to S/N: they share one "row" line.
void DecoderTrace::SetSatelliteCell(int row, SatColumn column, const std::string& text) {
    const int index = static_cast<int>(column);
    if (row != m_openRow || index != m_nextColumn) {
        std::string& line = Line("row " + std::to_string(row));
        if (index != 0) {
            line += " col " + std::to_string(index);
        }
        m_openRow = row;
    }
    m_nextColumn = index + 1;
    AppendItem(m_text, text);
}

void DecoderTrace::ShowSats() {
    Line("ShowSats");
}

void DecoderTrace::FixChanged(const GpsFix& fix, FixFieldSet changed) {
    AppendFields(Line("fix"), fix, &changed);
}

void FeedByLine(DecoderTrace& trace, std::string_view log) {
    std::size_t pos = 0;
    while (pos < log.size()) {
        const auto cr = log.find('\r', pos);
        const std::size_t end = cr == std::string_view::npos ? log.size() : cr + 1;
        trace.Feed(log.substr(pos, end - pos));
        pos = end;
    }
}

std::vector<std::filesystem::path> ReceiverLogs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

std::filesystem::path ExpectedPath(const std::filesystem::path& log) {
    return std::filesystem::path(log).replace_extension(".expected");
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kem::gps::test
