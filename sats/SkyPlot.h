#pragma once

#include <QColor>
#include <QImage>

#include "sats/SkyMapping.h"

namespace kem::sats {

// The plot's circles and diameters, and the legend's outlines.
inline const QColor kGridGrey{128, 128, 128};

// The colours of one signal-to-noise class: the dot's fill and outline on the plot, and the
// legend's swatch (brighter than the dot for 10 to 19 dB).
struct SnrColours {
    QColor brush;
    QColor pen;
    QColor swatch;
};
SnrColours snrColours(SnrClass snrClass);

// The sky plot picture. It is only ever drawn onto: dots accumulate into tracks until the grid is
// drawn anew, so each dot costs the same however long the plot has been running.
class SkyPlot {
public:
    static constexpr int kSize = 2 * kPlotRadius;

    // Starts with the empty grid.
    explicit SkyPlot(const QColor& buttonFace);

    // The empty polar grid: outside the horizon the button face colour, inside navy with grey
    // circles at 0, 30 and 60 degrees of elevation and grey diameters every 30 degrees.
    void RefreshImage(const QColor& buttonFace);
    // One 6 x 6 dot for a satellite, coloured by its signal-to-noise class; the number is not
    // drawn.
    void Sat(int number, int elevation, int azimuth, int snr);

    const QImage& Picture() const { return m_picture; }

private:
    QImage m_picture;
};

}  // namespace kem::sats
