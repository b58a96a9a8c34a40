// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "threadwindowsdisabled.h"

namespace rt::win32 {

ThreadWindowsDisabled::ThreadWindowsDisabled(HWND except)
    : except_(except)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
            auto& guard = *reinterpret_cast<ThreadWindowsDisabled*>(self);
            if (window != guard.except_ && IsWindowVisible(window) && IsWindowEnabled(window))
                guard.disabled_.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
    for (const HWND window : disabled_)
        EnableWindow(window, FALSE);
}

ThreadWindowsDisabled::~ThreadWindowsDisabled()
{
    for (const HWND window : disabled_)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}

} // namespace rt::win32
