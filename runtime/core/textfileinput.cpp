// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "textfileinput.h"

#include "windows1252.h"

#include <algorithm>

namespace rt {

namespace {

constexpr std::size_t chunkSize = 4096;
constexpr std::size_t maxUtf8BytesPerChar = 4;

struct Utf8Scan {
    std::size_t validLength = 0; // the bytes before the first one that breaks the rules
    bool endsInsideACharacter = false; // the rest is the right start of a character, cut short
};

// The well-formed sequences of Unicode's table: no overlong forms, no surrogates, nothing above
// U+10FFFF.
Utf8Scan scanUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF; // the range of the byte after the lead
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return {i, false};
        }
        if (i + length > bytes.size()) {
            // Cut short: only continuation bytes may follow the lead; whether they would have made
            // a letter depends on what was cut off.
            const bool continuations = std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(i + 1), bytes.end(),
                [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; });
            return {i, continuations};
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (k == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF))
                return {i, false};
        }
        i += length;
    }
    return {i, false};
}

// C0, DEL and C1: the characters of Unicode's control category.
void removeControlCharacters(std::string& text)
{
    std::string kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F)
            continue;
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            ++i;
            continue;
        }
        kept.push_back(text[i]);
    }
    text = std::move(kept);
}

void truncateToCharacters(std::string& text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == maxChars) {
            text.resize(i);
            return;
        }
    }
}

} // namespace

TextFileInput::TextFileInput(const Path& path, Limits limits)
    : limits_(limits)
    , file_(openRegularFile(path))
{
    if (fill() && buffer_.starts_with("\xEF\xBB\xBF"))
        position_ = 3;
}

bool TextFileInput::isOpen() const
{
    return file_ != nullptr;
}

bool TextFileInput::fill()
{
    if (!file_ || bytesRead_ >= limits_.maxBytes)
        return false;
    buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(chunkSize, limits_.maxBytes - bytesRead_)));
    buffer_.resize(std::fread(buffer_.data(), 1, buffer_.size(), file_.get()));
    position_ = 0;
    bytesRead_ += buffer_.size();
    return !buffer_.empty();
}

std::optional<std::string> TextFileInput::readLine()
{
    const std::size_t maxLineBytes = limits_.maxLineChars * maxUtf8BytesPerChar;
    std::string line;
    bool started = false;
    bool cut = false;
    while (position_ < buffer_.size() || fill()) {
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        started = true;
        const auto begin = buffer_.cbegin() + static_cast<std::ptrdiff_t>(position_);
        const auto stop = std::find_if(begin, buffer_.cend(), [](char c) { return c == '\n' || c == '\r'; });
        const auto length = static_cast<std::size_t>(stop - begin);
        const std::size_t room = maxLineBytes - line.size();
        line.append(begin, begin + static_cast<std::ptrdiff_t>(std::min(length, room)));
        cut = cut || length > room;
        position_ += length;
        if (stop != buffer_.cend()) {
            skipLineFeed_ = *stop == '\r';
            ++position_;
            return decode(line, cut);
        }
    }
    if (!started)
        return std::nullopt;
    return decode(line, cut);
}

// A line cut at the byte limit may end in the middle of a UTF-8 sequence; such a tail is left
// out instead of calling the whole line invalid.
std::string TextFileInput::decode(std::string_view bytes, bool cut) const
{
    const Utf8Scan scan = scanUtf8(bytes);
    std::string text = scan.validLength == bytes.size() || (cut && scan.endsInsideACharacter)
        ? std::string(bytes.substr(0, scan.validLength))
        : fromWindows1252(bytes);
    removeControlCharacters(text);
    truncateToCharacters(text, limits_.maxLineChars);
    return text;
}

} // namespace rt
