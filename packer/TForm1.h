#pragma once

#include <QWidget>
#include <string>

#include "archive/TZip.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace kem::packer {

// The window of KEMZIP: the bitmaps found in the map folder and one button that packs them all.
class TForm1 : public QWidget {
public:
    // `programDir` is the folder of the program file, ending with "/".
    explicit TForm1(std::string programDir, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    archive::TZip Zip1;

    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetStatus(const QString& text);

    std::string ProgramDir;
    bool m_centred = false;
};

}  // namespace kem::packer
