// Fitting the main window into the screen's available area.
#include "ui/ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Frame margins assumed before the window manager has drawn a frame: a typical title bar
// and thin borders, so the first placement already leaves room for them.
const QMargins kAssumedFrame(4, 32, 4, 4);

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

// Re-fits the window when its frame margins change: once when the window manager first
// reports them, and whenever it redecorates the window; the user's own moves keep them.
class ScreenFitter : public QObject {
  public:
    ScreenFitter(QWidget& window, QSize wanted)
        : QObject(&window), window(window), wanted(wanted), designMinimum(window.minimumSize()) {
        window.installEventFilter(this);
        Fit(window.isVisible() ? FrameMargins(window) : kAssumedFrame);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Show;
        if (watched == &window && placed && window.isVisible()) {
            const QMargins margins = FrameMargins(window);
            if (!margins.isNull() && margins != fitted) {
                Fit(margins);
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void Fit(QMargins margins) {
        fitted = margins;
        const QScreen* screen = window.screen();
        if (screen == nullptr) {
            return;
        }
        const QRect available = screen->availableGeometry();
        const QSize room = available.size().shrunkBy(margins);
        window.setMinimumSize(designMinimum.boundedTo(room).expandedTo(QSize(1, 1)));
        window.setGeometry(FittedClientRect(wanted, window.minimumSize(), margins, available));
    }

    QWidget& window;
    QSize wanted;
    QSize designMinimum;
    QMargins fitted;
};

}  // namespace

QRect FittedClientRect(QSize clientSize, QSize minimumClient, QMargins frame, QRect available) {
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = clientSize.boundedTo(room).expandedTo(minimumClient);
    const QSize outer = size.grownBy(frame);
    // Centred, then pulled back so the frame's top-left never leaves the area.
    const int left = available.left() + std::max(0, (available.width() - outer.width()) / 2);
    const int top = available.top() + std::max(0, (available.height() - outer.height()) / 2);
    return QRect(QPoint(left + frame.left(), top + frame.top()), size);
}

void FitToScreen(QWidget& window) {
    new ScreenFitter(window, window.size());
}

QRect BesideClientRect(QRect mainFrame, QSize clientSize, QMargins frame, QRect available) {
    const QSize outer = clientSize.grownBy(frame).boundedTo(available.size());
    const int roomRight = available.right() - mainFrame.right();
    const int roomLeft = mainFrame.left() - available.left();
    int left = 0;
    if (roomRight >= outer.width()) {
        left = mainFrame.right() + 1;
    } else if (roomLeft >= outer.width()) {
        left = mainFrame.left() - outer.width();
    } else {
        left = roomRight >= roomLeft ? available.right() + 1 - outer.width() : available.left();
    }
    const int top =
        std::clamp(mainFrame.top(), available.top(), available.bottom() + 1 - outer.height());
    return QRect(QPoint(left, top), outer).marginsRemoved(frame);
}

void PlaceBeside(QWidget& tool, const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QMargins frame = window.isVisible() ? FrameMargins(window) : kAssumedFrame;
    tool.setGeometry(BesideClientRect(window.frameGeometry(), tool.size(),
                                      frame.isNull() ? kAssumedFrame : frame,
                                      screen->availableGeometry()));
}
