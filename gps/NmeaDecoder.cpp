#include "gps/NmeaDecoder.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/TextRules.h"
#include "gps/BaudHunt.h"

namespace kem::gps {

namespace {

constexpr char kDegree = '\xB0';  // Windows-1257

constexpr long double kKmPerKnot = 1.852L;

// Inserts c at a 0-based position, or at the end when the position lies past it.
void InsertAt(std::string& s, std::size_t pos, char c) {
    s.insert(std::min(pos, s.size()), 1, c);
}

// Seconds from the first two digits of a fraction of a minute: "5" reads as hundredths 50.
// Written with two digits; text that is not a number gives "00".
void AppendSeconds(std::string& out, std::string_view fraction, std::string_view padding) {
    std::string hundredths(fraction.substr(0, 2));
    hundredths += padding;
    hundredths.resize(2);
    const std::int32_t seconds = TextToInt(hundredths) * 60 / 100;
    if (seconds < 10) {
        out += '0';
    }
    out += std::to_string(seconds);
}

// Counters run from 0 to period - 1; with a period of 1 or less they stay at 0.
void Advance(std::int32_t& counter, std::int32_t period) {
    const std::int64_t next = std::int64_t{counter} + 1;
    counter = next >= period ? 0 : static_cast<std::int32_t>(next);
}

std::string_view BeforeStar(std::string_view line) {
    // A line without "*" has no complete sentence body and counts as empty.
    const auto star = line.find('*');
    return star == std::string_view::npos ? std::string_view() : line.substr(0, star);
}

}  // namespace

// "$" talker name ",", compared exactly.
const NmeaDecoder::SentenceRule NmeaDecoder::kSentenceRules[] = {
    {"RMC,", false, &NmeaDecoder::DecodeRmc},
    {"GGA,", false, &NmeaDecoder::DecodeGga},
    // A cycle of up to three messages. The table's rows follow the GPS cycle; other
    // constellations number their own cycles (GLGSV, GAGSV, ...) and would overwrite it.
    {"GSV,", true, &NmeaDecoder::DecodeGsv},
    {"GSA,", false, &NmeaDecoder::DecodeGsa},
};

NmeaDecoder::NmeaDecoder(DecoderHost& host) : m_host(host) {}

void NmeaDecoder::Receive(const std::uint8_t* data, std::size_t size) noexcept {
    if (m_running) {
        // Entered again from a nested event loop inside a host call (a report box during the
        // position step): the bytes wait here and the running call decodes them after its batch.
        m_deferred.append(reinterpret_cast<const char*>(data), size);
        return;
    }
    m_running = true;
    ReceiveChunk(data, size);
    while (!m_deferred.empty()) {
        std::string chunk;
        chunk.swap(m_deferred);
        ReceiveChunk(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size());
    }
    m_running = false;
}

void NmeaDecoder::ResetForConnect() {
    m_assembler.ClearPending();
    m_deferred.clear();  // bytes of the previous connection
    m_ggaTalker.clear();
    m_ggaTime.clear();
    m_rmcTalker.clear();
    m_rmcTime.clear();
    m_fixCounter = 0;
    m_currentSquare.clear();
}

void NmeaDecoder::ReceiveChunk(const std::uint8_t* data, std::size_t size) {
    if (m_assembler.Add(data, size) == 0) {
        return;
    }
    try {
        if (m_host.MemoVisible()) {
            m_host.EchoLines(m_assembler.Lines());
        }
    } catch (...) {
        // The echo is a view only; decoding goes on.
    }
    DecodeBatch();
    try {
        if (m_host.MemoVisible()) {
            m_host.ScrollMemoToCaret();
        }
    } catch (...) {
    }
}

void NmeaDecoder::DecodeBatch() {
    try {
        const auto lines = m_assembler.Lines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (m_assembler.IsCutPiece(i)) {
                continue;  // shown, but no sentence
            }
            const LineEnd end = DecodeLine(lines[i]);
            NotifyChanges();
            if (end == LineEnd::EndBatch) {
                break;
            }
        }
    } catch (...) {
        // Ends the batch silently; what was stored before the failure is still shown.
        try {
            NotifyChanges();
        } catch (...) {
        }
    }
}

