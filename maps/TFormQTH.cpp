#include "maps/TFormQTH.h"

#include <QPushButton>
#include <QShowEvent>

#include "base/IniFile.h"
#include "base/SettingsKeys.h"
#include "base/ui/ErrorBox.h"
#include "base/ui/WindowLook.h"

namespace kem {
namespace {

namespace keys = settings;

}  // namespace

TFormQTH::TFormQTH(IniFile& settings, QWidget* parent) : QDialog(parent), m_settings(settings) {
    setWindowTitle(QStringLiteral(" QTH  KEM WWL"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());
    setFixedSize(196, 168);

    btClose = look::named(new QPushButton(QStringLiteral("Uždaryti"), this), "btClose");
    look::place(btClose, 135, 149, 55, 19);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
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

void TFormQTH::FormShow() {
    const IniFile& ini = m_settings;
    move(ini.ReadInteger(keys::kSection, keys::kXQth, keys::kXQthDefault),
         ini.ReadInteger(keys::kSection, keys::kYQth, keys::kYQthDefault));
    QFont bold = font();
    bold.setBold(ini.ReadBool(keys::kSection, keys::kBoldQth, false));
    setFont(bold);
}

void TFormQTH::FormClose() {
    m_settings.WriteInteger(keys::kSection, keys::kXQth, x());
    m_settings.WriteInteger(keys::kSection, keys::kYQth, y());
    m_settings.WriteBool(keys::kSection, keys::kBoldQth, font().bold());
}

}  // namespace kem
