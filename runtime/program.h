// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Start-up of the program: its command line, the platform, the start-up form and the event loop.

#include "form.h"
#include "programinfo.h"

#include <functional>
#include <memory>

namespace rt {

// The program's icon is built into it with runtime_add_program_icon() (CMake), which every
// platform provides; the platform finds it there.

// Loads and shows the start-up form, then dispatches events. Closing the start-up form ends
// the program with status 0, whatever other windows of the program are still open or hidden.
int run(Form& startupForm);

// Answers --help and --version, and refuses options it does not know, before anything needs a
// display; the platform's own options pass on to it. Where the platform cannot start, for want
// of a display or otherwise, ends with status 1 and says why in one line.
int start(int argc, char** argv, const ProgramInfo& info, const std::function<std::unique_ptr<Form>()>& makeStartupForm);

} // namespace rt
