#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace kem {

// The satellite window "GPS palydovai": the table of the satellites in view that the decoder
// fills while the window is visible. The sky plot beside it is drawn by ShowSats.
class TFormSat : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSatelliteRows = 12;

    explicit TFormSat(QWidget* parent = nullptr);

    // One cell of satellite rows 1..12 (column 0 "Nr." to 3 "S/N").
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;

    void FormShow();
    // Empties rows 1 to 12 and says so through cleared(), which restarts the sky plot's
    // cadence.
    void RefreshImage();
    // Plots the table's satellites; the sky plot itself is not drawn yet.
    void ShowSats();

signals:
    void cleared();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTableWidget* StrGr1 = nullptr;
    QToolButton* btClear = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

}  // namespace kem
