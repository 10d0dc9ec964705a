#include "tools/kemsim/Route.h"

#include <array>
#include <cmath>
#include <numbers>

namespace kem::kemsim {

namespace {

struct Waypoint {
    double lat;
    double lon;
};

constexpr std::array<Waypoint, 7> kRoute = {{
    {56.0 + 29.5 / 60, 20.0 + 51.0 / 60},  // at sea, just inside the grid's north-west corner
    {56.27, 21.53},                        // Skuodas
    {55.98, 22.25},                        // Telšiai
    {55.93, 23.31},                        // Šiauliai
    {55.73, 24.36},                        // Panevėžys
    {55.25, 24.75},                        // Ukmergė
    {54.69, 25.28},                        // Vilnius
}};

constexpr double kKmPerDegree = 111.32;
constexpr double kPi = std::numbers::pi;

// Local flat-earth offsets in km are plenty for legs of a few tens of kilometres.
double legKm(const Waypoint& a, const Waypoint& b, double* eastKm = nullptr,
             double* northKm = nullptr) {
    const double north = (b.lat - a.lat) * kKmPerDegree;
    const double east = (b.lon - a.lon) * kKmPerDegree * std::cos((a.lat + b.lat) / 2 * kPi / 180);
    if (eastKm)
        *eastKm = east;
    if (northKm)
        *northKm = north;
    return std::hypot(east, north);
}

double routeKm() {
    double total = 0;
    for (std::size_t i = 1; i < kRoute.size(); ++i)
        total += legKm(kRoute[i - 1], kRoute[i]);
    return total;
}

// Speed in km/h: two slow waves around 70 km/h.
constexpr double kBaseKmh = 70, kWave1Kmh = 20, kWave1S = 240, kWave2Kmh = 8, kWave2S = 37;

double speedAt(double t) {
    return kBaseKmh + kWave1Kmh * std::sin(2 * kPi * t / kWave1S) +
           kWave2Kmh * std::sin(2 * kPi * t / kWave2S);
}

// Distance in km driven after t seconds: the integral of speedAt.
double distanceAt(double t) {
    const auto wave = [t](double kmh, double period) {
        return kmh * period / (2 * kPi) * (1 - std::cos(2 * kPi * t / period));
    };
    return (kBaseKmh * t + wave(kWave1Kmh, kWave1S) + wave(kWave2Kmh, kWave2S)) / 3600;
}

}  // namespace

VehicleState VehicleAt(double t) {
    static const double total = routeKm();
    // Out and back: fold the distance into [0, total] and remember the direction.
    double s = std::fmod(distanceAt(t), 2 * total);
    const bool back = s > total;
    if (back)
        s = 2 * total - s;

    std::size_t leg = 1;
    double east = 0, north = 0;
    double len = legKm(kRoute[0], kRoute[1], &east, &north);
    while (s > len && leg + 1 < kRoute.size()) {
        s -= len;
        ++leg;
        len = legKm(kRoute[leg - 1], kRoute[leg], &east, &north);
    }
    const Waypoint& a = kRoute[leg - 1];
    const Waypoint& b = kRoute[leg];
    const double f = len > 0 ? std::fmin(s / len, 1.0) : 0;

    VehicleState v;
    v.lat = a.lat + (b.lat - a.lat) * f;
    v.lon = a.lon + (b.lon - a.lon) * f;
    v.speedKmh = speedAt(t);
    double course = std::atan2(east, north) * 180 / kPi + (back ? 180 : 0);
    v.courseDeg = std::fmod(course + 360, 360);
    v.altitudeM = 40 + 25 * std::sin(2 * kPi * t / 600) + 10 * std::sin(2 * kPi * t / 97);
    return v;
}

}  // namespace kem::kemsim
