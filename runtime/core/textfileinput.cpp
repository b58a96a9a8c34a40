// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "textfileinput.h"

#include "windows1252.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace rt {

namespace {

constexpr qsizetype chunkSize = 4096;
constexpr qsizetype maxUtf8BytesPerChar = 4;

// Opens for reading only when the path names a regular file. O_NONBLOCK keeps the open of a
// FIFO without a writer from waiting; on a regular file it changes nothing.
bool openRegularFile(QFile& file, const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    if (!QFileInfo(path).isFile())
        return false;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
#endif
}

void removeControlCharacters(QString& text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
}

void truncateToCharacters(QString& text, qsizetype maxChars)
{
    qsizetype end = 0;
    for (qsizetype chars = 0; end < text.size() && chars < maxChars; ++chars)
        end += (text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate()) ? 2 : 1;
    text.truncate(end);
}

} // namespace

TextFileInput::TextFileInput(const QString& path, Limits limits)
    : limits_(limits)
{
    if (!openRegularFile(file_, path))
        return;
    if (fill() && buffer_.startsWith("\xEF\xBB\xBF"))
        position_ = 3;
}

bool TextFileInput::isOpen() const
{
    return file_.isOpen();
}

bool TextFileInput::fill()
{
    const qint64 budget = limits_.maxBytes - bytesRead_;
    if (!file_.isOpen() || budget <= 0)
        return false;
    buffer_.resize(qMin<qint64>(chunkSize, budget));
    const qint64 got = file_.read(buffer_.data(), buffer_.size());
    buffer_.resize(qMax<qint64>(got, 0));
    position_ = 0;
    bytesRead_ += buffer_.size();
    return !buffer_.isEmpty();
}

std::optional<QString> TextFileInput::readLine()
{
    const qsizetype maxLineBytes = limits_.maxLineChars * maxUtf8BytesPerChar;
    QByteArray line;
    bool started = false;
    bool cut = false;
    while (position_ < buffer_.size() || fill()) {
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_.at(position_) == '\n') {
                ++position_;
                continue;
            }
        }
        started = true;
        const char* begin = buffer_.constData() + position_;
        const char* end = buffer_.constData() + buffer_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
        const qsizetype length = stop - begin;
        const qsizetype room = maxLineBytes - line.size();
        line.append(begin, qMin(length, room));
        cut = cut || length > room;
        position_ += length;
        if (stop != end) {
            skipLineFeed_ = *stop == '\r';
            ++position_;
            return decode(line, cut);
        }
    }
    if (!started)
        return std::nullopt;
    return decode(line, cut);
}

// A line cut at the byte limit may end in the middle of a UTF-8 sequence; a stateful decoder
// holds such a tail back instead of calling the whole line invalid.
QString TextFileInput::decode(const QByteArray& bytes, bool cut) const
{
    QStringDecoder utf8(QStringConverter::Utf8,
        cut ? QStringConverter::Flag::ConvertInitialBom
            : QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = fromWindows1252(bytes);
    removeControlCharacters(text);
    truncateToCharacters(text, limits_.maxLineChars);
    return text;
}

} // namespace rt
