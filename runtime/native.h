// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The driver behind a form, a label or a list box, for the platform's own code and its tests,
// which know its type. The game includes only the API's headers, which leave NativeAccess
// undefined, so the game cannot reach the platform's windows.

#include "driver.h"
#include "form.h"
#include "label.h"
#include "listbox.h"

namespace rt {

// The one friend of the API's classes.
struct NativeAccess final {
    template <class Object>
    static auto& of(const Object& object) { return *object.driver_; }
};

inline FormDriver& native(const Form& form) { return NativeAccess::of(form); }
inline LabelDriver& native(const Label& label) { return NativeAccess::of(label); }
inline ListBoxDriver& native(const ListBox& list) { return NativeAccess::of(list); }

} // namespace rt
