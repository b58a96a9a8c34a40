// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every shown and enabled top-level window of this thread but one disabled for as long as this lives, then
// enabled again. MessageBox disables only its owner; with this around it, no window of the
// program takes input while the box is open, an open about window included.

#include "win32.h"

#include <vector>

namespace rt::win32 {

class ThreadWindowsDisabled final {
public:
    // The window that stays as it is: the one that the modal box disables itself.
    explicit ThreadWindowsDisabled(HWND except);
    ~ThreadWindowsDisabled();
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

private:
    HWND except_;
    std::vector<HWND> disabled_;
};

} // namespace rt::win32
