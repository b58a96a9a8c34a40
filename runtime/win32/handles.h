// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Owners of the Windows handles the platform makes: a window is destroyed, a font or a brush
// deleted, a COM reference released, when its owner goes. Handles the system lends (stock
// objects, system colour brushes) are never held here.

#include "win32.h"

#include <memory>
#include <type_traits>

namespace rt::win32 {

struct WindowDestroyer final {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct GdiObjectDeleter final {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

struct ComReleaser final {
    template <class Interface>
    void operator()(Interface* object) const { object->Release(); }
};
template <class Interface>
using ComRef = std::unique_ptr<Interface, ComReleaser>;

// A device context got with GetDC, released with ReleaseDC.
class WindowDC final {
public:
    explicit WindowDC(HWND window)
        : window_(window)
        , dc_(GetDC(window))
    {
    }
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for as long as this lives.
class Selection final {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc)
        , previous_(SelectObject(dc, object))
    {
    }
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace rt::win32
