// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A form's window on Windows: a top-level window of its own class, fixed in size (a caption with
// minimize and close, or for BorderStyle::None a popup with no frame); an owned form is a tool
// window of its owner, with no task-bar button. It is made at its laid-out size, and remembers
// which control has the focus while it is inactive, to give it back, as the dialog manager does.

#include "driver.h"
#include "handles.h"

#include <functional>

namespace rt::win32 {

class FormWindow final : public FormDriver {
public:
    FormWindow(Form& form, BorderStyle border, const FormWindow* owner);

    HWND handle() const { return window_.get(); }
    HFONT font() const { return font_.get(); }
    // What closing the form does besides hiding it: the start-up form's ends the program.
    void onClosed(std::function<void()> handler) { closed_ = std::move(handler); }

    void setTitle(const std::string& title) override;
    void setShown(bool shown) override;
    bool isShown() const override;
    FormMetrics metrics() const override { return metrics_; }
    void setClientSize(Size size) override;
    Rect frame() const override;
    Point clientOrigin() const override;
    Rect workArea() const override;
    void moveFrameTo(Point topLeft) override;
    void focusOn(ControlDriver& control) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The message font at the DPI, and what the form draws with there.
    void measure(UINT dpi);
    // Measured and laid out again at a new DPI or with a new font.
    void remeasure(UINT dpi);

    const DWORD style_;
    const DWORD exStyle_;
    UINT dpi_ = 0;
    UniqueFont font_;
    FormMetrics metrics_;
    HWND focus_ = nullptr; // the control that has the focus whenever the form is active
    std::function<void()> closed_;
    HWND handle_ = nullptr; // from WM_NCCREATE on, before window_ holds it
    UniqueWindow window_;
};

// A control's child window in its form, in the form's font; destroyed with this object. A
// control that answers some of its window's messages itself puts a procedure of its own before
// its class's, which passes on the rest.
class ChildWindow {
public:
    ChildWindow(const FormWindow& form, const wchar_t* className, DWORD style, DWORD exStyle, const Rect& area);
    virtual ~ChildWindow();
    ChildWindow(const ChildWindow&) = delete;
    ChildWindow& operator=(const ChildWindow&) = delete;

    HWND handle() const { return window_.get(); }
    // To its place, in the form's font, which may be new.
    void moveTo(const Rect& area) const;

protected:
    void subclass(WNDPROC procedure);
    LRESULT callClass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // In a procedure of a control's own: the control whose window it is.
    template <class Control>
    static Control& of(HWND window)
    {
        return static_cast<Control&>(*reinterpret_cast<ChildWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    }

private:
    const FormWindow& form_;
    UniqueWindow window_;
    WNDPROC classProcedure_ = nullptr;
};

} // namespace rt::win32
