#pragma once

namespace kem::kemsim {

// Where the simulated vehicle is and how it moves, t seconds after the start.
struct VehicleState {
    double lat = 0;        // degrees north
    double lon = 0;        // degrees east
    double speedKmh = 0;   // over ground
    double courseDeg = 0;  // true, 0 = north, clockwise
    double altitudeM = 0;  // above mean sea level
};

// A drive through Lithuania from 56°29.5' N 20°51' E south-east to Vilnius (through Skuodas,
// Telšiai, Šiauliai, Panevėžys and Ukmergė), then back the same way, for ever. Speed varies
// between about 40 and 100 km/h, altitude between about 5 and 75 m.
VehicleState VehicleAt(double t);

}  // namespace kem::kemsim
