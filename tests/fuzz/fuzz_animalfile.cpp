// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The animal file under a fuzzer. Every input is written as tips.txt into a private folder and
// read through the program's own line input and animal source; what comes back is checked
// against the animal file's rules in the README. A broken rule aborts, which libFuzzer records
// as a crash, with the input that broke it.
//
// The lines are read twice: with the program's limits, and with tight ones that small inputs
// reach, so that the cuts at the line and file limits are explored without 64 KiB inputs.

#include "animalfile.h"
#include "textfileinput.h"
#include "windows1252.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const QByteArray byteOrderMark("\xEF\xBB\xBF");

[[noreturn]] void broken(const char* rule, const QString& line = {})
{
    std::fprintf(stderr, "animal file rule broken: %s\n  line: %s\n", rule, qUtf8Printable(line.left(200)));
    std::abort();
}

void check(bool holds, const char* rule, const QString& line = {})
{
    if (!holds)
        broken(rule, line);
}

// C0, DEL and C1: the control characters, by their code points.
bool isControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Built letter by letter: QString::fromUcs4() would drop a byte-order mark at the start.
void append(QString& text, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        text += QChar(QChar::highSurrogate(c));
        text += QChar(QChar::lowSurrogate(c));
    } else {
        text += QChar(c);
    }
}

QString withoutControls(const QString& text)
{
    QString kept;
    for (char32_t c : text.toUcs4())
        if (!isControl(c))
            append(kept, c);
    return kept;
}

QString firstCharacters(const QString& text, qsizetype count)
{
    const QList<uint> all = text.toUcs4();
    QString first;
    for (char32_t c : all.first(qMin(count, all.size())))
        append(first, c);
    return first;
}

// Decoded as UTF-8, invalid sequences replaced; a byte-order mark kept as a character.
QString asUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8,
        QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    return utf8.decode(bytes);
}

bool isUtf8(const QByteArray& bytes)
{
    return asUtf8(bytes).toUtf8() == bytes;
}

// Also true of the empty text before the null text, unlike QString::startsWith().
bool isPrefix(const QString& prefix, const QString& text)
{
    return text.left(prefix.size()) == prefix;
}

qsizetype printableAscii(const QByteArray& bytes)
{
    return std::count_if(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

// The file's lines as bytes, split independently of the reader: only the first maxBytes count,
// a byte-order mark at the start is not part of the first line, and a line ends at CR LF, LF or CR.
QList<QByteArray> rawLines(const QByteArray& file, qint64 maxBytes)
{
    QByteArray bytes = file.left(maxBytes);
    if (bytes.startsWith(byteOrderMark))
        bytes.remove(0, byteOrderMark.size());
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines << line;
            line.clear();
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            line += bytes[i];
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// One line as read, against the bytes it came from.
void checkLine(const QString& line, const QByteArray& raw, const rt::TextFileLimits& limits)
{
    for (char32_t c : line.toUcs4())
        check(!isControl(c), "no control character, CR, LF or NUL in a line", line);
    check(std::size_t(line.toUcs4().size()) <= limits.maxLineChars, "a line keeps at most its first maxLineChars characters", line);

    // Only a line's first four bytes for each character it may keep count (4,000 bytes for
    // 1,000 characters): control characters are left out of what those bytes hold, after the
    // cut, and the line is UTF-8 when they are valid UTF-8, otherwise Windows-1252.
    const auto capBytes = qsizetype(limits.maxLineChars * 4);
    const QByteArray counted = raw.left(capBytes);
    const QString utf8 = withoutControls(asUtf8(counted));
    const QString windows1252 = withoutControls(QString::fromStdString(rt::fromWindows1252(std::string_view(counted.constData(), std::size_t(counted.size())))));
    check(isPrefix(line, utf8) || isPrefix(line, windows1252), "every animal comes from its line of the file", line);
    if (raw.size() <= capBytes) {
        const QString expected = firstCharacters(isUtf8(raw) ? utf8 : windows1252, limits.maxLineChars);
        check(line == expected, "a line reads as its bytes decoded, without control characters", line);
    } else {
        // Cut inside a UTF-8 sequence, the line holds back its last letter; nothing else is lost.
        if (isUtf8(counted))
            check(line == firstCharacters(utf8, limits.maxLineChars), "a long UTF-8 line keeps its first characters", line);
        check(line.toUcs4().size() >= qMin(qsizetype(limits.maxLineChars), printableAscii(counted)),
            "a long line keeps the letters of its counted bytes", line);
    }
}

QStringList readLines(const QString& path, const QByteArray& file, const rt::TextFileLimits& limits)
{
    rt::TextFileInput input(path.toStdString(), limits);
    check(input.isOpen(), "a regular file opens");
    QStringList lines;
    while (auto line = input.readLine())
        lines << asUtf8(QByteArray::fromStdString(*line));
    check(!input.readLine(), "a read past the end fails");

    const QList<QByteArray> raw = rawLines(file, limits.maxBytes);
    check(lines.size() == raw.size(), "one line for each line end within the first maxBytes bytes");
    for (qsizetype i = 0; i < lines.size(); ++i)
        checkLine(lines[i], raw[i], limits);
    return lines;
}

struct Draw {
    qint16 lower;
    qint16 upper;
    float clockReading;
};

// The extremes of the draw: one line, the game's 49, all of qint16, the last one, and bounds
// the wrong way round; at midnight and later in the day.
constexpr Draw draws[] = {
    {0, 0, 0.0f},
    {0, 48, 0.0f},
    {0, 48, 45296.789f},
    {-32768, 32767, 0.0f},
    {-32768, 32767, 86399.99f},
    {32767, 32767, 45296.789f},
    {48, 0, 45296.789f},
    {32767, -32768, 86399.99f},
};

void checkAnimals(const QString& folder, const QStringList& lines)
{
    for (const Draw draw : draws) {
        const AnimalFile animals([reading = draw.clockReading] { return reading; }, folder.toStdString());
        const QString animal = asUtf8(QByteArray::fromStdString(animals.randomLine(draw.lower, draw.upper)));
        if (lines.isEmpty()) {
            check(animal.isEmpty(), "an empty file gives the empty animal", animal);
        } else if (0 <= draw.lower && draw.lower <= draw.upper) {
            // Line k + 1 for a k from lower to upper, or the last line of a shorter file.
            const auto first = lines.begin() + qMin<qsizetype>(draw.lower, lines.size() - 1);
            const auto last = lines.begin() + qMin<qsizetype>(draw.upper, lines.size() - 1) + 1;
            check(std::find(first, last, animal) != last, "the animal is a line within the bounds", animal);
        } else {
            check(animal.isEmpty() || lines.contains(animal), "the animal is a line of the file", animal);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        broken("cannot make a private folder");
    const QString path = QDir(folder.path()).filePath(QStringLiteral("tips.txt"));
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size())
        broken("cannot write tips.txt");
    out.close();

    const QStringList lines = readLines(path, file, rt::TextFileLimits{});
    readLines(path, file, rt::TextFileLimits{3, 64});
    checkAnimals(folder.path(), lines);
    return 0;
}
