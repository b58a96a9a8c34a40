// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qtdriver.h"
#include "program.h"
#include "testing.h"

#include <QTest>
#include <QTimer>

class tst_Program : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void closingTheStartupFormEndsTheProgram_data();
    void closingTheStartupFormEndsTheProgram();
};

void tst_Program::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

class CountingForm final : public rt::Form {
public:
    CountingForm()
          : rt::Form({6735, 3195}, rt::BorderStyle::FixedSingle, testing::designFont)
    {
    }
    void load() override { loadsBeforeShow += isVisible() ? 0 : 1; }
    int loadsBeforeShow = 0;
};

enum class Other { None, Shown, Hidden, OwnedShown, OwnedHidden };
Q_DECLARE_METATYPE(Other)

void tst_Program::closingTheStartupFormEndsTheProgram_data()
{
    QTest::addColumn<Other>("other");
    QTest::newRow("alone") << Other::None;
    QTest::newRow("another window shown") << Other::Shown;
    QTest::newRow("another window hidden") << Other::Hidden;
    QTest::newRow("an owned window shown") << Other::OwnedShown;
    QTest::newRow("an owned window hidden") << Other::OwnedHidden;
}

// guards against a program that lives on, invisible, after its main window is closed
void tst_Program::closingTheStartupFormEndsTheProgram()
{
    QFETCH(Other, other);
    CountingForm form;
    QWidget independent;
    rt::Form owned({4680, 3195}, rt::BorderStyle::None, testing::designFont, &form);
    bool shownWhenClosed = false;
    QTimer::singleShot(0, this, [&] {
        shownWhenClosed = form.isVisible();
        independent.setVisible(other == Other::Shown);
        owned.setVisible(other == Other::OwnedShown);
        if (other == Other::Hidden)
            independent.hide();
        rt::qt::widget(form).close();
    });
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [&] {
        timedOut = true;
        QCoreApplication::exit(3);
    });
    watchdog.start(5000);
    const int status = rt::run(form);
    QVERIFY(!timedOut);
    QCOMPARE(status, 0);
    QCOMPARE(form.loadsBeforeShow, 1);
    QVERIFY(shownWhenClosed);
}

QTEST_MAIN(tst_Program)
#include "tst_program.moc"
