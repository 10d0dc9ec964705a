#pragma once

#include <functional>
#include <string>

namespace kem {

// The program folder ("ProgramDir", ending in "/"): where both programs find their data and keep
// the settings file, the unpacked map sheets, the expedition maps and the log.
//   - The folder named by KEMGPS_PROGRAM_DIR when that is set (tests, demos).
//   - Else the executable's folder when the user may write to it: a portable folder.
//   - Else the user's own copy, $XDG_DATA_HOME/kemgps/ (default ~/.local/share/kemgps/), seeded
//     from the executable's folder: a package installed under /opt. The package's folder holds
//     the file kPackageMark, so that root, who may write anywhere, gets a copy of their own too
//     and the package's files stay as the package manager put them.
inline constexpr const char* kPackageMark = "KEMGPS.package";

struct ProgramFolder {
    std::string dir;
    // The installed folder a per-user copy is seeded from, ending in "/"; empty when dir is
    // used as it is.
    std::string installedDir;
};

// What the choice reads from the process environment.
struct ProgramFolderEnvironment {
    std::string programDir;   // KEMGPS_PROGRAM_DIR
    std::string xdgDataHome;  // XDG_DATA_HOME
    std::string home;         // HOME, else the home folder of the user's account

    static ProgramFolderEnvironment FromProcess();
};

// access(2) for writing: root may write whatever the permission bits say, but not to a
// read-only file system.
bool IsWritableFolder(const std::string& dir);

// isWritable is asked about the executable's folder. Throws IoError when a per-user copy is
// needed and no home folder is known.
ProgramFolder ChooseProgramFolder(
    const std::string& executableDir, const ProgramFolderEnvironment& environment,
    const std::function<bool(const std::string&)>& isWritable = IsWritableFolder);

// Brings a per-user copy up to date with its installed folder (any other folder is left as it
// is). Creates the copy, its SKVERAI/ and EKSPEDICIJOS/ (private to the user: the log says where
// they have been) and copies in KEMWWL.dat and each file of SKVERAI/ that the copy lacks. A file
// that a newer installation brings replaces the copy's only while that is still exactly as it
// was copied (the file ".seeded" records the copies); a file the user has changed, for instance a
// sheet packed anew, and the user's own files are never overwritten. Each file is written beside
// its place and renamed in, so a failure leaves no half file.
// Throws IoError: at once when a folder cannot be made; when a file cannot be copied or the
// record not written, after all the other files have been copied.
void SeedProgramFolder(const ProgramFolder& folder);

}  // namespace kem
