#include "app/KemApplication.h"

#include "app/ErrorBox.h"

namespace kem {

KemApplication::KemApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The title, not the display name: Qt would append a display name to every caption.
    setApplicationName(QStringLiteral("KEM GPS"));
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
