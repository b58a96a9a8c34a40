// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A form on the page: a box of its own in the page, fixed in size, its client area laid out in
// twips and grown with the page's font, as a window on the desktop grows with the desktop's.
//
// Supports: BorderStyle::FixedSingle (a box with a thin frame; the page's title is its title)
// and BorderStyle::None (no frame); the system's colours of the browser (light and dark); the
// browser's text size; a viewport narrower than the form (a phone), where the form and its text
// shrink in proportion until it fits across; an owned form placed beside its owner each time it
// is shown, with the viewport as the work area (and below the owner where the viewport is too
// narrow), and again when the viewport changes.
// Does not: moving, resizing, minimizing or closing a form (the page's tab is the window).

#include "form.h"
#include "native.h"

#include <vector>

namespace rt {

struct Form::Native final {
    Native(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner);
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    int element() const { return element_; }
    bool isOwned() const { return owner_ != nullptr; }

    void show();
    void hide();
    bool isVisible() const { return visible_; }

    // Puts a control of the form in its place, and keeps it there as the form is laid out again.
    void place(int control, TwipRect geometry);
    void forget(int control);

    // Every form laid out again for a new viewport, the owned ones placed beside their owners.
    static void viewportChanged();

private:
    struct Control final {
        int element = 0;
        TwipRect geometry;
    };

    void layOut();
    void placeControl(const Control& control) const;
    void placeBesideOwner();
    Rect frame() const;

    TwipSize clientSize_;
    DesignFont designFont_;
    Form* owner_;
    bool framed_;
    bool visible_ = false;
    double fit_ = 1.0; // below 1 where the viewport is narrower than the form
    Scale scale_;
    Point position_; // of the border box, in the page
    std::vector<Control> controls_;
    int element_;
};

} // namespace rt
