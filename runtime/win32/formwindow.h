// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A form on the Windows API: a top-level window of its own class, fixed in size, its client area
// laid out in twips at the window's DPI and grown with the desktop's message font.
//
// Supports: BorderStyle::FixedSingle (caption, system menu, minimize; no maximize, no sizing
// border) and BorderStyle::None (an owned popup: no frame, no task-bar button); the desktop's
// window colours for the form and its STATIC controls; per-monitor DPI (WM_DPICHANGED) and a
// change of the message font (WM_SETTINGCHANGE); an owned form placed beside its owner, on the
// owner's monitor, each time it is shown.
// Does not: dialog navigation (no IsDialogMessage, no tab order), menus, resizing, maximizing.

#include "handles.h"
#include "native.h"

#include <functional>
#include <vector>

namespace rt {

namespace win32 {

// A control of a form, a child window placed at its designed geometry in the form's font and
// laid out again with the form; destroyed with this object.
class ChildControl final {
public:
    ChildControl(Form& form, const wchar_t* className, DWORD style, DWORD exStyle, TwipRect geometry);
    ~ChildControl();
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;

    HWND handle() const { return window_.get(); }

private:
    Form& form_;
    UniqueWindow window_;
};

} // namespace win32

struct Form::Native final {
    Native(TwipSize clientSize, BorderStyle border, DesignFont designFont, Form* owner);
    ~Native();
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    HWND handle() const { return window_.get(); }


    // What closing the form does besides hiding it: the start-up form ends the program.
    void onClosed(std::function<void()> handler) { closed_ = std::move(handler); }

    void show();
    void hide();
    bool isVisible() const;

    // In the form's client pixels at its DPI, across and down.
    Scale scale() const { return scale_; }

private:
    struct Control final {
        HWND window = nullptr;
        TwipRect geometry;
    };

    friend class win32::ChildControl;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void layOut(UINT dpi, const RECT* suggested = nullptr);
    // The font and the scale at the DPI, and the frame around the client area at that scale;
    // nothing moves yet. Before the window is made, the screen's font metrics stand for its own.
    RECT scaleTo(UINT dpi);
    // After the form has grown or shrunk: its open owned forms stand beside it again.
    void placeOwnedForms();
    void placeControl(const Control& control) const;
    void placeBesideOwner();
    FontMetrics fontMetrics() const;

    TwipSize clientSize_;
    DesignFont designFont_;
    Form* owner_;
    DWORD style_;
    DWORD exStyle_;
    UINT dpi_ = 0;
    Scale scale_;
    win32::UniqueFont font_;
    std::vector<Control> controls_;
    std::vector<Native*> owned_; // the forms this one owns, each as long as it lives
    bool shown_ = false;
    int nextControlId_ = 100;
    std::function<void()> closed_;
    HWND handle_ = nullptr; // set at WM_NCCREATE, before window_ holds it
    win32::UniqueWindow window_;
};

} // namespace rt
