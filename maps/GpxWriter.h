#pragma once

#include <ostream>
#include <string_view>

#include "maps/LogLineReader.h"

namespace kem::maps {

// Writes a GPX 1.1 document to a stream as it goes: the waypoints first, then one track whose
// points are grouped into segments. Coordinates in degrees with eight decimals (about a
// millimetre), elevation in metres, time in UTC; a point without a date or a time has no time.
class GpxWriter {
public:
    // Writes the document's head, naming creator (UTF-8) as the program that made it.
    GpxWriter(std::ostream& out, std::string_view creator);

    // A waypoint named name (bytes outside printable ASCII are dropped) at point. Only before
    // the first Point.
    void Waypoint(std::string_view name, const LogLine& point);

    // A track point; newSegment closes the segment so far and starts another.
    void Point(const LogLine& point, bool newSegment);

    // Closes the track and the document.
    void Finish();

private:
    void Position(std::string_view element, const LogLine& point);
    void Number(double value, int decimals);

    std::ostream& m_out;
    bool m_inTrack = false;
};

}  // namespace kem::maps
