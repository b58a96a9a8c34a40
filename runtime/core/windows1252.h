// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Windows-1252, the code page of text files from older Windows editors.

#include <string>
#include <string_view>

namespace rt {

// Every byte becomes one character, written as UTF-8: 0x80 to 0x9F by the code page's own table
// (the five bytes it leaves undefined become the C1 control characters of the same value), the
// rest as Latin-1.
std::string fromWindows1252(std::string_view bytes);

// Appends one character as UTF-8.
void appendUtf8(std::string& text, char32_t c);

} // namespace rt
