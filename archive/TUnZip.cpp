#include "archive/TUnZip.h"

#include <filesystem>
#include <memory>
#include <new>
#include <system_error>

#include "archive/Extractor.h"
#include "base/IoError.h"

namespace kem::archive {
namespace {

constexpr char kNoMemory[] = "Not enough memory to allocate LZW data structures!";

bool FileExists(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string WithSlash(const std::string& path) {
    return path.empty() || path.back() == '/' ? path : path + '/';
}

}  // namespace

void TUnZip::SetExtrPath(const std::string& path) {
    m_extrPath = WithSlash(path);
}

bool TUnZip::Extract() {
    if (!FileExists(ArcName())) {
        return true;
    }
    if (m_extrPath.empty()) {
        return false;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(m_extrPath, error)) {
        std::filesystem::create_directories(m_extrPath, error);
        if (!std::filesystem::is_directory(m_extrPath, error)) {
            return true;
        }
    }
    const std::string extrPath = WithSlash(m_extrPath);
    const std::vector<std::string> masks =
        Files().empty() ? std::vector<std::string>{"*.*"} : Files();

    std::unique_ptr<std::uint8_t[]> input;
    std::unique_ptr<std::uint8_t[]> output;
    try {
        input = std::make_unique<std::uint8_t[]>(kBufferSize);
        output = std::make_unique<std::uint8_t[]>(kBufferSize);
    } catch (const std::bad_alloc&) {
        ReportError(kNoMemory);
        return true;
    }
    try {
        RunExtractor(*this, ArcName(), extrPath, masks, {input.get(), kBufferSize},
                     {output.get(), kBufferSize});
    } catch (const IoError&) {
        return false;
    }
    return true;
}

}  // namespace kem::archive
