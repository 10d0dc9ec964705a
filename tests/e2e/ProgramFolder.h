#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kem::e2e {

namespace fs = std::filesystem;

// The folder of the programs under test: KEM_E2E_PROGRAMS when set (a Release build, an
// installed package), else the build's program folder.
fs::path ProgramsUnderTest();
// kemsim: KEM_E2E_KEMSIM when set, else the build's.
fs::path Kemsim();

// A temporary program folder laid out like the real one: KEMWWL.dat from the programs under
// test, an empty map folder and an empty EKSPEDICIJOS/. The programs are pointed at it with
// KEMGPS_PROGRAM_DIR. Removed with everything in it.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const fs::path& Dir() const { return m_dir; }
    fs::path Maps() const { return m_dir / "SKVERAI"; }
    fs::path Expeditions() const { return m_dir / "EKSPEDICIJOS"; }
    fs::path Log() const { return Expeditions() / "Log.txt"; }
    fs::path Settings() const { return m_dir / "KEMGPS.ini"; }

    // Copies the shipped archives of these squares into the map folder.
    void CopyShippedSheets(const std::vector<std::string>& squares) const;
    // KEMGPS.ini: section SETTINGS with the port and the given key=value lines.
    void WriteSettings(const std::string& port, const std::vector<std::string>& lines) const;

    // The log's lines without their CR LF (a last line without one is kept as it is).
    std::vector<std::string> LogLines() const;
    // The names in a folder, sorted, as the file system stores them (bytes).
    static std::vector<std::string> Names(const fs::path& folder);

    // Makes everything in it belong to the user of the unprivileged runs.
    void GiveAway() const;
    // A copy of a file of the checkout (a program, a sanitizer's list) where the user of the
    // unprivileged runs can read and run it, whatever the checkout's folders allow.
    fs::path HandOver(const fs::path& file) const;

private:
    fs::path m_dir;
};

std::string ReadFile(const fs::path& path);
void WriteFile(const fs::path& path, const std::string& bytes);

}  // namespace kem::e2e
