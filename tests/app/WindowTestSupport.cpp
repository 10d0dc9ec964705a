#include "WindowTestSupport.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/KemApplication.h"
#include "app/TFormMain.h"
#include "base/ui/OpenProgramFolder.h"

namespace kem::test {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "kemgps-test";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        new KemApplication(argc, argv);
    }
}

bool waitUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > limit.count()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        usleep(2000);
    }
    return true;
}

void spin(std::chrono::milliseconds time) {
    waitUntil([] { return false; }, time);
}

ProgramFolder::ProgramFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kemgps-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
    std::filesystem::create_directory(m_path / "EKSPEDICIJOS");
    std::filesystem::create_directory(m_path / "SKVERAI");
    std::ofstream(m_path / "KEMWWL.dat");
    setenv("KEMGPS_PROGRAM_DIR", m_path.c_str(), 1);
}

ProgramFolder::~ProgramFolder() {
    unsetenv("KEMGPS_PROGRAM_DIR");
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::string ProgramFolder::iniText() const {
    std::ifstream in(ini(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ProgramFolder::writeIni(const std::string& text) const {
    std::ofstream(ini(), std::ios::binary) << text;
}

MessageBoxCatcher::MessageBoxCatcher(std::function<void()> whileShown)
    : m_timer(std::make_unique<QTimer>()) {
    m_timer->setInterval(20);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this, whileShown] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible()) {
                continue;
            }
            Box seen{box->windowTitle(), box->text(), {}, box->icon() == QMessageBox::Critical};
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons.append(button->text());
            }
            m_boxes.push_back(seen);
            if (whileShown) {
                whileShown();
            }
            box->done(QMessageBox::Ok);
        }
    });
    m_timer->start();
}

MessageBoxCatcher::~MessageBoxCatcher() = default;

void clickMouse(QWidget* control) {
    const QPointF at(control->width() / 2.0, control->height() / 2.0);
    const QPointF global = control->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(control, &press);
    QApplication::sendEvent(control, &release);
}

PseudoTerminal::PseudoTerminal() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    m_slavePath = ptsname(m_master);
}

PseudoTerminal::~PseudoTerminal() {
    closeMaster();
}

std::string PseudoTerminal::portName() const {
    return m_slavePath.substr(5);
}

void PseudoTerminal::write(const std::string& bytes) const {
    if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("pseudo-terminal write failed");
    }
}

void PseudoTerminal::closeMaster() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

ShownForms::ShownForms() : forms(openProgramFolder().value()) {
    FormMain->show();
    QApplication::processEvents();
}

}  // namespace kem::test
