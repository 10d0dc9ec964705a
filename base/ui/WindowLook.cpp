#include "base/ui/WindowLook.h"

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

}  // namespace kem::look
