// The application object with the error display around every delivered event.
#include "ui/Application.h"

#include "ui/ErrorDisplay.h"

OrvantaApplication::OrvantaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrvantaApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    ShowingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
