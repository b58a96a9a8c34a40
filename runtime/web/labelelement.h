// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label on the page: an element with the role of a button, so that a screen reader reads its
// caption and can press it, as on the desktop platforms; but it takes no focus, so no key ever
// clicks it.
//
// Supports: word-wrapped plain text, a word longer than the line broken, cut off at the bottom;
// one click per mouse click, tap or screen reader's press, the second click of a double-click
// (or a double tap) not counted again; no click at all while a message is open.
// Does not: focus, keys, access keys, an ellipsis where the text is cut, text selection.

#include "formelement.h"
#include "label.h"

#include <functional>
#include <string>

namespace rt {

struct Label::Native final {
    Native(Form& form, TwipRect geometry);
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Runs the click handler of the label behind the element, if there is one.
    static void clicked(int element);

    Form& form;
    int element;
    std::string text;
    std::function<void()> onClick;
};

} // namespace rt
