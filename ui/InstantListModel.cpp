// The time list's model: rows are instants formed from their index and the time step.
#include "ui/InstantListModel.h"

#include <QComboBox>
#include <QListView>
#include <QProxyStyle>

#include "records/NumberText.h"

namespace {

// The application's style, except that a combo box opens as a list below it rather than as a
// menu over it. Opening as a menu (Fusion's way) measures the text of every item first, a
// second per 200,000 instants; the list below the box, as the designed window has it, lays
// out only the items it shows.
class ListBelowStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == QStyle::SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

InstantListModel::InstantListModel(QObject* parent) : QAbstractListModel(parent) {}

void InstantListModel::SetInstants(int count, double stepS, char separator) {
    if (instantCount > 0) {
        removeRows(0, instantCount);
    }
    timeStepS = stepS;
    decimalSeparator = separator;
    if (count > 0) {
        beginInsertRows(QModelIndex(), 0, count - 1);
        instantCount = count;
        endInsertRows();
    }
}

int InstantListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : instantCount;
}

QVariant InstantListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= instantCount ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return QVariant();
    }
    // The integer k times the step, as the run forms the instants: no drift from additions.
    const int k = index.row() + 1;
    return QString::fromStdString(FormatFixed4(k * timeStepS, decimalSeparator));
}

bool InstantListModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count != instantCount) {
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    instantCount = row;
    endRemoveRows();
    return true;
}

InstantListModel* MakeInstantList(QComboBox* combo) {
    auto* style = new ListBelowStyle;  // on the application's style, which it does not own
    style->setParent(combo);
    combo->setStyle(style);
    // A new view takes its scroll bar and scroll arrows from the style now in force.
    auto* view = new QListView(combo);
    view->setUniformItemSizes(true);
    combo->setView(view);
    auto* model = new InstantListModel(combo);
    combo->setModel(model);
    return model;
}

InstantListModel* InstantListOf(const QComboBox* combo) {
    return qobject_cast<InstantListModel*>(combo->model());
}
