// nmea_golden FOLDER: writes beside every receiver log FOLDER/name.log the trace of its decoding,
// FOLDER/name.expected, which ReceiverLogTest compares with. Run through "make golden".
#include <cstdio>
#include <fstream>

#include "DecoderTrace.h"

int main(int argc, char** argv) {
    using namespace kem::gps::test;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER-OF-RECEIVER-LOGS\n", argv[0]);
        return 2;
    }
    try {
        const auto logs = ReceiverLogs(argv[1]);
        if (logs.empty()) {
            std::fprintf(stderr, "nmea_golden: no *.log in %s\n", argv[1]);
            return 1;
        }
        for (const auto& log : logs) {
            DecoderTrace trace;
            FeedByLine(trace, ReadBytes(log));
            const auto path = ExpectedPath(log);
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << trace.Text();
            out.close();
            if (!out) {
                std::fprintf(stderr, "nmea_golden: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        std::printf("nmea_golden: %zu expected files written in %s\n", logs.size(), argv[1]);
    } catch (const std::exception& e) {  // a folder that cannot be listed
        std::fprintf(stderr, "nmea_golden: %s\n", e.what());
        return 1;
    }
    return 0;
}
