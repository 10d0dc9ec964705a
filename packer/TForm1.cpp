#include "packer/TForm1.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include "base/ui/ErrorBox.h"
#include "packer/MapPacker.h"

namespace kem::packer {
namespace {

constexpr int kClientWidth = 209;
constexpr int kClientHeight = 277;
constexpr int kStatusHeight = 21;
constexpr int kFontPixels = 11;  // 8 points at 96 dpi

struct Place {
    int left, top, width, height;
};
constexpr Place kMemo1{8, 32, 193, 193};
constexpr Place kButton1{128, 229, 73, 25};

void SetPlace(QWidget* widget, const Place& p) {
    widget->setGeometry(p.left, p.top, p.width, p.height);
}

// Restores the normal cursor however the packing ends.
struct Hourglass {
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

TForm1::TForm1(std::string programDir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ProgramDir(std::move(programDir)) {
    setWindowTitle(QStringLiteral("KEM Zip    Failų glaudinimas"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFontPixels);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);

    Label1 = new QLabel(QStringLiteral("Bus suglaudinti šie  \".bmp\" failai:"), this);
    Label1->adjustSize();
    Label1->move(16, 8);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    SetPlace(Memo1, kMemo1);

    Button1 = new QPushButton(QStringLiteral("Glaudinti"), this);
    SetPlace(Button1, kButton1);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);

    Zip1.SetOverwrite(true);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = QApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    FormShow();
    QWidget::showEvent(event);
}

void TForm1::FormShow() {
    Memo1->clear();
    for (const std::string& name : ListBitmaps(MapDirectory(ProgramDir))) {
        Memo1->appendPlainText(QFile::decodeName(QByteArray::fromStdString(name)));
    }
    if (Memo1->document()->isEmpty()) {
        SetStatus(QStringLiteral("\".bmp\" failų nerasta"));
        Button1->setEnabled(false);
    }
}

void TForm1::Button1Click() {
    guarded(
        [this] {
            const Hourglass hourglass;
            PackAll(MapDirectory(ProgramDir), Zip1);
        },
        this);
    SetStatus(QStringLiteral(" Rasti \".bmp\" failai suglaudinti"));
}

void TForm1::SetStatus(const QString& text) {
    StatusBar1->showMessage(text);
}

}  // namespace kem::packer
