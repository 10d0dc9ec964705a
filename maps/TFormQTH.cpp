#include "maps/TFormQTH.h"

#include <QPushButton>
#include <QShowEvent>

#include "app/ErrorBox.h"
#include "app/Forms.h"
#include "app/IniFile.h"
#include "app/SettingsKeys.h"
#include "app/TFormMain.h"
#include "app/WindowLook.h"

namespace kem {
namespace {

namespace keys = settings;

}  // namespace

TFormQTH::TFormQTH(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(" QTH  KEM WWL"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(look::formFont());
    setFixedSize(196, 168);

    btClose = new QPushButton(QStringLiteral("Uždaryti"), this);
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
    IniFile& ini = *FormMain->SettingsFile;
    move(ini.ReadInteger(keys::kSection, keys::kXQth, keys::kXQthDefault),
         ini.ReadInteger(keys::kSection, keys::kYQth, keys::kYQthDefault));
    QFont bold = font();
    bold.setBold(ini.ReadBool(keys::kSection, keys::kBoldQth, false));
    setFont(bold);
}

void TFormQTH::FormClose() {
    IniFile& ini = *FormMain->SettingsFile;
    ini.WriteInteger(keys::kSection, keys::kXQth, x());
    ini.WriteInteger(keys::kSection, keys::kYQth, y());
    ini.WriteBool(keys::kSection, keys::kBoldQth, font().bold());
}

}  // namespace kem
