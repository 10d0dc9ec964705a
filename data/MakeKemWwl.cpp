// Writes the square data file KEMWWL.dat for the whole national grid.
#include <cstdio>
#include <fstream>
#include <iostream>

#include "maps/SquareData.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: MakeKemWwl OUTPUT\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << kem::maps::squareDataText();
    out.close();
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
