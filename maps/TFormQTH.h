#pragma once

#include <QDialog>

class QPushButton;

namespace kem {

class IniFile;

// The QTH calculator dialog " QTH  KEM WWL", opened modally from the main window. Its place and
// bold font are kept in the settings file; the calculator fields come with the locator work.
class TFormQTH : public QDialog {
    Q_OBJECT

public:
    explicit TFormQTH(IniFile& settings, QWidget* parent = nullptr);

    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    IniFile& m_settings;
    QPushButton* btClose = nullptr;
};

}  // namespace kem
