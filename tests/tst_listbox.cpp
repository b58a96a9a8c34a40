// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwidget.h"
#include "listboxwidget.h"
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

struct ShownList {
    ShownList()
        : list(form, {240, 240, 4095, 2565})
    {
        for (int i = 0; i < 100; ++i)
            list.appendItem(QStringLiteral("Dyr %1").arg(i));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("the list was never shown");
    }
    rt::qt::FormWidget form{{6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont};
    rt::qt::ListBoxWidget list;
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
    rt::qt::FormWidget form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::ListBoxWidget list(form, {240, 240, 4095, 2565});
    QCOMPARE(list.geometry(), QRect(16, 16, 273, 171));
    QCOMPARE(list.newIndex(), qint16(-1));
    for (const QString& text : items)
        QVERIFY(list.appendItem(text));
    QCOMPARE(list.itemCount(), qint16(items.size()));
    QCOMPARE(list.newIndex(), qint16(items.size() - 1));
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(list.itemText(qint16(i)), items.at(i));
}

// guards against a new animal added out of sight
void tst_ListBox::selectingScrollsIntoView()
{
    rt::qt::FormWidget form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::ListBoxWidget list(form, {240, 240, 4095, 2565});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < 200; ++i)
        list.appendItem(QString::number(i));
    list.selectIndex(list.newIndex());
    QCOMPARE(list.listIndex(), qint16(199));
    QCOMPARE(list.currentIndex().row(), 199);
    QVERIFY(list.viewport()->rect().contains(list.visualRect(list.model()->index(199, 0))));
    list.selectIndex(3);
    QCOMPARE(list.listIndex(), qint16(3));
    QVERIFY(list.viewport()->rect().contains(list.visualRect(list.model()->index(3, 0))));
}

// guards against a count that wraps past 32767 into negative numbers
void tst_ListBox::fullListAddsNothing()
{
    rt::qt::FormWidget form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::ListBoxWidget list(form, {240, 240, 4095, 2565});
    for (int i = 0; i < rt::qt::ListBoxWidget::capacity - 1; ++i)
        list.appendItem(QStringLiteral("Mus"));
    QVERIFY(!list.isFull());
    QVERIFY(list.appendItem(QStringLiteral("Elg")));
    QVERIFY(list.isFull());
    QCOMPARE(list.itemCount(), qint16(32767));
    QCOMPARE(list.newIndex(), qint16(32766));
    QVERIFY(!list.appendItem(QStringLiteral("Ku")));
    QCOMPARE(list.itemCount(), qint16(32767));
    QCOMPARE(list.newIndex(), qint16(32766));
    QCOMPARE(list.itemText(32766), QStringLiteral("Elg"));
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
    ShownList shown;
    shown.list.scrollTo(shown.list.model()->index(scrolledTo, 0));
    const int top = shown.list.indexAt(QPoint(5, 1)).row();
    const QRect target = shown.list.visualRect(shown.list.model()->index(top + visibleRow, 0));
    QTest::mouseClick(shown.list.viewport(), Qt::LeftButton, {}, target.center());
    QCOMPARE(shown.list.listIndex(), qint16(top + visibleRow));
    QCOMPARE(shown.list.selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(shown.list.itemText(shown.list.listIndex()), QStringLiteral("Dyr %1").arg(top + visibleRow));
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
    ShownList shown;
    shown.list.setFocus();
    shown.list.selectIndex(qint16(from));
    QTest::keyClick(&shown.list, Qt::Key(key));
    QCOMPARE(shown.list.listIndex(), qint16(to));
    QCOMPARE(shown.list.selectionModel()->selectedIndexes().size(), 1);
    const QRect shownAt = shown.list.visualRect(shown.list.currentIndex());
    QVERIFY(shown.list.viewport()->rect().contains(shownAt));
    const int page = shown.list.viewport()->height() / shownAt.height();
    QTest::keyClick(&shown.list, Qt::Key_PageDown);
    QCOMPARE(shown.list.listIndex(), qint16(qMin(99, to + page)));
}

// guards against rows drawn in one place and hit-tested in another
void tst_ListBox::rowsAreFoundWhereTheyAreDrawn()
{
    ShownList shown;
    for (int scrolledTo : {0, 40, 99}) {
        const QModelIndex target = shown.list.model()->index(scrolledTo, 0);
        shown.list.scrollTo(target);
        QVERIFY(shown.list.viewport()->rect().contains(shown.list.visualRect(target)));
        for (int y = 0; y < shown.list.viewport()->height(); y += 3) {
            const QModelIndex index = shown.list.indexAt(QPoint(10, y));
            if (!index.isValid())
                continue;
            QVERIFY(shown.list.visualRect(index).contains(QPoint(10, y)));
        }
    }
    QVERIFY(!shown.list.indexAt(QPoint(10, -1)).isValid());
}

QTEST_MAIN(tst_ListBox)
#include "tst_listbox.moc"
