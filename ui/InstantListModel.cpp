// The time list's model: rows are instants formed from their index and the time step.
#include "ui/InstantListModel.h"

#include <QComboBox>
#include <QListView>

#include "records/NumberText.h"

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
    auto* model = new InstantListModel(combo);
    combo->setModel(model);
    if (auto* view = qobject_cast<QListView*>(combo->view())) {
        view->setUniformItemSizes(true);
    }
    return model;
}

InstantListModel* InstantListOf(const QComboBox* combo) {
    return qobject_cast<InstantListModel*>(combo->model());
}
