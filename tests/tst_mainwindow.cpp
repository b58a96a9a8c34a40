// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "aboutwindow.h"
#include "animalfile.h"
#include "mainwindow.h"
#include "messagebox.h"
#include "qtdriver.h"
#include "testing.h"

#include <QMessageBox>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_MainWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void startUp();
    void gameRule_data();
    void gameRule();
    void countLabelAddsNoAnimal();
    void missingAnimalFileGivesCountedEmptyItems();
    void fullArkTakesNoMoreAnimals();
    void textsFitAtAnyFontSize_data();
    void textsFitAtAnyFontSize();
};

namespace {

// A form whose messages are recorded, until `real` lets them through to real message boxes.
struct Game {
    Game()
        : form([this] { return u"Dyr %1"_s.arg(++drawn).toStdString(); },
              [this](rt::Form& owner, const std::string& prompt, const std::string& title) {
                  if (real)
                      rt::showMessage(owner, prompt, title);
                  else
                      recorded << QString::fromStdString(prompt);
              })
    {
        form.load();
        form.setVisible(true);
    }

    rt::ListBox* list() { return &form.animalList(); }
    rt::qt::ListBoxWidget* view() { return &rt::qt::widget(form.animalList()); }
    rt::qt::LabelWidget* countLabel() { return &rt::qt::widget(form.countLabel()); }
    rt::qt::LabelWidget* addLabel() { return &rt::qt::widget(form.addLabel()); }
    void click(QWidget* label) { QTest::mouseClick(label, Qt::LeftButton); }

    int drawn = 0;
    bool real = false;
    QStringList recorded;
    MainWindow form;
};

} // namespace

void tst_MainWindow::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

// guards against the design-time texts or a wrong layout reaching the user
void tst_MainWindow::startUp()
{
    MainWindow main([] { return std::string(); }, [](rt::Form&, const std::string&, const std::string&) {});
    QWidget& form = rt::qt::widget(main);
    rt::ListBox* list = &main.animalList();
    rt::qt::LabelWidget* count = &rt::qt::widget(main.countLabel());
    rt::qt::LabelWidget* add = &rt::qt::widget(main.addLabel());
    main.load();
    QCOMPARE(count->text(), u"Antall dyr på arken: 0"_s);
    QCOMPARE(add->text(), u"Sleng inn et dyr i Arken!"_s);
    QCOMPARE(list->itemCount(), qint16(0));
    QCOMPARE(form.windowTitle(), u"Bargeling 2000"_s);
    QCOMPARE(form.size(), QSize(449, 213));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(rt::qt::widget(*list).geometry(), QRect(16, 16, 273, 171));
    QCOMPARE(rt::qt::widget(*list).accessibleName(), u"Dyr i arken"_s);
    QCOMPARE(count->geometry(), QRect(304, 16, 121, 81));
    QCOMPARE(add->geometry(), QRect(304, 112, 121, 81));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(count->text(), u"Antall dyr på arken: 0"_s);
}

void tst_MainWindow::gameRule_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("countLabel");
    QTest::addColumn<QString>("message");
    QTest::newRow("1") << 1 << u"Antall dyr på arken: 1"_s << QString();
    QTest::newRow("49") << 49 << u"Antall dyr på arken: 49"_s << QString();
    QTest::newRow("50") << 50 << u"Antall dyr på arken: 50"_s
                        << u"jaggu du har vist greid å stappe inn 50 dyr i Arken til Noah"_s;
    QTest::newRow("51") << 51 << u"Antall dyr på arken: 51"_s << QString();
    QTest::newRow("74") << 74 << u"Antall dyr på arken: 74"_s << QString();
    QTest::newRow("75") << 75 << u"Antall dyr på arken: 75"_s
                        << u"Tobad du kjenner ikke din begrensning 75 dyr i arken er så mye at Arken til Noah synker! SHAEM ON YUO!!!!11"_s;
    QTest::newRow("76") << 76 << u"Antall dyr spist av krokodiller: 76"_s
                        << u"Du har slengt på 76 dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1"_s;
    QTest::newRow("77") << 77 << u"Antall dyr spist av krokodiller: 77"_s
                        << u"Du har slengt på 77 dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1"_s;
    QTest::newRow("1000") << 1000 << u"Antall dyr spist av krokodiller: 1000"_s
                          << u"Du har slengt på 1000 dyr, siden Arken til Noah er sunket blir disse spist av krokodillene, SADIST!!!!!!1"_s;
}

