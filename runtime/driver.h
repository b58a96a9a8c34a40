// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What a platform does under the forms API, and nothing more: a small driver for each form, label
// and list box, made by the platform's folder (runtime/qt, runtime/win32, runtime/web), the only
// code that includes a toolkit. The API's classes hold the state and the rules, once, and call
// their driver; a driver reports back only what its platform alone sees: a press on a label, a new
// font or scale. Sizes and places are in the platform's pixels, text is UTF-8.

#include "geometry.h"

#include <functional>
#include <memory>
#include <string>

namespace rt {

class Form;
class Label;
enum class BorderStyle;

// A control's window inside its form's.
class ControlDriver {
public:
    virtual ~ControlDriver() = default;

    // Its place and size in the form's client area.
    virtual void place(const Rect& area) = 0;
};

// What a form draws with: how many pixels a design pixel is before the font is taken into
// account (the screen's DPI against 96), and the font that the form's texts are drawn in,
// measured in pixels at that scale; and the widest that its client area may be, where the
// platform has a limit (a phone's screen), or 0.
struct FormMetrics final {
    double pixelRatio = 1.0;
    FontMetrics font;
    int roomWidth = 0;
};

// A form's top-level window.
class FormDriver {
public:
    explicit FormDriver(Form& form)
        : form_(form)
    {
    }
    virtual ~FormDriver() = default;
    FormDriver(const FormDriver&) = delete;
    FormDriver& operator=(const FormDriver&) = delete;

    virtual void setTitle(const std::string& title) = 0;
    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
    virtual FormMetrics metrics() const = 0;
    // The size of the client area; the frame is the platform's.
    virtual void setClientSize(Size size) = 0;
    // On the screen: the frame as the user sees it, the origin of the client area, and the work
    // area of the screen that the form is on.
    virtual Rect frame() const = 0;
    virtual Point clientOrigin() const = 0;
    virtual Rect workArea() const = 0;
    virtual void moveFrameTo(Point topLeft) = 0;
    // The control that has the keyboard focus whenever the form is active.
    virtual void focusOn(ControlDriver& control) = 0;

protected:
    // The size that the client area takes with these metrics: for a window made at its size.
    Size clientSizeFor(const FormMetrics& metrics) const;
    // The form's font or scale has changed, or its window its size: it is laid out again.
    void metricsChanged();
    // Whether another form owns it, and whether it has been shown before (so far, while shown the
    // first time).
    bool owned() const;
    bool shownBefore() const;

    Form& form_;
};

// A label: a caption that the user clicks, and that a screen reader reads and presses.
class LabelDriver : public ControlDriver {
public:
    explicit LabelDriver(Label& label)
        : label_(label)
    {
    }

    virtual void setCaption(const std::string& text) = 0;
    // Whether a press now would click: a press that the platform runs later, so that its caller
    // gets an answer at once, clicks only where this held when it was made, and holds when it runs.
    bool takesPress() const;

protected:
    // A press on the label as the platform reports it: a click of the mouse or a tap, by its place
    // in a run of quick clicks, counted from 1 (the system pairs the run into double-clicks); or,
    // as assistivePress, a screen reader's.
    static constexpr int assistivePress = 0;
    void pressed(int placeInRun);

    Label& label_;
};

// A list box: the rows it shows, its selection, its keys and its scrolling; the items are the
// portable ListBox's.
class ListBoxDriver : public ControlDriver {
public:
    virtual void appendRow(const std::string& text) = 0;
    // Selects the row and scrolls it into view.
    virtual void selectRow(int row) = 0;
    // The row selected now, by the program or by the user; -1 for none.
    virtual int selectedRow() const = 0;
    // Its name for a screen reader, never shown.
    virtual void setName(const std::string& name) = 0;
};

// Made by the platform. A control's driver is made in its place; an owned form's window is owned
// by its owner's.
std::unique_ptr<FormDriver> makeFormDriver(Form& form, BorderStyle border, FormDriver* owner);
std::unique_ptr<LabelDriver> makeLabelDriver(Label& label, FormDriver& form, const Rect& area);
std::unique_ptr<ListBoxDriver> makeListBoxDriver(FormDriver& form, const Rect& area);

// Opens a modal message over the owner: the title, the prompt, one OK button and no icon. Calls
// closed() once the user has closed it: before it returns, where the platform lets a call wait
// for the user, and later where it does not (a browser).
void openMessageBox(FormDriver& owner, const std::string& prompt, const std::string& title, std::function<void()> closed);

} // namespace rt
