#pragma once

#include <QImage>

// The two programs' icons, size x size pixels (the window, the desktop menu), drawn on a
// 35 x 35 design.
namespace kem::look {

// KEMGPS: a globe with its grid and a red position.
QImage programIcon(int size);

// KEMZIP: the same globe with a zipped archive in front of it.
QImage packerIcon(int size);

}  // namespace kem::look
