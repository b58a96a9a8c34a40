// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Reads a text file line by line, the way the animal file is read.
//
// Only a regular file is opened, and opening never waits, so a pipe, a device or a directory in
// its place reads as a file that could not be opened. A line ends at CR LF, at a lone LF or at a
// lone CR; the last line may lack its end. Each line is decoded on its own: as UTF-8 when it is
// valid UTF-8, otherwise as Windows-1252; a byte-order mark at the start of the file is dropped,
// and control characters are left out. Fixed limits keep any file from stalling or exhausting
// the program: a line keeps at most its first maxLineChars characters, and at most maxBytes of
// the file are read in all; what lies beyond is as if the file ended there. Lines come out as
// UTF-8.

#include "system.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rt {

struct TextFileLimits final {
    std::size_t maxLineChars = 1000;
    std::uint64_t maxBytes = 64 * 1024;
};

class TextFileInput final {
public:
    using Limits = TextFileLimits;

    explicit TextFileInput(const Path& path, Limits limits = {});

    bool isOpen() const;
    // The next line without its line end; nothing at the end of the file, or when the file is
    // not open.
    std::optional<std::string> readLine();

private:
    bool fill();
    std::string decode(std::string_view bytes, bool cut) const;

    Limits limits_;
    File file_;
    std::string buffer_;
    std::size_t position_ = 0;
    std::uint64_t bytesRead_ = 0;
    bool skipLineFeed_ = false;
};

} // namespace rt
