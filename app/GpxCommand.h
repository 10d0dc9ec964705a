#pragma once

#include <optional>

namespace kem {

// `KEMGPS --export-gpx LOG OUT`: exports the measurement log LOG as the GPX file OUT without a
// window. The exit status when the arguments ask for it (0 done, 1 failed, 2 wrong use, with a
// message on standard error); nothing when they do not, and the program starts as usual.
std::optional<int> runGpxCommand(int argc, char** argv);

}  // namespace kem
