#include "maps/GpxWriter.h"

#include <array>
#include <charconv>

namespace kem::maps {
namespace {

constexpr int kDegreeDecimals = 8;
constexpr int kMetreDecimals = 3;

void TwoDigits(std::ostream& out, int value) {
    const char digits[] = {static_cast<char>('0' + value / 10 % 10),
                           static_cast<char>('0' + value % 10)};
    out.write(digits, 2);
}

// 1994-03-23T12:35:19Z
void Time(std::ostream& out, const LogDate& date, const LogTime& time) {
    out << "<time>";
    TwoDigits(out, date.year / 100);
    TwoDigits(out, date.year);
    out.put('-');
    TwoDigits(out, date.month);
    out.put('-');
    TwoDigits(out, date.day);
    out.put('T');
    TwoDigits(out, time.hour);
    out.put(':');
    TwoDigits(out, time.minute);
    out.put(':');
    TwoDigits(out, time.second);
    out << "Z</time>";
}

}  // namespace

GpxWriter::GpxWriter(std::ostream& out, std::string_view creator) : m_out(out) {
    m_out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<gpx version=\"1.1\" creator=\""
          << creator
          << "\" xmlns=\"http://www.topografix.com/GPX/1/1\""
             " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
             " xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1"
             " http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
}

void GpxWriter::Waypoint(std::string_view name, const LogLine& point) {
    Position("wpt", point);
    m_out << "<name>";
    for (const char c : name) {
        // Square codes are letters and digits; anything else could break the document.
        if (c > ' ' && c < 0x7F && c != '<' && c != '>' && c != '&') {
            m_out.put(c);
        }
    }
    m_out << "</name></wpt>\n";
}

void GpxWriter::Point(const LogLine& point, bool newSegment) {
    if (!m_inTrack) {
        m_out << "<trk><name>Log.txt</name><trkseg>\n";
        m_inTrack = true;
    } else if (newSegment) {
        m_out << "</trkseg><trkseg>\n";
    }
    Position("trkpt", point);
    m_out << "</trkpt>\n";
}

void GpxWriter::Finish() {
    if (m_inTrack) {
        m_out << "</trkseg></trk>\n";
    }
    m_out << "</gpx>\n";
}

// The opening element with its coordinates, then elevation and time.
void GpxWriter::Position(std::string_view element, const LogLine& point) {
    m_out << '<' << element << " lat=\"";
    Number(point.latitude, kDegreeDecimals);
    m_out << "\" lon=\"";
    Number(point.longitude, kDegreeDecimals);
    m_out << "\">";
    if (point.altitude) {
        m_out << "<ele>";
        Number(*point.altitude, kMetreDecimals);
        m_out << "</ele>";
    }
    if (point.date && point.time) {
        Time(m_out, *point.date, *point.time);
    }
}

// Fixed notation without trailing zeros: 545.4, 48.11694444, -12.
void GpxWriter::Number(double value, int decimals) {
    std::array<char, 400> text;  // the longest double in fixed notation
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    const char* last = end;
    while (last[-1] == '0') {
        --last;
    }
    if (last[-1] == '.') {
        --last;
    }
    if (last - text.data() == 2 && text[0] == '-' && text[1] == '0') {
        m_out.put('0');  // -0.0001 m rounds to "-0"
        return;
    }
    m_out.write(text.data(), last - text.data());
}

}  // namespace kem::maps
