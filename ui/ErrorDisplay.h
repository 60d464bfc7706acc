// The application's error display and plain modal message, behind replaceable handlers.
#pragma once

#include <QString>
#include <functional>

// Receives the final text of a modal box (tests install a capturing handler).
using TextHandler = std::function<void(const QString& text)>;

// The message with a full stop appended when its last character's code is above '.'
// (a letter or digit gets one; ')' or '.' does not; an empty text stays empty).
QString WithFullStop(const QString& message);

// Shows an error that escaped a handler: critical box titled "Orvanta" with OK, the text
// being WithFullStop(message).
void ShowError(const QString& message);

// Shows the exception being handled on the error display: a std::exception's what(), an
// empty text for anything else. Call only inside a catch block.
void ShowCurrentException();

// Runs action and shows whatever escapes it on the error display; the one place where the
// window's errors are caught (handlers, the event loop, start-up).
template <class Action>
void ShowingErrors(Action&& action) {
    try {
        action();
    } catch (...) {
        ShowCurrentException();
    }
}

// Shows a plain modal message titled "Orvanta" with OK; the text is shown as given.
void ShowMessage(const QString& message);

// Replace the handler behind ShowError / ShowMessage; return the previous one. An empty
// handler restores the default (a real QMessageBox).
TextHandler SetErrorDisplayHandler(TextHandler handler);
TextHandler SetMessageHandler(TextHandler handler);

// A real modal window cannot be answered on the offscreen platform (the test platform):
// aborts loudly with what would have been shown instead of blocking forever.
void RefuseModalOnOffscreen(const QString& what);
