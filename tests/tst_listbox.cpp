// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qtdriver.h"
#include "testing.h"

#include <QTest>

class tst_ListBox : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void appendsInOrderAndCounts_data();
    void appendsInOrderAndCounts();
    void selectingScrollsIntoView();
    void fullListAddsNothing();
    void mouseSelectsTheRowUnderIt_data();
    void mouseSelectsTheRowUnderIt();
    void keysMoveTheSelection_data();
    void keysMoveTheSelection();
    void rowsAreFoundWhereTheyAreDrawn();
};

namespace {

// The game's list on its form, and the list view that shows it.
struct List {
    explicit List(int items = 0, bool shown = true)
    {
        for (int i = 0; i < items; ++i)
            api.appendItem("Dyr " + std::to_string(i));
        if (!shown)
            return;
        form.setVisible(true);
        if (!QTest::qWaitForWindowExposed(&rt::qt::widget(form)))
            qFatal("the list was never shown");
    }
    rt::qt::ListBoxWidget* operator->() { return &rt::qt::widget(api); }
    QModelIndex row(int row) { return operator->()->model()->index(row, 0); }

    rt::Form form{{6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont};
    rt::ListBox api{form, {240, 240, 4095, 2565}};
};

} // namespace

void tst_ListBox::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ListBox::appendsInOrderAndCounts_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("one") << QStringList{"Elg"};
    QTest::newRow("not sorted") << QStringList{"Ørn", "Ape", "Mus"};
    QTest::newRow("duplicates kept") << QStringList{"Ku", "Ku", "Ku"};
    QTest::newRow("empty items counted") << QStringList{"", "", "Rev"};
}

// guards against a list that sorts, merges or miscounts the animals
void tst_ListBox::appendsInOrderAndCounts()
{
    QFETCH(QStringList, items);
    List list(0, false);
    QCOMPARE(list->geometry(), QRect(16, 16, 273, 171));
    QCOMPARE(list.api.newIndex(), qint16(-1));
    for (const QString& text : items)
        QVERIFY(list.api.appendItem(text.toStdString()));
    QCOMPARE(list.api.itemCount(), qint16(items.size()));
    QCOMPARE(list.api.newIndex(), qint16(items.size() - 1));
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(QString::fromStdString(list.api.itemText(qint16(i))), items.at(i));
        QCOMPARE(list.row(i).data().toString(), items.at(i));
    }
}

// guards against a new animal added out of sight
void tst_ListBox::selectingScrollsIntoView()
{
    List list(200);
    list.api.selectIndex(list.api.newIndex());
    QCOMPARE(list.api.listIndex(), qint16(199));
    QCOMPARE(list->currentIndex().row(), 199);
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list.row(199))));
    list.api.selectIndex(3);
    QCOMPARE(list.api.listIndex(), qint16(3));
    QVERIFY(list->viewport()->rect().contains(list->visualRect(list.row(3))));
}

// guards against a count that wraps past 32767 into negative numbers
void tst_ListBox::fullListAddsNothing()
{
    List list(rt::ListBox::capacity - 1, false);
    rt::ListBox& items = list.api;
    QVERIFY(!items.isFull());
    QVERIFY(items.appendItem("Elg"));
    QVERIFY(items.isFull());
    QCOMPARE(items.itemCount(), qint16(32767));
    QCOMPARE(items.newIndex(), qint16(32766));
    QVERIFY(!items.appendItem("Ku"));
    QCOMPARE(items.itemCount(), qint16(32767));
    QCOMPARE(items.newIndex(), qint16(32766));
    QCOMPARE(items.itemText(32766), "Elg");
    QCOMPARE(list->model()->rowCount(), 32767);
}

void tst_ListBox::mouseSelectsTheRowUnderIt_data()
{
    QTest::addColumn<int>("scrolledTo");
    QTest::addColumn<int>("visibleRow");
    QTest::newRow("top row, unscrolled") << 0 << 0;
    QTest::newRow("third row, unscrolled") << 0 << 2;
    QTest::newRow("third row, scrolled to the end") << 99 << 2;
}

// guards against a click that selects another animal than the one under the mouse
void tst_ListBox::mouseSelectsTheRowUnderIt()
{
    QFETCH(int, scrolledTo);
    QFETCH(int, visibleRow);
    List list(100);
    list->scrollTo(list.row(scrolledTo));
    const int top = list->indexAt(QPoint(5, 1)).row();
    const QRect target = list->visualRect(list.row(top + visibleRow));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, target.center());
    QCOMPARE(list.api.listIndex(), qint16(top + visibleRow));
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(list.api.itemText(list.api.listIndex()), "Dyr " + std::to_string(top + visibleRow));
}

void tst_ListBox::keysMoveTheSelection_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6;
    QTest::newRow("up") << 5 << int(Qt::Key_Up) << 4;
    QTest::newRow("up at the top stays") << 0 << int(Qt::Key_Up) << 0;
    QTest::newRow("down at the end stays") << 99 << int(Qt::Key_Down) << 99;
    QTest::newRow("home") << 50 << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << 3 << int(Qt::Key_End) << 99;
}

// guards against a list a keyboard user cannot browse
void tst_ListBox::keysMoveTheSelection()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    List list(100);
    list->setFocus();
    list.api.selectIndex(qint16(from));
    QTest::keyClick(list.operator->(), Qt::Key(key));
    QCOMPARE(list.api.listIndex(), qint16(to));
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), 1);
    const QRect shownAt = list->visualRect(list->currentIndex());
    QVERIFY(list->viewport()->rect().contains(shownAt));
    const int page = list->viewport()->height() / shownAt.height();
    QTest::keyClick(list.operator->(), Qt::Key_PageDown);
    QCOMPARE(list.api.listIndex(), qint16(qMin(99, to + page)));
}

// guards against rows drawn in one place and hit-tested in another
void tst_ListBox::rowsAreFoundWhereTheyAreDrawn()
{
    List list(100);
    for (int scrolledTo : {0, 40, 99}) {
        const QModelIndex target = list.row(scrolledTo);
        list->scrollTo(target);
        QVERIFY(list->viewport()->rect().contains(list->visualRect(target)));
        for (int y = 0; y < list->viewport()->height(); y += 3) {
            const QModelIndex index = list->indexAt(QPoint(10, y));
            if (!index.isValid())
                continue;
            QVERIFY(list->visualRect(index).contains(QPoint(10, y)));
        }
    }
    QVERIFY(!list->indexAt(QPoint(10, -1)).isValid());
}

QTEST_MAIN(tst_ListBox)
#include "tst_listbox.moc"
