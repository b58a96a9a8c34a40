// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The forms API that the game is written against: written once, in standard C++, over a small
// driver per platform (driver.h). It includes no toolkit: text crosses it as UTF-8, sizes as twips.
//
// A form is a top-level window of fixed size laid out in twips, in the desktop's window colours.
// It grows with its font, in proportion, so that its texts fit at any font size the desktop asks
// for. An owned form has no task-bar button and stands beside its owner each time it is shown;
// the owner stays usable, and must outlive it, as a window system destroys owned windows with
// their owner. At its first show the first of its controls that takes the focus has it.

#include "geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace rt {

class ControlDriver;
class FormDriver;
struct FormMetrics;

enum class BorderStyle {
    FixedSingle, // a title bar with minimize and close; not resizable, no maximize
    None, // no border and no title bar
};

class Form {
public:
    Form(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner = nullptr);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The form's load step: runs once, after the form is built and before it is first used.
    virtual void load() {}

    void setTitle(const std::string& title);
    // Shows the form, not modal, or hides it and keeps it.
    void setVisible(bool visible);
    bool isVisible() const;

private:
    friend class FormDriver;
    friend class Label;
    friend class ListBox;
    friend struct NativeAccess;
    friend void showMessage(Form&, const std::string&, const std::string&);

    struct Control final {
        ControlDriver* driver;
        TwipRect geometry;
        bool takesFocus;
    };

    // A control's place in pixels, at the form's present scale.
    Rect pixels(TwipRect geometry) const;
    // The controls, in the order in which they were made: the tab order.
    void adopt(ControlDriver& control, TwipRect geometry, bool takesFocus);
    void release(ControlDriver& control);
    Scale scaleFor(const FormMetrics& metrics) const;
    void layOut();
    void placeBesideOwner();

    TwipSize clientSize_;
    DesignFont designFont_;
    Form* owner_;
    Scale scale_;
    bool shown_ = false;
    std::vector<Control> controls_;
    std::vector<Form*> owned_;
    std::unique_ptr<FormDriver> driver_; // last: made once the rest stands, gone first
};

} // namespace rt
