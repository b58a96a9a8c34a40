// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelcontrol.h"

#include "formwindow.h"
#include "utf16.h"

namespace rt {

namespace {

// SS_LEFT wraps at words and SS_EDITCONTROL breaks a word longer than the line, as an edit
// control does; the bottom of the text is cut, with no ellipsis. SS_NOTIFY asks for the clicks.
// The STATIC class has CS_DBLCLKS, so the second press of a double-click arrives as
// WM_LBUTTONDBLCLK, which notifies STN_DBLCLK and not STN_CLICKED: counting only STN_CLICKED
// makes a double-click one click.
constexpr DWORD labelStyle = SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX | SS_NOTIFY;

} // namespace

Label::Native::Native(Form& form, TwipRect geometry)
    : form(form)
{
    window_.reset(form.native().createControl(L"STATIC", labelStyle, 0, geometry, [this](WORD notification) {
        if (notification == STN_CLICKED && clicked) {
            // A copy: the handler may replace itself.
            const std::function<void()> handler = clicked;
            handler();
        }
    }));
}

Label::Native::~Native()
{
    form.native().forgetControl(window_.get());
}

Label::Label(Form& form, TwipRect geometry)
    : native_(std::make_unique<Native>(form, geometry))
{
}

Label::~Label() = default;

void Label::setText(const std::string& text)
{
    native_->text = text;
    SetWindowTextW(native_->handle(), win32::widen(text).c_str());
}

std::string Label::text() const
{
    return native_->text;
}

void Label::onClick(std::function<void()> handler)
{
    native_->clicked = std::move(handler);
}

} // namespace rt
