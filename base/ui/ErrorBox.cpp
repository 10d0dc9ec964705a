#include "base/ui/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace kem {

QString errorBoxText(const std::string& message) {
    QString text = QString::fromUtf8(message);
    if (!text.isEmpty() && text.back().isLetterOrNumber()) {
        text.append(QLatin1Char('.'));
    }
    return text;
}

void showErrorBox(const std::exception& error, QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                    errorBoxText(error.what()), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace kem
