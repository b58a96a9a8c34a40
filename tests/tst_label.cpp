// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "formwidget.h"
#include "labelwidget.h"
#include "testing.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

class tst_Label : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void mouseClicks_data();
    void mouseClicks();
    void keysNeverClick_data();
    void keysNeverClick();
    void longCaptionIsCutAtTheBottom();
    void accessiblePressClicks_data();
    void accessiblePressClicks();
};

void tst_Label::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

enum class Gesture { Click, DoubleClick, TwoClicks, RightClick, ReleaseOutside };
Q_DECLARE_METATYPE(Gesture)

void tst_Label::mouseClicks_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<int>("clicks");
    QTest::newRow("single click") << Gesture::Click << 1;
    QTest::newRow("double-click counts once") << Gesture::DoubleClick << 1;
    QTest::newRow("two separate clicks") << Gesture::TwoClicks << 2;
    QTest::newRow("right button") << Gesture::RightClick << 0;
    QTest::newRow("released outside") << Gesture::ReleaseOutside << 0;
}

// guards against a click lost, doubled or fired by the wrong gesture
void tst_Label::mouseClicks()
{
    QFETCH(Gesture, gesture);
    QFETCH(int, clicks);
    rt::qt::FormWidget form({4500, 3000}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::LabelWidget label(form, {1500, 1500, 1500, 1500});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy clicked(&label, &rt::qt::LabelWidget::clicked);
    const QPoint inside = label.rect().center();
    switch (gesture) {
    case Gesture::Click:
        QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
        break;
    case Gesture::DoubleClick:
        // what a real double-click delivers: press, release, press, double-click, release
        QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
        QTest::mousePress(&label, Qt::LeftButton, {}, inside);
        QTest::mouseDClick(&label, Qt::LeftButton, {}, inside);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, inside);
        break;
    case Gesture::TwoClicks:
        QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
        QTest::qWait(QApplication::doubleClickInterval() + 50);
        QTest::mouseClick(&label, Qt::LeftButton, {}, inside);
        break;
    case Gesture::RightClick:
        QTest::mouseClick(&label, Qt::RightButton, {}, inside);
        break;
    case Gesture::ReleaseOutside:
        QTest::mousePress(&label, Qt::LeftButton, {}, inside);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(label.width() + 20, inside.y()));
        break;
    }
    QCOMPARE(clicked.count(), clicks);
}

void tst_Label::keysNeverClick_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
    QTest::newRow("letter") << int(Qt::Key_S);
    QTest::newRow("tab") << int(Qt::Key_Tab);
}

// guards against a key that plays the game: only the mouse throws animals
void tst_Label::keysNeverClick()
{
    QFETCH(int, key);
    rt::qt::FormWidget form({4500, 3000}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::LabelWidget label(form, {0, 0, 1815, 1215});
    label.setText(QStringLiteral("&Sleng inn et dyr i Arken!"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(label.focusPolicy(), Qt::NoFocus);
    QSignalSpy clicked(&label, &rt::qt::LabelWidget::clicked);
    QTest::keyClick(&form, Qt::Key(key));
    QTest::keyClick(&label, Qt::Key(key));
    QTest::keyClick(&form, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(clicked.count(), 0);
}

// guards against a long caption that grows the label over its neighbours, runs on one endless
// line or is read as markup
void tst_Label::longCaptionIsCutAtTheBottom()
{
    rt::qt::FormWidget form({4500, 3000}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::LabelWidget label(form, {0, 0, 1815, 1215});
    label.setText(QString(QStringLiteral("<b>ord</b> ")).repeated(400));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(label.size(), QSize(121, 81));
    QVERIFY(label.heightForWidth(121) > 81);
    QCOMPARE(label.textFormat(), Qt::PlainText);
}

enum class Box { None, OpenBefore, OpensWhileQueued };
Q_DECLARE_METATYPE(Box)

void tst_Label::accessiblePressClicks_data()
{
    QTest::addColumn<Box>("box");
    QTest::addColumn<int>("clicks");
    QTest::newRow("nothing in the way") << Box::None << 1;
    QTest::newRow("a modal box of another window is open") << Box::OpenBefore << 0;
    QTest::newRow("a modal box opens while the press waits") << Box::OpensWhileQueued << 0;
}

// guards against a label that a screen reader user cannot press, or one pressed behind a box
void tst_Label::accessiblePressClicks()
{
    QFETCH(Box, box);
    QFETCH(int, clicks);
    rt::qt::FormWidget form({4500, 3000}, rt::BorderStyle::FixedSingle, testing::designFont);
    rt::qt::LabelWidget label(form, {0, 0, 1815, 1215});
    label.setText(QStringLiteral("Sleng inn et dyr i Arken!"));
    form.show();
    QWidget modal;
    modal.setWindowModality(Qt::ApplicationModal);
    QSignalSpy clicked(&label, &rt::qt::LabelWidget::clicked);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&label);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Sleng inn et dyr i Arken!"));
    QCOMPARE(accessible->role(), QAccessible::Button);
    QVERIFY(!accessible->state().focusable);
    QAccessibleActionInterface* actions = accessible->actionInterface();
    QVERIFY(actions);
    if (box == Box::OpenBefore)
        modal.show();
    actions->doAction(QAccessibleActionInterface::pressAction());
    if (box == Box::OpensWhileQueued)
        modal.show();
    QCOMPARE(clicked.wait(300), clicks > 0);
    QCOMPARE(clicked.count(), clicks);
}

QTEST_MAIN(tst_Label)
#include "tst_label.moc"
