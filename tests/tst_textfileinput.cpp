// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "textfileinput.h"
#include "windows1252.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

class tst_TextFileInput : public QObject {
    Q_OBJECT

private slots:
    void readsLines_data();
    void readsLines();
    void windows1252AgreesWithIcu();
    void readPastTheEndFails();
    void longLinesKeepTheirFirstThousandCharacters_data();
    void longLinesKeepTheirFirstThousandCharacters();
    void readsAtMostSixtyFourKibibytes();
    void hugeSparseFileIsReadOnlyToTheLimit();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();

private:
    QString write(const QByteArray& content);
    static QStringList readAll(const QString& path);

    QTemporaryDir dir_;
};

QString tst_TextFileInput::write(const QByteArray& content)
{
    const QString path = dir_.filePath(QStringLiteral("tips.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write the test file");
    return path;
}

// Lines come as UTF-8; a byte-order mark at the start of one stays a character of it.
QStringList tst_TextFileInput::readAll(const QString& path)
{
    QStringList lines;
    rt::TextFileInput input(path.toStdString());
    while (auto line = input.readLine())
        lines << QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom).decode(*line);
    return lines;
}

void tst_TextFileInput::readsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("Elg\r\nRev\r\n") << QStringList{"Elg", "Rev"};
    QTest::newRow("lone LF") << QByteArray("Elg\nRev\n") << QStringList{"Elg", "Rev"};
    QTest::newRow("lone CR") << QByteArray("Elg\rRev\r") << QStringList{"Elg", "Rev"};
    QTest::newRow("mixed line ends") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("last line without its end") << QByteArray("Elg\r\nRev") << QStringList{"Elg", "Rev"};
    QTest::newRow("CR CR LF is an empty line between") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("empty lines are animals too") << QByteArray("\r\n\r\nKu") << QStringList{"", "", "Ku"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("spaces kept, tab left out") << QByteArray("  Elg  \r\nrev\t\r\n") << QStringList{"  Elg  ", "rev"};
    QTest::newRow("UTF-8") << QByteArray("Ærfugl\nBlåhval\nØrn") << QStringList{"Ærfugl", "Blåhval", "Ørn"};
    QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBFØrn\r\nElg") << QStringList{"Ørn", "Elg"};
    QTest::newRow("Windows-1252")
        << QByteArray("\xC6rfugl\r\nBl\xE5hval\r\n\xD8rn\r\n") << QStringList{"Ærfugl", "Blåhval", "Ørn"};
    QTest::newRow("Windows-1252 beyond Latin-1")
        << QByteArray("\x80 \x93Gr\xE5 \x96 gris\x94") << QStringList{"€ “Grå – gris”"};
    QTest::newRow("each line decoded on its own")
        << QByteArray("Bl\xC3\xA5hval\n\xC6rfugl\nm\xC3\xA5ke") << QStringList{"Blåhval", "Ærfugl", "måke"};
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("\xC0\xAF") << QStringList{"À¯"};
    QTest::newRow("cut UTF-8 sequence at the end") << QByteArray("Bl\xC3\nKu") << QStringList{"BlÃ", "Ku"};
    QTest::newRow("NUL bytes left out") << QByteArray("K\0u\0\0\nRev", 9) << QStringList{"Ku", "Rev"};
    QTest::newRow("control bytes left out") << QByteArray("\x01\x1B[31mElg\x7F\x81") << QStringList{"[31mElg"};
    QTest::newRow("binary noise stays on its line")
        << QByteArray("\xFF\xFE\x00\x01\xE9\nSel", 9) << QStringList{"ÿþé", "Sel"};
    QTest::newRow("a byte-order mark only at the start is dropped")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFKu") << QStringList{QStringLiteral("\uFEFFKu")};
}

// guards against lost line ends, garbled letters and control characters in the list
void tst_TextFileInput::readsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, lines);
    QCOMPARE(readAll(write(content)), lines);
}

// guards against a slip in the code page's table, which no Qt without ICU would show
void tst_TextFileInput::windows1252AgreesWithIcu()
{
    QStringDecoder icu("windows-1252", QStringConverter::Flag::Stateless);
    if (!icu.isValid())
        QSKIP("this Qt has no ICU decoder to compare with");
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        QCOMPARE(QString::fromStdString(rt::fromWindows1252(std::string_view(&c, 1))), icu.decode(QByteArrayView(&c, 1)));
    }
}

