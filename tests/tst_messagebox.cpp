#include "messagebox.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

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

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Critical;
    QList<QMessageBox::StandardButton> buttons;
    Qt::WindowModality modality = Qt::NonModal;
    Qt::TextFormat format = Qt::AutoText;
};

// guards against a message with the wrong words, an icon, extra buttons or input left open
void tst_MessageBox::showsTitlePromptAndOneOk()
{
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QWidget owner;
    owner.show();
    Seen seen;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.modality = box->windowModality();
        seen.format = box->textFormat();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << box->standardButton(button);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    rt::showMessage(&owner, prompt, title);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, prompt);
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(tst_MessageBox)
#include "tst_messagebox.moc"
