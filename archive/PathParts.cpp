#include "archive/PathParts.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kem::archive {

std::string DirPart(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view{}
                                                       : path.substr(0, slash));
}

std::string NamePart(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string StemPart(std::string_view path) {
    std::string name = NamePart(path);
    name.resize(std::min(name.size(), name.find('.')));
    return name;
}

std::string ExtPart(std::string_view path) {
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    const std::string_view after = path.substr(dot + 1);
    if (after.find('/') != std::string_view::npos) {
        return {};
    }
    return std::string(after.substr(0, 3));
}

std::string ExpandPath(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return std::string(path);  // no current directory: keep what the caller gave
    }
    std::string expanded = absolute.lexically_normal().string();
    // "dir/." normalises to "dir/"; callers append "/" + name themselves.
    if (expanded.size() > 1 && expanded.back() == '/') {
        expanded.pop_back();
    }
    return expanded;
}

}  // namespace kem::archive
