// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelcontrol.h"

#include "formwindow.h"
#include "utf16.h"

#include <commctrl.h>

namespace rt {

namespace {

// SS_LEFT wraps at words and SS_EDITCONTROL breaks a word longer than the line, as an edit
// control does; the bottom of the text is cut, with no ellipsis. SS_NOTIFY lets the mouse reach
// the control at all.
constexpr DWORD labelStyle = SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX | SS_NOTIFY;
constexpr UINT_PTR clickSubclass = 1;

void runClick(const Label::Native& label)
{
    if (!label.clicked)
        return;
    // A copy: the handler may replace itself.
    const std::function<void()> handler = label.clicked;
    handler();
}

// A click is a press and a release of the left button over the label, the mouse held by the
// label in between. The STATIC class has CS_DBLCLKS, so the second press of a double-click comes
// as WM_LBUTTONDBLCLK, which starts no click: a double-click is one click.
LRESULT CALLBACK labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto& label = *reinterpret_cast<Label::Native*>(data);
    // A message that could not be registered is 0, which must not turn WM_NULL into a press.
    if (const UINT press = win32::pressMessage(); press != 0 && message == press) {
        // A screen reader's press, run now only if a mouse click could reach the label now.
        if (win32::takesInput(window))
            runClick(label);
        return 0;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
        label.pressed = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONDBLCLK:
        label.pressed = false;
        return 0;
    case WM_LBUTTONUP: {
        RECT area{};
        GetClientRect(window, &area);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool click = label.pressed && PtInRect(&area, at);
        label.pressed = false;
        if (GetCapture() == window)
            ReleaseCapture();
        if (click)
            runClick(label);
        return 0;
    }
    case WM_CAPTURECHANGED:
        label.pressed = false;
        break;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT)
            if (const LRESULT answer = label.accessibility.answer(window, wParam))
                return answer;
        break;
    case WM_NCDESTROY:
        label.accessibility.drop();
        RemoveWindowSubclass(window, labelProc, clickSubclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

Label::Native::Native(Form& form, TwipRect geometry)
    : control(form, L"STATIC", labelStyle, 0, geometry)
{
    if (handle())
        SetWindowSubclass(handle(), labelProc, clickSubclass, reinterpret_cast<DWORD_PTR>(this));
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
