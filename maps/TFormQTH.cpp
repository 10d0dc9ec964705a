#include "maps/TFormQTH.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QValidator>
#include <algorithm>

#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "base/TextRules.h"
#include "base/ui/Cp1257.h"
#include "base/ui/ErrorBox.h"
#include "base/ui/WindowLook.h"
#include "maps/MapMark.h"
#include "maps/MapSheet.h"
#include "maps/SquareData.h"

namespace kem {
namespace {

namespace keys = settings;

constexpr int kFieldHeight = 21;
constexpr int kCoordinateWidth = 25;
// Whether a field is closed; its colour shows it.
constexpr const char* kClosed = "closed";

struct FieldPlace {
    const char* name;
    int left;
    int top;
};
constexpr FieldPlace kCoordinatePlaces[6] = {
    {"edLaDeg", 65, 42}, {"edLaMin", 97, 42}, {"edLaSec", 129, 42},
    {"edLoDeg", 65, 66}, {"edLoMin", 97, 66}, {"edLoSec", 129, 66},
};

// The row and field labels, wide enough for the bold font too.
struct LabelPlace {
    const char* text;
    int left;
    int top;
    int width;
};
constexpr LabelPlace kLabelPlaces[] = {
    {"Platuma", 12, 48, 52},
    {"Ilguma", 12, 67, 52},
    {"KEM", 8, 99, 30},
    {"WWL", 85, 99, 35},
};

// The unit signs after the fields and the hemispheres at the row ends, in their own bold
// 16-pixel font.
struct UnitPlace {
    const char* text;
    int left;
    int top;
};
constexpr UnitPlace kUnitPlaces[] = {
    {"°", 91, 40}, {"'", 123, 40}, {"\"", 155, 40}, {"N", 168, 48},
    {"°", 91, 64}, {"'", 123, 64}, {"\"", 155, 64}, {"E", 168, 69},
};

const QColor kBlack{0, 0, 0};

// Typed letters become capitals, as the code and locator fields want them.
class UpperCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

QLineEdit* makeField(QWidget* parent, const char* name, int left, int top, int width) {
    auto* field = look::named(new QLineEdit(parent), name);
    look::place(field, left, top, width, kFieldHeight);
    return field;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width) {
    auto* button = look::named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);  // Enter in a field presses nothing
    look::place(button, left, top, width, 19);
    return button;
}

// The bold button's picture: a bold "B".
QIcon boldPicture() {
    QPixmap picture(13, 13);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    QFont font = look::formFont();
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("B"));
    p.end();
    return QIcon(picture);
}

void setTextColour(QLineEdit* field, const QColor& colour) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, colour);
    field->setPalette(palette);
}

}  // namespace

TFormQTH::TFormQTH(IniFile& settings, maps::MapSheet& sheet, std::function<void()> beep,
                   QWidget* parent)
    : QDialog(parent), m_settings(settings), m_sheet(sheet), m_beep(std::move(beep)) {
    buildWindow();
    connectControls();
}

