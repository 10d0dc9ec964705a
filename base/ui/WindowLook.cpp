#include "base/ui/WindowLook.h"

#include <QLabel>
#include <QWidget>

namespace kem::look {

QFont formFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(kFormFontPixels);
    // Named explicitly, so a widget with this font keeps it when its parent turns bold.
    font.setWeight(QFont::Normal);
    return font;
}

QFont titleFont(int pixels) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
}

void placeAt(QWidget* widget, int left, int top) {
    widget->adjustSize();
    widget->move(left, top);
}

void setElidedText(QLabel* label, const QString& text) {
    const QFontMetrics metrics(label->font());
    // A framed label indents its text by half an "x" on each side.
    const int room = label->contentsRect().width() - 2 * label->margin() -
                     metrics.horizontalAdvance(QLatin1Char('x'));
    QStringList lines = text.split(QLatin1Char('\n'));
    bool elided = false;
    for (QString& line : lines) {
        const QString shown = metrics.elidedText(line, Qt::ElideMiddle, room);
        elided = elided || shown != line;
        line = shown;
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(lines.join(QLatin1Char('\n')));
    label->setToolTip(elided ? text : QString());
}

}  // namespace kem::look
