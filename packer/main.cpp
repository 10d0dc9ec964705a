#include <QApplication>
#include <QMessageBox>

#include "archive/ZipComponent.h"
#include "packer/TForm1.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KEMZIP"));
    // Every report of the archive library is shown in a warning box.
    kem::archive::ZipComponent::SetWarningBox([](const std::string& text) {
        QMessageBox box(QMessageBox::Warning, QApplication::applicationName(),
                        QString::fromUtf8(text), QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
    kem::packer::TForm1 form(QApplication::applicationDirPath().toStdString() + "/");
    form.show();
    return QApplication::exec();
}
