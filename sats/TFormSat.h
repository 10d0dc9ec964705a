#pragma once

#include <QWidget>

#include "gps/SatelliteTable.h"
#include "sats/SkyPlot.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace kem {

// The satellite window "GPS palydovai": the sky plot and the table of the satellites in view.
// The decoder fills the table while the window is visible and now and then asks for a plot of
// it; the dots stay on the plot until it is cleared or the window is opened again.
class TFormSat : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSatelliteRows = gps::SatelliteTable::kRows;

    explicit TFormSat(QWidget* parent = nullptr);

    // One cell of satellite rows 1..12 (column 0 "Nr." to 3 "S/N").
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;

    // Headers, the empty grid and an empty table, each time the window is opened.
    void FormShow();
    // Draws the empty grid, empties rows 1 to 12 and says so through cleared(), which restarts
    // the plot's cadence.
    void RefreshImage();
    // Plots the table's satellites up to the first incomplete row; a table of twelve complete
    // rows is emptied afterwards.
    void ShowSats();

signals:
    void cleared();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTable(QWidget* parent);
    void clearRows();
    void showPlot();

    sats::SkyPlot m_plot;

    // Controls, named as in the window's design.
    QLabel* Image1 = nullptr;
    QTableWidget* StrGr1 = nullptr;
    QToolButton* btClear = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

}  // namespace kem
