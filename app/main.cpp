#include "app/Forms.h"
#include "app/GpxCommand.h"
#include "app/KemApplication.h"
#include "app/TFormMain.h"
#include "base/ui/OpenProgramFolder.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = kem::runGpxCommand(argc, argv)) {
        return *status;
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
