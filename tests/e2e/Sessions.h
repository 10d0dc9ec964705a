#pragma once

#include <QImage>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/Process.h"
#include "tests/e2e/ProgramFolder.h"

namespace kem::e2e {

// One of the programs under test, started in a program folder on the shared screen, with the
// locale of a Lithuanian user (decimal comma). The constructor waits for its first window: the
// main window, or a box that its start-up shows before it.
class Program {
public:
    struct Options {
        std::string executable;  // "KEMGPS" or "KEMZIP"
        std::string title;       // regular expression for its main window's title
        int clientHeight = 0;    // the designed height below the menu
        bool unprivileged = false;
    };
    Program(const ProgramFolder& folder, const Options& options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window, found when first asked for.
    WindowId Main();
    Process& Run() { return *m_process; }

    void Press(const std::string& keys);
    // A click at a point of the client area.
    void Click(int x, int y);
    // A part of the client area (the window below its menu) as the screen shows it now.
    QImage Part(const QRect& client);
    // The main window's size on the screen.
    QSize Size();
    // Whether the window has grown below its designed client area (a status line shows).
    bool Taller();
    // Closes every box titled `title` (exactly) with Return and gives how many there were: the
    // first `expected` ones are waited for patiently, any more only within `settle` of the last.
    int DismissBoxes(const std::string& title, int expected = 0,
                     std::chrono::milliseconds settle = 2s);
    // Waits for the program to end; its wait status, or nothing when it would not end.
    std::optional<int> End(std::chrono::milliseconds timeout = 30s) {
        return m_process->Wait(Patient(timeout));
    }
    // What a failed check should tell: the program's windows and what it wrote.
    std::string Describe() const;

private:
    Options m_options;
    std::unique_ptr<Process> m_process;
    WindowId m_main = 0;
    int m_menuHeight = 0;
};

// KEMGPS's main window: where the map sheet lies in the client area.
inline constexpr QRect kSheet{10, 6, 172, 306};
// The connection status panel and the two connection buttons.
inline constexpr QRect kStatusPanel{346, 323, 110, 19};
Program::Options KemgpsOptions(bool unprivileged = false);

// kemsim on a pseudo-terminal (or with --tcp on a TCP port); Port() is the name to write into
// the settings.
class Receiver {
public:
    Receiver(const ProgramFolder& folder, const std::vector<std::string>& options,
             bool unprivileged = false);
    const std::string& Port() const { return m_port; }
    // Waits until it has ended (its sentences sent, or hung up).
    bool Ended(std::chrono::milliseconds timeout);

private:
    std::unique_ptr<Process> m_process;
    std::string m_port;
};

// Colours counted in screenshots and saved maps.
inline constexpr QRgb kMarkRed = 0xFFFF0000;
int CountPixels(const QImage& image, QRgb colour);
// The share of pixels that are the same in both (of the same size), 0 to 1.
double SameShare(const QImage& a, const QImage& b);

// A bitmap file as RGB pixels; its name may hold any bytes.
QImage LoadBitmap(const fs::path& path);
// The bitmap inside a ".z" archive, read by Info-ZIP's unzip (an independent reader).
QImage UnzipBitmap(const fs::path& archive);

}  // namespace kem::e2e
