#include "form.h"

#include <QSignalSpy>
#include <QTest>

class tst_Form : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void twipsToPixels_data();
    void twipsToPixels();
    void fixedFrameCannotBeResized();
    void systemColoursFollowThePalette();
    void ownedFormIsAFramelessToolWindow();
    void ownedFormOpensCentredOverItsOwner();
    void closingEmitsClosed();
};

void tst_Form::cleanup()
{
    // guards against a form outliving its test
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Form::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("expected");
    QTest::newRow("main window width") << 6735 << 449;
    QTest::newRow("client height") << 3195 << 213;
    QTest::newRow("list width") << 4095 << 273;
    QTest::newRow("credits label width") << 4575 << 305;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("rounds half up") << 8 << 1;
    QTest::newRow("rounds down") << 7 << 0;
}

// guards against a layout drawn at the wrong scale
void tst_Form::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, expected);
    QCOMPARE(rt::pixels(twips), expected);
}

// guards against a main window that the user can resize
void tst_Form::fixedFrameCannotBeResized()
{
    rt::Form form({6735, 3195}, rt::BorderStyle::FixedSingle);
    QCOMPARE(form.size(), QSize(449, 213));
    QCOMPARE(form.minimumSize(), QSize(449, 213));
    QCOMPARE(form.maximumSize(), QSize(449, 213));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::FramelessWindowHint));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(600, 400);
    QCOMPARE(form.size(), QSize(449, 213));
}

// guards against hard-coded colours that ignore the desktop's theme
void tst_Form::systemColoursFollowThePalette()
{
    rt::Form form({600, 600}, rt::BorderStyle::FixedSingle);
    QPalette dark;
    dark.setColor(QPalette::Base, Qt::darkBlue);
    dark.setColor(QPalette::Window, Qt::red);
    form.setPalette(dark);
    QCOMPARE(form.grab().toImage().pixelColor(20, 20), QColor(Qt::darkBlue));
    QCOMPARE(form.foregroundRole(), QPalette::Text);
}

// guards against an about window with a frame or its own task bar entry
void tst_Form::ownedFormIsAFramelessToolWindow()
{
    rt::Form owner({6735, 3195}, rt::BorderStyle::FixedSingle);
    auto* owned = new rt::Form({4680, 3195}, rt::BorderStyle::None, &owner);
    QVERIFY(owned->isWindow());
    QCOMPARE(owned->windowType(), Qt::Tool);
    QVERIFY(owned->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(owned->size(), QSize(312, 213));
    QVERIFY(owned->isHidden());
}

// guards against the about window opening in a far corner of the screen
void tst_Form::ownedFormOpensCentredOverItsOwner()
{
    rt::Form owner({6735, 3195}, rt::BorderStyle::FixedSingle);
    owner.move(200, 150);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    auto* owned = new rt::Form({4680, 3195}, rt::BorderStyle::None, &owner);
    owned->setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(owned));
    QVERIFY(qAbs(owned->frameGeometry().center().x() - owner.frameGeometry().center().x()) <= 1);
    QVERIFY(qAbs(owned->frameGeometry().center().y() - owner.frameGeometry().center().y()) <= 1);
}

// guards against a close that the program cannot react to
void tst_Form::closingEmitsClosed()
{
    rt::Form form({600, 600}, rt::BorderStyle::FixedSingle);
    QSignalSpy closed(&form, &rt::Form::closed);
    form.show();
    QVERIFY(form.close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(form.isHidden());
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
