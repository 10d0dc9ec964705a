#include "maps/MapSheet.h"

#include <QBuffer>
#include <QDate>
#include <QPainter>
#include <algorithm>
#include <filesystem>

#include "archive/BinaryFile.h"
#include "base/IoError.h"
#include "base/WholeFile.h"
#include "base/ui/Cp1257.h"
#include "base/ui/Ellipse.h"
#include "base/ui/WindowLook.h"
#include "maps/BitmapLength.h"
#include "maps/ExpeditionMaps.h"
#include "maps/MapMark.h"
#include "maps/SquareData.h"
#include "maps/UnpackedSheets.h"

namespace kem::maps {
namespace {

namespace fs = std::filesystem;

const QColor kGridGrey{128, 128, 128};
constexpr int kMaxRadius = 4 * kFarOff;

// Top-left corners of the eight cell labels, row by row from the north-west.
constexpr QPoint kCellPlaces[8] = {{20, 40},  {110, 40},  {20, 110}, {110, 110},
                                   {20, 185}, {110, 185}, {20, 265}, {110, 265}};

QImage whiteSheet() {
    QImage sheet(MapSheet::kWidth, MapSheet::kHeight, QImage::Format_RGB32);
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

// File names are bytes (a square letter may be any byte), so files are opened by those bytes,
// never through a Unicode name.
QImage readBitmap(const std::string& path) {
    archive::BinaryFile file(path, archive::BinaryFile::Mode::Read);
    if (!file.IsOpen()) {
        throw IoError::FromErrno("Unable to open", path);
    }
    QByteArray bytes;
    std::uint8_t block[1 << 16];
    while (const std::size_t n = file.Read(block, sizeof block)) {
        bytes.append(reinterpret_cast<const char*>(block), static_cast<qsizetype>(n));
    }
    // Qt's reader would show the rows missing from a bitmap cut short as whatever memory held.
    const auto declared =
        declaredBitmapLength({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())});
    if (declared && static_cast<std::uint64_t>(bytes.size()) < *declared) {
        throw IoError("Unable to read the bitmap " + path +
                      ": the file is shorter than its header declares");
    }
    QImage image;
    if (!image.loadFromData(bytes, "BMP")) {
        throw IoError("Unable to read the bitmap " + path);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

void writeBitmap(const QImage& image, const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) {
        throw IoError("Unable to write to " + path);
    }
    // Whole or not at all: a half-written map on a full disk would take the name for good.
    CreateWhole(path, {bytes.constData(), static_cast<std::size_t>(bytes.size())});
}

}  // namespace

MapSheet::MapSheet(std::string programDir, QObject* parent)
    : QObject(parent),
      m_programDir(std::move(programDir)),
      m_log(m_programDir + "EKSPEDICIJOS/Log.txt") {
    m_unzip.SetOverwrite(true);
    // What a killed run was unpacking or saving never takes a final name; its pieces go here.
    RemoveLeftovers(MapFolder());
    RemoveLeftovers(ExpeditionFolder());
    // Reports keep their warning box; the sheet only notes that there were some.
    m_unzip.OnError = [this](archive::ZipComponent&, const std::string& text) {
        m_unpackReported = true;
        archive::ZipComponent::ShowWarningBox(text);
    };
}

std::string MapSheet::SquareDataFile() const {
    return findFileNoCase(m_programDir, kSquareDataName);
}

// Sheets copied from other systems may carry any letter case (k26.BMP, K26.Z).
std::string MapSheet::SheetFile(const std::string& code, const char* extension) const {
    return findFileNoCase(MapFolder(), code + extension);
}

// The archive is unpacked into a hidden folder of its own, and what it held is moved into the
// map folder only when the whole of it came out with the right checksums: a bitmap under its
// final name is always whole, whenever the program is killed. A damaged archive leaves nothing
// (the next visit tries again). Where that folder cannot be made (a read-only or full map
// folder), the archive component unpacks in place and reports why it cannot.
void MapSheet::UnpackIfNeeded(const std::string& code) {
    const std::string archive = SheetFile(code, ".z");
    std::error_code error;
    if (fs::exists(SheetFile(code, ".bmp"), error) || !fs::exists(archive, error)) {
        return;
    }
    const fs::path staging = NameBeside(MapFolder() + "unpacking");
    const bool staged = fs::create_directory(staging, error);
    m_unzip.SetArcName(archive);
    m_unzip.SetExtrPath(staged ? staging.string() + "/" : MapFolder());
    m_unzip.Files().clear();
    m_unpackReported = false;
    const bool whole = m_unzip.Extract() && !m_unpackReported;
    if (!staged) {
        if (!whole) {
            fs::remove(SheetFile(code, ".bmp"), error);
        }
        return;
    }
    if (whole) {
        for (const auto& entry : fs::directory_iterator(staging, error)) {
            fs::rename(entry.path(), fs::path(MapFolder()) / entry.path().filename(), error);
        }
    }
    fs::remove_all(staging, error);
}

// A sheet that cannot be read (cut short by a crash of an older version, damaged on the disk)
// is set aside under "<name>.damaged" and unpacked anew from its archive when there is one;
// otherwise the sheet stays white. Either way the position step goes on.
QImage MapSheet::SheetPicture(const std::string& code) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        UnpackIfNeeded(code);
        const std::string bitmap = SheetFile(code, ".bmp");
        std::error_code error;
        if (!fs::exists(bitmap, error)) {
            break;
        }
        try {
            return readBitmap(bitmap);
        } catch (const IoError&) {
            fs::rename(bitmap, bitmap + ".damaged", error);
            if (error) {
                break;
            }
        }
    }
    return whiteSheet();
}

