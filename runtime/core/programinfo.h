// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace rt {

// What the program says of itself, on its command line and to the desktop.
struct ProgramInfo final {
    std::string name; // the command
    std::string version;
    std::string desktopFileName; // ties the windows to the desktop entry, where the desktop has one
    std::string usage; // what --help prints
};

} // namespace rt
