#pragma once

#include <QApplication>

namespace kem {

// The application object of KEMGPS: an exception that escapes an event handler is shown in the
// standard error box and the program goes on with the next event.
class KemApplication : public QApplication {
public:
    KemApplication(int& argc, char** argv);
    ~KemApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kem
