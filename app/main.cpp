#include "app/Forms.h"
#include "app/KemApplication.h"
#include "app/TFormMain.h"

int main(int argc, char** argv) {
    kem::KemApplication app(argc, argv);
    kem::Forms forms;
    kem::FormMain->show();
    return app.exec();
}
