// Writes the square data file KEMWWL.dat: one line per square of the national grid over
// Lithuania, its code, a blank, and the WWL locators of its eight subsquares (row by row from
// the north-west), each followed by a blank; lines end in CR LF.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "maps/Locator.h"

namespace {

// 10' bands: latitude southwards from 56°30' N, longitude eastwards from 20°50' E; 16 x 36
// squares cover the country.
constexpr int kLatitudeBands = 16;
constexpr int kLongitudeBands = 36;
constexpr float kBand = 10.0f / 60.0f;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: MakeKemWwl OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    for (int row = 0; row < kLatitudeBands; ++row) {
        const float north = 56.5f - row * kBand;
        for (int column = 0; column < kLongitudeBands; ++column) {
            const float west = 20.0f + 50.0f / 60.0f + column * kBand;
            const kem::maps::LatLong centre{north - kBand / 2, west + kBand / 2};
            out << kem::maps::SquareCode(centre, kem::maps::BandNumber::LowByte) << ' ';
            // Subsquares: 2 columns of 5' by 4 rows of 2.5'; each locator from its centre.
            for (int cell = 0; cell < 8; ++cell) {
                const kem::maps::LatLong middle{north - (cell / 2 + 0.5f) * kBand / 4,
                                                west + (cell % 2 + 0.5f) * kBand / 2};
                out << kem::maps::WwlLocator(middle) << ' ';
            }
            out << "\r\n";
        }
    }
    out.close();
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
