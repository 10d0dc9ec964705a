#pragma once

#include <array>
#include <string>

namespace kem::gps {

// Columns of the satellite table, in grid order.
enum class SatColumn { Nr = 0, Elevation = 1, Azimuth = 2, Snr = 3 };

// One satellite of a GSV sentence as one table row. Elevation and azimuth carry "°" (byte 0xB0)
// and the signal-to-noise ratio " dB", each only when the received field is not blank.
struct SatelliteInfo {
    std::string NrText;
    std::string ElevationText;
    std::string AzimuthText;
    std::string SnrText;

    std::string& Cell(SatColumn column);
    const std::string& Cell(SatColumn column) const;
};

// The twelve satellite rows (numbered 1 to 12; row 0 is the grid's header and is not held here).
// A plain model of the satellite window's grid for code that wants one without widgets.
class SatelliteTable {
public:
    static constexpr int kRows = 12;

    // row 1..kRows; anything else is ignored (Set) or gives an empty text (Cell).
    void SetCell(int row, SatColumn column, const std::string& text);
    const std::string& Cell(int row, SatColumn column) const;
    const SatelliteInfo& Row(int row) const { return m_rows.at(row - 1); }
    void ClearRows();

private:
    std::array<SatelliteInfo, kRows> m_rows;
};

}  // namespace kem::gps
