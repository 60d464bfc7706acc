// The window on a real desktop: it fits the screen's free area with its frame, keeps every
// control visible at its smallest size, leaves no popup of the file dialog behind and
// writes no settings (CTest points XDG_CONFIG_HOME at an empty folder of its own).
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "support/UiTestSupport.h"
#include "ui/ScreenFit.h"
#include "ui/Unit1.h"

namespace {

// The rectangle of widget in the coordinates of the window's client area.
QRect InWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

}  // namespace

class WindowDesktopTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ModalCapture> capture;
    QTemporaryDir folder;

  private slots:
    void initTestCase() {
        capture = std::make_unique<ModalCapture>();
        QVERIFY(folder.isValid());
        QVERIFY(!qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
        QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
        config.removeRecursively();  // empty, whatever an earlier run left
        QVERIFY(config.mkpath(QStringLiteral(".")));
    }

    void fittedRectStaysInsideTheFreeArea() {
        const QMargins frame(4, 30, 4, 4);
        const QSize design(1041, 755);
        const QSize minimum(706, 658);
        // 1366 x 768 with a 32 px panel: the window shrinks and its title bar stays on screen.
        const QRect laptop(0, 0, 1366, 736);
        const QRect onLaptop = FittedClientRect(design, minimum, frame, laptop);
        QVERIFY(laptop.contains(onLaptop.marginsAdded(frame)));
        QCOMPARE(onLaptop.height(), 736 - 34);
        QCOMPARE(onLaptop.width(), 1041);
        // A large screen: the design size, centred.
        const QRect large(0, 0, 1920, 1050);
        const QRect onLarge = FittedClientRect(design, minimum, frame, large);
        QCOMPARE(onLarge.size(), design);
        QCOMPARE(onLarge.marginsAdded(frame).center().x(), large.center().x());
        // Smaller than the minimum (scale factor 2 on 1280 x 800): top-left corner kept.
        const QRect scaled(0, 20, 640, 380);
        const QRect onScaled = FittedClientRect(design, minimum, frame, scaled);
        QCOMPARE(onScaled.marginsAdded(frame).topLeft(), scaled.topLeft());
    }

    void smallestWindowShowsEveryControl() {
        TForm1* form = MakeShownWindow();
        form->resize(800, 560);  // below the minimum height: held at the minimum
        QTRY_VERIFY(form->height() >= form->minimumHeight());
        form->resize(form->minimumSize());
        QTest::qWait(20);
        const QRect statusBar = InWindow(form->statusBar());
        for (const char* name :
             {"btn3", "btn6", "btn7", "btn4", "btn5", "cbb7", "trckbr1", "cht1", "cht2"}) {
            const auto* control = form->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(control != nullptr, name);
            const QRect place = InWindow(control);
            QVERIFY2(QRect(QPoint(0, 0), form->size()).contains(place),
                     qPrintable(control->objectName()));
            QVERIFY2(!place.intersects(statusBar), qPrintable(control->objectName()));
        }
        delete form;
    }

    void windowFitsItsScreen() {
        auto* form = new TForm1();
        FitToScreen(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QRect available = form->screen()->availableGeometry();
        QVERIFY(available.contains(form->frameGeometry()));
        delete form;
    }

    void fileDialogLeavesNoPopupAndNoSettings() {
        const QString path = WriteFile(folder, "typed_name.txt", RecordText({0.1, 0.2}, 0.01));
        TForm1* form = MakeShownWindow();
        form->dlgOpen1->setDirectory(folder.path());
        std::unique_ptr<QFileDialog> dialog = form->NewOpenDialog();
        // Whatever happens below, the modal dialog ends instead of blocking the test.
        QTimer::singleShot(60000, dialog.get(), &QDialog::reject);
        QTimer::singleShot(0, dialog.get(), [&dialog] {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* files = dialog->findChild<QListView*>(QStringLiteral("listView"));
            QVERIFY(name != nullptr && files != nullptr);
            // The dialog lists its folder on a thread of its own; completion needs the list.
            QTRY_VERIFY_WITH_TIMEOUT(files->model()->rowCount(files->rootIndex()) > 0, 30000);
            QTest::keyClicks(name, QStringLiteral("typed_"));
            QTRY_VERIFY_WITH_TIMEOUT(QApplication::activePopupWidget() != nullptr, 20000);
            QTest::keyClicks(name, QStringLiteral("name.txt"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        const QStringList chosen = form->ChooseFilesWith(*dialog);
        QCOMPARE(chosen, QStringList{path});
        dialog.reset();
        QTest::qWait(20);
        QVERIFY(QApplication::activePopupWidget() == nullptr);
        for (const QWidget* top : QApplication::topLevelWidgets()) {
            QVERIFY2(top == form || !top->isVisible(), qPrintable(top->objectName()));
        }
        QCOMPARE(QDir(form->dlgOpen1->directory()).canonicalPath(),
                 QDir(folder.path()).canonicalPath());
        delete form;
        QCoreApplication::processEvents();
        const QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
        QCOMPARE(config.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }
};

ORVANTA_UI_TEST_MAIN(WindowDesktopTest)
#include "window_desktop_test.moc"
