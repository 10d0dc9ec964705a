// The map sheet of the main window: drawing a square's sheet, the position marks, expedition
// maps and the measurement log.
#include <QDate>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <filesystem>

#include "app/IoError.h"
#include "app/MapFiles.h"
#include "app/MapMark.h"
#include "app/TFormMain.h"
#include "app/WindowLook.h"

namespace kem {
namespace {

namespace fs = std::filesystem;

constexpr int kSheetWidth = 172;
constexpr int kSheetHeight = 306;
const QColor kGridGrey{128, 128, 128};

// Top-left corners of the eight cell labels, row by row from the north-west.
constexpr QPoint kCellPlaces[8] = {{20, 40},  {110, 40},  {20, 110}, {110, 110},
                                   {20, 185}, {110, 185}, {20, 265}, {110, 265}};

QImage whiteSheet() {
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(3780);  // 96 dpi
    sheet.setDotsPerMeterY(3780);
    sheet.fill(Qt::white);
    return sheet;
}

// Opaque text on white with its top-left corner at place.
void drawOpaqueText(QPainter& p, QPoint place, const QString& text) {
    const QRect box = p.fontMetrics().boundingRect(QRect(place, QSize(400, 100)),
                                                   Qt::AlignLeft | Qt::AlignTop, text);
    p.fillRect(box, Qt::white);
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
}

QString latin(const std::string& bytes) {
    return QString::fromLatin1(bytes);
}

}  // namespace

void TFormMain::showPicture() {
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

void TFormMain::loadPicture(const std::string& path) {
    QImage image;
    if (!image.load(QString::fromStdString(path), "BMP")) {
        throw IoError("Unable to read the bitmap " + path);
    }
    m_picture = image.convertToFormat(QImage::Format_RGB32);
    showPicture();
}

void TFormMain::KEMSquare(const std::string& code) {
    const SquareCells cells = readSquareCells(findFileNoCase(ProgramDir, "KEMWWL.dat"), code);
    m_picture = whiteSheet();
    showPicture();

    const std::string mapFolder = ProgramDir + "SKVERAI/";
    const std::string bitmap = mapFolder + code + ".bmp";
    const std::string archive = mapFolder + code + ".z";
    std::error_code error;
    if (!fs::exists(bitmap, error) && fs::exists(archive, error)) {
        UnZip1.SetArcName(archive);
        UnZip1.SetExtrPath(mapFolder);
        UnZip1.Files().clear();
        UnZip1.Extract();  // problems are reported by the component itself
    }
    if (fs::exists(bitmap, error)) {
        loadPicture(bitmap);
    }

    QPainter p(&m_picture);
    p.setPen(QPen(kGridGrey, 1));
    for (const int y : {77, 153, 230}) {
        p.drawLine(0, y, kSheetWidth - 1, y);
    }
    p.drawLine(86, 0, 86, kSheetHeight - 1);
    QFont font(look::formFont());
    font.setBold(true);
    font.setPixelSize(24);  // 18 pt
    p.setFont(font);
    drawOpaqueText(p, {62, 5}, latin(code));
    font.setPixelSize(look::kFormFontPixels);
    p.setFont(font);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        drawOpaqueText(p, kCellPlaces[i], latin(cells[i]));
    }
    p.end();
    showPicture();
}

void TFormMain::drawMark(int x, int y) {
    if (m_picture.isNull()) {
        m_picture = whiteSheet();
    }
    QPainter p(&m_picture);
    p.setPen(Qt::NoPen);
    p.setBrush(look::kRed);
    p.drawEllipse(QRect(x - Radius, y - Radius, 2 * Radius, 2 * Radius));
    p.end();
    showPicture();
}

void TFormMain::ToMap(const std::string& latRaw, const std::string& longRaw) {
    const MarkCentre centre = markCentre(latRaw, longRaw, DecimalSeparatorCopy);
    drawMark(centre.x, centre.y);
}

void TFormMain::SaveMap(const std::string& square) {
    const QDate today = QDate::currentDate();
    const std::string name =
        expeditionMapName(ProgramDir + "EKSPEDICIJOS/", square, today.month(), today.day());
    const QImage sheet = m_picture.isNull() ? whiteSheet() : m_picture;
    if (!sheet.save(QString::fromStdString(name), "BMP")) {
        throw IoError("Unable to write to " + name);
    }
}

void TFormMain::ToLog(const gps::GpsFix& fix) {
    appendLogLine(ProgramDir + "EKSPEDICIJOS/Log.txt", fix);
}

void TFormMain::MWayClick() {
    SaveMap(CurrentSquare());
}

void TFormMain::OpenExpedClick() {
    Panel4->show();
    Panel4->raise();
    FileListBox1->clear();
    const QDir folder(QString::fromStdString(ProgramDir + "EKSPEDICIJOS"));
    FileListBox1->addItems(folder.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name));
}

void TFormMain::FileListBox1Click() {
    const QListWidgetItem* item = FileListBox1->currentItem();
    if (item == nullptr) {
        return;
    }
    loadPicture(ProgramDir + "EKSPEDICIJOS/" + item->text().toStdString());
    Panel4->hide();
    Disconnect();
}

void TFormMain::FileListBox1DblClick() {
    Panel4->hide();
}

}  // namespace kem
