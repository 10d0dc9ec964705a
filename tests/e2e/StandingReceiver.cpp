#include "tests/e2e/StandingReceiver.h"

#include <algorithm>
#include <cstdio>

namespace kem::e2e {
namespace {

std::string framed(const std::string& body) {
    unsigned char sum = 0;
    for (char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

// The latitude field of second t: it creeps north a ten-thousandth of a minute a second, so
// that every fix differs.
std::string latitudeAt(const Place& place, int t, char separator = '.') {
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%04d", t);
    return place.latitude + separator + fraction;
}

}  // namespace

Place MiddleOf(const std::string& square) {
    const int row = square.at(0) - 'A';
    const int column = std::stoi(square.substr(1));
    const int latitude = 56 * 60 + 25 - 10 * row;  // minutes
    const int longitude = 20 * 60 + 55 + 10 * column;
    char lat[24];
    char lon[32];
    std::snprintf(lat, sizeof lat, "%02d%02d", latitude / 60, latitude % 60);
    std::snprintf(lon, sizeof lon, "%03d%02d.0000", longitude / 60, longitude % 60);
    return {lat, lon};
}

std::string standingAt(const std::vector<Place>& places, int seconds) {
    std::string nmea;
    int t = 0;
    for (const auto& place : places) {
        for (int k = 0; k < seconds; ++k, ++t) {
            char time[16];
            std::snprintf(time, sizeof time, "12%02d%02d", t / 60 % 60, t % 60);
            const std::string position = latitudeAt(place, t) + ",N," + place.longitude + ",E";
            nmea +=
                framed(std::string("GPRMC,") + time + ",A," + position + ",1.5,90.0,071226,,,A");
            nmea += framed(std::string("GPGGA,") + time + "," + position +
                           ",1,08,0.9,120.5,M,25.1,M,,");
        }
    }
    return nmea;
}

std::string clipboardAt(const Place& place, int t) {
    std::string lon = place.longitude;
    lon[lon.find('.')] = ',';
    return latitudeAt(place, t, ',') + ";" + lon;
}

bool wholeLine(const std::string& line) {
    return std::count(line.begin(), line.end(), '\t') == 4 &&
           line.find_first_of("\r\n") == std::string::npos;
}

}  // namespace kem::e2e
