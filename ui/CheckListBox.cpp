// Check list with fixed row height and a keyboard-move callback.
#include "ui/CheckListBox.h"

#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

// Gives every row the same height, whatever the font's line height.
class FixedHeightDelegate : public QStyledItemDelegate {
  public:
    FixedHeightDelegate(int heightPx, QObject* parent)
        : QStyledItemDelegate(parent), heightPx(heightPx) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(heightPx);
        return size;
    }

  private:
    int heightPx;
};

}  // namespace

CheckListBox::CheckListBox(int itemHeightPx, QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new FixedHeightDelegate(itemHeightPx, this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
    const int before = HighlightedRow(this);
    QListWidget::keyPressEvent(event);
    const int after = HighlightedRow(this);
    if (after >= 0 && after != before && onKeyboardMove) {
        onKeyboardMove();
    }
}

void AddUncheckedItem(QListWidget* list, const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    list->addItem(item);
}

int HighlightedRow(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? list->row(item) : -1;
}
