// The record check list: checkable rows of a fixed height, and a callback for the
// user's keyboard moves of the highlighted row (programmatic changes never call it).
#pragma once

#include <QListWidget>
#include <functional>

class CheckListBox : public QListWidget {
  public:
    // itemHeightPx: the height of every row in px.
    CheckListBox(int itemHeightPx, QWidget* parent);

    // Runs after a key press has moved the highlighted row.
    std::function<void()> onKeyboardMove;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Adds text as a new unchecked, unselected row at the end of list.
void AddUncheckedItem(QListWidget* list, const QString& text);

// The highlighted (current and selected) row of list, or -1 when none is highlighted.
int HighlightedRow(const QListWidget* list);
