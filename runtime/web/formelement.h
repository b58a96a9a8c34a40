// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A form's box in the page: framed (BorderStyle::FixedSingle) or not, at its place in the page,
// which for the start-up form is the page's margin; its title is the page's, or for an owned form
// its name for assistive technology. The portable Form lays it out and places it.

#include "driver.h"
#include "webdriver.h"

namespace rt::web {

class FormElement final : public FormDriver {
public:
    FormElement(Form& form, BorderStyle border, FormElement* owner);
    ~FormElement() override;

    int element() const { return element_; }

    void setTitle(const std::string& title) override;
    void setShown(bool shown) override;
    bool isShown() const override { return shown_; }
    FormMetrics metrics() const override;
    void setClientSize(Size size) override;
    Rect frame() const override;
    Point clientOrigin() const override;
    Rect workArea() const override;
    void moveFrameTo(Point topLeft) override;
    void focusOn(ControlDriver& control) override;

    // The viewport has a new size, and the browser's text size may have changed with it.
    void viewportChanged() { metricsChanged(); }

private:
    void place();

    int frameWidth_;
    bool shown_ = false;
    Point position_;
    Size clientSize_;
    int element_;
};

// What a control's element is to its form's: placed in it, and removed with the control.
class ControlElement {
public:
    explicit ControlElement(int element)
        : element_(element)
    {
    }
    ~ControlElement() { rtWebRemove(element_); }
    ControlElement(const ControlElement&) = delete;
    ControlElement& operator=(const ControlElement&) = delete;

    int element() const { return element_; }

protected:
    void placeElement(const Rect& area) const { rtWebPlace(element_, area.left, area.top, area.width, area.height); }

private:
    const int element_;
};

} // namespace rt::web
