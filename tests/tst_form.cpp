// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fixedsizeguard.h"
#include "form.h"
#include "label.h"
#include "testing.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

class tst_Form : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void twipsToPixels_data();
    void twipsToPixels();
    void fixedFrameCannotBeResized();
    void systemColoursFollowThePalette();
    void ownedFormIsAFramelessToolWindow();
    void ownedFormStandsBesideItsOwner_data();
    void ownedFormStandsBesideItsOwner();
    void growsWithItsFont_data();
    void growsWithItsFont();
    void maximizedFormCentresItsControls();
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
    rt::Form form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    QCOMPARE(form.size(), QSize(449, 213));
    QCOMPARE(form.minimumSize(), QSize(449, 213));
    QCOMPARE(form.maximumSize(), QSize(449, 213));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowTitleHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::FramelessWindowHint));
}

// guards against hard-coded colours that ignore the desktop's theme
void tst_Form::systemColoursFollowThePalette()
{
    rt::Form form({600, 600}, rt::BorderStyle::FixedSingle, testing::designFont);
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
    rt::Form owner({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    auto* owned = new rt::Form({4680, 3195}, rt::BorderStyle::None, testing::designFont, &owner);
    QVERIFY(owned->isWindow());
    QCOMPARE(owned->windowType(), Qt::Tool);
    QVERIFY(owned->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(owned->size(), QSize(312, 213));
    QVERIFY(owned->isHidden());
}

enum class Side { Right, Left, Below, Above, Anywhere };
Q_DECLARE_METATYPE(Side)

void tst_Form::ownedFormStandsBesideItsOwner_data()
{
    // On the offscreen screen a form's frame is 2 pixels wide all round.
    QTest::addColumn<QSize>("ownerTwips");
    QTest::addColumn<QPoint>("ownerAt");
    QTest::addColumn<Side>("side");
    const QSize game(6735, 3195);
    QTest::newRow("room on the right") << game << QPoint(0, 100) << Side::Right;
    QTest::newRow("owner at the right edge") << game << QPoint(340, 100) << Side::Left;
    QTest::newRow("wide enough for neither side, room below") << game << QPoint(100, 50) << Side::Below;
    QTest::newRow("wide enough for neither side, room above") << game << QPoint(100, 500) << Side::Above;
    // No side has room, and slid into the screen on the right it would hide the right label.
    QTest::newRow("no room anywhere") << QSize(6900, 9000) << QPoint(300, 100) << Side::Anywhere;
}

// guards against an about window that covers the game it belongs to
void tst_Form::ownedFormStandsBesideItsOwner()
{
    QFETCH(QSize, ownerTwips);
    QFETCH(QPoint, ownerAt);
    QFETCH(Side, side);
    rt::Form owner({ownerTwips.width(), ownerTwips.height()}, rt::BorderStyle::FixedSingle, testing::designFont);
    auto* left = new rt::Label(owner, {240, 240, 3000, 2565});
    auto* right = new rt::Label(owner, {4560, 240, 1815, 1215});
    QCOMPARE(owner.screen()->availableGeometry().size(), QSize(800, 800));
    owner.move(ownerAt);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    auto* owned = new rt::Form({4680, 3195}, rt::BorderStyle::None, testing::designFont, &owner);
    owned->setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(owned));
    const QRect frame = owner.frameGeometry();
    const QRect about = owned->frameGeometry();
    QVERIFY(owner.screen()->availableGeometry().contains(about));
    switch (side) {
    case Side::Right:
        QVERIFY(about.left() > frame.right());
        break;
    case Side::Left:
        QVERIFY(about.right() < frame.left());
        break;
    case Side::Below:
        QVERIFY(about.top() > frame.bottom());
        break;
    case Side::Above:
        QVERIFY(about.bottom() < frame.top());
        break;
    case Side::Anywhere: {
        const auto covers = [&](const QWidget* control) {
            return about.intersects(QRect(control->mapToGlobal(QPoint()), control->size()));
        };
        QVERIFY(!covers(left));
        QVERIFY(!covers(right));
        break;
    }
    }
}

void tst_Form::growsWithItsFont_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("grows");
    QTest::newRow("the desktop's usual 9 pt") << 9 << false;
    QTest::newRow("10 pt is still within the design") << 10 << false;
    QTest::newRow("15 pt") << 15 << true;
    QTest::newRow("20 pt") << 20 << true;
}

// guards against a layout whose texts are cut off at a large desktop font
void tst_Form::growsWithItsFont()
{
    QFETCH(int, pointSize);
    QFETCH(bool, grows);
    rt::Form form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    auto* label = new rt::Label(form, {4560, 1680, 1815, 1215});
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    form.setFont(font);
    if (!grows) {
        QCOMPARE(form.size(), QSize(449, 213));
        QCOMPARE(label->geometry(), QRect(304, 112, 121, 81));
        return;
    }
    const QSizeF scale = form.scale();
    QVERIFY(form.width() > 449 && form.height() > 213);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(label->geometry(), QRect(rt::pixels(4560, scale.width()), rt::pixels(1680, scale.height()),
                                    rt::pixels(1815, scale.width()), rt::pixels(1215, scale.height())));
    form.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QCOMPARE(form.size(), QSize(449, 213));
    QCOMPARE(label->geometry(), QRect(304, 112, 121, 81));
}

// guards against a maximized main window (Wayland) whose controls move or stretch, or that keeps
// a size other than its design when it is back to normal
void tst_Form::maximizedFormCentresItsControls()
{
    rt::FixedSizeGuard guard;
    qApp->installEventFilter(&guard);
    rt::Form form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    auto* label = new rt::Label(form, {4560, 1680, 1815, 1215});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    form.windowHandle()->setWindowStates(Qt::WindowMaximized);
    QTRY_COMPARE(form.windowState(), Qt::WindowMaximized);
    const QSize large = form.size();
    QVERIFY(large.width() > 449 + 100 && large.height() > 213 + 100);
    const QPoint centred((large.width() - 449) / 2, (large.height() - 213) / 2);
    QCOMPARE(label->geometry(), QRect(304, 112, 121, 81).translated(centred));

    // A larger font while maximized grows the controls, not the window.
    form.setFont(QFont(QStringLiteral("DejaVu Sans"), 15));
    QCOMPARE(form.size(), large);
    const QSizeF scale = form.scale();
    QVERIFY(scale.width() > 1);
    const QSize grown(rt::pixels(6735, scale.width()), rt::pixels(3195, scale.height()));
    QCOMPARE(label->geometry().topLeft(), QPoint(rt::pixels(4560, scale.width()), rt::pixels(1680, scale.height()))
                                               + QPoint((large.width() - grown.width()) / 2, (large.height() - grown.height()) / 2));

    form.windowHandle()->setWindowStates(Qt::WindowNoState);
    QTRY_COMPARE(form.windowState(), Qt::WindowNoState);
    QCOMPARE(form.size(), grown);
    QCOMPARE(form.minimumSize(), grown);
    QCOMPARE(form.maximumSize(), grown);
    QCOMPARE(label->geometry().topLeft(), QPoint(rt::pixels(4560, scale.width()), rt::pixels(1680, scale.height())));
    qApp->removeEventFilter(&guard);
}

// guards against a close that the program cannot react to
void tst_Form::closingEmitsClosed()
{
    rt::Form form({600, 600}, rt::BorderStyle::FixedSingle, testing::designFont);
    QSignalSpy closed(&form, &rt::Form::closed);
    form.show();
    QVERIFY(form.close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(form.isHidden());
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
