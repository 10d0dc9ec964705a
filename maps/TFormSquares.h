#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "maps/SquareData.h"

class QLabel;
class QPushButton;

namespace kem {

namespace maps {
class SquareVisits;
}  // namespace maps

class SquareMapView;

// The window "Kvadratų apžvalga": every square of the grid over the country's outline, coloured
// by where the user has been (visited, visited today, the current square framed, squares without
// the country's land faint), the track since the start, a tooltip per square, a click that shows
// the square's sheet, and the picture and the history saved as PNG and CSV.
class TFormSquares : public QWidget {
    Q_OBJECT

public:
    // Shows a square's sheet in the main window; may throw.
    using ShowSheet = std::function<void(const std::string& code)>;

    // visits: the program's history and track; squareDataFile: KEMWWL.dat for the locators.
    TFormSquares(maps::SquareVisits& visits, std::string squareDataFile, ShowSheet showSheet,
                 QWidget* parent = nullptr);
    ~TFormSquares() override;

    // Opens the history (building it the first time) and reads the locators; problems found in
    // the files are shown once. Throws IoError when the history cannot be read.
    void FormShow();
    // A position step happened: the counter and the picture follow it (one repaint at most).
    void Refresh();
    // A click on the square of index: its sheet in the main window.
    void SquareClick(int index);
    // The picture as a PNG file, the history as CSV; throw IoError. Both are written whole.
    void ExportPng(const std::string& path) const;
    void ExportCsv(const std::string& path) const;

    QString CounterText() const;
    // The square under a point of the picture; nothing off the grid.
    std::optional<int> SquareAt(QPoint point) const;
    // The square of index on the picture (tests click there).
    QRect SquareRect(int index) const;
    QWidget* Picture() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void btPngClick();
    void btCsvClick();
    QString hoverText(int index) const;
    QImage renderPicture() const;

    maps::SquareVisits& m_visits;
    std::string m_squareDataFile;
    ShowSheet m_showSheet;
    QImage m_outline;
    QImage m_scaledOutline;  // at the window's size
    std::vector<bool> m_landSquares;
    std::map<std::string, maps::SquareCells> m_cells;

    SquareMapView* m_view = nullptr;
    QLabel* lbCounter = nullptr;
    QPushButton* btPng = nullptr;
    QPushButton* btCsv = nullptr;
};

}  // namespace kem
