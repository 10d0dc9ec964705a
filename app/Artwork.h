#pragma once

#include <QPixmap>

namespace kem::artwork {

// The grey scale bar under the map sheet: 178 x 29, alternating segments, 0 km to 10 in steps
// of 2, its zero under the sheet's left edge (the bar sits 5 pixels left of the sheet).
QPixmap scaleBar();

// The program icon, 35 x 35: a globe with its grid.
QPixmap programIcon();

}  // namespace kem::artwork
