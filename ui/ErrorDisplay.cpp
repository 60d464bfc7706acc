// The error display and the plain message: full-stop rule, message boxes, test seams.
#include "ui/ErrorDisplay.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>

#include "ui/ProductInfo.h"

namespace {

// The two handlers are the one seam tests use to see modal texts; they live for the
// process, like the application object that shows the boxes.
struct DisplayHandlers {
    TextHandler error;
    TextHandler message;
};

DisplayHandlers& Handlers() {
    static DisplayHandlers handlers;
    return handlers;
}

void ShowBox(QMessageBox::Icon icon, const QString& text) {
    RefuseModalOnOffscreen(text);
    QMessageBox box(icon, QString::fromUtf8(kProductName), text, QMessageBox::Ok);
    box.exec();
}

}  // namespace

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') {
        return message + u'.';
    }
    return message;
}

void ShowError(const QString& message) {
    const QString text = WithFullStop(message);
    if (Handlers().error) {
        Handlers().error(text);
        return;
    }
    ShowBox(QMessageBox::Critical, text);
}

void ShowCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QString());
    }
}

void ShowMessage(const QString& message) {
    if (Handlers().message) {
        Handlers().message(message);
        return;
    }
    ShowBox(QMessageBox::Information, message);
}

TextHandler SetErrorDisplayHandler(TextHandler handler) {
    return std::exchange(Handlers().error, std::move(handler));
}

TextHandler SetMessageHandler(TextHandler handler) {
    return std::exchange(Handlers().message, std::move(handler));
}

void RefuseModalOnOffscreen(const QString& what) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        qFatal("A modal window would open on the offscreen platform (install a handler): %s",
               qUtf8Printable(what));
    }
}
