#include "tests/e2e/ProgramFolder.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/e2e/Process.h"

namespace kem::e2e {

fs::path ProgramsUnderTest() {
    const char* chosen = std::getenv("KEM_E2E_PROGRAMS");
    return chosen != nullptr && *chosen != '\0' ? fs::path(chosen) : fs::path(KEM_PROGRAM_DIR);
}

fs::path Kemsim() {
    const char* chosen = std::getenv("KEM_E2E_KEMSIM");
    return chosen != nullptr && *chosen != '\0' ? fs::path(chosen)
                                                : fs::path(KEM_PROGRAM_DIR) / "kemsim";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

ProgramFolder::ProgramFolder() {
    std::string pattern = (fs::temp_directory_path() / "kem-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    m_dir = pattern;
    fs::copy_file(ProgramsUnderTest() / "KEMWWL.dat", m_dir / "KEMWWL.dat");
    fs::create_directory(Maps());
    fs::create_directory(Expeditions());
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    fs::permissions(Expeditions(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_dir, ignored);
}

void ProgramFolder::CopyShippedSheets(const std::vector<std::string>& squares) const {
    for (const auto& square : squares) {
        fs::copy_file(ProgramsUnderTest() / "SKVERAI" / (square + ".z"), Maps() / (square + ".z"));
    }
}

void ProgramFolder::WriteSettings(const std::string& port,
                                  const std::vector<std::string>& lines) const {
    std::string text = "[SETTINGS]\r\nPort=" + port + "\r\n";
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    WriteFile(Settings(), text);
    // It belongs to whoever the folder belongs to, also when that is not the test's user.
    struct stat folder {};
    if (geteuid() == 0 && ::stat(m_dir.c_str(), &folder) == 0 &&
        ::chown(Settings().c_str(), folder.st_uid, folder.st_gid) != 0) {
        throw std::runtime_error("cannot give away " + Settings().string());
    }
}

std::vector<std::string> ProgramFolder::LogLines() const {
    const std::string text = ReadFile(Log());
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> ProgramFolder::Names(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().native());
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

void giveAway(const fs::path& path) {
    if (::chown(path.c_str(), kUnprivilegedUser, kUnprivilegedUser) != 0) {
        throw std::runtime_error("cannot give away " + path.string());
    }
}

}  // namespace

fs::path ProgramFolder::HandOver(const fs::path& file) const {
    const fs::path folder = m_dir / ".handed";
    fs::create_directories(folder);
    const fs::path copy = folder / file.filename();
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    if (geteuid() == 0) {
        giveAway(folder);
        giveAway(copy);
    }
    fs::permissions(m_dir, fs::perms::others_exec, fs::perm_options::add);
    return copy;
}

void ProgramFolder::GiveAway() const {
    if (geteuid() != 0) {
        return;  // the test is that user already
    }
    giveAway(m_dir);
    for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
        giveAway(entry.path());
    }
}

}  // namespace kem::e2e