void TFormQTH::buildWindow() {
    setWindowTitle(QStringLiteral(" QTH  KEM WWL"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());
    setFixedSize(196, 168);

    auto* prompt = new QLabel(QStringLiteral("Įveskite geografines koordinates"), this);
    prompt->setAlignment(Qt::AlignHCenter);
    look::place(prompt, 6, 15, 188, 16);
    for (const LabelPlace& label : kLabelPlaces) {
        look::place(new QLabel(QString::fromUtf8(label.text), this), label.left, label.top,
                    label.width, 14);
    }

    for (std::size_t i = 0; i < m_coordinates.size(); ++i) {
        const FieldPlace& at = kCoordinatePlaces[i];
        m_coordinates[i] = makeField(this, at.name, at.left, at.top, kCoordinateWidth);
    }
    edLaDeg = m_coordinates[0];
    edLaMin = m_coordinates[1];
    edLaSec = m_coordinates[2];
    edLoDeg = m_coordinates[3];
    edLoMin = m_coordinates[4];
    edLoSec = m_coordinates[5];

    QFont unitFont = look::formFont();
    unitFont.setBold(true);
    unitFont.setPixelSize(16);
    for (const UnitPlace& unit : kUnitPlaces) {
        auto* label = new QLabel(QString::fromUtf8(unit.text), this);
        label->setFont(unitFont);  // its own: the bold button does not reach it
        look::placeAt(label, unit.left, unit.top);
    }

    edKEM = makeField(this, "edKEM", 39, 95, 40);
    edWWL = makeField(this, "edWWL", 121, 95, 60);
    edKEM->setValidator(new UpperCase(edKEM));
    edWWL->setValidator(new UpperCase(edWWL));

    btCalc = makeButton(this, "btCalc", QStringLiteral("Skaičiuoti"), 11, 128, 62);
    btMap = makeButton(this, "btMap", QStringLiteral("Rodyti žemėlapyje"), 76, 128, 114);
    btMap->setEnabled(false);
    btClose = makeButton(this, "btClose", QStringLiteral("Uždaryti"), 135, 149, 55);

    btBold = look::named(new QToolButton(this), "btBold");
    btBold->setCheckable(true);
    btBold->setIcon(boldPicture());
    btBold->setFocusPolicy(Qt::NoFocus);
    look::place(btBold, 11, 150, 17, 17);

    QWidget* const tabOrder[] = {edLaDeg, edLaMin, edLaSec, edLoDeg, edLoMin, edLoSec,
                                 edKEM,   edWWL,   btCalc,  btMap,   btClose};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    for (QLineEdit* field : allFields()) {
        setOpen(field, true);
    }
}

void TFormQTH::connectControls() {
    for (QLineEdit* field : allFields()) {
        field->installEventFilter(this);
    }
    connect(btCalc, &QPushButton::clicked, this,
            [this] { guarded([this] { btCalcClick(); }, this); });
    connect(btMap, &QPushButton::clicked, this,
            [this] { guarded([this] { btMapClick(); }, this); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);
    connect(btBold, &QToolButton::clicked, this, &TFormQTH::btBoldClick);
}

// The entry mode changes on a mouse click into a field, not when the keyboard moves the focus.
bool TFormQTH::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == edKEM) {
            edKEMClick();
        } else if (watched == edWWL) {
            edWWLClick();
        } else if (std::find(m_coordinates.begin(), m_coordinates.end(), watched) !=
                   m_coordinates.end()) {
            DataChanged();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormQTH::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        guarded([this] { FormShow(); }, this);
    }
}

void TFormQTH::done(int result) {
    guarded([this] { FormClose(); }, this);
    QDialog::done(result);
}

void TFormQTH::setOpen(QLineEdit* field, bool open) {
    field->setProperty(kClosed, !open);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(open ? QPalette::Base : QPalette::Button));
    field->setPalette(palette);
    field->setReadOnly(!open);
}

bool TFormQTH::isClosed(const QLineEdit* field) {
    return field->property(kClosed).toBool();
}

void TFormQTH::setBold(bool bold) {
    QFont bolder = font();
    bolder.setBold(bold);
    setFont(bolder);
}

maps::TypedCoordinates TFormQTH::typedCoordinates() const {
    maps::TypedCoordinates typed;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        typed[i] = toCp1257(m_coordinates[i]->text());
    }
    return typed;
}

std::string TFormQTH::trimmedText(const QLineEdit* field) const {
    return std::string(Trim(toCp1257(field->text())));
}

std::array<QLineEdit*, 8> TFormQTH::allFields() const {
    return {edLaDeg, edLaMin, edLaSec, edLoDeg, edLoMin, edLoSec, edKEM, edWWL};
}

void TFormQTH::closeCoordinates() {
    for (QLineEdit* field : m_coordinates) {
        setOpen(field, false);
    }
}

// --- Entry modes -----------------------------------------------------------------------------

void TFormQTH::DataChanged() {
    btMap->setEnabled(false);
    btCalc->setEnabled(true);
    for (QLineEdit* field : {edKEM, edWWL}) {
        field->clear();
        setOpen(field, false);
    }
}

void TFormQTH::edKEMClick() {
    btMap->setEnabled(true);
    btCalc->setEnabled(false);
    edWWL->clear();
    setOpen(edWWL, false);
    closeCoordinates();
}

