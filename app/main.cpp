#include <algorithm>

#include "app/ExportSquares.h"
#include "app/Forms.h"
#include "app/GpxCommand.h"
#include "app/KemApplication.h"
#include "app/TFormMain.h"
#include "base/ui/OpenProgramFolder.h"

int main(int argc, char** argv) {
    // Commands for scripts run before, and without, any window.
    if (const std::optional<int> status = kem::runGpxCommand(argc, argv)) {
        return *status;
    }
    if (const auto exitCode = kem::runSquareExport({argv + std::min(argc, 1), argv + argc})) {
        return *exitCode;
    }
    kem::KemApplication app(argc, argv);
    const std::optional<std::string> programDir = kem::openProgramFolder();
    if (!programDir) {
        return 1;
    }
    kem::Forms forms(*programDir);
    kem::FormMain->show();
    return app.exec();
}
