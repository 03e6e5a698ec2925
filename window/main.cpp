#include "app_identity.h"
#include "display_check.h"
#include "frmmain.h"
#include "run_time_error.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fprintf(stderr, "%s: no display to open the window on (DISPLAY is not set)\n",
                     argv[0]);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    identifyApplication();
    frmMain window;
    try {
        window.Form_Load();
    } catch (...) {
        return reportRunTimeError();
    }
    window.showCentred();
    return app.exec();
}
