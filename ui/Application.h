// The application object: routes every exception that escapes an event handler to the
// error display, and the event loop goes on; stores no settings on disk.
#pragma once

#include <QApplication>

class OrvantaApplication : public QApplication {
    Q_OBJECT

  public:
    OrvantaApplication(int& argc, char** argv);

    // Delivers the event; an exception escaping the receiver's handler is shown by
    // ShowError (what() for std::exception, an empty text otherwise) and the event counts
    // as not handled.
    bool notify(QObject* receiver, QEvent* event) override;
};
