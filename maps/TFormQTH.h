#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "maps/QthCalculator.h"

class QLineEdit;
class QPushButton;
class QToolButton;

namespace kem {

class IniFile;

namespace maps {
class MapSheet;
}  // namespace maps

// The QTH calculator dialog " QTH  KEM WWL", opened modally from the main window: typed
// coordinates give the square code and the WWL locator, and a typed square, locator or computed
// position is shown on the map sheet. A mouse click into a field chooses the entry mode; the
// fields the mode does not use are closed (grey, read-only), and the mode is read back from
// those colours. Its place and bold font are kept in the settings file. Controls carry their
// design names as object names.
class TFormQTH : public QDialog {
    Q_OBJECT

public:
    // sheet is the main window's map sheet; beep sounds the system's default beep.
    TFormQTH(IniFile& settings, maps::MapSheet& sheet, std::function<void()> beep,
             QWidget* parent = nullptr);

    void FormShow();
    void FormClose();

    // Mouse clicks into the coordinate fields, edKEM and edWWL.
    void DataChanged();
    void edKEMClick();
    void edWWLClick();

    void btCalcClick();
    // Throws IoError when the square data file cannot be read; the fields then stay closed.
    void btMapClick();
    void btBoldClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void connectControls();
    std::array<QLineEdit*, 8> allFields() const;
    maps::TypedCoordinates typedCoordinates() const;
    std::string trimmedText(const QLineEdit* field) const;
    void drawPosition(const std::string& code);
    void closeCoordinates();
    // Open: window colour and editable; closed: button-face grey and read-only.
    static void setOpen(QLineEdit* field, bool open);
    static bool isClosed(const QLineEdit* field);
    void setBold(bool bold);

    IniFile& m_settings;
    maps::MapSheet& m_sheet;
    std::function<void()> m_beep;

    QLineEdit* edLaDeg = nullptr;
    QLineEdit* edLaMin = nullptr;
    QLineEdit* edLaSec = nullptr;
    QLineEdit* edLoDeg = nullptr;
    QLineEdit* edLoMin = nullptr;
    QLineEdit* edLoSec = nullptr;
    QLineEdit* edKEM = nullptr;
    QLineEdit* edWWL = nullptr;
    QPushButton* btCalc = nullptr;
    QPushButton* btMap = nullptr;
    QPushButton* btClose = nullptr;
    QToolButton* btBold = nullptr;
    // The six coordinate fields in the calculator's order.
    std::array<QLineEdit*, 6> m_coordinates{};
};

}  // namespace kem
