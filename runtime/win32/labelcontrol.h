// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label as a STATIC control: its window text is the caption, so WM_GETTEXT reads it; screen
// readers read it and press it as a push button (labelaccessible.h).
//
// Supports: word-wrapped plain text ("&" shown as it is), cut off at the bottom; one click per
// left button pressed and released over the label, as on the other platforms (the control's own
// STN_CLICKED comes on the press), the second press of a double-click not counted again; one
// click per press of a screen reader, none while the label takes no input (behind a modal box).
// Does not: focus, keys, mnemonics, an ellipsis where the text is cut.

#include "formwindow.h"
#include "label.h"
#include "labelaccessible.h"

#include <functional>
#include <string>

namespace rt {

struct Label::Native final {
    Native(Form& form, TwipRect geometry);

    HWND handle() const { return control.handle(); }

    std::string text;
    std::function<void()> clicked;
    bool pressed = false;
    win32::LabelAccessibility accessibility;
    win32::ChildControl control; // last: its window goes first, while the click state stands
};

} // namespace rt
