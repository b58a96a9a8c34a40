// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "messagebox.h"
#include "qtdriver.h"
#include "testing.h"

#include <QAccessible>
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

namespace {

// A label on a shown form, counting its clicks.
struct ClickedLabel {
    ClickedLabel()
    {
        label.onClick([this] { ++clicks; });
        form.setVisible(true);
        if (!QTest::qWaitForWindowExposed(&rt::qt::widget(form)))
            qFatal("the form was never shown");
    }
    QLabel* widget() { return &rt::qt::widget(label); }

    rt::Form form{{4500, 3000}, rt::BorderStyle::FixedSingle, testing::designFont};
    rt::Label label{form, {1500, 1500, 1500, 1500}};
    int clicks = 0;
};

} // namespace

void tst_Label::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

enum class Gesture { Click, QuickRun, TwoClicks, RightClick, ReleaseOutside };
Q_DECLARE_METATYPE(Gesture)

void tst_Label::mouseClicks_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("clicks");
    QTest::newRow("single click") << Gesture::Click << 1 << 1;
    QTest::newRow("double-click counts once") << Gesture::QuickRun << 2 << 1;
    QTest::newRow("six quick clicks are three double-clicks") << Gesture::QuickRun << 6 << 3;
    QTest::newRow("two separate clicks") << Gesture::TwoClicks << 2 << 2;
    QTest::newRow("right button") << Gesture::RightClick << 1 << 0;
    QTest::newRow("released outside") << Gesture::ReleaseOutside << 1 << 0;
}

// guards against a click lost, doubled or fired by the wrong gesture
void tst_Label::mouseClicks()
{
    QFETCH(Gesture, gesture);
    QFETCH(int, times);
    QFETCH(int, clicks);
    ClickedLabel shown;
    QLabel* label = shown.widget();
    const QPoint inside = label->rect().center();
    for (int i = 0; i < times; ++i) {
        switch (gesture) {
        case Gesture::Click:
            QTest::mouseClick(label, Qt::LeftButton, {}, inside);
            break;
        case Gesture::QuickRun:
            // what Qt delivers for a run of quick clicks: a press, then a double-click's, in turn
            if (i % 2 == 0) {
                QTest::mouseClick(label, Qt::LeftButton, {}, inside);
            } else {
                QTest::mouseDClick(label, Qt::LeftButton, {}, inside);
                QTest::mouseRelease(label, Qt::LeftButton, {}, inside);
            }
            break;
        case Gesture::TwoClicks:
            QTest::mouseClick(label, Qt::LeftButton, {}, inside);
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            break;
        case Gesture::RightClick:
            QTest::mouseClick(label, Qt::RightButton, {}, inside);
            break;
        case Gesture::ReleaseOutside:
            QTest::mousePress(label, Qt::LeftButton, {}, inside);
            QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, inside.y()));
            break;
        }
    }
    QCOMPARE(shown.clicks, clicks);
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
    ClickedLabel shown;
    shown.label.setText("&Sleng inn et dyr i Arken!");
    QCOMPARE(shown.widget()->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(&rt::qt::widget(shown.form), Qt::Key(key));
    QTest::keyClick(shown.widget(), Qt::Key(key));
    QTest::keyClick(&rt::qt::widget(shown.form), Qt::Key_S, Qt::AltModifier);
    QCOMPARE(shown.clicks, 0);
}

// guards against a long caption that grows the label over its neighbours, runs on one endless
// line or is read as markup
void tst_Label::longCaptionIsCutAtTheBottom()
{
    ClickedLabel shown;
    rt::Label label(shown.form, {0, 0, 1815, 1215});
    label.setText(QString(QStringLiteral("<b>ord</b> ")).repeated(400).toStdString());
    QLabel* widget = &rt::qt::widget(label);
    QCOMPARE(widget->size(), QSize(121, 81));
    QVERIFY(widget->heightForWidth(121) > 81);
    QCOMPARE(widget->textFormat(), Qt::PlainText);
}

enum class Message { None, OpenWhenPressed, OpensWhilePressWaits };
Q_DECLARE_METATYPE(Message)

void tst_Label::accessiblePressClicks_data()
{
    QTest::addColumn<Message>("message");
    QTest::addColumn<int>("clicks");
    QTest::newRow("nothing in the way") << Message::None << 1;
    QTest::newRow("pressed while a message is open") << Message::OpenWhenPressed << 0;
    QTest::newRow("a message opens while the press waits") << Message::OpensWhilePressWaits << 0;
}

// guards against a label that a screen reader user cannot press, or one pressed behind a message
void tst_Label::accessiblePressClicks()
{
    QFETCH(Message, message);
    QFETCH(int, clicks);
    ClickedLabel shown;
    shown.label.setText("Sleng inn et dyr i Arken!");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(shown.widget());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Sleng inn et dyr i Arken!"));
    QCOMPARE(accessible->role(), QAccessible::Button);
    QVERIFY(!accessible->state().focusable);
    QAccessibleActionInterface* actions = accessible->actionInterface();
    QVERIFY(actions);
    const auto press = [actions] { actions->doAction(QAccessibleActionInterface::pressAction()); };
    if (message == Message::None)
        press();
    {
        testing::MessageBoxCloser closer([&] {
            if (message == Message::OpenWhenPressed)
                press();
            return QString();
        });
        if (message == Message::OpensWhilePressWaits)
            press();
        if (message != Message::None)
            rt::showMessage(shown.form, "Bargeling 2.0", "50");
    }
    QTest::qWait(100);
    QCOMPARE(shown.clicks, clicks);
}

QTEST_MAIN(tst_Label)
#include "tst_label.moc"