void TFormQTH::edWWLClick() {
    btMap->setEnabled(true);
    edKEM->clear();
    setOpen(edKEM, false);
    btCalc->setEnabled(false);
    closeCoordinates();
}

// --- Buttons ---------------------------------------------------------------------------------

void TFormQTH::btCalcClick() {
    const maps::TypedCoordinates typed = typedCoordinates();
    const std::array<bool, 6> outOfRange = maps::outOfRange(typed);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        setTextColour(m_coordinates[i], outOfRange[i] ? look::kRed : kBlack);
        if (outOfRange[i]) {
            m_beep();
        }
    }
    if (std::find(outOfRange.begin(), outOfRange.end(), true) != outOfRange.end()) {
        return;
    }
    const maps::QthResult result = maps::calcQth(typed);
    edKEM->setText(fromCp1257(result.square));
    edWWL->setText(fromCp1257(result.locator));
    btMap->setEnabled(true);
}

// The sheet of code with the typed position marked.
void TFormQTH::drawPosition(const std::string& code) {
    m_sheet.KEMSquare(code);
    const maps::MarkCentre centre =
        maps::qthMarkCentre(toCp1257(edLaMin->text()), toCp1257(edLaSec->text()),
                            toCp1257(edLoMin->text()), toCp1257(edLoSec->text()));
    m_sheet.DrawMark(centre.x, centre.y);
}

// Each mode's test runs on its own, in this order; a mode left half-set by the clicks can pass
// several of them. The sheet gets the checked code, so blanks typed around a square code do not
// give an empty sheet.
void TFormQTH::btMapClick() {
    if (isClosed(edKEM) && isClosed(edWWL)) {  // coordinates, after computing
        const std::string code = trimmedText(edKEM);
        if (maps::isSquareCode(code)) {
            drawPosition(code);
        }
    }
    if (isClosed(edLaDeg) && isClosed(edWWL)) {  // a square code
        const std::string code = trimmedText(edKEM);
        if (maps::isSquareCode(code)) {
            m_sheet.KEMSquare(code);
        }
    }
    if (isClosed(edLaDeg) && isClosed(edKEM)) {  // a locator
        const std::string locator = trimmedText(edWWL);
        if (maps::isWwlLocator(locator)) {
            // A computed square whose locator the data file lacks keeps its code: emptying it
            // would replace the square just shown by an empty sheet. (A typed locator comes
            // with edKEM emptied by the click that chose the mode.)
            const std::string code = maps::findSquareOfLocator(m_sheet.SquareDataFile(), locator);
            if (!code.empty()) {
                edKEM->setText(fromCp1257(code));
            }
            m_sheet.KEMSquare(toCp1257(edKEM->text()));
        }
    }
    for (QLineEdit* field : allFields()) {
        setOpen(field, true);
    }
}

void TFormQTH::btBoldClick() {
    setBold(btBold->isChecked());
}

// --- Opening and closing ---------------------------------------------------------------------

void TFormQTH::FormShow() {
    const IniFile& ini = m_settings;
    move(ini.ReadInteger(keys::kSection, keys::kXQth, keys::kXQthDefault),
         ini.ReadInteger(keys::kSection, keys::kYQth, keys::kYQthDefault));
    const bool bold = ini.ReadBool(keys::kSection, keys::kBoldQth, false);
    setBold(bold);
    btBold->setChecked(bold);
}

// Each opening starts with empty, editable fields; a closed coordinate field keeps its grey (and
// a failed check its red) until the next click or map. The fields are reset before the settings
// are written, so a settings file that cannot be written still leaves them so.
void TFormQTH::FormClose() {
    for (QLineEdit* field : {edKEM, edWWL}) {
        setOpen(field, true);
    }
    for (QLineEdit* field : allFields()) {
        field->setReadOnly(false);
        field->clear();
    }
    m_settings.WriteInteger(keys::kSection, keys::kXQth, x());
    m_settings.WriteInteger(keys::kSection, keys::kYQth, y());
    m_settings.WriteBool(keys::kSection, keys::kBoldQth, font().bold());
}

}  // namespace kem
