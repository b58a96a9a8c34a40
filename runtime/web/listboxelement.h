// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A list box on the page: a listbox of options, as assistive technology knows it, that keeps in
// the page only the rows in view, each row as high as the next. Appending, selecting and
// scrolling touch a dozen rows whatever the length of the list, so a click costs the same with
// 32,766 items as with one; each row in view tells its place in the whole list
// (aria-posinset, aria-setsize).
//
// Supports: appending up to rt::ListBox::capacity items, selecting one and scrolling it into
// view; the mouse, touch and the arrow, page and Home/End keys select, as in the desktop's list
// boxes; the list takes the focus. Does not: sorting, several selected items, typing to find an
// item, a horizontal scroll bar (a long item is cut at the right edge).

#include "formelement.h"
#include "listbox.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rt {

struct ListBox::Native final {
    Native(Form& form, TwipRect geometry);
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    Form& form;
    int element;
    std::vector<std::string> items;
    std::int16_t newIndex = -1;
};

} // namespace rt
