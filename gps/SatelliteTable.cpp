#include "gps/SatelliteTable.h"

namespace kem::gps {

std::string& SatelliteInfo::Cell(SatColumn column) {
    switch (column) {
        case SatColumn::Nr:
            return NrText;
        case SatColumn::Elevation:
            return ElevationText;
        case SatColumn::Azimuth:
            return AzimuthText;
        case SatColumn::Snr:
            break;
    }
    return SnrText;
}

const std::string& SatelliteInfo::Cell(SatColumn column) const {
    return const_cast<SatelliteInfo*>(this)->Cell(column);
}

void SatelliteTable::SetCell(int row, SatColumn column, const std::string& text) {
    if (row >= 1 && row <= kRows) {
        m_rows[row - 1].Cell(column) = text;
    }
}

const std::string& SatelliteTable::Cell(int row, SatColumn column) const {
    static const std::string kNone;
    return row >= 1 && row <= kRows ? m_rows[row - 1].Cell(column) : kNone;
}

void SatelliteTable::ClearRows() {
    m_rows.fill(SatelliteInfo{});
}

}  // namespace kem::gps
