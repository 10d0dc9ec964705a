#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace kem::gps::test {

// The master side of a fresh pseudo-terminal; the code under test opens the slave by name.
class PseudoTerminal {
public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
            throw std::runtime_error("no pseudo-terminal");
        m_slaveName = ptsname(m_master);
        // Termios calls on the master act on the slave: no echo back into our side.
        termios tio{};
        tcgetattr(m_master, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_master, TCSANOW, &tio);
    }
    ~PseudoTerminal() { closeMaster(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& slaveName() const { return m_slaveName; }
    int master() const { return m_master; }

    void write(const std::string& bytes) {
        if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            throw std::runtime_error("short write to pseudo-terminal");
        tcdrain(m_master);
    }

    // The slave's line settings as the driver left them.
    termios slaveSettings() const {
        termios tio{};
        tcgetattr(m_master, &tio);
        return tio;
    }

    void closeMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slaveName;
};

}  // namespace kem::gps::test
