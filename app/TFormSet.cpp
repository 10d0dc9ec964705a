#include "app/TFormSet.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "app/BaudSetting.h"
#include "app/PortChoices.h"
#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "base/TextRules.h"
#include "base/ui/Cp1257.h"
#include "base/ui/ErrorBox.h"
#include "base/ui/WindowLook.h"
#include "gps/NetworkSource.h"
#include "gps/SourceAddress.h"

namespace kem {
namespace {

namespace keys = settings;

QLabel* makeStaticText(QWidget* parent, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    look::placeAt(label, left, top);
    return label;
}

QComboBox* makeBox(QWidget* parent, const char* name, const QStringList& items, int left, int top,
                   int width) {
    auto* box = look::named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->adjustSize();
    look::place(box, left, top, width, box->height());
    return box;
}

// Long enough for a gpsd on this machine, short enough not to be noticed when there is none.
constexpr std::chrono::milliseconds kGpsdProbeTime{300};

std::string boxText(const QComboBox* box) {
    return toCp1257(box->currentText());
}

}  // namespace

TFormSet::TFormSet(IniFile& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), m_settings(settings) {
    setWindowTitle(QStringLiteral("Nustatymai"));
    setFont(look::formFont());
    resize(237, 121);

    makeStaticText(this, QStringLiteral("Ryšio su GPS RX prievadas"), 14, 20);
    PortComboBox = makeBox(this, "PortComboBox", {}, 154, 16, 65);
    PortComboBox->setEditText(QString::fromLatin1(keys::kPortDefault));
    makeStaticText(this, QStringLiteral("Pozicijos žymės dydis"), 14, 44);
    ComboBox2 = makeBox(this, "ComboBox2", {" 2", " 4", " 6", " 8", "10"}, 122, 41, 38);
    ComboBox2->setEditText(QStringLiteral("6"));
    makeStaticText(this, QStringLiteral("pikselių"), 166, 43);
    QLabel* StaticText11 = makeStaticText(this, QStringLiteral("&Atnaujinti kas"), 13, 68);
    StaticText11->setFixedWidth(66);
    ComboBox1 = makeBox(this, "ComboBox1", {"  5", "10", "20", "30", "60"}, 82, 65, 38);
    ComboBox1->setEditText(QStringLiteral(" 15"));
    StaticText11->setBuddy(ComboBox1);
    makeStaticText(this, QStringLiteral("sekundžių"), 124, 67);
    // The receiver's rate, in the free corner beside the button.
    QLabel* baudLabel = makeStaticText(this, QStringLiteral("&Greitis, bodai"), 13, 99);
    BaudComboBox = makeBox(this, "BaudComboBox", {}, 82, 96, 62);
    for (const auto& choice : baudChoices()) {
        BaudComboBox->addItem(QString::fromStdString(choice));
    }
    BaudComboBox->setEditText(QString::fromStdString(baudText(keys::kBaudDefault)));
    baudLabel->setBuddy(BaudComboBox);
    btApply = look::named(new QPushButton(QStringLiteral("Taikyti"), this), "btApply");
    look::place(btApply, 168, 96, 65, 20);

    showBaudApplies();
    connect(PortComboBox, &QComboBox::editTextChanged, this, [this] { showBaudApplies(); });

    setTabOrder(PortComboBox, ComboBox2);
    setTabOrder(ComboBox2, ComboBox1);
    setTabOrder(ComboBox1, BaudComboBox);
    setTabOrder(BaudComboBox, btApply);

    connect(btApply, &QPushButton::clicked, this, &TFormSet::btApplyClick);
}

void TFormSet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        guarded([this] { FormShow(); }, this);
    }
}

void TFormSet::closeEvent(QCloseEvent* event) {
    // A settings file that cannot be written keeps the dialog open.
    if (guarded([this] { FormClose(); }, this)) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TFormSet::FormShow() {
    // The list follows the adapters plugged in now.
    PortComboBox->clear();
    // The network addresses a user cannot guess: gpsd on this machine, when it answers.
    if (gps::LocalGpsdAnswers(kGpsdProbeTime)) {
        PortComboBox->addItem(QStringLiteral("gpsd"));
    }
    for (const auto& name : serialPortChoices()) {
        PortComboBox->addItem(QString::fromStdString(name));
    }
    const IniFile& ini = m_settings;
    PortComboBox->setEditText(
        fromCp1257(ini.ReadString(keys::kSection, keys::kPort, keys::kPortDefault)));
    const int top = ini.ReadInteger(keys::kSection, keys::kYSet, keys::kSetPlaceDefault);
    const int left = ini.ReadInteger(keys::kSection, keys::kXSet, keys::kSetPlaceDefault);
    move(left, top);
    ComboBox1->setEditText(
        QString::number(ini.ReadInteger(keys::kSection, keys::kPeriod, keys::kPeriodDefault)));
    ComboBox2->setEditText(QString::number(
        2 * qint64{ini.ReadInteger(keys::kSection, keys::kRadius, keys::kRadiusDefault)}));
    BaudComboBox->setEditText(QString::fromStdString(
        baudText(baudFromText(ini.ReadString(keys::kSection, keys::kBaud, "")))));
}

void TFormSet::FormClose() {
    const std::string port = boxText(PortComboBox);
    Settings settings;
    settings.period = TextToIntDef(boxText(ComboBox1), keys::kPeriodDefault);
    settings.radius = TextToIntDef(boxText(ComboBox2), 2 * keys::kRadiusDefault) / 2;
    settings.port = std::string(Trim(port));
    settings.baud = baudFromText(boxText(BaudComboBox));
    emit applied(settings);

    // The port is stored as typed; the driver gets it trimmed.
    m_settings.WriteInteger(keys::kSection, keys::kYSet, y());
    m_settings.WriteInteger(keys::kSection, keys::kXSet, x());
    m_settings.WriteInteger(keys::kSection, keys::kPeriod, settings.period);
    m_settings.WriteInteger(keys::kSection, keys::kRadius, settings.radius);
    m_settings.WriteString(keys::kSection, keys::kPort, port);
    m_settings.WriteInteger(keys::kSection, keys::kBaud, settings.baud);
}

// A network receiver has no line rate: the box is off and says why.
void TFormSet::showBaudApplies() {
    std::string error;
    const auto address = gps::ParseSourceAddress(std::string(Trim(boxText(PortComboBox))), error);
    const bool network = !address || address->IsNetwork();
    BaudComboBox->setEnabled(!network);
    BaudComboBox->setToolTip(network ? QStringLiteral("Tinklo šaltiniams (gpsd, tcp://) greitis "
                                                      "ir „Auto“ netaikomi")
                                     : QString());
}

void TFormSet::btApplyClick() {
    close();
}

}  // namespace kem
