// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Owners of the Windows handles the platform makes: a window is destroyed, a font deleted, a COM
// reference released, when its owner goes. Handles the system lends (stock objects, system colour
// brushes) are never held here.

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

struct ComReleaser final {
    template <class Interface>
    void operator()(Interface* object) const { object->Release(); }
};
template <class Interface>
using ComRef = std::unique_ptr<Interface, ComReleaser>;

} // namespace rt::win32
