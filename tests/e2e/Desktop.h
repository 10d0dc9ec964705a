#pragma once

#include <sys/types.h>

#include <QImage>
#include <QRect>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"

namespace kem::e2e {

using WindowId = unsigned long;

// The virtual screen that every run of a test program shares: one Xvfb on a free display,
// started on first use and ended with the test program. It takes clients of any user (-ac), so
// that a program run as another user opens its windows there too. What the tests do on it they
// do as a user would: keys and clicks through xdotool, the clipboard through xclip, screenshots
// through ImageMagick's import.
class Desktop {
public:
    static Desktop& Get();
    ~Desktop();

    const std::string& DisplayName() const { return m_display; }

    // Visible top-level windows of process `pid` whose title matches the extended regular
    // expression `title`.
    std::vector<WindowId> Windows(pid_t pid, const std::string& title) const;
    // Waits exactly `timeout` (Patient() is the caller's choice).
    std::optional<WindowId> WaitForWindow(pid_t pid, const std::string& title,
                                          std::chrono::milliseconds timeout = 20s) const;
    // Place and size on the screen.
    QRect Geometry(WindowId window) const;
    std::string Title(WindowId window) const;

    // Gives the window the keyboard focus and presses the keys ("alt+p", "Return").
    void Key(WindowId window, const std::string& keys) const;
    // A left click at a point of the window.
    void Click(WindowId window, int x, int y) const;
    // What a window manager does when the user clicks the close box.
    void Close(WindowId window) const;

    // The text on the clipboard (empty when nobody offers one).
    std::string Clipboard() const;
    // The whole screen.
    QImage Screenshot() const;

private:
    Desktop();
    std::unique_ptr<Process> m_server;
    std::filesystem::path m_log;  // what Xvfb says
    std::string m_display;
};

}  // namespace kem::e2e
