// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label of a form: a caption word-wrapped within a fixed box and cut off at its bottom, and a
// click that fires once per mouse click (a double-click is still one click) and never from the
// keyboard. Assistive technology reads its caption.

#include "geometry.h"

#include <functional>
#include <memory>
#include <string>

namespace rt {

class Form;

class Label final {
public:
    Label(Form& form, TwipRect geometry);
    ~Label();
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    void setText(const std::string& text);
    std::string text() const;
    // What a click runs; one handler at a time.
    void onClick(std::function<void()> handler);

    // The platform's control behind it; only the platform's own code knows its type and reaches
    // it (native.h).
    struct Native;

private:
    friend struct NativeAccess;
    std::unique_ptr<Native> native_;
};

} // namespace rt
