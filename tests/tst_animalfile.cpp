// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "animalfile.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class tst_AnimalFile : public QObject {
    Q_OBJECT

private slots:
    void everyOneOfTheFirst49LinesCanComeBack();
    void shortFileGivesItsLastLineForLargeDraws();
    void boundsOfTheDraw_data();
    void boundsOfTheDraw();
    void nothingToReadGivesTheEmptyText_data();
    void nothingToReadGivesTheEmptyText();
    void reseededFromTheClockOnEveryCall();
    void noFileIsLeftOpen();

private:
    [[nodiscard]] static bool writeLines(const QString& folder, int count);
};

namespace {

rt::Clock steppingClock(float start, float step)
{
    return [t = start - step, step]() mutable { return t += step; };
}

int lineNumber(const std::string& text)
{
    return QString::fromStdString(text).mid(1).toInt();
}

#ifdef Q_OS_LINUX
int openFileCount()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}
#endif

} // namespace

bool tst_AnimalFile::writeLines(const QString& folder, int count)
{
    QFile file(QDir(folder).filePath(QStringLiteral("tips.txt")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (int i = 1; i <= count; ++i)
        if (file.write("L" + QByteArray::number(i) + "\r\n") < 0)
            return false;
    return true;
}

// guards against an animal that can never be drawn, or one drawn from past line 49
void tst_AnimalFile::everyOneOfTheFirst49LinesCanComeBack()
{
    QTemporaryDir dir;
    QVERIFY(writeLines(dir.path(), 60));
    const AnimalFile animals(steppingClock(36000.0f, 0.01f), dir.path().toStdString());
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int line = lineNumber(animals.randomAnimal());
        QVERIFY2(line >= 1 && line <= 49, qPrintable(QString::number(line)));
        seen.insert(line);
    }
    QCOMPARE(seen.size(), 49);
}

// guards against a short file giving empty animals instead of its last line
void tst_AnimalFile::shortFileGivesItsLastLineForLargeDraws()
{
    QTemporaryDir longDir;
    QTemporaryDir shortDir;
    QVERIFY(writeLines(longDir.path(), 60));
    QVERIFY(writeLines(shortDir.path(), 10));
    int lastLine = 0;
    constexpr int draws = 4900;
    for (int i = 0; i < draws; ++i) {
        // The same clock reading draws the same k in both folders; the long file shows k + 1.
        const float now = 1000.0f + i * 0.01f;
        const int drawn = lineNumber(AnimalFile([now] { return now; }, longDir.path().toStdString()).randomAnimal());
        const int got = lineNumber(AnimalFile([now] { return now; }, shortDir.path().toStdString()).randomAnimal());
        QCOMPARE(got, qMin(drawn, 10));
        lastLine += got == 10;
    }
    // k >= 9 for 40 of the 49 values of k.
    QVERIFY2(qAbs(lastLine / double(draws) - 40.0 / 49.0) < 0.03, qPrintable(QString::number(lastLine)));
}

void tst_AnimalFile::boundsOfTheDraw_data()
{
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("only the first line") << 0 << 0 << 1 << 1;
    QTest::newRow("only line 6") << 5 << 5 << 6 << 6;
    QTest::newRow("lines 3 to 5") << 2 << 4 << 3 << 5;
    QTest::newRow("past the end gives the last line") << 70 << 80 << 60 << 60;
    QTest::newRow("negative bounds read nothing") << -5 << -2 << 0 << 0;
}

// guards against an off-by-one in the drawn line
void tst_AnimalFile::boundsOfTheDraw()
{
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, first);
    QFETCH(int, last);
    QTemporaryDir dir;
    QVERIFY(writeLines(dir.path(), 60));
    const AnimalFile animals(steppingClock(500.0f, 0.01f), dir.path().toStdString());
    QSet<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int line = lineNumber(animals.randomLine(qint16(lower), qint16(upper)));
        QVERIFY2(line >= first && line <= last, qPrintable(QString::number(line)));
        seen.insert(line);
    }
    QCOMPARE(seen.size(), last - first + 1);
}

void tst_AnimalFile::nothingToReadGivesTheEmptyText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no file") << "missing";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("a directory") << "directory";
#ifdef Q_OS_UNIX
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("a link to /dev/zero") << "zero";
#endif
}

// guards against a missing or odd animal file stopping or stalling the game
void tst_AnimalFile::nothingToReadGivesTheEmptyText()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("tips.txt"));
    if (kind == "empty")
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    else if (kind == "directory")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tips.txt")));
#ifdef Q_OS_UNIX
    else if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
#endif
    const AnimalFile animals(steppingClock(100.0f, 0.5f), dir.path().toStdString());
    for (int i = 0; i < 49; ++i)
        QCOMPARE(animals.randomAnimal(), std::string());
}

// guards against a generator seeded once, or not from the clock
void tst_AnimalFile::reseededFromTheClockOnEveryCall()
{
    QTemporaryDir dir;
    QVERIFY(writeLines(dir.path(), 49));
    const AnimalFile stopped([] { return 4242.5f; }, dir.path().toStdString());
    const std::string first = stopped.randomAnimal();
    for (int i = 0; i < 100; ++i)
        QCOMPARE(stopped.randomAnimal(), first);
    const AnimalFile running(steppingClock(4242.5f, 0.01f), dir.path().toStdString());
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i)
        seen.insert(running.randomAnimal());
    QVERIFY(seen.size() > 30);
}

// guards against a file handle leaked by each click
void tst_AnimalFile::noFileIsLeftOpen()
{
#ifdef Q_OS_LINUX
    QTemporaryDir dir;
    QVERIFY(writeLines(dir.path(), 49));
    const AnimalFile animals(steppingClock(0.0f, 0.01f), dir.path().toStdString());
    const std::string firstResult = animals.randomAnimal();
    const int before = openFileCount();
    for (int i = 0; i < 1000; ++i)
        QVERIFY(!animals.randomAnimal().empty());
    QCOMPARE(openFileCount(), before);
    QVERIFY(!firstResult.empty());
#else
    QSKIP("counts the open files through /proc");
#endif
}

QTEST_GUILESS_MAIN(tst_AnimalFile)
#include "tst_animalfile.moc"
