#include "tests/e2e/Desktop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "tests/e2e/CloseRequest.h"

namespace kem::e2e {
namespace {

// Reads the display number Xvfb writes once it takes clients.
std::string readDisplayNumber(int fd) {
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 100) <= 0) {
            continue;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    throw std::runtime_error("Xvfb did not start");
}

std::string text(WindowId window) {
    return std::to_string(window);
}

}  // namespace

Desktop& Desktop::Get() {
    static Desktop desktop;
    return desktop;
}

Desktop::Desktop() {
    int fds[2];
    if (pipe(fds) != 0) {
        throw std::runtime_error("no pipe");
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);  // the write end is Xvfb's
    m_log = std::filesystem::temp_directory_path() /
            ("kem-e2e-xvfb-" + std::to_string(getpid()) + ".log");
    // -noreset: a server that resets when its last client leaves refuses the next one for a
    // moment, and between two programs it often has no client.
    m_server = std::make_unique<Process>(
        Process::Options{{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                          "1024x768x24", "-nolisten", "tcp", "-ac", "-noreset"},
                         {},
                         m_log});
    ::close(fds[1]);
    try {
        m_display.assign(1, ':');  // not ":" + ...: GCC 12 warns of a false overlap at -O3
        m_display += readDisplayNumber(fds[0]);
    } catch (...) {
        ::close(fds[0]);
        throw;
    }
    ::close(fds[0]);
    // Every helper and program started from here on uses it.
    setenv("DISPLAY", m_display.c_str(), 1);
}

Desktop::~Desktop() {
    m_server->Signal(SIGTERM);
    m_server->Wait(5s);
    std::error_code ignored;
    std::filesystem::remove(m_log, ignored);
}

std::vector<WindowId> Desktop::Windows(pid_t pid, const std::string& title) const {
    // --all: xdotool's default is a window that meets any one of the conditions.
    std::istringstream out(RunTool({"xdotool", "search", "--all", "--onlyvisible", "--pid",
                                    std::to_string(pid), "--name", title}));
    std::vector<WindowId> windows;
    for (WindowId id = 0; out >> id;) {
        windows.push_back(id);
    }
    return windows;
}

std::optional<WindowId> Desktop::WaitForWindow(pid_t pid, const std::string& title,
                                               std::chrono::milliseconds timeout) const {
    std::optional<WindowId> found;
    PollFor(
        [&] {
            const auto windows = Windows(pid, title);
            if (!windows.empty()) {
                found = windows.front();
            }
            return found.has_value();
        },
        timeout);
    return found;
}

std::string Desktop::Title(WindowId window) const {
    std::string title = RunTool({"xdotool", "getwindowname", text(window)});
    while (!title.empty() && title.back() == '\n') {
        title.pop_back();
    }
    return title;
}

QRect Desktop::Geometry(WindowId window) const {
    std::istringstream out(RunTool({"xdotool", "getwindowgeometry", "--shell", text(window)}));
    QRect rect;
    for (std::string line; std::getline(out, line);) {
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string name = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (name == "X") {
            rect.moveLeft(value);
        } else if (name == "Y") {
            rect.moveTop(value);
        } else if (name == "WIDTH") {
            rect.setWidth(value);
        } else if (name == "HEIGHT") {
            rect.setHeight(value);
        }
    }
    return rect;
}

void Desktop::Key(WindowId window, const std::string& keys) const {
    RunTool({"xdotool", "windowfocus", "--sync", text(window), "key", "--clearmodifiers", keys});
}

void Desktop::Click(WindowId window, int x, int y) const {
    RunTool({"xdotool", "mousemove", "--sync", "--window", text(window), std::to_string(x),
             std::to_string(y), "click", "1"});
}

void Desktop::Close(WindowId window) const {
    SendCloseRequest(m_display, window);
}

std::string Desktop::Clipboard() const {
    return RunTool({"xclip", "-o", "-selection", "clipboard"}, nullptr, 5s);
}

QImage Desktop::Screenshot() const {
    const std::string png = RunTool({"import", "-window", "root", "png:-"});
    return QImage::fromData(QByteArray::fromStdString(png), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace kem::e2e
