// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A list box as a LISTBOX control: unsorted, single selection, exactly as high as designed (no
// integral height). Its items are UTF-16 strings held by the control itself, so LB_GETCOUNT,
// LB_GETTEXT and screen readers see what the game sees.
//
// Supports: appending up to rt::ListBox::capacity items, selecting one and scrolling it into
// view, the keyboard and the mouse of the standard control. Does not: sorting, several
// selected items, a horizontal scroll bar.

#include "formwindow.h"
#include "listbox.h"

#include <cstdint>

namespace rt {

struct ListBox::Native final {
    Native(Form& form, TwipRect geometry);

    HWND handle() const { return control.handle(); }

    std::int16_t newIndex = -1;
    win32::ChildControl control;
};

} // namespace rt
