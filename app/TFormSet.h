#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

class QComboBox;
class QPushButton;

namespace kem {

class IniFile;

// The settings dialog "Nustatymai": the receiver's port and baud rate, the size of the position
// mark and the processing period. Filled from the settings file when shown; whenever it closes, by
// "Taikyti" or by the close box, it hands its values to whoever listens to applied() and stores
// them.
class TFormSet : public QWidget {
    Q_OBJECT

public:
    // What the dialog hands back.
    struct Settings {
        std::int32_t period = 15;
        std::int32_t radius = 3;   // half the typed mark size
        std::string port;          // trimmed, without "/dev/"
        std::int32_t baud = 4800;  // 0: hunt for the receiver's rate
    };

    explicit TFormSet(IniFile& settings, QWidget* parent = nullptr);

    void FormShow();
    // Applies and stores the boxes; throws when the settings file cannot be written, after
    // applying.
    void FormClose();
    void btApplyClick();

signals:
    void applied(const Settings& settings);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showBaudApplies();

    IniFile& m_settings;
    QComboBox* PortComboBox = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* BaudComboBox = nullptr;
    QPushButton* btApply = nullptr;
};

}  // namespace kem
