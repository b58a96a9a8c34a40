// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "fixedsizeguard.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

// The offscreen platform stands in for the compositor: a maximized or full screen window takes
// the screen's size there at once, whatever limits the widget sets.
class tst_FixedSizeGuard : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void releasedBeforeTheCompositorAnswers_data();
    void releasedBeforeTheCompositorAnswers();
    void compositorsOwnMaximizeReleasesToo();
    void messageBoxStretchesAndShrinksBack();
    void resizableWindowKeepsItsLimits();

private:
    rt::qt::FixedSizeGuard guard_;
};

void tst_FixedSizeGuard::init()
{
    qApp->installEventFilter(&guard_);
}

void tst_FixedSizeGuard::cleanup()
{
    qApp->removeEventFilter(&guard_);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_FixedSizeGuard::releasedBeforeTheCompositorAnswers_data()
{
    QTest::addColumn<Qt::WindowState>("state");
    QTest::newRow("maximized") << Qt::WindowMaximized;
    QTest::newRow("full screen") << Qt::WindowFullScreen;
}

// guards against a window that refuses the size of the maximized state, which ends a Wayland
// connection
void tst_FixedSizeGuard::releasedBeforeTheCompositorAnswers()
{
    QFETCH(Qt::WindowState, state);
    QWidget window;
    window.setFixedSize(449, 213);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // As Qt's Wayland title bar does it: on the native window, no event loop in between.
    window.windowHandle()->setWindowStates(state);
    QCOMPARE(window.minimumSize(), QSize(0, 0));
    QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QTRY_COMPARE(window.windowState(), state);
    QVERIFY(window.width() > 449 && window.height() > 213);

    // Asked back to normal, it stays released until the compositor has confirmed.
    window.windowHandle()->setWindowStates(Qt::WindowNoState);
    QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QTRY_COMPARE(window.windowState(), Qt::WindowNoState);
    QCOMPARE(window.size(), QSize(449, 213));
    QCOMPARE(window.minimumSize(), QSize(449, 213));
    QCOMPARE(window.maximumSize(), QSize(449, 213));
}

// guards against a maximize from the compositor's key binding, which no title bar announces
void tst_FixedSizeGuard::compositorsOwnMaximizeReleasesToo()
{
    QWidget window;
    window.setFixedSize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setWindowState(Qt::WindowMaximized);
    QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    window.setWindowState(Qt::WindowNoState);
    QTRY_COMPARE(window.size(), QSize(300, 200));
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

// guards against a message box that dies maximized: it fixes its size only when it is shown
void tst_FixedSizeGuard::messageBoxStretchesAndShrinksBack()
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Bargeling 2.0"), QStringLiteral("jaggu du har vist greid"),
        QMessageBox::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // The box lays itself out once more when it has been shown; a slow machine may expose it first.
    QCoreApplication::sendPostedEvents();
    const QSize fixed = box.size();
    QCOMPARE(box.minimumSize(), fixed);
    QCOMPARE(box.maximumSize(), fixed);

    box.windowHandle()->setWindowStates(Qt::WindowMaximized);
    QCOMPARE(box.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QTRY_COMPARE(box.windowState(), Qt::WindowMaximized);
    QVERIFY(box.width() > fixed.width() + 300 && box.height() > fixed.height() + 300);
    QVERIFY(box.button(QMessageBox::Ok)->isVisible());

    box.windowHandle()->setWindowStates(Qt::WindowNoState);
    QTRY_COMPARE(box.size(), fixed);
    QCOMPARE(box.minimumSize(), fixed);
    QCOMPARE(box.maximumSize(), fixed);
}

// guards against a guard that fixes windows which were never fixed
void tst_FixedSizeGuard::resizableWindowKeepsItsLimits()
{
    QWidget window;
    window.setMinimumSize(100, 50);
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.windowHandle()->setWindowStates(Qt::WindowMaximized);
    QTRY_COMPARE(window.windowState(), Qt::WindowMaximized);
    QCOMPARE(window.minimumSize(), QSize(100, 50));
    window.windowHandle()->setWindowStates(Qt::WindowNoState);
    QTRY_COMPARE(window.windowState(), Qt::WindowNoState);
    QCOMPARE(window.minimumSize(), QSize(100, 50));
    QCOMPARE(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

QTEST_MAIN(tst_FixedSizeGuard)
#include "tst_fixedsizeguard.moc"
