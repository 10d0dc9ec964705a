#include "base/ui/OpenProgramFolder.h"

#include <QCoreApplication>
#include <filesystem>

#include "base/IoError.h"
#include "base/ProgramFolder.h"
#include "base/ui/ErrorBox.h"

namespace kem {

std::optional<std::string> openProgramFolder() {
    ProgramFolder folder;
    try {
        folder = ChooseProgramFolder(QCoreApplication::applicationDirPath().toStdString(),
                                     ProgramFolderEnvironment::FromProcess());
        SeedProgramFolder(folder);
    } catch (const IoError& error) {
        showErrorBox(error);
        // A file that could not be copied still leaves a folder to work in.
        std::error_code missing;
        if (folder.dir.empty() || !std::filesystem::is_directory(folder.dir, missing)) {
            return std::nullopt;
        }
    }
    return folder.dir;
}

}  // namespace kem
