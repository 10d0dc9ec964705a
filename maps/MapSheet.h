#pragma once

#include <QImage>
#include <QObject>
#include <string>

#include "archive/TUnZip.h"
#include "maps/MeasurementLog.h"

namespace kem::maps {

// The map sheet of one square: a 172 x 306 picture with the square's bitmap (unpacked from its
// archive in SKVERAI/ when only that exists), the grey 2 x 4 grid of WWL subsquares with their
// locators, and the position marks; expedition maps and the measurement log beside it in
// EKSPEDICIJOS/. Everything lies in the program folder. Failures to read or write throw IoError;
// the archive component reports its own problems.
class MapSheet : public QObject {
    Q_OBJECT

public:
    static constexpr int kWidth = 172;
    static constexpr int kHeight = 306;

    // programDir ends in "/".
    explicit MapSheet(std::string programDir, QObject* parent = nullptr);

    // The mark's radius in pixels, and the decimal mark of the receiver's raw texts.
    void SetRadius(int radius) { m_radius = radius; }
    int Radius() const { return m_radius; }
    void SetDecimalSeparator(char separator) { m_decimalSeparator = separator; }

    // Draws the sheet of code anew: white, the square's bitmap when there is one, the grid, the
    // title and the eight locators from the square data file. An archive whose unpacking
    // reported a problem leaves no bitmap; a bitmap that cannot be read is set aside and unpacked
    // again, or the sheet stays white.
    void KEMSquare(const std::string& code);
    // The red mark of Radius around (x, y), a centre within kFarOff of the sheet (as the mark's
    // place is worked out).
    void DrawMark(int x, int y);
    // The mark for the receiver's raw position texts.
    void ToMap(const std::string& latRaw, const std::string& longRaw);
    // Saves the sheet as the next expedition map of square (named by today's date); a failed
    // save leaves no file.
    void SaveMap(const std::string& square);
    // Appends a line to the measurement log.
    void ToLog(const LogEntry& entry);
    // Shows a saved bitmap (an expedition map) in place of the sheet. Bitmaps shorter than their
    // header declares are refused (IoError), here and in KEMSquare.
    void LoadPicture(const std::string& path);
    // Removes the bitmaps unpacked from archives (at shutdown).
    void DeleteUnpackedSheets();

    // The square data file of the program folder (its name matched without regard to case).
    std::string SquareDataFile() const;

    const QImage& Picture() const { return m_picture; }
    const MeasurementLog& Log() const { return m_log; }
    std::string ExpeditionFolder() const { return m_programDir + "EKSPEDICIJOS/"; }

signals:
    // The picture was drawn on or replaced.
    void changed(const QImage& picture);

private:
    std::string MapFolder() const { return m_programDir + "SKVERAI/"; }
    std::string SheetFile(const std::string& code, const char* extension) const;
    void UnpackIfNeeded(const std::string& code);
    QImage SheetPicture(const std::string& code);

    std::string m_programDir;
    MeasurementLog m_log;
    QImage m_picture;
    archive::TUnZip m_unzip;
    bool m_unpackReported = false;  // the running extraction reported a problem
    int m_radius = 3;
    char m_decimalSeparator = '.';
};

}  // namespace kem::maps
