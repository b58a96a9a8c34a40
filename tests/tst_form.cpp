// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fixedsizeguard.h"
#include "qtdriver.h"
#include "testing.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

class tst_Form : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void fixedFrameCannotBeResized();
    void systemColoursFollowThePalette();
    void ownedFormIsAFramelessToolWindow();
    void ownedFormStandsBesideItsOwner_data();
    void ownedFormStandsBesideItsOwner();
    void growsWithItsFont_data();
    void growsWithItsFont();
    void maximizedFormCentresItsControls();
    void closingEmitsClosed();
    void firstControlThatTakesFocusHasIt();
};

namespace {

using rt::qt::widget;

// What the form's font makes of its designed sizes, as the form grows by it.
rt::Scale growthBy(const QFont& font)
{
    const QFontMetricsF metrics(font);
    return rt::growth({metrics.averageCharWidth(), metrics.height()}, testing::designFont);
}

} // namespace

void tst_Form::cleanup()
{
    // guards against a form outliving its test
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

// guards against a main window that the user can resize
void tst_Form::fixedFrameCannotBeResized()
{
    rt::Form game({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    QWidget& form = widget(game);
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
    rt::Form plain({600, 600}, rt::BorderStyle::FixedSingle, testing::designFont);
    QWidget& form = widget(plain);
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
    rt::Form about({4680, 3195}, rt::BorderStyle::None, testing::designFont, &owner);
    QWidget* owned = &widget(about);
    QVERIFY(owned->isWindow());
    QCOMPARE(owned->windowType(), Qt::Tool);
    QVERIFY(owned->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(owned->size(), QSize(312, 213));
    QVERIFY(owned->isHidden());
}

// Where each side is chosen is the shared rule's own test; here, that the form measures its
// owner's frame, its screen and its controls right.
enum class Side { Right, Left, Anywhere };
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
    // No side has room, and slid into the screen on the right it would hide the right label.
    QTest::newRow("no room anywhere") << QSize(6900, 9000) << QPoint(300, 100) << Side::Anywhere;
}

// guards against an about window that covers the game it belongs to
void tst_Form::ownedFormStandsBesideItsOwner()
{
    QFETCH(QSize, ownerTwips);
    QFETCH(QPoint, ownerAt);
    QFETCH(Side, side);
    rt::Form form({ownerTwips.width(), ownerTwips.height()}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::Label leftLabel(form, {240, 240, 3000, 2565});
    rt::Label rightLabel(form, {4560, 240, 1815, 1215});
    QWidget& owner = widget(form);
    const QWidget* left = &widget(leftLabel);
    const QWidget* right = &widget(rightLabel);
    QCOMPARE(owner.screen()->availableGeometry().size(), QSize(800, 800));
    owner.move(ownerAt);
    form.setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    rt::Form aboutForm({4680, 3195}, rt::BorderStyle::None, testing::designFont, &form);
    aboutForm.setVisible(true);
    QVERIFY(QTest::qWaitForWindowExposed(&widget(aboutForm)));
    const QRect frame = owner.frameGeometry();
    const QRect about = widget(aboutForm).frameGeometry();
    QVERIFY(owner.screen()->availableGeometry().contains(about));
    switch (side) {
    case Side::Right:
        QVERIFY(about.left() > frame.right());
        break;
    case Side::Left:
        QVERIFY(about.right() < frame.left());
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
    rt::Form game({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::Label add(game, {4560, 1680, 1815, 1215});
    QWidget& form = widget(game);
    const QWidget* label = &widget(add);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    form.setFont(font);
    if (!grows) {
        QCOMPARE(form.size(), QSize(449, 213));
        QCOMPARE(label->geometry(), QRect(304, 112, 121, 81));
        return;
    }
    const rt::Scale scale = growthBy(font);
    QVERIFY(form.width() > 449 && form.height() > 213);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(label->geometry(), QRect(rt::pixels(4560, scale.x), rt::pixels(1680, scale.y),
                                    rt::pixels(1815, scale.x), rt::pixels(1215, scale.y)));
    form.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QCOMPARE(form.size(), QSize(449, 213));
    QCOMPARE(label->geometry(), QRect(304, 112, 121, 81));
}

// guards against a maximized main window (Wayland) whose controls move or stretch, or that keeps
// a size other than its design when it is back to normal
void tst_Form::maximizedFormCentresItsControls()
{
    rt::qt::FixedSizeGuard guard;
    qApp->installEventFilter(&guard);
    rt::Form game({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::Label add(game, {4560, 1680, 1815, 1215});
    QWidget& form = widget(game);
    const QWidget* label = &widget(add);
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
    const rt::Scale scale = growthBy(form.font());
    QVERIFY(scale.x > 1);
    const QSize grown(rt::pixels(6735, scale.x), rt::pixels(3195, scale.y));
    QCOMPARE(label->geometry().topLeft(), QPoint(rt::pixels(4560, scale.x), rt::pixels(1680, scale.y))
                                               + QPoint((large.width() - grown.width()) / 2, (large.height() - grown.height()) / 2));

    form.windowHandle()->setWindowStates(Qt::WindowNoState);
    QTRY_COMPARE(form.windowState(), Qt::WindowNoState);
    QCOMPARE(form.size(), grown);
    QCOMPARE(form.minimumSize(), grown);
    QCOMPARE(form.maximumSize(), grown);
    QCOMPARE(label->geometry().topLeft(), QPoint(rt::pixels(4560, scale.x), rt::pixels(1680, scale.y)));
    qApp->removeEventFilter(&guard);
}

// guards against a close that the program cannot react to
void tst_Form::closingEmitsClosed()
{
    rt::Form plain({600, 600}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::FormWidget& form = widget(plain);
    QSignalSpy closed(&form, &rt::qt::FormWidget::closed);
    form.show();
    QVERIFY(form.close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(form.isHidden());
}

// guards against a keyboard user who must first click the list to reach the animals
void tst_Form::firstControlThatTakesFocusHasIt()
{
    rt::Form form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::Label label(form, {4560, 240, 1815, 1215});
    rt::ListBox list(form, {240, 240, 4095, 2565});
    form.setVisible(true);
    QVERIFY(QTest::qWaitForWindowActive(&widget(form)));
    QCOMPARE(QApplication::focusWidget(), &widget(list));
}

QTEST_MAIN(tst_Form)
#include "tst_form.moc"
