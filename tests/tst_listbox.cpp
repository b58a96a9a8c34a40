#include "listbox.h"

#include <QTest>

class tst_ListBox : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void appendsInOrderAndCounts_data();
    void appendsInOrderAndCounts();
    void selectingScrollsIntoView();
    void fullListAddsNothing();
};

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
    QWidget form;
    rt::ListBox list(&form, QStringLiteral("List1"), {240, 240, 4095, 2565});
    QCOMPARE(list.geometry(), QRect(16, 16, 273, 171));
    QCOMPARE(list.newIndex(), qint16(-1));
    for (const QString& text : items)
        QVERIFY(list.appendItem(text));
    QCOMPARE(list.itemCount(), qint16(items.size()));
    QCOMPARE(list.newIndex(), qint16(items.size() - 1));
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(list.item(i)->text(), items.at(i));
}

// guards against a new animal added out of sight
void tst_ListBox::selectingScrollsIntoView()
{
    QWidget form;
    form.resize(449, 213);
    rt::ListBox list(&form, QStringLiteral("List1"), {240, 240, 4095, 2565});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int i = 0; i < 200; ++i)
        list.appendItem(QString::number(i));
    list.selectIndex(list.newIndex());
    QCOMPARE(list.currentRow(), 199);
    QCOMPARE(list.selectedItems().size(), 1);
    QVERIFY(list.viewport()->rect().contains(list.visualItemRect(list.item(199))));
    list.selectIndex(3);
    QCOMPARE(list.selectedItems().size(), 1);
    QVERIFY(list.viewport()->rect().intersects(list.visualItemRect(list.item(3))));
}

// guards against a count that wraps past 32767 into negative numbers
void tst_ListBox::fullListAddsNothing()
{
    QWidget form;
    rt::ListBox list(&form, QStringLiteral("List1"), {240, 240, 4095, 2565});
    list.addItems(QStringList(rt::ListBox::capacity - 1, QStringLiteral("Mus")));
    QVERIFY(!list.isFull());
    QVERIFY(list.appendItem(QStringLiteral("Elg")));
    QVERIFY(list.isFull());
    QCOMPARE(list.itemCount(), qint16(32767));
    QCOMPARE(list.newIndex(), qint16(32766));
    QVERIFY(!list.appendItem(QStringLiteral("Ku")));
    QCOMPARE(list.itemCount(), qint16(32767));
    QCOMPARE(list.newIndex(), qint16(32766));
    QCOMPARE(list.item(32766)->text(), QStringLiteral("Elg"));
}

QTEST_MAIN(tst_ListBox)
#include "tst_listbox.moc"