// guards against a read past the end that yields something instead of failing
void tst_TextFileInput::readPastTheEndFails()
{
    rt::TextFileInput input(write("Elg\r\n").toStdString());
    QVERIFY(input.isOpen());
    QCOMPARE(input.readLine(), std::optional<std::string>("Elg"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(input.readLine(), std::nullopt);
}

void tst_TextFileInput::longLinesKeepTheirFirstThousandCharacters_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    const QString a1000(1000, QLatin1Char('a'));
    const QString oe1000(1000, QChar(0xF8));
    QTest::newRow("exactly 1000") << QByteArray(1000, 'a') + "\nKu" << a1000 << "Ku";
    QTest::newRow("1001 ASCII") << QByteArray(1001, 'a') + "\nKu" << a1000 << "Ku";
    QTest::newRow("50,000 ASCII") << QByteArray(50000, 'a') + "\nKu" << a1000 << "Ku";
    QTest::newRow("1500 two-byte UTF-8") << QByteArray("\xC3\xB8").repeated(1500) + "\nKu" << oe1000 << "Ku";
    QTest::newRow("2000 three-byte UTF-8 cut mid-letter")
        << QByteArray("\xE2\x82\xAC").repeated(2000) + "\nKu" << QString(1000, QChar(0x20AC)) << "Ku";
    QTest::newRow("1200 four-byte UTF-8")
        << QByteArray("\xF0\x9F\x90\x98").repeated(1200) + "\nKu" << QString::fromUcs4(U"\U0001F418").repeated(1000) << "Ku";
    // Cut after the first two bytes of a surrogate, which UTF-8 never holds: what was cut off
    // cannot be judged, and the letters before the cut stay UTF-8.
    QTest::newRow("cut inside a broken letter")
        << QByteArray("\xC3\xB8").repeated(1999) + "\xED\xA0\x80\nKu" << oe1000 << "Ku";
    QTest::newRow("5000 Windows-1252") << QByteArray(5000, '\xF8') + "\nKu" << oe1000 << "Ku";
}

// guards against a huge line that fills the list box, or one garbled because it was cut
void tst_TextFileInput::longLinesKeepTheirFirstThousandCharacters()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCOMPARE(readAll(write(content)), (QStringList{first, second}));
}

// guards against a file that makes one click read without end
void tst_TextFileInput::readsAtMostSixtyFourKibibytes()
{
    // 100,000 lines of two bytes: only the first 64 KiB, 32,768 lines, are read.
    const QStringList lines = readAll(write(QByteArray("x\n").repeated(100000)));
    QCOMPARE(lines.size(), 32768);
    // A line that runs past the limit ends there; nothing after it is read.
    const QStringList cut = readAll(write("Elg\n" + QByteArray(70000, 'b') + "\nRev\n"));
    QCOMPARE(cut, (QStringList{"Elg", QString(1000, QLatin1Char('b'))}));
}

// guards against a one-gigabyte line that stalls a click or eats memory
void tst_TextFileInput::hugeSparseFileIsReadOnlyToTheLimit()
{
    const QString path = write("Elg\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(qint64(1) << 30));
    file.close();
    QCOMPARE(readAll(path), (QStringList{"Elg", ""}));
}

void tst_TextFileInput::onlyRegularFilesAreRead_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("directory") << "directory";
    QTest::newRow("dangling link") << "dangling";
#ifdef Q_OS_UNIX
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("device /dev/null") << "/dev/null";
    QTest::newRow("link to /dev/zero") << "/dev/zero";
    QTest::newRow("link to /dev/urandom") << "/dev/urandom";
    QTest::newRow("unreadable") << "unreadable";
#endif
}

// guards against a click that blocks on a pipe, reads a device forever or fails loudly
void tst_TextFileInput::onlyRegularFilesAreRead()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tips.txt"));
    if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tips.txt")));
    } else if (kind == "dangling") {
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), path));
#ifdef Q_OS_UNIX
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind.startsWith('/')) {
        QVERIFY(QFile::link(kind, path));
    } else if (kind == "unreadable") {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Elg\n");
        file.close();
        QVERIFY(file.setPermissions({}));
#endif
    }
    rt::TextFileInput input(path.toStdString());
    QVERIFY(!input.isOpen());
    QCOMPARE(input.readLine(), std::nullopt);
}

QTEST_GUILESS_MAIN(tst_TextFileInput)
#include "tst_textfileinput.moc"
