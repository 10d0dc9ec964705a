#include "tests/e2e/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kem::e2e {
namespace {

const std::string kSetpriv = "/usr/bin/setpriv";

std::vector<std::string> environmentWith(const Environment& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool changed = false;
        for (const auto& change : changes) {
            changed = changed || change.first == name;
        }
        if (!changed) {
            result.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            result.push_back(name + "=" + value);
        }
    }
    return result;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (auto& text : texts) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

// Starts argv with standard input from /dev/null, standard output to `out` (a descriptor) and
// standard error to `err`.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> environment, int out, int err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    pid_t pid = -1;
    const auto args = pointers(argv);
    const auto env = pointers(environment);
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    }
    return pid;
}

}  // namespace

Process::Process(const Options& options) : m_output(options.output) {
    std::vector<std::string> argv = options.argv;
    if (options.unprivileged && geteuid() == 0) {
        const std::string id = std::to_string(kUnprivilegedUser);
        argv.insert(argv.begin(),
                    {kSetpriv, "--reuid=" + id, "--regid=" + id, "--clear-groups", "--"});
    }
    const int out = ::open(m_output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        throw std::runtime_error("cannot write " + m_output.string());
    }
    try {
        m_pid = spawn(argv, environmentWith(options.environment), out, out);
    } catch (...) {
        ::close(out);
        throw;
    }
    ::close(out);
}

Process::~Process() {
    if (Running()) {
        Signal(SIGKILL);
        Wait(10s);
    }
}

bool Process::Running() {
    return !Wait(0ms);
}

std::optional<int> Process::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!m_status) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            break;
        } else {
            std::this_thread::sleep_for(20ms);
        }
    }
    return m_status;
}

void Process::Signal(int signal) const {
    if (!m_status) {
        ::kill(m_pid, signal);
    }
}

std::string Process::Output() const {
    std::ifstream in(m_output, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exit " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "signal " + std::to_string(WTERMSIG(status));
    }
    return "status " + std::to_string(status);
}

bool ExitedCleanly(int status) {
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string RunTool(const std::vector<std::string>& argv, int* status,
                    std::chrono::milliseconds timeout) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("no pipe");
    }
    const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    pid_t pid = -1;
    try {
        pid = spawn(argv, environmentWith({}), pipeFds[1], quiet);
    } catch (...) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::close(quiet);
        throw;
    }
    ::close(pipeFds[1]);
    ::close(quiet);

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left <= 0ms) {
            timedOut = true;
            break;
        }
        pollfd pfd{pipeFds[0], POLLIN, 0};
        if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        char buffer[65536];
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    if (timedOut) {
        ::kill(pid, SIGKILL);
    }
    int waited = 0;
    waitpid(pid, &waited, 0);
    if (status != nullptr) {
        *status = timedOut ? -1 : waited;
    }
    return output;
}

std::chrono::milliseconds Patient(std::chrono::milliseconds timeout) {
    static const int factor = [] {
        const char* chosen = std::getenv("KEM_E2E_PATIENCE");
        const int value = chosen != nullptr ? std::atoi(chosen) : 0;
        return value > 0 ? value : 3;
    }();
    return timeout * factor;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step) {
    return PollFor(done, Patient(timeout), step);
}

bool PollFor(const std::function<bool()>& done, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(step);
    }
    return true;
}

bool CanRunUnprivileged() {
    return geteuid() != 0 || ::access(kSetpriv.c_str(), X_OK) == 0;
}

}  // namespace kem::e2e
