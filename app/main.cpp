// Start-up: the application object, the one main window centred and fitted to the screen,
// the event loop; the process returns 0 whatever happened.
#include "ui/Application.h"
#include "ui/ErrorDisplay.h"
#include "ui/ProductInfo.h"
#include "ui/ScreenFit.h"
#include "ui/Unit1.h"

namespace {

int RunApplication(OrvantaApplication& application) {
    TForm1 window;
    Form1 = &window;
    FitToScreen(window);
    window.show();
    return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
    OrvantaApplication application(argc, argv);
    QCoreApplication::setApplicationName(QString::fromUtf8(kProductName));
    ShowingErrors([&application] { RunApplication(application); });
    return 0;
}
