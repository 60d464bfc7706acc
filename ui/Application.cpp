// The application object with the error display around every delivered event.
#include "ui/Application.h"

#include "ui/ErrorDisplay.h"
#include "ui/StoredSettings.h"

OrvantaApplication::OrvantaApplication(int& argc, char** argv) : QApplication(argc, argv) {
    KeepSettingsOffDisk();
}

bool OrvantaApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
