// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "labelcontrol.h"

#include "utf16.h"

namespace rt::win32 {

namespace {

// SS_LEFT wraps at words and SS_EDITCONTROL breaks a word longer than the line, as an edit
// control does; the bottom of the text is cut, with no ellipsis. SS_NOTIFY lets the mouse reach
// the control at all.
constexpr DWORD labelStyle = SS_LEFT | SS_EDITCONTROL | SS_NOPREFIX | SS_NOTIFY;

} // namespace

LabelControl::LabelControl(Label& label, const FormWindow& form, const Rect& area)
    : LabelDriver(label)
    , ChildWindow(form, L"STATIC", labelStyle, 0, area)
    , accessible_(*this)
{
    subclass(labelProc);
}

// Its name is its caption as it shows, "&" included, where the standard object would take an "&"
// for a mnemonic and leave it out.
void LabelControl::setCaption(const std::string& text)
{
    const std::wstring caption = widen(text);
    SetWindowTextW(handle(), caption.c_str());
    accessible_.setName(caption);
}

// The mouse is held by the label from the press to the release. The STATIC class has CS_DBLCLKS:
// a press that pairs with the one before comes as WM_LBUTTONDBLCLK.
LRESULT CALLBACK LabelControl::labelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& label = of<LabelControl>(window);
    // A message that could not be registered is 0, which must not turn WM_NULL into a press.
    if (const UINT press = pressMessage(); press != 0 && message == press) {
        // Posted where the label took a press: a click must reach it still.
        if (takesInput(window))
            label.pressed(assistivePress);
        return 0;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        label.placeInRun_ = message == WM_LBUTTONDOWN ? 1 : 2;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        RECT area{};
        GetClientRect(window, &area);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int place = PtInRect(&area, at) ? label.placeInRun_ : 0;
        label.placeInRun_ = 0;
        if (GetCapture() == window)
            ReleaseCapture();
        if (place > 0)
            label.pressed(place);
        return 0;
    }
    case WM_CAPTURECHANGED:
        label.placeInRun_ = 0;
        break;
    case WM_GETOBJECT:
        if (const LRESULT answer = label.accessible_.answer(window, wParam, lParam))
            return answer;
        break;
    default:
        break;
    }
    return label.callClass(window, message, wParam, lParam);
}

} // namespace rt::win32

std::unique_ptr<rt::LabelDriver> rt::makeLabelDriver(Label& label, FormDriver& form, const Rect& area)
{
    return std::make_unique<win32::LabelControl>(label, static_cast<const win32::FormWindow&>(form), area);
}
