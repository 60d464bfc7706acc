// The items of the time list: instant r is (r + 1) * timeStep s, written when it is shown, so a
// list of millions of instants costs no memory and no time per item.
#pragma once

#include <QAbstractListModel>

class QComboBox;

class InstantListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    explicit InstantListModel(QObject* parent = nullptr);

    // Lists the instants k * timeStepS for k = 1 .. instantCount (none for a count below 1) in
    // place of what was listed; the texts use the "0.0000" pattern with decimalSeparator.
    void SetInstants(int instantCount, double timeStepS, char decimalSeparator);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The text of row r for the display and edit roles: (r + 1) * timeStep, "0.0000".
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Removes rows row .. the end, the only removal a list of instants 1 .. n allows
    // (QComboBox::clear() and removing the last items); other ranges are refused.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

  private:
    int instantCount = 0;
    double timeStepS = 0.0;
    char decimalSeparator = '.';
};

// Gives combo a new InstantListModel, owned by combo, and a drop-down list below the box with
// uniform item sizes (so opening it measures no item text but the first). Returns the model.
InstantListModel* MakeInstantList(QComboBox* combo);

// The InstantListModel of combo, nullptr when it has another model.
InstantListModel* InstantListOf(const QComboBox* combo);
