// Shared helpers of the window tests: the test entry point on the Orvanta application
// object, modal-text capture, record files in a temporary folder, a tolerance check.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>
#include <vector>

#include "ui/Application.h"
#include "ui/ErrorDisplay.h"

class TForm1;

// Runs the Qt Test object TestObject on an OrvantaApplication, so exceptions escaping a
// handler take the application's error display as in the real program.
#define ORVANTA_UI_TEST_MAIN(TestObject)                 \
    int main(int argc, char** argv) {                    \
        OrvantaApplication application(argc, argv);      \
        application.setAttribute(Qt::AA_Use96Dpi, true); \
        TestObject test;                                 \
        return QTest::qExec(&test, argc, argv);          \
    }

// Captures the texts of the error display and of plain messages while it lives, instead
// of opening modal boxes; restores the previous handlers when destroyed.
class ModalCapture {
  public:
    ModalCapture();
    ~ModalCapture();
    ModalCapture(const ModalCapture&) = delete;
    ModalCapture& operator=(const ModalCapture&) = delete;

    QStringList errors;    // final texts of the error display, in order
    QStringList messages;  // texts of plain messages, in order

  private:
    TextHandler previousError;
    TextHandler previousMessage;
};

// The text of a record file: one header line, then "time acc" lines, time i * timeStepS
// from startTimeS.
QString RecordText(const std::vector<double>& samples, double timeStepS, double startTimeS = 0.0);

// Writes text (UTF-8) to folder/name and returns the file's path.
QString WriteFile(const QTemporaryDir& folder, const QString& name, const QString& text);

// |actual - expected| <= relTol * max(|actual|, |expected|), or both within 1e-300.
bool NearlyEqual(double actual, double expected, double relTol = 1e-12);

// Creates the window, sets Form1, shows it and waits until it is exposed.
TForm1* MakeShownWindow();

// Makes the window's open-file dialog return paths, as if the user chose them.
void InjectChosenFiles(TForm1* form, const QStringList& paths);

// Clicks "Import Data" as the user does (through the event loop and its error display).
void ClickImport(TForm1* form);

// Clicks row of lst1 as the user does.
void ClickRecord(TForm1* form, int row);
