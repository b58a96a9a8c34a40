// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's own command line, read alike on every platform: -h/--help and -v/--version with
// one or two dashes, "--" ending the options, and the options the platform takes for itself,
// which pass on untouched. Any other option, a value where none belongs, a missing value or an
// argument is refused in one line. Does not: join short options (-hv), or read the platform's
// values beyond taking them out of the way.

#include "programinfo.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

// An option of the platform, named without its dashes, as its toolkit reads it.
struct PlatformOption final {
    enum class Value {
        None,
        NextArgument, // "-name value" only
        NextArgumentOrEquals, // "-name value" or "-name=value"
    };
    std::string_view name;
    Value value = Value::None;
};

struct CommandLineAnswer final {
    int status = 0;
    std::string text; // ends with a new line
    bool isError = false;
};

// What to say and the exit status, or nothing when the game is to start. The arguments are
// those after the program's name, in UTF-8.
std::optional<CommandLineAnswer> answerCommandLine(const std::vector<std::string>& arguments, const ProgramInfo& info,
    std::span<const PlatformOption> platformOptions = {});

} // namespace rt
