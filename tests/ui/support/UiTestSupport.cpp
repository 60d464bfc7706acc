// Shared helpers of the window tests.
#include "support/UiTestSupport.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "ui/Unit1.h"

ModalCapture::ModalCapture()
    : previousError(SetErrorDisplayHandler([this](const QString& text) { errors << text; })),
      previousMessage(SetMessageHandler([this](const QString& text) { messages << text; })) {}

ModalCapture::~ModalCapture() {
    SetErrorDisplayHandler(previousError);
    SetMessageHandler(previousMessage);
}

QString RecordText(const std::vector<double>& samples, double timeStepS, double startTimeS) {
    QString text = QStringLiteral("time[s] acc\n");
    for (std::size_t i = 0; i < samples.size(); ++i) {
        text += QString::number(startTimeS + static_cast<double>(i) * timeStepS, 'g', 15) +
                QLatin1Char(' ') + QString::number(samples[i], 'g', 17) + QLatin1Char('\n');
    }
    return text;
}

QString WriteFile(const QTemporaryDir& folder, const QString& name, const QString& text) {
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qFatal("cannot write test file %s", qUtf8Printable(path));
    }
    file.write(text.toUtf8());
    return path;
}

bool NearlyEqual(double actual, double expected, double relTol) {
    const double scale = std::max(std::abs(actual), std::abs(expected));
    return std::abs(actual - expected) <= std::max(relTol * scale, 1e-300);
}

TForm1* MakeShownWindow() {
    auto* form = new TForm1();
    Form1 = form;
    form->show();
    if (!QTest::qWaitForWindowExposed(form)) {
        qWarning("window not exposed");
    }
    return form;
}

void InjectChosenFiles(TForm1* form, const QStringList& paths) {
    form->chooseFiles = [paths] { return paths; };
}

void ClickImport(TForm1* form) {
    QTest::mouseClick(form->btn1, Qt::LeftButton);
}

void ClickRecord(TForm1* form, int row) {
    QListWidget* list = form->lst1;
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}
