#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// Fonts, colours and placing shared by the windows of KEMGPS. The windows were drawn for 96 dpi,
// so font sizes are pixel sizes (8 pt = 11 px).
namespace kem::look {

inline constexpr int kFormFontPixels = 11;
inline const QColor kNavy{0, 0, 128};
inline const QColor kRed{255, 0, 0};

// The windows' ordinary 8-point sans-serif font.
QFont formFont();
// The serif face of the program's name labels, in the given pixel height.
QFont titleFont(int pixels);

// Places a widget at left, top, width x height of its parent's client area.
void place(QWidget* widget, int left, int top, int width, int height);
// Places a widget at left, top with its natural size.
void placeAt(QWidget* widget, int left, int top);

// Shows plain text in a label of fixed width; each line that does not fit is elided in the middle,
// and the whole text then becomes the label's tooltip.
void setElidedText(QLabel* label, const QString& text);

// Gives a control its design name as object name (tests and tools find controls by it).
template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

}  // namespace kem::look
