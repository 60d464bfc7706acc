// The application object with the error display around every delivered event.
#include "ui/Application.h"

#include <exception>

#include "ui/ErrorDisplay.h"

OrvantaApplication::OrvantaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrvantaApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QString());
    }
    return false;
}
