// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "messagebox.h"
#include "testing.h"

#include <QTest>

class tst_MessageBox : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void showsTitlePromptAndOneOk_data();
    void showsTitlePromptAndOneOk();
};

void tst_MessageBox::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_MessageBox::showsTitlePromptAndOneOk_data()
{
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "jaggu du har vist greid å stappe inn 50 dyr i Arken til Noah" << "Bargeling 2.0";
    QTest::newRow("markup stays text") << "<b>SADIST</b>" << "Bargeling 2.0";
    QTest::newRow("empty") << "" << "";
}

// guards against a message with the wrong words, an icon, extra buttons or input left open
void tst_MessageBox::showsTitlePromptAndOneOk()
{
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    rt::Form owner({600, 600}, rt::BorderStyle::FixedSingle, testing::designFont);
    owner.setVisible(true);
    QList<testing::MessageBoxCloser::Seen> boxes;
    {
        testing::MessageBoxCloser closer;
        rt::showMessage(owner, prompt.toStdString(), title.toStdString());
        boxes = closer.seen;
    }
    QCOMPARE(boxes.size(), 1);
    const testing::MessageBoxCloser::Seen& seen = boxes.first();
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, prompt);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
}

QTEST_MAIN(tst_MessageBox)
#include "tst_messagebox.moc"
