// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Dots per inch, per monitor where the system knows them (Windows 10 1703 and later: per-monitor
// awareness v2, the *ForDpi functions) and for the whole system where it does not (Windows 7
// and 8, Wine's partial support). The newer functions are looked up at run time, so the program
// starts everywhere and falls back to the system's DPI. The process is made aware of the DPI by
// its manifest (program.manifest.in), before its first line runs.

#include "win32.h"

namespace rt::win32 {

inline constexpr UINT defaultDpi = USER_DEFAULT_SCREEN_DPI; // 96

UINT dpiOfWindow(HWND window);

// The desktop's message font at the given DPI.
LOGFONTW messageFont(UINT dpi);

// The window rectangle (origin at the client's top left) around a client area of the given size.
RECT frameAround(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

} // namespace rt::win32
