// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the runtime's widgets present themselves to assistive technology: a form as a window with
// its title, a label as a button that a screen reader can press.

namespace rt::qt {

// Installs the runtime's accessibility factory; only the first call does anything.
void installAccessibility();

} // namespace rt::qt
