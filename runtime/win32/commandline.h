// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's own command line, read the way the other platforms read theirs: -h/--help,
// -v/--version (one or two dashes, as Qt's parser takes them), "--" ending the options; any
// other option, a value after "=", or an argument is refused in one line. Standard C++ only.

#include "program.h"

#include <optional>
#include <string>
#include <vector>

namespace rt::win32 {

struct CommandLineAnswer final {
    int status = 0;
    std::string text; // ends with a new line
    bool isError = false;
};

// What to say and the exit status, or nothing when the game is to start. The arguments are
// those after the program's name, in UTF-8.
std::optional<CommandLineAnswer> answerCommandLine(const std::vector<std::string>& arguments, const ProgramInfo& info);

} // namespace rt::win32