void MapSheet::KEMSquare(const std::string& code) {
    const SquareCells cells = readSquareCells(SquareDataFile(), code);
    m_picture = whiteSheet();
    emit changed(m_picture);

    m_picture = SheetPicture(code);
    emit changed(m_picture);

    QPainter p(&m_picture);
    p.setPen(QPen(kGridGrey, 1));
    for (const int y : {77, 153, 230}) {
        p.drawLine(0, y, kWidth - 1, y);
    }
    p.drawLine(86, 0, 86, kHeight - 1);
    QFont font(look::formFont());
    font.setBold(true);
    font.setPixelSize(24);  // 18 pt
    p.setFont(font);
    drawOpaqueText(p, {62, 5}, fromCp1257(code));
    font.setPixelSize(look::kFormFontPixels);
    p.setFont(font);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        drawOpaqueText(p, kCellPlaces[i], fromCp1257(cells[i]));
    }
    p.end();
    emit changed(m_picture);
}

void MapSheet::DrawMark(int x, int y) {
    if (m_picture.isNull()) {
        m_picture = whiteSheet();
    }
    // A radius from a hand-edited settings file may be anything; a mark centred within kFarOff
    // of the sheet covers all of it long before kMaxRadius, so the radius is cut there and the
    // box's sides fit in an int.
    const int r = std::clamp(m_radius, 0, kMaxRadius);
    look::drawEllipse(m_picture, QRect(x - r, y - r, 2 * r, 2 * r), look::kRed, look::kRed);
    emit changed(m_picture);
}

void MapSheet::ToMap(const std::string& latRaw, const std::string& longRaw) {
    const MarkCentre centre = markCentre(latRaw, longRaw, m_decimalSeparator);
    DrawMark(centre.x, centre.y);
}

void MapSheet::SaveMap(const std::string& square) {
    const QDate today = QDate::currentDate();
    const std::string name =
        expeditionMapName(ExpeditionFolder(), square, today.month(), today.day());
    writeBitmap(m_picture.isNull() ? whiteSheet() : m_picture, name);
}

void MapSheet::ToLog(const LogEntry& entry) {
    m_log.Append(entry);
}

void MapSheet::LoadPicture(const std::string& path) {
    m_picture = readBitmap(path);
    emit changed(m_picture);
}

void MapSheet::DeleteUnpackedSheets() {
    deleteUnpackedSheets(MapFolder());
}

}  // namespace kem::maps
