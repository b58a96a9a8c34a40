// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include <QTest>

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void answer_data();
    void answer();
};

using Value = rt::PlatformOption::Value;
constexpr rt::PlatformOption platformOptions[] = {
    {"platform", Value::NextArgument}, {"style", Value::NextArgumentOrEquals}, {"reverse"}};
const rt::ProgramInfo program{"p", "1.0", "", "Bruk: p\n"};
constexpr int starts = -1;

void tst_CommandLine::answer_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    const QString usage = "Bruk: p\n";
    const QString version = "p 1.0\n";
    const auto refused = [](const QString& why) { return QString("p: %1; se «p --help»\n").arg(why); };
    QTest::newRow("nothing") << QStringList{} << starts << QString();
    QTest::newRow("help") << QStringList{"--help"} << 0 << usage;
    QTest::newRow("help, short") << QStringList{"-h"} << 0 << usage;
    QTest::newRow("version, long with one dash") << QStringList{"-version"} << 0 << version;
    QTest::newRow("version, short with two dashes") << QStringList{"--v"} << 0 << version;
    QTest::newRow("after --, only arguments") << QStringList{"--", "-h"} << 1 << refused("tar ingen argumenter, fikk «-h»");
    QTest::newRow("unknown, as typed") << QStringList{"--bogus=1"} << 1 << refused("ukjent valg «--bogus»");
    QTest::newRow("unknown before other faults") << QStringList{"dyr", "-help=1", "-bogus"} << 1 << refused("ukjent valg «-bogus»");
    QTest::newRow("a value after =") << QStringList{"--help=1"} << 1 << refused("valget «--help» tar ingen verdi");
    QTest::newRow("platform options with values") << QStringList{"-platform", "-h", "--style=x", "-style", "x", "-reverse"} << starts << QString();
    QTest::newRow("platform option without its value") << QStringList{"-h", "-style"} << 1 << refused("valget «-style» mangler en verdi");
    QTest::newRow("platform value after =") << QStringList{"-platform=x"} << 1 << refused("skriv verdien til «-platform» som eget argument, uten «=»");
    QTest::newRow("platform flag with a value") << QStringList{"-reverse=1"} << 1 << refused("valget «-reverse» tar ingen verdi");
    QTest::newRow("stray arguments") << QStringList{"et", "-", "dyr"} << 1 << refused("tar ingen argumenter, fikk «et»");
}

// guards against a game started where the command line asks for an answer, or an answer in the
// wrong words, with the wrong status or on the wrong stream
void tst_CommandLine::answer()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, text);
    std::vector<std::string> utf8;
    for (const QString& argument : arguments)
        utf8.push_back(argument.toStdString());
    const auto answer = rt::answerCommandLine(utf8, program, platformOptions);
    QCOMPARE(answer ? answer->status : starts, status);
    QCOMPARE(answer ? QString::fromStdString(answer->text) : QString(), text);
    QCOMPARE(answer && answer->isError, status == 1);
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
