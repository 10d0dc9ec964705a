#include "base/ProgramFolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "base/IoError.h"
#include "base/WholeFile.h"

namespace kem {
namespace {

constexpr const char* kUserFolder = "kemgps/";
constexpr const char* kSquareData = "KEMWWL.dat";
constexpr const char* kMapFolder = "SKVERAI/";
constexpr const char* kExpeditionFolder = "EKSPEDICIJOS/";
constexpr const char* kRecordName = ".seeded";
constexpr mode_t kPrivateFolder = 0700;

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') {
        dir.push_back('/');
    }
    return dir;
}

// The XDG rule: a relative path in these variables is invalid and ignored.
bool IsAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string Getenv(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Size and modification time: what tells one version of a file from another.
struct Stamp {
    std::uintmax_t size = 0;
    std::int64_t nanoseconds = 0;
    bool operator==(const Stamp&) const = default;
};

// The stamp of a regular file (a symbolic link counts as what it points to).
std::optional<Stamp> StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return Stamp{
        static_cast<std::uintmax_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// One copied file: the installed file as it was copied, and the copy right afterwards (a file
// system with coarser times may store another time than the installed file's).
struct Copied {
    Stamp installed;
    Stamp copy;
    bool operator==(const Copied&) const = default;
};
using Record = std::map<std::string, Copied>;

// One line per copy: installed size and time, copy size and time, name. Anything else is skipped,
// so a damaged record only means that those copies count as the user's own.
Record ReadRecord(const std::string& path) {
    Record record;
    std::string content;
    if (LoadFile(path, content) != Load::Ok) {
        return record;
    }
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Copied copied;
        std::string name;
        if (fields >> copied.installed.size >> copied.installed.nanoseconds >> copied.copy.size >>
                copied.copy.nanoseconds &&
            fields.get() == ' ' && std::getline(fields, name) && !name.empty()) {
            record[name] = copied;
        }
    }
    return record;
}

void WriteRecord(const std::string& path, const Record& record) {
    std::ostringstream content;
    for (const auto& [name, copied] : record) {
        content << copied.installed.size << ' ' << copied.installed.nanoseconds << ' '
                << copied.copy.size << ' ' << copied.copy.nanoseconds << ' ' << name << '\n';
    }
    if (!ReplaceFile(path, content.str())) {
        throw IoError::FromErrno("Unable to write to", path);
    }
}

// Makes dir (ending in "/") and the folders above it that are missing.
void MakeFolders(const std::string& dir) {
    const std::string named = dir.substr(0, dir.size() - 1);
    for (std::size_t end = dir.find('/', 1); end != std::string::npos;
         end = dir.find('/', end + 1)) {
        const std::string part = dir.substr(0, end);
        if (part.back() != '/' && ::mkdir(part.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
            throw IoError::FromErrno("Unable to create folder", named);
        }
    }
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        throw IoError::FromErrno("Unable to create folder", named, error ? error.value() : ENOTDIR);
    }
}

// The files to copy, as names relative to the folder: the square data file and the map sheets.
std::vector<std::string> InstalledFiles(const std::string& installedDir) {
    std::vector<std::string> names;
    if (StampOf(installedDir + kSquareData)) {
        names.emplace_back(kSquareData);
    }
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(installedDir + kMapFolder, error)) {
        const std::string name = kMapFolder + entry.path().filename().string();
        if (StampOf(installedDir + name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Copies from over to, with from's modification time; gives the stamps to record.
Copied CopyFile(const std::string& from, const std::string& to, const Stamp& installed) {
    std::string content;
    if (LoadFile(from, content) != Load::Ok || !ReplaceFile(to, content)) {
        throw IoError::FromErrno("Unable to copy", from + " to " + to);
    }
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(installed.nanoseconds / 1'000'000'000),
                                static_cast<long>(installed.nanoseconds % 1'000'000'000)}};
    ::utimensat(AT_FDCWD, to.c_str(), times, 0);  // only a nicety: the record holds the truth
    const std::optional<Stamp> copy = StampOf(to);
    if (!copy) {
        throw IoError::FromErrno("Unable to copy", from + " to " + to);
    }
    return {installed, *copy};
}

}  // namespace

ProgramFolderEnvironment ProgramFolderEnvironment::FromProcess() {
    ProgramFolderEnvironment environment{Getenv("KEMGPS_PROGRAM_DIR"), Getenv("XDG_DATA_HOME"),
                                         Getenv("HOME")};
    if (environment.home.empty()) {
        std::vector<char> buffer(16384);
        passwd account{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &account, buffer.data(), buffer.size(), &found) == 0 &&
            found && found->pw_dir) {
            environment.home = found->pw_dir;
        }
    }
    return environment;
}

bool IsWritableFolder(const std::string& dir) {
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

ProgramFolder ChooseProgramFolder(const std::string& executableDir,
                                  const ProgramFolderEnvironment& environment,
                                  const std::function<bool(const std::string&)>& isWritable) {
    if (!environment.programDir.empty()) {
        return {WithSlash(environment.programDir), ""};
    }
    const std::string programDir = WithSlash(executableDir);
    if (isWritable(programDir) && !StampOf(programDir + kPackageMark)) {
        return {programDir, ""};
    }
    std::string dataHome;
    if (IsAbsolute(environment.xdgDataHome)) {
        dataHome = WithSlash(environment.xdgDataHome);
    } else if (IsAbsolute(environment.home)) {
        dataHome = WithSlash(environment.home) + ".local/share/";
    } else {
        throw IoError("No folder for the user's own files: neither XDG_DATA_HOME nor HOME is set");
    }
    return {dataHome + kUserFolder, programDir};
}

void SeedProgramFolder(const ProgramFolder& folder) {
    if (folder.installedDir.empty()) {
        return;
    }
    MakeFolders(folder.dir);
    MakeFolders(folder.dir + kMapFolder);
    MakeFolders(folder.dir + kExpeditionFolder);

    const std::string recordPath = folder.dir + kRecordName;
    const Record record = ReadRecord(recordPath);
    Record now;
    std::optional<IoError> failure;
    for (const std::string& name : InstalledFiles(folder.installedDir)) {
        const std::string from = folder.installedDir + name;
        const std::string to = folder.dir + name;
        const std::optional<Stamp> installed = StampOf(from);
        const auto known = record.find(name);
        const bool asCopied = known != record.end() && StampOf(to) == known->second.copy;
        try {
            if (installed && (!Exists(to) || (asCopied && *installed != known->second.installed))) {
                now[name] = CopyFile(from, to, *installed);
            } else if (asCopied) {
                now[name] = known->second;
            }
        } catch (const IoError& error) {
            failure = failure.value_or(error);
            if (asCopied) {
                now[name] = known->second;
            }
        }
    }
    if (now != record) {
        try {
            WriteRecord(recordPath, now);
        } catch (const IoError& error) {
            failure = failure.value_or(error);
        }
    }
    if (failure) {
        throw *failure;
    }
}

}  // namespace kem
