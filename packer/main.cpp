#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include "archive/ZipComponent.h"
#include "base/ui/OpenProgramFolder.h"
#include "base/ui/ProgramIcons.h"
#include "packer/TForm1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KEMZIP"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(kem::look::packerIcon(48))));
    // Every report of the archive library is shown in a warning box.
    kem::archive::ZipComponent::SetWarningBox([](const std::string& text) {
        QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                        QString::fromUtf8(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
    const std::optional<std::string> programDir = kem::openProgramFolder();
    if (!programDir) {
        return 1;
    }
    kem::packer::TForm1 form(*programDir);
    form.show();
    return QApplication::exec();
}
