// The error display: the full-stop rule, exceptions escaping a handler reaching it through
// the application's notify() while the event loop goes on, and the plain message route.
#include <QPushButton>
#include <memory>
#include <stdexcept>

#include "records/Errors.h"
#include "support/UiTestSupport.h"
#include "ui/Unit1.h"

class ErrorDisplayTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;

  private slots:
    void initTestCase() { capture = std::make_unique<ModalCapture>(); }
    void init() {
        capture->errors.clear();
        capture->messages.clear();
    }

    void fullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Floating point overflow"
                                << "Floating point overflow.";
        QTest::newRow("digit") << "value 5"
                               << "value 5.";
        QTest::newRow("closing parenthesis") << "List index out of bounds (1)"
                                             << "List index out of bounds (1)";
        QTest::newRow("full stop") << "Done."
                                   << "Done.";
        QTest::newRow("slash, code above '.'") << "a/"
                                               << "a/.";
        QTest::newRow("comma, code below '.'") << "a,"
                                               << "a,";
        QTest::newRow("hyphen, code below '.'") << "a-"
                                                << "a-";
        QTest::newRow("quote") << "'x' is not"
                               << "'x' is not.";
        QTest::newRow("apostrophe ends") << "name 'x'"
                                         << "name 'x'";
        QTest::newRow("Chinese") << "错误"
                                 << "错误.";
        QTest::newRow("empty") << ""
                               << "";
    }
    void fullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(WithFullStop(message), shown);
        ShowError(message);
        QCOMPARE(capture->errors, QStringList{shown});
    }

    void exceptionEscapingAHandlerIsShownAndTheLoopGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("core error") << 0 << "'abc' is not a valid floating point value.";
        QTest::newRow("standard exception") << 1 << "bad thing.";
        QTest::newRow("not a standard exception") << 2 << "";
    }
    void exceptionEscapingAHandlerIsShownAndTheLoopGoesOn() {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        QPushButton button(QStringLiteral("throw"));
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&clicks, kind] {
            ++clicks;
            if (kind == 0)
                throw ConvertError("abc");
            if (kind == 1)
                throw std::runtime_error("bad thing");
            throw 42;
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(capture->errors, QStringList{shown});
        QTest::mouseClick(&button, Qt::LeftButton);  // the application still delivers events
        QCOMPARE(clicks, 2);
        QCOMPARE(capture->errors.size(), 2);
        QVERIFY(!button.isDown());
    }

    void engineMessagesReachThePlainMessage() {
        TForm1 form;
        TimeHistory empty("empty.txt", 0.01);
        form.results.BuildPeriodGrid(0.1, 0.2, 0.1);
        form.results.AnalyseRecord(&empty, 0.05, form.gravity);  // no samples
        QCOMPARE(capture->messages.size(), 1);
        QVERIFY(capture->errors.isEmpty());
    }

    void handlersAreReplaceable() {
        QString seen;
        TextHandler previous =
            SetErrorDisplayHandler([&seen](const QString& text) { seen = text; });
        ShowError(QStringLiteral("x"));
        SetErrorDisplayHandler(previous);
        QCOMPARE(seen, QStringLiteral("x."));
        QVERIFY(capture->errors.isEmpty());
        ShowMessage(QStringLiteral("plain"));
        QCOMPARE(capture->messages, QStringList{"plain"});  // shown as given
    }
};

ORVANTA_UI_TEST_MAIN(ErrorDisplayTest)
#include "error_display_test.moc"