NmeaDecoder::LineEnd NmeaDecoder::DecodeLine(std::string_view line) {
    if (line.size() < 3 || line.front() != '$') {
        return LineEnd::Next;
    }
    const std::string_view talker = line.substr(1, 2);
    const bool gps = talker == "GP";
    if (!gps && std::find(std::begin(kFixTalkers), std::end(kFixTalkers), talker) ==
                    std::end(kFixTalkers)) {
        return LineEnd::Next;
    }
    for (const SentenceRule& rule : kSentenceRules) {
        if (line.substr(3).starts_with(rule.name) && (gps || !rule.gpsOnly)) {
            return (this->*rule.decode)(line);
        }
    }
    return LineEnd::Next;
}

// RMC  1 time hhmmss  2 status  3-6 position (unused)  7 speed in knots  8 course  9 date ddmmyy
NmeaDecoder::LineEnd NmeaDecoder::DecodeRmc(std::string_view line) {
    m_fields.Split(line);
    if (m_fields.Count() < 10) {
        return LineEnd::EndBatch;
    }
    const std::string& date = m_fields.At(9);
    const std::string& time = m_fields.At(1);
    const std::string_view talker = line.substr(1, 2);
    if (m_fields.At(2) == "A") {
        m_rmcTalker = talker;
        m_rmcTime = time;
    } else if (!time.empty() && talker != m_rmcTalker && time == m_rmcTime) {
        // A void copy of the second another talker has given a fix for: that fix stays shown.
        return LineEnd::Next;
    }
    m_text.clear();
    if (date.size() == 6) {
        // Two-digit years: 90..99 are 1990..1999, the rest 2000..2089.
        m_text += date[4] == '9' ? "19" : "20";
        m_text.append(date, 4, 2).append(1, '.').append(date, 2, 2).append(1, '.');
        m_text.append(date, 0, 2);
    }
    // Receivers without a fix may send an empty date; the time is then shown alone, without the
    // blanks that separate it from a date. A time with decimals is not shown at all.
    if (time.size() == 6) {
        if (!m_text.empty()) {
            m_text += "  ";
        }
        m_text.append(time, 0, 2).append(1, ':').append(time, 2, 2).append(1, ':');
        m_text.append(time, 4, 2).append(" UTC");
    }
    Assign(m_fix.DateTimeText, FixField::DateTime, m_text);

    m_text = m_fields.At(7);
    SubstituteSeparator(m_text, m_decimalSeparator);
    const long double kmh = TextToFloat(m_text, m_decimalSeparator) * kKmPerKnot;
    // A speed beyond single precision is no number the receiver meant: it shows as 0.
    const float speed = std::fabs(kmh) <= FLT_MAX ? static_cast<float>(kmh) : 0.0f;
    Assign(m_fix.SpeedText, FixField::Speed, FormatOneDecimal(speed, m_decimalSeparator));
    return LineEnd::Next;
}

// GGA  1 time  2-3 latitude  4-5 longitude  6 quality  7 satellites used  8 HDOP
//      9-10 altitude and unit  11-12 geoid separation and unit  (13-14 DGPS: unused)
// The position step runs between the position and the altitude, so a log line it writes carries
// the altitude of the previous sentence.
//
// Multi-constellation receivers may send each fix twice, as "$GNGGA" and "$GPGGA" (the copy of a
// talker without the fix void): such a repeat is skipped whole (see IsRepeatedFix).
NmeaDecoder::LineEnd NmeaDecoder::DecodeGga(std::string_view line) {
    m_fields.Split(line);
    const std::string_view talker = line.substr(1, 2);
    if (IsRepeatedFix(talker, m_fields.At(1))) {
        return LineEnd::Next;
    }

    std::string_view time = m_fields.At(1);
    time = time.substr(0, 6);  // 123519.00 shows as 12:35:19
    if (time.size() == 6) {
        m_text.assign(time);
        m_text.insert(4, 1, ':').insert(2, 1, ':');
        Assign(m_fix.TimeText, FixField::Time, m_text);
    }
    DecodeLatitude();
    DecodeLongitude();

    if (!m_fix.LatRaw.empty() && !m_fix.LongRaw.empty()) {
        // Only an intact copy with a position of its own marks its fix as seen: a damaged one may
        // carry a wrong time, a void one (from a talker without the fix) carries none of it.
        if (HasValidChecksum(line) && !m_fields.At(2).empty() && !m_fields.At(4).empty()) {
            m_ggaTalker = talker;
            m_ggaTime = m_fields.At(1);
        }
        if (m_fixCounter == 0) {
            NotifyChanges();
            RunPositionStep();
        }
        Advance(m_fixCounter, m_period);
    }

    if (!m_fields.At(9).empty()) {
        DecodeHeight(9, m_fix.AltitudeText, FixField::Altitude);
        DecodeHeight(11, m_fix.GeoidText, FixField::Geoid);
    }

    m_text = m_fields.At(7);
    if (!m_text.empty() && m_text.front() == '0') {
        m_text.erase(0, 1);  // 08 gives 8, 00 gives 0
    }
    Assign(m_fix.SatsText, FixField::Sats, m_text);
    return LineEnd::Next;
}

