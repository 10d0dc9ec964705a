#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kem::e2e {

using namespace std::chrono_literals;

// Environment entries a child gets on top of (or instead of) the test's own.
using Environment = std::vector<std::pair<std::string, std::string>>;

// A program started by the test, its output going to a file. A program still running when the
// object goes is killed.
class Process {
public:
    struct Options {
        std::vector<std::string> argv;  // argv[0] is the program's path
        Environment environment;        // set (or, with an empty value, removed)
        std::filesystem::path output;   // standard output and standard error
        bool unprivileged = false;      // as the user "nobody" when the test runs as root
    };
    explicit Process(const Options& options);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running();
    // The wait status once the program has ended, waiting at most `timeout` for it.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    void Signal(int signal) const;
    // What it has written so far.
    std::string Output() const;

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
    std::filesystem::path m_output;
};

// "exit 0", "signal 11", ... for messages.
std::string DescribeStatus(int status);
bool ExitedCleanly(int status);

// Runs a helper program to its end and gives what it wrote on standard output; `status` gets
// its wait status (-1 when it ran out of time and was killed).
std::string RunTool(const std::vector<std::string>& argv, int* status = nullptr,
                    std::chrono::milliseconds timeout = 10s);

// Deadlines for what is expected to happen are stretched by this factor: on a loaded 2-core
// machine (a sanitizer build beside the other tests) the programs answer several times slower
// than alone. KEM_E2E_PATIENCE overrides it. Only failing waits pay for it.
std::chrono::milliseconds Patient(std::chrono::milliseconds timeout);

// Asks `done` every `step` until it holds or Patient(timeout) has passed; says whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step = 100ms);
// The same for the exact timeout: for waits that are expected to run out (no box comes).
bool PollFor(const std::function<bool()>& done, std::chrono::milliseconds timeout,
             std::chrono::milliseconds step = 100ms);

// The user the unprivileged runs use, and whether they are possible here: as root through
// setpriv, as any other user simply as oneself.
inline constexpr uid_t kUnprivilegedUser = 65534;
bool CanRunUnprivileged();

}  // namespace kem::e2e
