#include "sats/TFormSat.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QToolButton>

#include "base/ui/Cp1257.h"
#include "base/ui/Ellipse.h"
#include "base/ui/WindowLook.h"

namespace kem {
namespace {

constexpr int kColumns = 4;
constexpr int kColumnWidths[kColumns] = {20, 40, 50, 40};
constexpr int kRowHeight = 16;
// The design's cell sizes leave out the grid line after each cell; Qt counts it in.
constexpr int kGridLine = 1;
constexpr const char* kHeaders[kColumns] = {"Nr.", "Aukštis", "Azimutas", "S/N"};

struct StaticPlace {
    const char* name;
    const char* text;
    int left;
    int top;
};
// The compass points around the plot, and the legend's title.
constexpr StaticPlace kStaticTexts[] = {
    {"StaticText1", "0°", 161, 7},       {"StaticText2", "90°", 302, 149},
    {"StaticText3", "180°", 156, 292},   {"StaticText4", "270°", 6, 150},
    {"StaticText10", "S/N, dB", 8, 238},
};

struct LegendRow {
    sats::SnrClass snrClass;
    const char* text;
};
constexpr LegendRow kLegend[] = {
    {sats::SnrClass::Below10, "0 - 10"}, {sats::SnrClass::From10, "10 - 20"},
    {sats::SnrClass::From20, "20 - 30"}, {sats::SnrClass::From30To40, "30 - 40"},
    {sats::SnrClass::Above40, "> 40"},
};
constexpr int kLegendStep = 11;  // pixels between the rows of the legend
constexpr int kSwatchSize = 7;

QPixmap swatch(const QColor& colour) {
    QImage picture(kSwatchSize, kSwatchSize, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    look::drawEllipse(picture, QRect(0, 0, kSwatchSize, kSwatchSize), sats::kGridGrey, colour);
    return QPixmap::fromImage(picture);
}

// The signal-to-noise classes with their colours, one above the other.
void buildLegend(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    look::place(panel, 2, 255, 69, 56);
    int top = 2;
    for (const LegendRow& row : kLegend) {
        auto* mark = new QLabel(panel);
        mark->setPixmap(swatch(sats::snrColours(row.snrClass).swatch));
        look::place(mark, 5, top, kSwatchSize, kSwatchSize);
        auto* text = new QLabel(QString::fromUtf8(row.text), panel);
        text->setFont(look::formFont());
        text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        look::place(text, 17, top - 3, 50, 13);
        top += kLegendStep;
    }
}

// The clear button's picture: a small empty sky plot.
QIcon clearGlyph() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(sats::kGridGrey);
    p.setBrush(look::kNavy);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.drawLine(QPointF(8, 1), QPointF(8, 15));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
    return QIcon(picture);
}

}  // namespace

TFormSat::TFormSat(QWidget* parent)
    : QWidget(parent, Qt::Window), m_plot(palette().color(QPalette::Button)) {
    setWindowTitle(QStringLiteral("GPS palydovai"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());
    setFixedSize(494, 314);
    move(274, 164);

    auto* client = new QFrame(this);
    client->setFrameStyle(QFrame::Panel | QFrame::Raised);
    look::place(client, 0, 0, 494, 314);

    Image1 = look::named(new QLabel(client), "Image1");
    look::place(Image1, 31, 21, sats::SkyPlot::kSize, sats::SkyPlot::kSize);
    for (const StaticPlace& place : kStaticTexts) {
        auto* text = look::named(new QLabel(QString::fromUtf8(place.text), client), place.name);
        look::placeAt(text, place.left, place.top);
    }

    auto* Label1 = look::named(new QLabel(QStringLiteral("KEM GPS"), client), "Label1");
    Label1->setFont(look::titleFont(24));
    Label1->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128)"));
    look::placeAt(Label1, 350, 3);
    auto* Label2 = look::named(new QLabel(QStringLiteral("Matomi palydovai"), client), "Label2");
    look::placeAt(Label2, 364, 31);

    buildTable(client);
    buildLegend(client);

    btClear = look::named(new QToolButton(client), "btClear");
    btClear->setText(QStringLiteral("&Atnaujinti"));
    btClear->setToolTip(QStringLiteral("Išvalyti diagramą <Alt+I>"));
    btClear->setIcon(clearGlyph());
    btClear->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btClear->setAutoRaise(true);
    look::place(btClear, 6, 6, 73, 25);
    BitBtn2 = look::named(new QPushButton(QStringLiteral("&Uždaryti"), client), "BitBtn2");
    look::place(BitBtn2, 421, 288, 65, 21);

    connect(btClear, &QToolButton::clicked, this, &TFormSat::RefreshImage);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
    showPlot();
}

void TFormSat::buildTable(QWidget* parent) {
    StrGr1 = look::named(new QTableWidget(kSatelliteRows + 1, kColumns, parent), "StrGr1");
    StrGr1->horizontalHeader()->hide();
    StrGr1->verticalHeader()->hide();
    StrGr1->verticalHeader()->setDefaultSectionSize(kRowHeight + kGridLine);
    StrGr1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StrGr1->setSelectionMode(QAbstractItemView::NoSelection);
    StrGr1->setFocusPolicy(Qt::NoFocus);
    StrGr1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StrGr1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The narrow columns hold "Aukštis" and "Azimutas" only without the cells' usual padding.
    StrGr1->setTextElideMode(Qt::ElideNone);
    StrGr1->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px; }"));
    for (int row = 0; row <= kSatelliteRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            if (row == 0 || column == 0) {
                item->setBackground(palette().button());  // the fixed header cells
            }
            StrGr1->setItem(row, column, item);
        }
    }
    look::place(StrGr1, 324, 49, 158, 227);
}

void TFormSat::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TFormSat::setCell(int row, int column, const QString& text) {
    if (row >= 1 && row <= kSatelliteRows && column >= 0 && column < kColumns) {
        StrGr1->item(row, column)->setText(text);
    }
}

QString TFormSat::cell(int row, int column) const {
    return StrGr1->item(row, column)->text();
}

void TFormSat::FormShow() {
    for (int column = 0; column < kColumns; ++column) {
        StrGr1->setColumnWidth(column, kColumnWidths[column] + kGridLine);
        StrGr1->item(0, column)->setText(QString::fromUtf8(kHeaders[column]));
    }
    RefreshImage();
}

void TFormSat::RefreshImage() {
    m_plot.RefreshImage(palette().color(QPalette::Button));
    showPlot();
    clearRows();
    emit cleared();
}

void TFormSat::ShowSats() {
    gps::SatelliteTable table;
    for (int row = 1; row <= kSatelliteRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            table.SetCell(row, static_cast<gps::SatColumn>(column), toCp1257(cell(row, column)));
        }
    }
    const std::vector<sats::SkySatellite> satellites = sats::satellitesToPlot(table);
    for (const sats::SkySatellite& s : satellites) {
        m_plot.Sat(s.number, s.elevation, s.azimuth, s.snr);
    }
    showPlot();
    if (satellites.size() == kSatelliteRows) {
        clearRows();
    }
}

void TFormSat::clearRows() {
    for (int row = 1; row <= kSatelliteRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            StrGr1->item(row, column)->setText(QString());
        }
    }
}

void TFormSat::showPlot() {
    Image1->setPixmap(QPixmap::fromImage(m_plot.Picture()));
}

}  // namespace kem
