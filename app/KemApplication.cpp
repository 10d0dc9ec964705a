#include "app/KemApplication.h"

#include <QMessageBox>

#include "archive/ZipComponent.h"
#include "base/ui/ErrorBox.h"

namespace kem {

KemApplication::KemApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title, not the display name: Qt would append a display name to every caption.
    setApplicationName(QStringLiteral("KEM GPS"));
    // The archive library's reports, when no handler takes them: a modal warning box.
    archive::ZipComponent::SetWarningBox([](const std::string& text) {
        QMessageBox box(QMessageBox::Warning, applicationName(), QString::fromUtf8(text),
                        QMessageBox::Ok);
        box.exec();
    });
}

KemApplication::~KemApplication() {
    archive::ZipComponent::SetWarningBox({});
}

bool KemApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showErrorBox(e);
        return false;
    }
}

}  // namespace kem