// guards against a wrong text, a wrong threshold, or a message shown before the count
void tst_MainWindow::gameRule()
{
    QFETCH(int, n);
    QFETCH(QString, countLabel);
    QFETCH(QString, message);
    Game game;
    for (int i = 1; i < n; ++i)
        game.click(game.addLabel());
    QCOMPARE(game.list()->itemCount(), n - 1);
    game.recorded.clear();
    game.real = true;

    QList<testing::MessageBoxCloser::Seen> seen;
    {
        testing::MessageBoxCloser closer([&] { return game.countLabel()->text(); });
        game.click(game.addLabel());
        seen = closer.seen;
    }

    QCOMPARE(game.list()->itemCount(), n);
    QCOMPARE(QString::fromStdString(game.list()->itemText(qint16(n - 1))), u"Dyr %1"_s.arg(n));
    QCOMPARE(game.list()->listIndex(), n - 1);
    QVERIFY(game.view()->viewport()->rect().contains(game.view()->visualRect(game.view()->currentIndex())));
    QCOMPARE(game.countLabel()->text(), countLabel);
    if (message.isEmpty()) {
        QCOMPARE(seen.size(), 0);
        return;
    }
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].title, u"Bargeling 2.0"_s);
    QCOMPARE(seen[0].text, message);
    QCOMPARE(seen[0].meanwhile, countLabel);
    QCOMPARE(seen[0].icon, QMessageBox::NoIcon);
    QCOMPARE(seen[0].buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

// guards against the secret count label throwing an animal in
void tst_MainWindow::countLabelAddsNoAnimal()
{
    Game game;
    game.click(game.addLabel());
    game.click(game.countLabel());
    game.click(game.countLabel());
    QCOMPARE(game.list()->itemCount(), 1);
    QCOMPARE(game.drawn, 1);
    QCOMPARE(game.countLabel()->text(), u"Antall dyr på arken: 1"_s);
}

// guards against a game that stops when "tips.txt" is missing
void tst_MainWindow::missingAnimalFileGivesCountedEmptyItems()
{
    QTemporaryDir empty;
    QStringList messages;
    MainWindow form([animals = AnimalFile([] { return 1.0f; }, empty.path().toStdString())] { return animals.randomAnimal(); },
        [&](rt::Form&, const std::string& prompt, const std::string&) { messages << QString::fromStdString(prompt); });
    form.load();
    rt::ListBox& list = form.animalList();
    for (int i = 0; i < 76; ++i)
        QTest::mouseClick(&rt::qt::widget(form.addLabel()), Qt::LeftButton);
    QCOMPARE(list.itemCount(), 76);
    for (qint16 i = 0; i < list.itemCount(); ++i)
        QCOMPARE(list.itemText(i), std::string());
    QCOMPARE(form.countLabel().text(), "Antall dyr spist av krokodiller: 76");
    QCOMPARE(messages.size(), 3);
    QVERIFY(messages[0].contains(u" 50 "_s));
    QVERIFY(messages[1].contains(u" 75 "_s));
    QVERIFY(messages[2].contains(u" 76 "_s));
}

// guards against a count that wraps to negative numbers once the ark holds 32767 animals
void tst_MainWindow::fullArkTakesNoMoreAnimals()
{
    Game game;
    for (int i = 0; i < rt::ListBox::capacity - 1; ++i)
        game.list()->appendItem("Mus");
    game.click(game.addLabel());
    QCOMPARE(game.list()->itemCount(), 32767);
    QCOMPARE(game.countLabel()->text(), u"Antall dyr spist av krokodiller: 32767"_s);
    QCOMPARE(game.recorded.size(), 1);
    QVERIFY(game.recorded.last().contains(u" 32767 dyr"_s));
    for (int i = 0; i < 3; ++i)
        game.click(game.addLabel());
    QCOMPARE(game.list()->itemCount(), 32767);
    QCOMPARE(game.drawn, 1);
    QCOMPARE(game.recorded.size(), 1);
    QCOMPARE(game.countLabel()->text(), u"Antall dyr spist av krokodiller: 32767"_s);
    QCOMPARE(game.list()->listIndex(), 32766);
}

void tst_MainWindow::textsFitAtAnyFontSize_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("the desktop's font") << 0;
    QTest::newRow("15 pt") << 15;
    QTest::newRow("20 pt") << 20;
}

// guards against texts cut off, or windows grown for nothing, at the user's font size
void tst_MainWindow::textsFitAtAnyFontSize()
{
    QFETCH(int, pointSize);
    if (pointSize > 0)
        qApp->setStyleSheet(u"* { font-size: %1pt }"_s.arg(pointSize));
    const auto plain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
    MainWindow game([] { return std::string("Elg"); }, [](rt::Form&, const std::string&, const std::string&) {});
    game.load();
    game.setVisible(true);
    QTest::mouseClick(&rt::qt::widget(game.countLabel()), Qt::LeftButton);
    QWidget& main = rt::qt::widget(game);
    QWidget& about = rt::qt::widget(game.about());
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    game.countLabel().setText("Antall dyr spist av krokodiller: 32767");
    for (const QLabel* label : std::initializer_list<const QLabel*>{&rt::qt::widget(game.countLabel()), &rt::qt::widget(game.addLabel()), &rt::qt::widget(game.about().credits())}) {
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, label->text());
        QVERIFY2(label->heightForWidth(label->width()) <= label->height() && needed.width() <= label->width(),
            qPrintable(label->text().left(20)));
    }
    if (pointSize == 0) {
        QCOMPARE(main.size(), QSize(449, 213));
        QCOMPARE(about.size(), QSize(312, 213));
    } else {
        QVERIFY(main.width() > 449 && main.height() > 213);
        QVERIFY(about.width() > 312 && about.height() > 213);
    }
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
