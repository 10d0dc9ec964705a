#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace kem {

// The settings dialog "Nustatymai": the receiver's port, the size of the position mark and the
// processing period. Filled from the settings file when shown; applied and stored whenever it
// closes, by "Taikyti" or by the close box.
class TFormSet : public QWidget {
    Q_OBJECT

public:
    explicit TFormSet(QWidget* parent = nullptr);

    void FormShow();
    // Applies and stores the boxes; throws when the settings file cannot be written, after
    // applying the period, the size and the port name.
    void FormClose();
    void btApplyClick();

    QLabel* StaticText1 = nullptr;
    QComboBox* PortComboBox = nullptr;
    QLabel* StaticText3 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText11 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QPushButton* btApply = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace kem
