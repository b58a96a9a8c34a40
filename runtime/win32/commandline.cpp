// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

namespace rt::win32 {

namespace {

// The option as typed, dashes and all, without a value after "=".
std::string typedOption(const std::string& argument)
{
    return argument.substr(0, argument.find('='));
}

} // namespace

std::optional<CommandLineAnswer> answerCommandLine(const std::vector<std::string>& arguments, const ProgramInfo& info)
{
    bool help = false;
    bool version = false;
    std::optional<std::string> unknown;
    std::optional<std::string> unexpectedValue;
    std::optional<std::string> positional;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            // A lone "-" is an argument too, as it usually means standard input.
            if (!positional)
                positional = argument;
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string typed = typedOption(argument);
        const std::string name = typed.substr(typed.starts_with("--") ? 2 : 1);
        const bool isHelp = name == "h" || name == "help";
        const bool isVersion = name == "v" || name == "version";
        if (!isHelp && !isVersion) {
            if (!unknown)
                unknown = typed;
        } else if (typed.size() != argument.size()) {
            unexpectedValue = typed;
        } else {
            help = help || isHelp;
            version = version || isVersion;
        }
    }

    std::string error;
    if (unknown)
        error = "ukjent valg «" + *unknown + "»";
    else if (unexpectedValue)
        error = "valget «" + *unexpectedValue + "» tar ingen verdi";
    else if (positional)
        error = "tar ingen argumenter, fikk «" + *positional + "»";
    if (!error.empty())
        return CommandLineAnswer{1, info.name + ": " + error + "; se «" + info.name + " --help»\n", true};
    if (help)
        return CommandLineAnswer{0, info.usage, false};
    if (version)
        return CommandLineAnswer{0, info.name + ' ' + info.version + '\n', false};
    return std::nullopt;
}

} // namespace rt::win32
