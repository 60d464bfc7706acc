// The error display: the full-stop rule, exceptions escaping a handler reaching it through
// the application's notify() while the event loop goes on, and the plain message route.
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <stdexcept>

#include "records/Errors.h"
#include "support/UiTestSupport.h"
#include "ui/Unit1.h"

// Throws from its event handler on every delivered event: kind 0 a core error, 1 a
// standard exception, anything else a value that is no exception class.
class ThrowingReceiver : public QObject {
  public:
    explicit ThrowingReceiver(int kind) : kind(kind) {}
    int deliveries = 0;

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++deliveries;
        if (kind == 0)
            throw ConvertError("abc");
        if (kind == 1)
            throw std::runtime_error("bad thing");
        throw 42;
    }

  private:
    int kind;
};

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

    void exceptionEscapingAnEventHandlerIsShownAndTheLoopGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("shown");
        QTest::newRow("core error") << 0 << "'abc' is not a valid floating point value.";
        QTest::newRow("standard exception") << 1 << "bad thing.";
        QTest::newRow("not a standard exception") << 2 << "";
    }
    void exceptionEscapingAnEventHandlerIsShownAndTheLoopGoesOn() {
        QFETCH(int, kind);
        QFETCH(QString, shown);
        ThrowingReceiver receiver(kind);
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        QTRY_COMPARE(receiver.deliveries, 2);  // the loop delivers the next event
        QCOMPARE(capture->errors, (QStringList{shown, shown}));
        QEvent direct(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&receiver, &direct));  // not handled
        QCOMPARE(capture->errors.size(), 3);
    }

    void errorOfAWindowHandlerEndsItAndIsShown() {
        TForm1 form;
        form.edt5->setText(QStringLiteral("1,5,"));
        bool dialogShown = false;
        form.chooseFiles = [&dialogShown] {
            dialogShown = true;
            return QStringList();
        };
        form.show();
        QTest::mouseClick(form.btn1, Qt::LeftButton);
        QCOMPARE(capture->errors, QStringList{"'1,5,' is not a valid floating point value."});
        QVERIFY(!dialogShown);
        QVERIFY(!form.btn1->isDown());
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
