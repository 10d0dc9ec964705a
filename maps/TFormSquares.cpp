#include "maps/TFormSquares.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

#include "base/IoError.h"
#include "base/WholeFile.h"
#include "base/ui/ErrorBox.h"
#include "base/ui/WindowLook.h"
#include "maps/SquareTexts.h"
#include "maps/SquareVisits.h"

namespace kem {
namespace {

// The outline is drawn at one eighth of the sheets' scale: 860 x 612 pixels for the 40 x 16
// squares, each in the sheets' proportion (172 : 306).
constexpr int kPictureWidth = 860;
constexpr int kPictureHeight = 612;
constexpr int kLeftMargin = 16;  // row letters
constexpr int kTopMargin = 14;   // column numbers
constexpr double kWestEdge = 20.0 + 50.0 / 60.0;
constexpr double kNorthEdge = 56.5;
constexpr double kGridDegreesWide = maps::kGridNumbers / 6.0;
constexpr double kGridDegreesHigh = maps::kGridLetters / 6.0;

const QColor kVisited{30, 160, 60, 120};
const QColor kVisitedToday{255, 140, 0, 170};
const QColor kNoLandVeil{255, 255, 255, 170};
const QColor kGridLine{110, 110, 110, 110};
const QColor kCurrentFrame{210, 0, 0};
const QColor kTrack{0, 0, 170};

// The grid's place in a picture of size: below and right of the labels, in its proportion.
QRectF gridArea(QSize size) {
    const QRectF room(kLeftMargin, kTopMargin, size.width() - kLeftMargin - 2,
                      size.height() - kTopMargin - 2);
    const double ratio = double(kPictureWidth) / kPictureHeight;
    const double width = std::min(room.width(), room.height() * ratio);
    return {room.left(), room.top(), width, width / ratio};
}

QRectF squareRect(const QRectF& grid, int index) {
    const double w = grid.width() / maps::kGridNumbers;
    const double h = grid.height() / maps::kGridLetters;
    return {grid.left() + index % maps::kGridNumbers * w,
            grid.top() + index / maps::kGridNumbers * h, w, h};
}

QPointF placeOf(const QRectF& grid, maps::LatLong position) {
    return {grid.left() + (position.lon - kWestEdge) / kGridDegreesWide * grid.width(),
            grid.top() + (kNorthEdge - position.lat) / kGridDegreesHigh * grid.height()};
}

QByteArray resourceBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeWhole(const std::string& path, std::string_view bytes) {
    if (!ReplaceFile(path, bytes)) {
        throw IoError::FromErrno("Unable to write to", path);
    }
}

// Local midnight in UTC seconds: visits since then are today's.
std::int64_t todayStart() {
    return QDateTime(QDate::currentDate(), QTime(0, 0)).toSecsSinceEpoch();
}

}  // namespace

// The picture: painted, hovered and clicked through the window's callbacks.
class SquareMapView : public QWidget {
public:
    std::function<void(QPainter&, QSize)> paint;
    std::function<void(QPoint)> hover;
    std::function<void(QPoint)> click;

    explicit SquareMapView(QWidget* parent) : QWidget(parent) {
        setMouseTracking(true);
        setMinimumSize(kPictureWidth / 2, kPictureHeight / 2);
        resize(kLeftMargin + kPictureWidth + 2, kTopMargin + kPictureHeight + 2);
    }
    QSize sizeHint() const override {
        return {kLeftMargin + kPictureWidth + 2, kTopMargin + kPictureHeight + 2};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint(p, size());
    }
    void mouseMoveEvent(QMouseEvent* event) override { hover(event->position().toPoint()); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            click(event->position().toPoint());
        }
    }
};

namespace {

struct PaintInput {
    QImage& outline;  // the outline at the size of the grid's last painting
    const maps::SquareHistory& history;
    const std::vector<bool>& land;
    const std::vector<maps::LatLong>& track;
    std::optional<int> current;
    std::int64_t todayStart;
};

void paintSquares(QPainter& p, QSize size, const PaintInput& in) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QRectF grid = gridArea(size);
    // Scaled once per size of the picture, not at every repaint.
    if (in.outline.size() != grid.size().toSize()) {
        in.outline = in.outline.scaled(grid.size().toSize(), Qt::IgnoreAspectRatio,
                                       Qt::SmoothTransformation);
    }
    p.drawImage(grid.topLeft(), in.outline);

