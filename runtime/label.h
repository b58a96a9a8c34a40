// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A label of a form: a caption word-wrapped within a fixed box and cut off at its bottom, and a
// click. The click rule is the desktop's: in a run of quick clicks every second one is the second
// half of a double-click and clicks nothing, so six quick clicks click three times, whatever the
// platform; a screen reader's press clicks once; and nothing clicks while a message is open. A
// label takes no focus, so no key clicks it. Assistive technology reads its caption.

#include "geometry.h"

#include <functional>
#include <memory>
#include <string>

namespace rt {

class Form;
class LabelDriver;

class Label final {
public:
    Label(Form& form, TwipRect geometry);
    ~Label();
    Label(const Label&) = delete;
    Label& operator=(const Label&) = delete;

    void setText(const std::string& text);
    const std::string& text() const { return text_; }
    // What a click runs; one handler at a time.
    void onClick(std::function<void()> handler);

private:
    friend class LabelDriver;
    friend struct NativeAccess;

    void pressed(int placeInRun);

    Form& form_;
    std::string text_;
    std::function<void()> clicked_;
    std::unique_ptr<LabelDriver> driver_;
};

} // namespace rt
