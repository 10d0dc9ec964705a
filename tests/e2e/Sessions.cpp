#include "tests/e2e/Sessions.h"

#include <QByteArray>
#include <stdexcept>

namespace kem::e2e {
namespace {

Environment programEnvironment(const ProgramFolder& folder) {
    return {
        {"DISPLAY", Desktop::Get().DisplayName()},
        {"QT_QPA_PLATFORM", "xcb"},
        {"KEMGPS_PROGRAM_DIR", folder.Dir().string()},
        // A Lithuanian user's numbers (decimal comma); Qt reads these itself.
        {"LC_ALL", ""},
        {"LANG", "C.UTF-8"},
        {"LC_NUMERIC", "lt_LT.UTF-8"},
    };
}

}  // namespace

Program::Program(const ProgramFolder& folder, const Options& options) : m_options(options) {
    m_process = std::make_unique<Process>(
        Process::Options{{(ProgramsUnderTest() / options.executable).string()},
                         programEnvironment(folder),
                         folder.Dir() / (options.executable + ".out"),
                         options.unprivileged});
    bool shown = false;
    WaitUntil(
        [&] {
            shown = !Desktop::Get().Windows(m_process->Pid(), ".").empty();
            return shown || !m_process->Running();
        },
        20s);
    if (!shown) {
        throw std::runtime_error(options.executable + " showed no window: " + m_process->Output());
    }
}

WindowId Program::Main() {
    if (m_main == 0) {
        const auto main = Desktop::Get().WaitForWindow(m_process->Pid(), m_options.title);
        if (!main) {
            throw std::runtime_error(m_options.executable + " showed no main window");
        }
        m_main = *main;
        m_menuHeight = Desktop::Get().Geometry(m_main).height() - m_options.clientHeight;
    }
    return m_main;
}

void Program::Press(const std::string& keys) {
    Desktop::Get().Key(Main(), keys);
}

void Program::Click(int x, int y) {
    Desktop::Get().Click(Main(), x, y + m_menuHeight);
}

QImage Program::Part(const QRect& client) {
    const QRect window = Desktop::Get().Geometry(Main());
    return Desktop::Get().Screenshot().copy(
        client.translated(window.x(), window.y() + m_menuHeight));
}

QSize Program::Size() {
    return Desktop::Get().Geometry(Main()).size();
}

bool Program::Taller() {
    return Desktop::Get().Geometry(Main()).height() > m_options.clientHeight + m_menuHeight;
}

int Program::DismissBoxes(const std::string& title, std::chrono::milliseconds settle) {
    constexpr int kMost = 20;  // a box that will not close must not hold the test for ever
    int count = 0;
    const std::string exact = "^" + title + "$";
    while (count < kMost) {
        const auto box = Desktop::Get().WaitForWindow(m_process->Pid(), exact, settle);
        if (!box) {
            break;
        }
        Desktop::Get().Key(*box, "Return");
        WaitUntil([&] { return Desktop::Get().Windows(m_process->Pid(), exact).empty(); }, 5s);
        ++count;
    }
    return count;
}

Program::Options KemgpsOptions(bool unprivileged) {
    return {"KEMGPS", "^KEM GPS  V", 350, unprivileged};
}

Receiver::Receiver(const ProgramFolder& folder, const std::vector<std::string>& options,
                   bool unprivileged) {
    std::vector<std::string> argv = {Kemsim().string()};
    argv.insert(argv.end(), options.begin(), options.end());
    m_process = std::make_unique<Process>(
        Process::Options{argv, {}, folder.Dir() / "kemsim.out", unprivileged});
    WaitUntil(
        [&] {
            const std::string out = m_process->Output();
            const auto end = out.find('\n');
            if (end != std::string::npos) {
                m_port = out.substr(0, end);
            }
            return !m_port.empty() || !m_process->Running();
        },
        10s, 20ms);
    if (!m_port.starts_with("pts/")) {
        throw std::runtime_error("kemsim did not start: " + m_process->Output());
    }
}

bool Receiver::Ended(std::chrono::milliseconds timeout) {
    return m_process->Wait(timeout).has_value();
}

int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

double SameShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) {
        return 0;
    }
    int same = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            same += (a.pixel(x, y) & 0xFFFFFF) == (b.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
        }
    }
    return static_cast<double>(same) / (a.width() * a.height());
}

QImage LoadBitmap(const fs::path& path) {
    return QImage::fromData(QByteArray::fromStdString(ReadFile(path)), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

QImage UnzipBitmap(const fs::path& archive) {
    const std::string bytes = RunTool({"unzip", "-p", archive.string()});
    return QImage::fromData(QByteArray::fromStdString(bytes), "BMP")
        .convertToFormat(QImage::Format_RGB32);
}

}  // namespace kem::e2e
