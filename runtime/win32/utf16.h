// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Text crosses the forms API as UTF-8 and the Windows API as UTF-16; these convert at that
// edge. Invalid UTF-8 becomes U+FFFD, an unpaired surrogate likewise on the way back.

#include <string>
#include <string_view>

namespace rt::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace rt::win32
