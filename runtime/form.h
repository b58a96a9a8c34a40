// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The forms API that the game is written against, implemented once per platform (runtime/qt,
// runtime/win32, runtime/web). It includes no toolkit: text crosses it as UTF-8, sizes as twips.
//
// A form is a top-level window of fixed size laid out in twips, in the desktop's window colours.
// It grows with its font, in proportion, so that its texts fit at any font size the desktop asks
// for. An owned form has no task-bar button and stands beside its owner, which stays usable; the
// owner must outlive it, as a window system destroys owned windows with their owner.

#include "geometry.h"

#include <memory>
#include <string>

namespace rt {

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

    // The platform's window behind the form; only the platform's own code knows its type and
    // reaches it (native.h).
    struct Native;

private:
    friend struct NativeAccess;
    std::unique_ptr<Native> native_;
};

} // namespace rt
