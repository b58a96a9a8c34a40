// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Start-up of the program: its command line, the application object, the start-up form and
// the event loop.

#include "form.h"

#include <QString>
#include <functional>
#include <memory>

namespace rt {

// What the program says of itself, on its command line and to the desktop.
struct ProgramInfo final {
    QString name; // the command
    QString version;
    QString desktopFileName; // ties the windows to the desktop entry, on Wayland too
    QString iconFile; // an SVG, drawn at the sizes that title bars and task switchers show
    QString usage; // what --help prints
};

// Loads and shows the start-up form, then dispatches events. Closing the start-up form ends
// the program with status 0, whatever other windows of the program are still open or hidden.
int run(Form& startupForm);

// Answers --help and --version, and refuses options it does not know, before anything needs a
// display; Qt's own options (-platform, -style, ...) pass on to Qt. Where Qt cannot start, for
// want of a display or otherwise, ends the process with status 1 instead of aborting it.
int start(int& argc, char** argv, const ProgramInfo& info, const std::function<std::unique_ptr<Form>()>& makeStartupForm);

} // namespace rt
