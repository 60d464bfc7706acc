// The time list's model: instants written on demand from their index and the time step, the
// removals a drop-down list makes, and the list as cbb2 uses it.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QListView>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QtTest>
#include <memory>

#include "support/UiTestSupport.h"
#include "ui/InstantListModel.h"
#include "ui/Unit1.h"

namespace {

QStringList Texts(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts << combo.itemText(i);
    return texts;
}

}  // namespace

class InstantListTest : public QObject {
    Q_OBJECT

  private slots:
    void textsAreTheInstantsWithFourDecimals() {
        QComboBox combo;
        InstantListModel* model = MakeInstantList(&combo);
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model->SetInstants(4, 0.01, '.');
        // 3 * 0.01 is 0.030000000000000002: the integer times the step, then rounded.
        QCOMPARE(Texts(combo), (QStringList{"0.0100", "0.0200", "0.0300", "0.0400"}));
        model->SetInstants(2, 0.005, ',');
        QCOMPARE(Texts(combo), (QStringList{"0,0050", "0,0100"}));
        model->SetInstants(2, -0.01, '.');
        QCOMPARE(Texts(combo), (QStringList{"-0.0100", "-0.0200"}));
        model->SetInstants(0, 0.01, '.');
        QCOMPARE(combo.count(), 0);
        model->SetInstants(-3, 0.01, '.');
        QCOMPARE(combo.count(), 0);
        QCOMPARE(model->data(model->index(0, 0)), QVariant());  // nothing past the end
    }

    // The rows cost nothing: 16.8 million instants are a count and a step, and the last
    // one reads what k * dt gives.
    void millionsOfInstantsCostNothingPerItem() {
        QComboBox combo;
        InstantListModel* model = MakeInstantList(&combo);
        model->SetInstants(16'800'000, 0.005, '.');
        QCOMPARE(combo.count(), 16'800'000);
        QCOMPARE(combo.itemText(0), QStringLiteral("0.0050"));
        QCOMPARE(combo.itemText(16'799'999), QStringLiteral("84000.0000"));
        auto* view = qobject_cast<QListView*>(combo.view());
        QVERIFY(view != nullptr && view->uniformItemSizes());
    }

    // A new list replaces the old one as removal then insertion, which the combo box and
    // its view follow (and the run's busy-cursor test listens to).
    void replacingSignalsRemovalThenInsertion() {
        QComboBox combo;
        InstantListModel* model = MakeInstantList(&combo);
        model->SetInstants(5, 0.01, '.');
        QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        model->SetInstants(3, 0.02, '.');
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed[0][1].toInt(), 0);
        QCOMPARE(removed[0][2].toInt(), 4);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][2].toInt(), 2);
        QCOMPARE(combo.itemText(2), QStringLiteral("0.0600"));
    }

    // QComboBox::clear() and removing the last items work; a hole in 1 .. n cannot exist.
    void onlyTheEndCanBeRemoved() {
        QComboBox combo;
        InstantListModel* model = MakeInstantList(&combo);
        model->SetInstants(5, 0.01, '.');
        combo.setCurrentIndex(4);
        combo.removeItem(4);
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.currentIndex(), 3);
        combo.removeItem(1);  // refused
        QCOMPARE(combo.count(), 4);
        QVERIFY(!model->removeRows(0, 2));
        QVERIFY(!model->removeRows(3, 2));
        QVERIFY(!model->removeRows(2, 1, model->index(0, 0)));
        combo.clear();
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.currentIndex(), -1);
        QVERIFY(!model->removeRows(0, 0));
    }

    // Opening 200,000 instants: a list below the box with a scroll bar, only as many rows
    // high as the list shows (a menu over the box would measure every item first).
    void opensAsAListBelowTheBox() {
        QComboBox combo;
        InstantListModel* model = MakeInstantList(&combo);
        model->SetInstants(200'000, 0.01, '.');
        combo.setCurrentIndex(150'000);
        combo.resize(104, 21);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        QCOMPARE(combo.style()->styleHint(QStyle::SH_ComboBox_Popup, &option, &combo), 0);
        combo.showPopup();
        QAbstractItemView* view = combo.view();
        QTRY_VERIFY(view->isVisible());
        const int rowPx = view->sizeHintForRow(0);
        QVERIFY(view->height() <= (combo.maxVisibleItems() + 1) * rowPx);
        QVERIFY(view->window()->geometry().top() >= combo.mapToGlobal(QPoint(0, 0)).y());
        QVERIFY(view->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff);
        QCOMPARE(view->currentIndex().row(), 150'000);
        combo.hidePopup();
    }

    // In the window: selection from code runs no handler, the user's choice does.
    void selectionFromCodeIsSilent() {
        ModalCapture capture;
        std::unique_ptr<TForm1> form(MakeShownWindow());
        QVERIFY(InstantListOf(form->cbb2) != nullptr);
        QSignalSpy activated(form->cbb2, &QComboBox::activated);
        InstantListOf(form->cbb2)->SetInstants(3, 0.01, form->decimalSeparator());
        form->cbb2->setCurrentIndex(2);
        QCOMPARE(activated.size(), 0);
        QCOMPARE(form->cbb2->currentIndex(), 2);
        QCOMPARE(form->cbb2->currentText().size(), 6);  // "0.0300" with the locale's separator
        QVERIFY(!form->cbb2->isEditable());
    }
};

ORVANTA_UI_TEST_MAIN(InstantListTest)
#include "instant_list_test.moc"
