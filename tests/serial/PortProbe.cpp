// A second program on a serial port, for the tests. "port_probe DEVICE" opens DEVICE as KEMGPS
// does and prints "connected" or the reason it could not (the line the "Klaida" box shows);
// with --hold first, it keeps the port open until its standard input closes.
#include <unistd.h>

#include <QCoreApplication>

#include <iostream>
#include <string>

#include "gps/PortError.h"
#include "gps/TCommPortDriver.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool hold = argc == 3 && std::string(argv[1]) == "--hold";
    if (argc != 2 && !hold) {
        std::cerr << "usage: port_probe [--hold] DEVICE\n";
        return 2;
    }
    const std::string device = argv[argc - 1];
    kem::gps::TCommPortDriver driver;
    driver.SetPortName(device);
    if (!driver.Connect()) {
        std::cout << kem::gps::PortErrorText(driver.LastError(), device) << std::endl;
        return 1;
    }
    std::cout << "connected" << std::endl;
    for (char c; hold && read(STDIN_FILENO, &c, 1) > 0;) {
    }
    return 0;
}