    for (int i = 0; i < maps::kGridSquares; ++i) {
        const QRectF box = squareRect(grid, i);
        if (!in.land.empty() && !in.land[i]) {
            p.fillRect(box, kNoLandVeil);
        }
        if (const auto& visit = in.history.Visit(i)) {
            const bool today = visit->last != maps::kUnknownTime && visit->last >= in.todayStart;
            p.fillRect(box, today ? kVisitedToday : kVisited);
        }
    }
    p.setPen(QPen(kGridLine, 1));
    for (int column = 0; column <= maps::kGridNumbers; ++column) {
        const double x = grid.left() + grid.width() * column / maps::kGridNumbers;
        p.drawLine(QPointF(x, grid.top()), QPointF(x, grid.bottom()));
    }
    for (int row = 0; row <= maps::kGridLetters; ++row) {
        const double y = grid.top() + grid.height() * row / maps::kGridLetters;
        p.drawLine(QPointF(grid.left(), y), QPointF(grid.right(), y));
    }

    p.setRenderHint(QPainter::Antialiasing);
    if (in.track.size() > 1) {
        QPainterPath path(placeOf(grid, in.track.front()));
        for (const maps::LatLong& point : in.track) {
            path.lineTo(placeOf(grid, point));
        }
        p.setPen(QPen(kTrack, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    if (in.current) {
        p.setPen(QPen(kCurrentFrame, 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(squareRect(grid, *in.current).adjusted(1, 1, -1, -1));
    }

    QFont font = look::formFont();
    font.setPixelSize(9);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int row = 0; row < maps::kGridLetters; ++row) {
        const QRectF box = squareRect(grid, row * maps::kGridNumbers);
        p.drawText(QRectF(0, box.top(), kLeftMargin - 2, box.height()), Qt::AlignCenter,
                   QString(QChar('A' + row)));
    }
    for (int column = 0; column < maps::kGridNumbers; ++column) {
        const QRectF box = squareRect(grid, column);
        p.drawText(QRectF(box.left(), 0, box.width(), kTopMargin), Qt::AlignCenter,
                   QStringLiteral("%1").arg(column, 2, 10, QLatin1Char('0')));
    }
}

}  // namespace

TFormSquares::TFormSquares(maps::SquareVisits& visits, std::string squareDataFile,
                           ShowSheet showSheet, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_visits(visits),
      m_squareDataFile(std::move(squareDataFile)),
      m_showSheet(std::move(showSheet)) {
    m_outline.load(QStringLiteral(":/kvadratai/overview.png"));
    m_scaledOutline = m_outline;
    const QByteArray land = resourceBytes(QStringLiteral(":/kvadratai/country-squares.txt"));
    m_landSquares = maps::GridMaskOfList({land.constData(), static_cast<std::size_t>(land.size())});
    buildWindow();
}

TFormSquares::~TFormSquares() = default;

void TFormSquares::buildWindow() {
    setWindowTitle(QStringLiteral("Kvadratų apžvalga"));
    setFont(look::formFont());
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    lbCounter = look::named(new QLabel(this), "lbCounter");
    QFont bold = look::formFont();
    bold.setBold(true);
    lbCounter->setFont(bold);
    top->addWidget(lbCounter);
    const auto swatch = [](const QColor& c) {
        return QStringLiteral(
                   "<span style=\"background-color: rgba(%1,%2,%3,%4)\">"
                   "&nbsp;&nbsp;&nbsp;&nbsp;</span>")
            .arg(c.red())
            .arg(c.green())
            .arg(c.blue())
            .arg(c.alpha());
    };
    auto* legend = new QLabel(
        QStringLiteral("&nbsp;&nbsp;%1 aplankytas &nbsp;%2 šiandien &nbsp;"
                       "<span style=\"color: rgb(210,0,0)\"><b>&#9633;</b></span> dabar "
                       "&nbsp;<span style=\"color: rgb(0,0,170)\"><b>&#8212;</b></span> kelias")
            .arg(swatch(kVisited), swatch(kVisitedToday)),
        this);
    top->addWidget(legend);
    top->addStretch();
    btPng = look::named(new QPushButton(QStringLiteral("Išsaugoti &PNG..."), this), "btPng");
    btCsv = look::named(new QPushButton(QStringLiteral("Išsaugoti &CSV..."), this), "btCsv");
    top->addWidget(btPng);
    top->addWidget(btCsv);
    layout->addLayout(top);

    m_view = new SquareMapView(this);
    m_view->setObjectName(QStringLiteral("SquareMap"));
    layout->addWidget(m_view, 1);
    // Whole at the outline's own scale; a new window would otherwise take two thirds of the
    // screen at most.
    resize(sizeHint());

    m_view->paint = [this](QPainter& p, QSize size) {
        paintSquares(p, size,
                     {m_scaledOutline, m_visits.History(), m_landSquares, m_visits.Track(),
                      m_visits.Current(), todayStart()});
    };
    m_view->hover = [this](QPoint point) {
        const auto index = SquareAt(point);
        if (!index) {
            QToolTip::hideText();
            return;
        }
        QToolTip::showText(m_view->mapToGlobal(point), hoverText(*index), m_view,
                           SquareRect(*index));
    };
    m_view->click = [this](QPoint point) {
        if (const auto index = SquareAt(point)) {
            guarded([&] { SquareClick(*index); }, this);
        }
    };
    connect(btPng, &QPushButton::clicked, this,
            [this] { guarded([this] { btPngClick(); }, this); });
    connect(btCsv, &QPushButton::clicked, this,
            [this] { guarded([this] { btCsvClick(); }, this); });
}

void TFormSquares::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    guarded([this] { FormShow(); }, this);
}

void TFormSquares::FormShow() {
    try {
        m_visits.Open();
    } catch (const IoError&) {
        Refresh();
        throw;
    }
    try {
        m_cells = maps::readAllSquareCells(m_squareDataFile);
    } catch (const IoError&) {
        m_cells.clear();  // the tooltips then go without locators
    }
    Refresh();
    const std::vector<std::string> problems = m_visits.TakeProblems();
    if (!problems.empty()) {
        QStringList lines;
        for (const std::string& problem : problems) {
            lines << QString::fromStdString(problem);
        }
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        lines.join(QLatin1Char('\n')), QMessageBox::Ok, this);
        box.exec();
    }
}

void TFormSquares::Refresh() {
    lbCounter->setText(CounterText());
    m_view->update();
}

QString TFormSquares::CounterText() const {
    const int land = static_cast<int>(std::count(m_landSquares.begin(), m_landSquares.end(), true));
    return QStringLiteral("Aplankyta %1 iš %2")
        .arg(m_visits.History().VisitedCount(m_landSquares))
        .arg(land);
}

std::optional<int> TFormSquares::SquareAt(QPoint point) const {
    const QRectF grid = gridArea(m_view->size());
    if (!grid.contains(point)) {
        return std::nullopt;
    }
    const int column =
        static_cast<int>((point.x() - grid.left()) * maps::kGridNumbers / grid.width());
    const int row = static_cast<int>((point.y() - grid.top()) * maps::kGridLetters / grid.height());
    if (column < 0 || row < 0 || column >= maps::kGridNumbers || row >= maps::kGridLetters) {
        return std::nullopt;
    }
    return row * maps::kGridNumbers + column;
}

QRect TFormSquares::SquareRect(int index) const {
    return squareRect(gridArea(m_view->size()), index).toAlignedRect();
}

QWidget* TFormSquares::Picture() const {
    return m_view;
}

QString TFormSquares::hoverText(int index) const {
    return QString::fromStdString(maps::SquareInfoText(index, m_visits.History(), m_cells));
}

void TFormSquares::SquareClick(int index) {
    m_showSheet(maps::GridCode(index));
}

QImage TFormSquares::renderPicture() const {
    const QSize size(kLeftMargin + kPictureWidth + 2, kTopMargin + kPictureHeight + 24);
    QImage picture(size, QImage::Format_RGB32);
    QPainter p(&picture);
    QImage outline = m_outline;
    paintSquares(p, size - QSize(0, 22),
                 {outline, m_visits.History(), m_landSquares, m_visits.Track(), m_visits.Current(),
                  todayStart()});
    p.fillRect(QRect(0, size.height() - 22, size.width(), 22), Qt::white);
    QFont bold = look::formFont();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::black);
    p.drawText(QRect(kLeftMargin, size.height() - 20, size.width(), 18),
               Qt::AlignLeft | Qt::AlignVCenter,
               CounterText() + QStringLiteral("  (") +
                   QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) +
                   QLatin1Char(')'));
    return picture;
}

void TFormSquares::ExportPng(const std::string& path) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!renderPicture().save(&buffer, "PNG")) {
        throw IoError("Unable to write to " + path);
    }
    writeWhole(path, {bytes.constData(), static_cast<std::size_t>(bytes.size())});
}

void TFormSquares::ExportCsv(const std::string& path) const {
    // Read anew: the list must carry the locators, and says so when it cannot.
    writeWhole(path,
               maps::SquaresCsv(m_visits.History(), maps::readAllSquareCells(m_squareDataFile)));
}

void TFormSquares::btPngClick() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Išsaugoti paveikslą"),
                                     QString::fromStdString(m_visits.Path())
                                         .replace(QStringLiteral(".txt"), QStringLiteral(".png")),
                                     QStringLiteral("PNG (*.png)"));
    if (!path.isEmpty()) {
        ExportPng(path.toStdString());
    }
}

void TFormSquares::btCsvClick() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Išsaugoti istoriją"),
                                     QString::fromStdString(m_visits.Path())
                                         .replace(QStringLiteral(".txt"), QStringLiteral(".csv")),
                                     QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty()) {
        ExportCsv(path.toStdString());
    }
}

}  // namespace kem
