#include "app/ExportSquares.h"

#include <filesystem>
#include <iostream>

#include "base/IoError.h"
#include "base/ProgramFolder.h"
#include "base/WholeFile.h"
#include "maps/SquareData.h"
#include "maps/SquareTexts.h"
#include "maps/SquareVisits.h"

namespace kem {
namespace {

constexpr const char* kOption = "--export-squares";

// The program folder as the windows would use it; a per-user copy is brought up to date first.
std::string programFolder() {
    const std::string executable = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    ProgramFolder folder = ChooseProgramFolder(executable, ProgramFolderEnvironment::FromProcess());
    try {
        SeedProgramFolder(folder);
    } catch (const IoError& error) {
        std::error_code missing;
        if (!std::filesystem::is_directory(folder.dir, missing)) {
            throw;
        }
        std::cerr << "KEMGPS: " << error.what() << "\n";
    }
    return folder.dir;
}

void exportSquares(const std::string& out) {
    const std::string dir = programFolder();
    maps::SquareVisits visits(dir + "EKSPEDICIJOS/");
    try {
        visits.Open();
    } catch (const IoError& error) {
        if (!visits.IsOpen()) {
            throw;
        }
        // Built but not kept: the export goes on from what was built.
        std::cerr << "KEMGPS: " << error.what() << "\n";
    }
    for (const std::string& problem : visits.TakeProblems()) {
        std::cerr << "KEMGPS: " << problem << "\n";
    }
    const std::string csv = maps::SquaresCsv(
        visits.History(),
        maps::readAllSquareCells(maps::findFileNoCase(dir, maps::kSquareDataName)));
    if (out == "-") {
        std::cout << csv << std::flush;
        if (!std::cout) {
            throw IoError("Unable to write to the standard output");
        }
    } else if (!ReplaceFile(out, csv)) {
        throw IoError::FromErrno("Unable to write to", out);
    }
}

}  // namespace

std::optional<int> runSquareExport(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments[0] != kOption) {
        return std::nullopt;
    }
    if (arguments.size() != 2 || arguments[1].empty()) {
        std::cerr << "usage: KEMGPS " << kOption << " OUT.csv\n";
        return 2;
    }
    try {
        exportSquares(arguments[1]);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "KEMGPS: " << error.what() << "\n";
        return 1;
    }
}

}  // namespace kem