// The fix of the last GGA that counted, sent again by another talker. Compared with that one and
// not with the GGA just before, so a frozen time cannot make the talkers take turns at being
// skipped. An empty time (receivers without a fix) names no fix, and one talker repeating itself
// counts each time, as a GPS receiver's sentences always did.
bool NmeaDecoder::IsRepeatedFix(std::string_view talker, const std::string& time) const {
    return !time.empty() && !m_ggaTalker.empty() && talker != m_ggaTalker && time == m_ggaTime;
}

// ddmm.mmmm: 4807.038 shows as 48°07' 01" N (seconds from the first two decimals of the minutes)
void NmeaDecoder::DecodeLatitude() {
    const std::string& field = m_fields.At(2);
    if (field.empty()) {
        return;
    }
    m_text = field;
    SubstituteSeparator(m_text, m_decimalSeparator);
    Assign(m_fix.LatRaw, FixField::LatRaw, m_text);

    m_text.assign(field, 0, 4);
    InsertAt(m_text, 2, kDegree);
    m_text += "' ";
    AppendSeconds(m_text, field.size() > 5 ? std::string_view(field).substr(5) : "", "00");
    m_text += "\" ";
    m_text += m_fields.At(3);
    Assign(m_fix.LatText, FixField::Lat, m_text);
}

// dddmm.mmmm: 01131.000 shows as 11°31' 00" E (only one leading zero goes: 5° shows as 05°)
void NmeaDecoder::DecodeLongitude() {
    const std::string& field = m_fields.At(4);
    if (field.empty()) {
        return;
    }
    m_text = field;
    SubstituteSeparator(m_text, m_decimalSeparator);
    Assign(m_fix.LongRaw, FixField::LongRaw, m_text);

    // A field without "." is taken as whole degrees and minutes with 00 seconds.
    const auto point = field.find('.');
    m_text.assign(field, 0, point);
    InsertAt(m_text, 3, kDegree);
    m_text += "' ";
    const std::string_view fraction =
        point == std::string::npos ? std::string_view() : std::string_view(field).substr(point + 1);
    AppendSeconds(m_text, fraction, "000");
    m_text += "\" ";
    m_text += m_fields.At(5);
    if (m_text.front() == '0') {
        m_text.erase(0, 1);
    }
    Assign(m_fix.LongText, FixField::Long, m_text);
}

// A value and its unit in the next field: "545.4,M" shows as "545,4 m".
void NmeaDecoder::DecodeHeight(std::size_t index, std::string& member, FixField field) {
    m_text = m_fields.At(index);
    SubstituteSeparator(m_text, m_decimalSeparator);
    m_text += ' ';
    const auto unit = m_text.size();
    m_text += m_fields.At(index + 1);
    LowerAscii(m_text, unit);
    Assign(member, field, m_text);
}

void NmeaDecoder::RunPositionStep() {
    const std::string code = m_host.CalcKEM(m_fix.LatRaw, m_fix.LongRaw);
    if (Trim(code) != Trim(m_currentSquare)) {
        m_host.Beep();
        if (m_host.AutoMapChecked() && !m_currentSquare.empty()) {
            m_host.SaveMap(m_currentSquare);
        }
        m_currentSquare = code;
        m_host.KEMSquare(m_currentSquare);
    }
    if (m_host.LogChecked()) {
        m_host.ToLog(m_fix);
    }
    m_host.ToMap(m_fix.LatRaw, m_fix.LongRaw);
    m_host.SetClipboardText(m_fix.LatRaw + ';' + m_fix.LongRaw);
}

