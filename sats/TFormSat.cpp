#include "sats/TFormSat.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QToolButton>

#include "base/ui/WindowLook.h"

namespace kem {
namespace {

constexpr int kColumnWidths[] = {20, 40, 50, 40};
constexpr const char* kHeaders[] = {"Nr.", "Aukštis", "Azimutas", "S/N"};

}  // namespace

TFormSat::TFormSat(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("GPS palydovai"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());
    setFixedSize(494, 314);
    move(274, 164);

    auto* title = new QLabel(QStringLiteral("KEM GPS"), this);
    title->setFont(look::titleFont(22));
    title->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    look::placeAt(title, 350, 3);
    auto* caption = new QLabel(QStringLiteral("Matomi palydovai"), this);
    look::placeAt(caption, 364, 31);

    StrGr1 = look::named(new QTableWidget(kSatelliteRows + 1, 4, this), "StrGr1");
    StrGr1->horizontalHeader()->hide();
    StrGr1->verticalHeader()->hide();
    StrGr1->verticalHeader()->setDefaultSectionSize(16);
    StrGr1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGr1->setSelectionMode(QAbstractItemView::NoSelection);
    StrGr1->setFocusPolicy(Qt::NoFocus);
    StrGr1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrGr1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The narrow columns hold "Aukštis" and "Azimutas" only without the cells' usual padding.
    StrGr1->setTextElideMode(Qt::ElideNone);
    StrGr1->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px; }"));
    for (int row = 0; row <= kSatelliteRows; ++row) {
        for (int column = 0; column < 4; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (row == 0 || column == 0) {
                item->setBackground(palette().button());  // the fixed header cells
            }
            StrGr1->setItem(row, column, item);
        }
    }
    look::place(StrGr1, 324, 49, 158, 227);

    btClear = look::named(new QToolButton(this), "btClear");
    btClear->setText(QStringLiteral("&Atnaujinti"));
    btClear->setToolTip(QStringLiteral("Išvalyti diagramą <Alt+I>"));
    btClear->setAutoRaise(true);
    look::place(btClear, 6, 6, 73, 25);
    BitBtn2 = look::named(new QPushButton(QStringLiteral("&Uždaryti"), this), "BitBtn2");
    look::place(BitBtn2, 421, 288, 65, 21);

    connect(btClear, &QToolButton::clicked, this, &TFormSat::RefreshImage);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
}

void TFormSat::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TFormSat::setCell(int row, int column, const QString& text) {
    if (row >= 1 && row <= kSatelliteRows && column >= 0 && column < 4) {
        StrGr1->item(row, column)->setText(text);
    }
}

QString TFormSat::cell(int row, int column) const {
    return StrGr1->item(row, column)->text();
}

void TFormSat::FormShow() {
    for (int column = 0; column < 4; ++column) {
        StrGr1->setColumnWidth(column, kColumnWidths[column]);
        StrGr1->item(0, column)->setText(QString::fromUtf8(kHeaders[column]));
    }
    RefreshImage();
}

void TFormSat::RefreshImage() {
    for (int row = 1; row <= kSatelliteRows; ++row) {
        for (int column = 0; column < 4; ++column) {
            StrGr1->item(row, column)->setText(QString());
        }
    }
    emit cleared();
}

void TFormSat::ShowSats() {}

}  // namespace kem
