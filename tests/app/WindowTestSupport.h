#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Forms.h"

class QTimer;
class QWidget;

namespace kem::test {

// The application object, created once for the whole test program.
void ensureApplication();

// A control of a window by its design name; throws when the window has no such control.
template <class Control>
Control* child(const QObject& window, const char* name) {
    auto* control = window.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        throw std::logic_error(std::string("no control named ") + name);
    }
    return control;
}

// Runs the event loop until pred() holds or the time is up; returns pred().
bool waitUntil(const std::function<bool()>& pred,
               std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
// Runs the event loop for the given time.
void spin(std::chrono::milliseconds time);

// A temporary program folder (KEMGPS_PROGRAM_DIR points at it) laid out as the build lays out
// the real one: EKSPEDICIJOS/, SKVERAI/ and an empty KEMWWL.dat.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path ini() const { return m_path / "KEMGPS.ini"; }
    std::string iniText() const;
    bool iniHolds(const std::string& text) const {
        return iniText().find(text) != std::string::npos;
    }
    void writeIni(const std::string& text) const;

private:
    std::filesystem::path m_path;
};

// Answers every message box that opens while it lives with its default button, and keeps what
// each one said. whileShown, when given, runs while each box is still open.
class MessageBoxCatcher {
public:
    struct Box {
        QString title;
        QString text;
        QStringList buttons;
        bool errorIcon = false;
    };
    explicit MessageBoxCatcher(std::function<void()> whileShown = {});
    ~MessageBoxCatcher();
    const std::vector<Box>& boxes() const { return m_boxes; }

private:
    std::unique_ptr<QTimer> m_timer;
    std::vector<Box> m_boxes;
};

// A left mouse click into the middle of a control.
void clickMouse(QWidget* control);

// A pseudo-terminal: the program opens the slave by its port name ("pts/N"), the test writes
// the receiver's bytes into the master.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    std::string portName() const;  // without "/dev/"
    void write(const std::string& bytes) const;
    void closeMaster();

private:
    int m_master = -1;
    std::string m_slavePath;
};

// The windows of one test in the program folder the program would use (the temporary one of
// ProgramFolder), created hidden, with the main window shown (FormShow run).
struct ShownForms {
    ShownForms();
    Forms forms;
};

}  // namespace kem::test
