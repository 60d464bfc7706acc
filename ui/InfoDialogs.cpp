// Information dialogs: the about and donation boxes, the project page, and the status
// bar's panes with the hover look of the link pane.
#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QUrl>
#include <functional>

#include "ui/ErrorDisplay.h"
#include "ui/ProductInfo.h"
#include "ui/Unit1.h"

namespace {

// Pane widths (px) of the status bar, left to right.
constexpr int kCreditPaneWidthPx = 93;
constexpr int kWelcomePaneWidthPx = 167;
constexpr int kLinkPaneWidthPx = 111;
constexpr int kStatusPaneWidthPx = 270;

// The link pane's look: blue, bold and underlined while hovered; black bold otherwise.
void ShowLinkHovered(QLabel* link, bool hovered) {
    QFont font = link->font();
    font.setBold(true);
    font.setUnderline(hovered);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, hovered ? QColor(Qt::blue) : QColor(Qt::black));
    link->setPalette(palette);
}

// Hover look and click for a label that stands for a web link.
class LinkPaneFilter : public QObject {
  public:
    LinkPaneFilter(QLabel* link, std::function<void()> open)
        : QObject(link), link(link), open(std::move(open)) {
        link->installEventFilter(this);
        link->setCursor(Qt::PointingHandCursor);
        ShowLinkHovered(link, false);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == link) {
            if (event->type() == QEvent::Enter) {
                ShowLinkHovered(link, true);
            } else if (event->type() == QEvent::Leave) {
                ShowLinkHovered(link, false);
            } else if (event->type() == QEvent::MouseButtonRelease) {
                open();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QLabel* link;
    std::function<void()> open;
};

QLabel* MakePane(QStatusBar* bar, const char* name, const QString& text, int widthPx, bool bold) {
    auto* pane = new QLabel(text, bar);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setFixedWidth(widthPx);
    QFont font = pane->font();
    font.setBold(bold);
    pane->setFont(font);
    bar->addWidget(pane);
    return pane;
}

}  // namespace

void TForm1::createStatusPanes() {
    rzfldsts3 =
        MakePane(rzstsbr2, "rzfldsts3", QStringLiteral("Orvanta team"), kCreditPaneWidthPx, true);
    rzfldsts1 = MakePane(rzstsbr2, "rzfldsts1", QStringLiteral("  Welcome to my Website :      "),
                         kWelcomePaneWidthPx, true);
    rzfldsts2 =
        MakePane(rzstsbr2, "rzfldsts2", QStringLiteral("Project Page"), kLinkPaneWidthPx, true);
    new LinkPaneFilter(rzfldsts2, [this] { OpenProjectPage(); });
    rzstspn1 = MakePane(rzstsbr2, "rzstspn1", QString(), kStatusPaneWidthPx, false);
}

void TForm1::mniAbout2Click() {
    ShowMessage(QString::fromUtf8(kProductName) + QString::fromUtf8(kBuildStamp) +
                QStringLiteral("\nRunning elastic response spectra of ground-acceleration "
                               "records.\n") +
                QString::fromUtf8(kProjectPageUrl));
}

void TForm1::mniDonation1Click() {
    ShowMessage(QStringLiteral("If %1 helps your work, you can support its development "
                               "through the project page:\n%2")
                    .arg(QString::fromUtf8(kProductName), QString::fromUtf8(kProjectPageUrl)));
}

void TForm1::OpenProjectPage() {
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(kProjectPageUrl)));
}
