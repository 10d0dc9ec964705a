#include "tests/e2e/Sessions.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
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

// Another user cannot read inside a private checkout (a clone in a 0700 folder): what such a
// run needs is handed to it in the program folder, which that user owns.
std::vector<std::string> handedOver(const ProgramFolder& folder, const fs::path& program,
                                    Environment& environment) {
    const fs::path copy = folder.HandOver(program);
    const char* leakOptions = std::getenv("LSAN_OPTIONS");
    std::string options = leakOptions != nullptr ? leakOptions : "";
    const std::string key = "suppressions=";
    if (const auto at = options.find(key); at != std::string::npos) {
        const auto end = std::min(options.find(':', at), options.size());
        const fs::path file = options.substr(at + key.size(), end - at - key.size());
        options.replace(at, end - at, key + folder.HandOver(file).string());
        environment.emplace_back("LSAN_OPTIONS", options);
    }
    return {copy.string()};
}

Process::Options processOptions(const ProgramFolder& folder, const fs::path& program,
                                std::vector<std::string> arguments, Environment environment,
                                const std::string& output, bool unprivileged) {
    std::vector<std::string> argv = {program.string()};
    if (unprivileged && geteuid() == 0) {
        argv = handedOver(folder, program, environment);
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return {argv, environment, folder.Dir() / output, unprivileged};
}

// The programs running now, for the report of a failed check.
std::vector<const Program*>& running() {
    static std::vector<const Program*> programs;
    return programs;
}

// On a test's first failed check: every running program's windows and output, and a picture
// of the screen kept beside the test binary, so that a red run explains itself.
class FailureReport : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& test) override {
        m_test = std::string(test.test_suite_name()) + "." + test.name();
        m_reported = false;
    }
    // Runs under gtest's lock: the test's name is the one noted at its start.
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (!result.failed() || m_reported) {
            return;
        }
        m_reported = true;
        const fs::path picture = fs::absolute("e2e-failure-" + m_test + ".png");
        const bool saved = Desktop::Get().Screenshot().save(QString::fromStdString(picture));
        std::string text = "--- what was seen at the failure\nscreen: " +
                           (saved ? picture.string() : std::string("(no screenshot)")) + "\n";
        for (const Program* program : running()) {
            text += program->Describe();
        }
        std::fputs(text.c_str(), stdout);
    }
    std::string m_test = "outside-a-test";
    bool m_reported = false;
};

const bool kFailureReportListening = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new FailureReport);
    return true;
}();

}  // namespace

Program::Program(const ProgramFolder& folder, const Options& options) : m_options(options) {
    m_process = std::make_unique<Process>(processOptions(
        folder, ProgramsUnderTest() / options.executable, {}, programEnvironment(folder),
        options.executable + ".out", options.unprivileged));
    running().push_back(this);
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

Program::~Program() {
    std::erase(running(), this);
}

std::string Program::Describe() const {
    constexpr std::size_t kTail = 3000;
    const std::string output = m_process->Output();
    std::string text =
        m_options.executable + " (pid " + std::to_string(m_process->Pid()) + ") windows:\n";
    for (const WindowId window : Desktop::Get().Windows(m_process->Pid(), ".")) {
        const QRect place = Desktop::Get().Geometry(window);
        text += "  \"" + Desktop::Get().Title(window) + "\" " + std::to_string(place.width()) +
                "x" + std::to_string(place.height()) + "+" + std::to_string(place.x()) + "+" +
                std::to_string(place.y()) + "\n";
    }
    text += m_options.executable + " output" +
            (output.size() > kTail ? " (its end)" : std::string()) + ":\n" +
            output.substr(output.size() > kTail ? output.size() - kTail : 0) + "\n";
    return text;
}

WindowId Program::Main() {
    if (m_main == 0) {
        const auto main =
            Desktop::Get().WaitForWindow(m_process->Pid(), m_options.title, Patient(20s));
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

int Program::DismissBoxes(const std::string& title, int expected,
                          std::chrono::milliseconds settle) {
    constexpr int kMost = 20;  // a box that will not close must not hold the test for ever
    int count = 0;
    const std::string exact = "^" + title + "$";
    while (count < kMost) {
        const auto box = Desktop::Get().WaitForWindow(m_process->Pid(), exact,
                                                      count < expected ? Patient(10s) : settle);
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
    m_process = std::make_unique<Process>(
        processOptions(folder, Kemsim(), options, {}, "kemsim.out", unprivileged));
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
    if (!m_port.starts_with("pts/") && !m_port.starts_with("tcp://")) {
        throw std::runtime_error("kemsim did not start: " + m_process->Output());
    }
}

bool Receiver::Ended(std::chrono::milliseconds timeout) {
    return m_process->Wait(Patient(timeout)).has_value();
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
