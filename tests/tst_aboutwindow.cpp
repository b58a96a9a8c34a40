// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutwindow.h"
#include "mainwindow.h"
#include "qtdriver.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_AboutWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void loadedHiddenWithItsCreditsAtStartUp();
    void clicks_data();
    void clicks();
};

namespace {

struct Windows {
    Windows()
        : main([] { return std::string("Elg"); }, [](rt::Form&, const std::string&, const std::string&) {})
    {
        rt::qt::widget(main).move(300, 200);
        main.load();
        main.setVisible(true);
    }
    QWidget* about() { return &rt::qt::widget(main.about()); }
    QLabel* countLabel() { return &rt::qt::widget(main.countLabel()); }
    QLabel* addLabel() { return &rt::qt::widget(main.addLabel()); }
    QLabel* credits() { return &rt::qt::widget(main.about().credits()); }
    int animals() { return main.animalList().itemCount(); }

    MainWindow main;
};

} // namespace

void tst_AboutWindow::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

// guards against an about window that appears at start, or opens empty
void tst_AboutWindow::loadedHiddenWithItsCreditsAtStartUp()
{
    Windows windows;
    QWidget* about = windows.about();
    QVERIFY(about->isHidden());
    QCOMPARE(about->windowTitle(), u"Om Vombrel 2k3k"_s);
    QCOMPARE(about->size(), QSize(312, 213));
    QCOMPARE(windows.credits()->geometry(), QRect(0, 0, 305, 209));
    const QString text = windows.credits()->text();
    QVERIFY(text.startsWith(u"Jaggu du fant den super hemmelige about screenen ikke det at deter så syyyykt vanskelig å finne dah... men nå CREDS !!!!!111 ;)))"_s));
    QVERIFY(text.endsWith(u"vel det var alt!!!"_s));
    QVERIFY(!text.contains(u'\n'));
    QVERIFY2(text.size() >= 425 && text.size() <= 525, qPrintable(QString::number(text.size())));
}

enum class Click { CountLabel, CountLabelTwice, Credits, Strip, CornerOfStrip, AddLabelWhileOpen };
Q_DECLARE_METATYPE(Click)

void tst_AboutWindow::clicks_data()
{
    QTest::addColumn<Click>("click");
    QTest::addColumn<bool>("shownAfter");
    QTest::addColumn<int>("animalsAfter");
    QTest::newRow("count label shows it") << Click::CountLabel << true << 0;
    QTest::newRow("second click changes nothing") << Click::CountLabelTwice << true << 0;
    QTest::newRow("credits text hides it") << Click::Credits << false << 0;
    QTest::newRow("right strip does nothing") << Click::Strip << true << 0;
    QTest::newRow("bottom-right corner does nothing") << Click::CornerOfStrip << true << 0;
    QTest::newRow("the game goes on while it is open") << Click::AddLabelWhileOpen << true << 1;
}

// guards against an about window that will not open, will not close, or touches the game
void tst_AboutWindow::clicks()
{
    QFETCH(Click, click);
    QFETCH(bool, shownAfter);
    QFETCH(int, animalsAfter);
    Windows windows;
    QTest::mouseClick(windows.countLabel(), Qt::LeftButton);
    QWidget* about = windows.about();
    QVERIFY(about->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const QPoint openedAt = about->pos();
    switch (click) {
    case Click::CountLabel:
        break;
    case Click::CountLabelTwice:
        QTest::mouseClick(windows.countLabel(), Qt::LeftButton);
        break;
    case Click::Credits:
        QTest::mouseClick(windows.credits(), Qt::LeftButton, {}, QPoint(150, 100));
        break;
    case Click::Strip:
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(308, 100));
        break;
    case Click::CornerOfStrip:
        QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(310, 211));
        break;
    case Click::AddLabelWhileOpen:
        QTest::mouseClick(windows.addLabel(), Qt::LeftButton);
        break;
    }
    QCOMPARE(about->isVisible(), shownAfter);
    QCOMPARE(windows.animals(), animalsAfter);
    QCOMPARE(windows.countLabel()->text(), u"Antall dyr på arken: %1"_s.arg(animalsAfter));
    if (shownAfter)
        QCOMPARE(about->pos(), openedAt);
    else {
        QTest::mouseClick(windows.countLabel(), Qt::LeftButton);
        QVERIFY(about->isVisible());
        QVERIFY(windows.credits()->text().startsWith(u"Jaggu"_s));
    }
}

QTEST_MAIN(tst_AboutWindow)
#include "tst_aboutwindow.moc"