// GSV  1 number of messages (unused)  2 message number  3 satellites in view
//      then per satellite (up to four): number, elevation, azimuth, signal-to-noise ratio
// Decoded only while the satellite window is visible. Message n fills rows 4n-3 to 4n; a
// sentence with fewer satellites leaves the other rows of its group as they were.
NmeaDecoder::LineEnd NmeaDecoder::DecodeGsv(std::string_view line) {
    if (!m_host.SatWindowVisible()) {
        return LineEnd::Next;
    }
    m_fields.Split(BeforeStar(line));
    if (m_fields.Count() < 3 || TextToInt(m_fields.At(3)) < 2) {
        return LineEnd::EndBatch;
    }
    if (IsOtherSignal()) {
        return LineEnd::Next;
    }
    const std::string& message = m_fields.At(2);
    // The table has rows for three messages (twelve satellites). Messages 4 and up, sent when
    // more are in view, and numbers written otherwise ("01") have no rows and are not shown.
    int baseRow = -1;
    if (message == "1") {
        baseRow = 0;
    } else if (message == "2") {
        baseRow = 4;
    } else if (message == "3") {
        baseRow = 8;
    }
    if (baseRow >= 0) {
        WriteSatelliteRows(baseRow);
    }
    if (message == "1") {
        if (m_satCycleCounter == 1) {
            m_host.ShowSats();
        }
        Advance(m_satCycleCounter, m_period);
    }
    return LineEnd::Next;
}

// NMEA 4.11 receivers send one GSV cycle per signal, each sentence ending in the signal id, one
// hex digit after the satellite blocks. The table and the sky-plot cadence follow GPS L1 C/A (id
// 1, which every GPS receiver tracks; 0 is "all signals"): the L2 and L5 cycles are skipped.
bool NmeaDecoder::IsOtherSignal() const {
    const std::size_t count = m_fields.Count();
    if (count < 5 || (count - 4) % 4 != 1) {
        return false;
    }
    const std::string& id = m_fields.At(count - 1);
    return id.size() == 1 && id != "0" && id != "1";
}

void NmeaDecoder::WriteSatelliteRows(int baseRow) {
    static constexpr const char* kSuffix[] = {"", "\xB0", "\xB0", " dB"};
    std::size_t last = m_fields.Count() - 1;
    // NMEA 4.10 receivers add a signal ID after the last block; blocks have four fields, so a
    // lone field after them is that ID and no satellite number.
    if ((m_fields.Count() - 4) % 4 == 1) {
        --last;
    }
    for (int k = 0; k < 4; ++k) {
        for (int column = 0; column < 4; ++column) {
            const std::size_t index = 4 + 4 * k + column;
            if (index > last) {
                return;
            }
            m_text = m_fields.At(index);
            if (!Trim(m_text).empty()) {
                m_text += kSuffix[column];
            }
            m_host.SetSatelliteCell(baseRow + 1 + k, static_cast<SatColumn>(column), m_text);
        }
    }
}

// GSA  1 selection mode  2 fix type: 1 none, 2 2D, 3 3D
NmeaDecoder::LineEnd NmeaDecoder::DecodeGsa(std::string_view line) {
    m_fields.Split(BeforeStar(line));
    const std::string& type = m_fields.At(2);
    if (type == "1") {
        Assign(m_fix.ModeText, FixField::Mode, std::string());
        Assign(m_fix.NoFix, FixField::NoFix, true);
        return LineEnd::Next;
    }
    Assign(m_fix.NoFix, FixField::NoFix, false);
    if (type == "2") {
        Assign(m_fix.ModeText, FixField::Mode, "2D");
    } else if (type == "3") {
        Assign(m_fix.ModeText, FixField::Mode, "3D");
    }
    return LineEnd::Next;
}

void NmeaDecoder::Assign(std::string& member, FixField field, const std::string& value) {
    if (member != value) {
        member = value;
        m_changed.Add(field);
    }
}

void NmeaDecoder::Assign(bool& member, FixField field, bool value) {
    if (member != value) {
        member = value;
        m_changed.Add(field);
    }
}

void NmeaDecoder::NotifyChanges() {
    if (m_changed.Empty()) {
        return;
    }
    const FixFieldSet changed = m_changed;
    m_changed.Clear();
    m_host.FixChanged(m_fix, changed);
}

}  // namespace kem::gps
