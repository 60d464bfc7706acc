// The progress dialog of a long analysis.
#include "ui/AnalysisProgress.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <utility>

#include "ui/ProductInfo.h"

namespace {

// A run that ends within this time shows no dialog (the busy cursor is enough).
constexpr std::chrono::milliseconds kQuietRun{300};
// How often the dialog looks at the run.
constexpr int kPollMs = 30;
constexpr int kProgressSteps = 1000;

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Enter:
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
            return true;
        default:
            return false;
    }
}

// While it lives, input reaches only the dialog (the window and its menus repaint but take
// none), and a close of the window is reported. Qt's own modality would do the first but
// would also refuse the window's close button for as long as the dialog is open.
class WindowDuringRun : public QObject {
  public:
    WindowDuringRun(QWidget* dialog, QWidget* window, std::function<void()> onClose)
        : dialog(dialog), window(window), onClose(std::move(onClose)) {
        qApp->installEventFilter(this);
    }
    ~WindowDuringRun() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window && event->type() == QEvent::Close) {
            onClose();
            return false;  // the window closes as always
        }
        return IsInput(event->type()) && !InDialog(watched);
    }

  private:
    bool InDialog(QObject* object) const {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            return widget == dialog || dialog->isAncestorOf(widget);
        }
        return object == dialog->windowHandle();
    }

    QWidget* dialog;
    QWidget* window;
    std::function<void()> onClose;
};

// Restores the arrow over the dialog while the busy cursor of the run stays set.
class ArrowCursor {
  public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

// Shows the dialog until the run finishes or is stopped; returns when the workers are done.
void ShowProgressUntilDone(AnalysisRun& run, const QString& recordName, QWidget* window) {
    if (run.WaitFor(kQuietRun)) {
        return;
    }
    QProgressDialog dialog(window);
    dialog.setObjectName(QString::fromLatin1(kAnalysisProgressName));
    dialog.setWindowTitle(QString::fromUtf8(kProductName));
    dialog.setLabelText(QStringLiteral("Analysing ") + recordName);
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    dialog.setRange(0, kProgressSteps);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);
    dialog.setWindowModality(Qt::NonModal);  // input is held back by WindowDuringRun

    QEventLoop loop;
    const auto stop = [&run, &loop] {
        run.Cancel();
        loop.quit();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, stop);
    QObject::connect(&dialog, &QDialog::rejected, &loop, stop);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        dialog.setValue(static_cast<int>(run.ShareDone() * kProgressSteps));
        if (run.Finished()) {
            loop.quit();
        } else if (dialog.wasCanceled() || !dialog.isVisible()) {
            stop();  // however it went away, a run nobody sees must not go on
        }
    });
    const WindowDuringRun blocker(&dialog, window, stop);
    const ArrowCursor arrow;
    dialog.setValue(static_cast<int>(run.ShareDone() * kProgressSteps));
    dialog.show();
    poll.start(kPollMs);
    loop.exec();
    // The loop also ends when the application quits: the run must not outlive the window.
    if (!run.Finished()) {
        run.Cancel();
    }
    run.Wait();
}

}  // namespace

bool AnalyseWithProgress(ResultStore& store, TimeHistory* record, double dampingRatio,
                         double gravity, QWidget* window) {
    const QString name = QString::fromStdString(record->GetName());
    RunWatcher previous = std::exchange(store.watchRun, [&name, window](AnalysisRun& run) {
        ShowProgressUntilDone(run, name, window);
    });
    struct Restore {
        ResultStore& store;
        RunWatcher& previous;
        ~Restore() { store.watchRun = std::move(previous); }
    } restore{store, previous};
    return store.AnalyseRecord(record, dampingRatio, gravity);
}
