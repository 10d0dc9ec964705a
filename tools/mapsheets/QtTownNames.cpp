#include "tools/mapsheets/QtTownNames.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace kem::mapsheets {

TextImage QtTownName(const std::string& name, bool major) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(major ? 11 : 9);
    font.setBold(major);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QString::fromUtf8(name);
    const QFontMetrics metrics(font);
    // One pixel of margin on every side for the halo.
    const int width = metrics.horizontalAdvance(text) + 2;
    const int height = metrics.ascent() + metrics.descent() + 2;
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(1, 1 + metrics.ascent(), text);
    painter.end();

    TextImage result{width, height, {}};
    result.ink.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            result.ink.push_back(line[x] < 128 ? 1 : 0);
        }
    }
    return result;
}

}  // namespace kem::mapsheets
